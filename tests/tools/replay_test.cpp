#include "tools/replay/replay.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace vantrel::replay {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::vector<std::string> out;
    std::string err;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct ReplayTest : ::testing::Test, testing::TempDir {
    RunResult Replay(std::istream& script, std::vector<std::string> args = {}) {
        std::vector<std::string> argvStore{"vantrel-replay", "--config", config.string()};
        argvStore.insert(argvStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argvStore) argv.push_back(a.data());
        Options options;
        bool help = false;
        std::string error = ParseOptions(static_cast<int>(argv.size()), argv.data(), options, help);
        if (!error.empty()) return {2, {}, error};
        std::ostringstream out, err;
        const int status = RunReplay(options, script, out, err);
        return {status, Lines(out.str()), err.str()};
    }
    RunResult Replay(const std::string& script, std::vector<std::string> args = {}) {
        std::istringstream in(script);
        return Replay(in, std::move(args));
    }

    const fs::path config = path / "config.ini";
};

TEST_F(ReplayTest, OneCycleReportsEveryEffectInOrder) {
    const RunResult r = Replay("# comment\n\nstate 3000 0 b=1,3\n", {"--buttons", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    // A pass per axis (its row, then nine sends), the button rows, the gear rows, the caption.
    ASSERT_EQ(r.out.size(), 2 * 10 + 3 + 9 + 1u);
    EXPECT_EQ(r.out[0], "row axis 0 X: 3000");
    EXPECT_EQ(r.out[1], "send {q up}");
    EXPECT_EQ(r.out[10], "row axis 1 Y: 0");
    EXPECT_EQ(r.out[13], "send {w down}");
    EXPECT_EQ(std::vector(r.out.begin() + 20, r.out.begin() + 23),
              (std::vector<std::string>{"row button 0 Button 1: Down", "row button 1 Button 2: Up",
                                        "row button 2 Button 3: Down"}));
    EXPECT_EQ(r.out[25], "row gear 2 gear 3: 3");
    EXPECT_EQ(r.out.back(), "caption Joystick Sample: Available");
}

TEST_F(ReplayTest, AxesDecideHowManyPassesRun) {
    RunResult r =
        Replay("state 3000 0 1 2 3 4 5 6\n", {"--axes", "x,y,z,rz,slider", "--buttons", "0"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::ranges::count_if(r.out, [](auto& line) { return line.starts_with("send"); }),
              54);
    std::erase_if(r.out, [](auto& line) { return !line.starts_with("row axis"); });
    EXPECT_EQ(r.out, (std::vector<std::string>{"row axis 0 X: 3000", "row axis 1 Y: 0",
                                               "row axis 2 Z: 1", "row axis 3 RZ: 4",
                                               "row axis 4 Slider0: 5", "row axis 5 Slider1: 6"}));

    r = Replay("state 3000 0\n", {"--axes", "none", "--buttons", "0"});
    EXPECT_EQ(r.out.size(), 10u) << "nine gear rows and the caption";
}

TEST_F(ReplayTest, ScriptedFailuresRecoverReuseTheRecordOrEndWithTheErrorLine) {
    RunResult r = Replay("fail inputlost\nfail notacquired\n");
    EXPECT_EQ(r.out, (std::vector<std::string>{"acquire", "acquire"}));

    r = Replay("state 3000 0\nfail other\n", {"--axes", "X", "--buttons", "0"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::ranges::count(r.out, "row axis 0 X: 3000"), 2);

    r = Replay("failsend 3\nstate 3000 0\nstate 0 0\n", {"--buttons", "0"});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 4u);
    EXPECT_EQ(r.out[2], "send {a up}");
    EXPECT_EQ(r.out[3], "error The key {w up} could not be sent (failsend) : 1001");
}

TEST_F(ReplayTest, SettingsReportIsShownAtStartAndAfterReloadAlsoInSummaryMode) {
    Write("[keyconfig]\nkey3=x\n[fields]\ng34l=abc\n");
    const std::string warning =
        "warning config.ini: [fields] g34l=abc is not a whole number from -32768 to 32767; using "
        "2000";
    RunResult r = Replay("reload\n", {"--axes", "none"});
    EXPECT_EQ(r.out, (std::vector<std::string>{warning, warning}));
    r = Replay("reload\nstate 0 0\n", {"--summary"});
    EXPECT_EQ(r.out, (std::vector<std::string>{"cycle 1: gear 1 (holding q)"}));
    EXPECT_EQ(r.err, warning + "\n" + warning + "\n") << "the summary keeps stdout for the gears";
}

TEST_F(ReplayTest, MalformedLinesStopTheRunWithStatusTwo) {
    const char* bad[] = {"state 1",        "state 1 2 3 4 5 6 7 8 9",
                         "state a b",      "state 1 2 b=0",
                         "state 1 2 b=33", "state 1 2 b=1 3",
                         "fail",           "fail sometimes",
                         "failsend 0",     "failsend",
                         "reload now",     "jump"};
    for (const char* line : bad) {
        const RunResult r = Replay(std::string("state 0 0\n") + line + "\nstate 3000 0\n",
                                   {"--axes", "none", "--buttons", "0"});
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_TRUE(r.err.starts_with("vantrel-replay: line 2: ")) << r.err;
        EXPECT_EQ(r.out.size(), 10u) << "the first line ran, nothing after the bad one: " << line;
    }
}

TEST_F(ReplayTest, SummaryReportsOnlyChangesAndTheShippedRecordingWalksEveryGear) {
    RunResult r = Replay("state 5000 5000\nstate 0 0\nstate 0 0\nstate 0 10000\nstate 5000 5000\n",
                         {"--summary"});
    EXPECT_EQ(r.out, (std::vector<std::string>{"cycle 2: gear 1 (holding q)",
                                               "cycle 4: gear 2 (holding a)", "cycle 5: neutral"}));

    std::ifstream walk(VANTREL_SOURCE_DIR "/tools/replay/gear-walk.txt");
    r = Replay(walk, {"--summary"});
    ASSERT_EQ(r.status, 0);
    std::vector<std::string> gears;
    for (const auto& line : r.out) gears.push_back(line.substr(line.find(": ") + 2));
    std::erase(gears, "neutral");
    EXPECT_EQ(gears, (std::vector<std::string>{"gear 1 (holding q)", "gear 2 (holding a)",
                                               "gear 3 (holding w)", "gear 4 (holding s)",
                                               "gear 5 (holding e)", "gear 6 (holding d)",
                                               "gear 7 (holding r)", "gear 8 (holding f)",
                                               "reverse (holding z)", "gear 1 (holding q)"}));
    EXPECT_TRUE(r.out.back().ends_with(": neutral"));
}

TEST_F(ReplayTest, TheProgramKeepsTheCommandLineContract) {
    const auto run = [&](const std::string& args, const std::string& input) {
        const fs::path in = Write(input, "in.txt");
        const std::string cmd = std::string(REPLAY_BINARY) + " --config " + config.string() + " " +
                                args + " < " + in.string() + " 2>" + (path / "err").string();
        FILE* pipe = ::popen(cmd.c_str(), "r");
        std::string out;
        char buf[512];
        while (size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
        const int status = ::pclose(pipe);
        return std::pair{WEXITSTATUS(status), out};
    };
    EXPECT_EQ(run("--axes none --buttons 0", "state 1 2\n").first, 0);
    EXPECT_EQ(run("--axes none", "failsend 1\nstate 0 0\n").first, 0) << "no pass, no send";
    EXPECT_EQ(run("--buttons 0", "failsend 1\nstate 0 0\n").first, 1);
    EXPECT_EQ(run("--axes Q", "").first, 2);
    EXPECT_EQ(run("--buttons -1", "").first, 2);
    EXPECT_EQ(run("--bogus", "").first, 2);
    const auto [status, out] = run("--help", "");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(out.starts_with("usage: vantrel-replay [--config FILE]")) << out;
}

}  // namespace
}  // namespace vantrel::replay
