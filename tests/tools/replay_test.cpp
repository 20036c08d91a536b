// vantrel-replay's output, byte for byte, is the corpus's (replay_corpus/). Here only what the
// corpus cannot hold: the gear walk as shipped beside the program still shifts every gear.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vantrel::replay {
namespace {

using Lines = std::vector<std::string>;

TEST(ReplayTest, TheShippedGearWalkShiftsEveryGearThroughEitherOutput) {
    std::stringstream walk;
    walk << std::ifstream(VANTREL_SOURCE_DIR "/tools/replay/gear-walk.txt").rdbuf();
    Lines keys, buttons;
    for (int gear : {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}) {
        const std::string name = gear == 9 ? "reverse" : "gear " + std::to_string(gear);
        keys.push_back(name + " (holding " + "qawsedrfz"[gear - 1] + ")");
        buttons.push_back(name + " (shifter button " + std::to_string(gear) + ")");
    }
    for (const auto& [output, expected] : {std::pair{"keys", keys}, {"shifter", buttons}}) {
        std::string config = "--config=/nonexistent/config.ini", summary = "--summary",
                    choice = std::string("--output=") + output;
        char* argv[] = {config.data(), config.data(), summary.data(), choice.data()};
        Options options;
        bool help = false;
        ASSERT_EQ(ParseOptions(4, argv, options, help), "");
        std::istringstream in(walk.str());
        std::ostringstream out, err;
        ASSERT_EQ(RunReplay(options, in, out, err), 0) << err.str();
        Lines gears;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) {
            gears.push_back(line.substr(line.find(": ") + 2));
        }
        ASSERT_FALSE(gears.empty());
        EXPECT_EQ(gears.back(), "neutral");
        std::erase(gears, "neutral");
        EXPECT_EQ(gears, expected);
    }
}

}  // namespace
}  // namespace vantrel::replay
