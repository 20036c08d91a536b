// vantrel-replay: what a cycle reports and in which order, axes, scripted failures, the settings
// report, bad lines, the summary, the outputs the [output] section and --output choose, and the
// program's exit statuses.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace vantrel::replay {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct RunResult {
    int status;
    Lines out;
    std::string err;
};

// The lines that start with `prefix`, or with `keep` false the others.
Lines Only(const Lines& lines, const std::string& prefix, bool keep = true) {
    Lines kept;
    std::ranges::copy_if(lines, std::back_inserter(kept),
                         [&](const std::string& l) { return l.starts_with(prefix) == keep; });
    return kept;
}

struct ReplayTest : ::testing::Test, testing::TempDir {
    // Runs in this process; an option error comes back as status 2 with the error in `err`.
    RunResult Replay(const std::string& script, std::vector<std::string> args = {}) {
        std::vector<std::string> argvStore{"vantrel-replay", "--config", config.string()};
        argvStore.insert(argvStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argvStore) argv.push_back(a.data());
        Options options;
        bool help = false;
        std::string error = ParseOptions(static_cast<int>(argv.size()), argv.data(), options, help);
        if (!error.empty()) return {2, {}, error};
        std::istringstream in(script);
        std::ostringstream out, err;
        RunResult r{RunReplay(options, in, out, err), {}, err.str()};
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) r.out.push_back(line);
        return r;
    }

    const fs::path config = path / "config.ini";
};

