// The [output] section and the replay's --output: what each mode puts out and in which order,
// the report lines of the section, and that keys mode is what it always was.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tools/replay/replay.h"

namespace vantrel::replay {
namespace {

namespace fs = std::filesystem;

class OutputReplay : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vantrel-output-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        config_ = dir_ / "config.ini";
        fs::remove(config_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Config(const std::string& text) { std::ofstream(config_) << text; }

    // Output lines, or the option error as the only line.
    std::vector<std::string> Replay(const std::string& script, std::vector<std::string> args) {
        std::vector<std::string> argvStore{"vantrel-replay", "--config", config_.string()};
        argvStore.insert(argvStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argvStore) argv.push_back(a.data());
        Options options;
        bool help = false;
        const std::string error =
            ParseOptions(static_cast<int>(argv.size()), argv.data(), options, help);
        if (!error.empty()) return {error};
        std::istringstream in(script);
        std::ostringstream out, err;
        status_ = RunReplay(options, in, out, err);
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    fs::path dir_;
    fs::path config_;
    int status_ = -1;
};

std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
    std::erase_if(lines, [&](const std::string& l) { return l.starts_with(prefix); });
    return lines;
}

TEST_F(OutputReplay, ShifterLinesFollowTheirPassAndTheKnobComesBeforeTheRows) {
    Config("[output]\nrange=3\nsplitter=2\n");
    const std::string script = "state 0 0\nstate 0 0 b=3\n";
    const std::vector<std::string> keysOnly = Replay(script, {"--buttons", "3"});
    const std::vector<std::string> both = Replay(script, {"--buttons", "3", "--output", "Both"});
    const std::vector<std::string> shifterOnly =
        Replay(script, {"--buttons", "3", "--output", "shifter"});

    EXPECT_EQ(Without(both, "shifter "), keysOnly);
    EXPECT_EQ(Without(both, "send "), shifterOnly) << "shifter mode sends no key";
    // The second pass of the first cycle decides gear 1; the range button comes in the second.
    const auto at = [&](const std::string& line) {
        return std::find(both.begin(), both.end(), line) - both.begin();
    };
    ASSERT_LT(at("shifter 1 down"), static_cast<long>(both.size()));
    EXPECT_EQ(both[static_cast<size_t>(at("shifter 1 down") - 1)], "send {z up}");
    EXPECT_EQ(both[static_cast<size_t>(at("shifter 1 down") + 1)], "row button 0 Button 1: Up");
    const std::vector<std::string> secondCycle(both.begin() + at("shifter 10 down") - 1,
                                               both.begin() + at("shifter 10 down") + 2);
    EXPECT_EQ(secondCycle, (std::vector<std::string>{"send {z up}", "shifter 10 down",
                                                     "row button 0 Button 1: Up"}));
    EXPECT_EQ(std::count_if(both.begin(), both.end(),
                            [](const std::string& l) { return l.starts_with("shifter"); }),
              2);
}

TEST_F(OutputReplay, SectionValuesReportsAndWhenTheyAreRead) {
    const auto only = [](const std::vector<std::string>& lines, const std::string& prefix) {
        std::vector<std::string> kept;
        for (const std::string& l : lines) {
            if (l.starts_with(prefix)) kept.push_back(l);
        }
        return kept;
    };
    const auto warning = [](const std::string& key, const std::string& value) {
        return "warning config.ini: [output] " + key + "=" + value +
               (key == "mode" ? " is not keys, shifter or both; using keys"
                              : " is not a controller button from 1 to 32 (0 or empty for "
                                "none); using 0");
    };
    // Letter case and blanks do not matter, nor does an empty value; bad values are reported
    // after the seventeen reads.
    Config("[fields]\ng12r=x\n[OUTPUT]\nmode = Shifter \nrange=1.5\nsplitter=\n");
    std::vector<std::string> lines = Replay("state 0 0\nstate 0 0\n", {"--buttons", "0"});
    EXPECT_EQ(only(lines, "warning "),
              (std::vector<std::string>{"warning config.ini: [fields] g12r=x is not a whole "
                                        "number from -32768 to 32767; using 100",
                                        warning("range", "1.5")}));
    EXPECT_EQ(only(lines, "send "), std::vector<std::string>{});
    EXPECT_EQ(only(lines, "shifter "), std::vector<std::string>{"shifter 1 down"});

    // The mode is read, and reported, at start only, also under --output; the rest again at
    // every reload.
    Config("[output]\nmode=gears\nrange=40\n");
    EXPECT_EQ(only(Replay("reload\n", {"--output", "both"}), "warning "),
              (std::vector<std::string>{warning("mode", "gears"), warning("range", "40"),
                                        warning("range", "40")}));

    // A button beyond the controller's is never pressed.
    Config("[output]\nrange=13\nsplitter=12\n");
    lines = Replay("state 5000 5000 b=12,13\n",
                   {"--axes", "none", "--buttons", "12", "--output", "shifter"});
    EXPECT_EQ(only(lines, "shifter "), std::vector<std::string>{"shifter 11 down"});
}

TEST_F(OutputReplay, KeysModeIsUnchangedAndTheShippedWalkShiftsThroughTheShifter) {
    std::stringstream walk;
    walk << std::ifstream(VANTREL_SOURCE_DIR "/tools/replay/gear-walk.txt").rdbuf();
    EXPECT_EQ(Replay(walk.str(), {"--output", "keys"}), Replay(walk.str(), {}));

    std::vector<std::string> gears;
    for (const std::string& line : Replay(walk.str(), {"--summary", "--output", "shifter"})) {
        const std::string state = line.substr(line.find(": ") + 2);
        if (state != "neutral") gears.push_back(state);
    }
    EXPECT_EQ(gears, (std::vector<std::string>{
                         "gear 1 (shifter button 1)", "gear 2 (shifter button 2)",
                         "gear 3 (shifter button 3)", "gear 4 (shifter button 4)",
                         "gear 5 (shifter button 5)", "gear 6 (shifter button 6)",
                         "gear 7 (shifter button 7)", "gear 8 (shifter button 8)",
                         "reverse (shifter button 9)", "gear 1 (shifter button 1)"}));
    EXPECT_EQ(Replay("", {"--output", "lever"}),
              (std::vector<std::string>{"--output takes keys, shifter or both, not 'lever'"}));
}

}  // namespace
}  // namespace vantrel::replay