TEST_F(ReplayTest, OneCycleReportsEveryEffectInOrderWithAPassPerAxis) {
    // Lines may end in CR LF, as a script written on Windows does.
    const RunResult r = Replay("# comment\r\n\r\nstate 3000 0 1 2 3 4 5 6 b=1,3\r\n",
                               {"--axes", "x,y,z,rz,slider", "--buttons", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    // A pass per axis (its row, then nine sends), the button rows, the gear rows, the caption.
    ASSERT_EQ(r.out.size(), 6 * 10 + 3 + 9 + 1u);
    EXPECT_EQ(Only(r.out, "row axis"),
              (Lines{"row axis 0 X: 3000", "row axis 1 Y: 0", "row axis 2 Z: 1", "row axis 3 RZ: 4",
                     "row axis 4 Slider0: 5", "row axis 5 Slider1: 6"}));
    EXPECT_EQ(r.out[1], "send {q up}");
    EXPECT_EQ(r.out[13], "send {w down}");  // the second pass decides on the new position
    EXPECT_EQ(Lines(r.out.begin() + 60, r.out.begin() + 63),
              (Lines{"row button 0 Button 1: Down", "row button 1 Button 2: Up",
                     "row button 2 Button 3: Down"}));
    EXPECT_EQ(r.out[65], "row gear 2 gear 3: 3");
    EXPECT_EQ(r.out.back(), "caption Joystick Sample: Available");
}

TEST_F(ReplayTest, ScriptedFailuresRecoverReuseTheRecordOrEndWithTheErrorLine) {
    RunResult r = Replay("fail inputlost\nfail notacquired\n");
    EXPECT_EQ(r.out, (Lines{"acquire", "acquire"}));

    r = Replay("state 3000 0\nfail other\n", {"--axes", "X", "--buttons", "0"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::ranges::count(r.out, "row axis 0 X: 3000"), 2);

    r = Replay("failsend 3\nstate 3000 0\nstate 0 0\n", {"--buttons", "0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, (Lines{"row axis 0 X: 3000", "send {q up}", "send {a up}",
                            "error The key {w up} could not be sent (failsend) : 1001"}));
}

TEST_F(ReplayTest, SettingsReportIsShownAtStartAndAfterReloadAlsoInSummaryMode) {
    Write("[keyconfig]\nkey3=x\n[fields]\ng34l=abc\n");
    const std::string warning =
        "warning config.ini: [fields] g34l=abc is not a whole number from -32768 to 32767; using "
        "2000";
    RunResult r = Replay("reload\n", {"--axes", "none"});
    EXPECT_EQ(r.out, (Lines{warning, warning}));
    r = Replay("reload\nstate 0 0\n", {"--summary"});
    EXPECT_EQ(r.out, Lines{"cycle 1: gear 1 (holding q)"});
    EXPECT_EQ(r.err, warning + "\n" + warning + "\n") << "the summary keeps stdout for the gears";
}

TEST_F(ReplayTest, MalformedLinesStopTheRunWithStatusTwo) {
    for (const char* line : {"state 1", "state 1 2 3 4 5 6 7 8 9", "state a b", "state 1 2 b=0",
                             "state 1 2 b=33", "state 1 2 b=1 3", "fail", "fail sometimes",
                             "failsend 0", "failsend", "reload now", "jump"}) {
        const RunResult r = Replay(std::string("state 0 0 b=32\n") + line + "\nstate 3000 0\n",
                                   {"--axes", "none", "--buttons", "0"});
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_TRUE(r.err.starts_with("vantrel-replay: line 2: ")) << r.err;
        EXPECT_EQ(r.out.size(), 10u) << "the first line ran, nothing after the bad one: " << line;
    }
}

TEST_F(ReplayTest, SummaryReportsChangesAndTheShippedWalkShiftsEveryGearThroughEitherOutput) {
    RunResult r = Replay("state 5000 5000\nstate 0 0\nstate 0 0\nstate 0 10000\nstate 5000 5000\n",
                         {"--summary"});
    EXPECT_EQ(r.out, (Lines{"cycle 2: gear 1 (holding q)", "cycle 4: gear 2 (holding a)",
                            "cycle 5: neutral"}));

    std::stringstream walk;
    walk << std::ifstream(VANTREL_SOURCE_DIR "/tools/replay/gear-walk.txt").rdbuf();
    Lines keys, buttons;
    for (int gear : {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}) {
        const std::string name = gear == 9 ? "reverse" : "gear " + std::to_string(gear);
        keys.push_back(name + " (holding " + "qawsedrfz"[gear - 1] + ")");
        buttons.push_back(name + " (shifter button " + std::to_string(gear) + ")");
    }
    for (const auto& [output, expected] : {std::pair{"keys", keys}, {"shifter", buttons}}) {
        r = Replay(walk.str(), {"--summary", "--output", output});
        ASSERT_EQ(r.status, 0);
        EXPECT_TRUE(r.out.back().ends_with(": neutral"));
        Lines gears;
        for (const std::string& line : r.out) gears.push_back(line.substr(line.find(": ") + 2));
        std::erase(gears, "neutral");
        EXPECT_EQ(gears, expected);
    }
}

TEST_F(ReplayTest, ShifterLinesFollowTheirPassAndTheKnobComesBeforeTheRows) {
    Write("[output]\nrange=3\nsplitter=2\n");
    const std::string script = "state 0 0\nstate 0 0 b=3\n";
    const Lines keysOnly = Replay(script, {"--buttons", "3"}).out;
    const Lines both = Replay(script, {"--buttons", "3", "--output", "Both"}).out;
    EXPECT_EQ(Only(both, "shifter ", false), keysOnly);
    EXPECT_EQ(Only(Replay(script, {"--buttons", "3", "--output", "shifter"}).out, "send "), Lines{})
        << "shifter mode sends no key";
    // The second pass of the first cycle decides gear 1; the range button comes in the second.
    const auto around = [&](const std::string& line) {
        const auto at = std::ranges::find(both, line);
        return at == both.end() ? Lines{} : Lines(at - 1, at + 2);
    };
    EXPECT_EQ(around("shifter 1 down"),
              (Lines{"send {z up}", "shifter 1 down", "row button 0 Button 1: Up"}));
    EXPECT_EQ(around("shifter 10 down"),
              (Lines{"send {z up}", "shifter 10 down", "row button 0 Button 1: Up"}));
    EXPECT_EQ(Only(both, "shifter").size(), 2u);
}

TEST_F(ReplayTest, OutputSectionValuesReportsAndWhenTheyAreRead) {
    const auto warning = [](const std::string& key, const std::string& value) {
        return "warning config.ini: [output] " + key + "=" + value +
               (key == "mode" ? " is not keys, shifter or both; using keys"
                              : " is not a controller button from 1 to 32 (0 or empty for "
                                "none); using 0");
    };
    // Letter case and blanks do not matter, nor does an empty value; bad values are reported
    // after the seventeen reads.
    Write("[fields]\ng12r=x\n[OUTPUT]\nmode = Shifter \nrange=1.5\nsplitter=\n");
    Lines lines = Replay("state 0 0\nstate 0 0\n", {"--buttons", "0"}).out;
    EXPECT_EQ(Only(lines, "warning "),
              (Lines{"warning config.ini: [fields] g12r=x is not a whole number from -32768 to "
                     "32767; using 100",
                     warning("range", "1.5")}));
    EXPECT_EQ(Only(lines, "send "), Lines{});
    EXPECT_EQ(Only(lines, "shifter "), Lines{"shifter 1 down"});

    // The mode is read, and reported, at start only, also under --output; the rest again at
    // every reload.
    Write("[output]\nmode=gears\nrange=40\n");
    EXPECT_EQ(Only(Replay("reload\n", {"--output", "both"}).out, "warning "),
              (Lines{warning("mode", "gears"), warning("range", "40"), warning("range", "40")}));

    // A button beyond the controller's is never pressed.
    Write("[output]\nrange=13\nsplitter=12\n");
    lines = Replay("state 5000 5000 b=12,13\n",
                   {"--axes", "none", "--buttons", "12", "--output", "shifter"})
                .out;
    EXPECT_EQ(Only(lines, "shifter "), Lines{"shifter 11 down"});
    EXPECT_EQ(Replay("", {"--output", "lever"}).err,
              "--output takes keys, shifter or both, not 'lever'");
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
    EXPECT_EQ(run("--buttons 0", "failsend 1\nstate 0 0\n").first, 1);
    for (const char* bad : {"--axes Q", "--buttons -1", "--bogus"})
        EXPECT_EQ(run(bad, "").first, 2);
    const auto [status, out] = run("--help", "");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(out.starts_with("usage: vantrel-replay [--config FILE]")) << out;
}

}  // namespace
}  // namespace vantrel::replay
