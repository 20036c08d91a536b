#include "tools/replay/replay.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <streambuf>

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

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vantrel-replay-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        config_ = dir_ / "config.ini";
        fs::remove(config_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    RunResult Replay(const std::string& script, std::vector<std::string> args = {}) {
        std::vector<std::string> argvStore{"vantrel-replay", "--config", config_.string()};
        argvStore.insert(argvStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argvStore) argv.push_back(a.data());
        Options options;
        bool help = false;
        std::string error = ParseOptions(static_cast<int>(argv.size()), argv.data(), options, help);
        if (!error.empty()) return {2, {}, error};
        std::istringstream in(script);
        std::ostringstream out, err;
        const int status = RunReplay(options, in, out, err);
        return {status, Lines(out.str()), err.str()};
    }

    fs::path dir_;
    fs::path config_;
};

TEST_F(ReplayTest, OneCycleReportsEveryEffectInOrder) {
    const RunResult r = Replay("# comment\n\nstate 3000 0 b=1,3\n", {"--buttons", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> expected = {"row axis 0 X: 3000",
                                               "send {q up}",
                                               "send {a up}",
                                               "send {w up}",
                                               "send {s up}",
                                               "send {e up}",
                                               "send {d up}",
                                               "send {r up}",
                                               "send {f up}",
                                               "send {z up}",
                                               "row axis 1 Y: 0",
                                               "send {q up}",
                                               "send {a up}",
                                               "send {w down}",
                                               "send {s up}",
                                               "send {e up}",
                                               "send {d up}",
                                               "send {r up}",
                                               "send {f up}",
                                               "send {z up}",
                                               "row button 0 Button 1: Down",
                                               "row button 1 Button 2: Up",
                                               "row button 2 Button 3: Down",
                                               "row gear 0 gear 1: 1",
                                               "row gear 1 gear 2: 0",
                                               "row gear 2 gear 3: 3",
                                               "row gear 3 gear 4: 2",
                                               "row gear 4 gear 5: 2",
                                               "row gear 5 gear 6: 1",
                                               "row gear 6 gear 7: 1",
                                               "row gear 7 gear 8: 0",
                                               "row gear 8 gear 9: 2",
                                               "caption Joystick Sample: Available"};
    EXPECT_EQ(r.out, expected);
}

TEST_F(ReplayTest, AxesDecideHowManyPassesRun) {
    RunResult r =
        Replay("state 3000 0 1 2 3 4 5 6\n", {"--axes", "x,y,z,rz,slider", "--buttons", "0"});
    ASSERT_EQ(r.status, 0);
    std::vector<std::string> axisRows;
    int sends = 0;
    for (const auto& line : r.out) {
        if (line.starts_with("row axis")) axisRows.push_back(line);
        if (line.starts_with("send")) ++sends;
    }
    EXPECT_EQ(axisRows, (std::vector<std::string>{
                            "row axis 0 X: 3000", "row axis 1 Y: 0", "row axis 2 Z: 1",
                            "row axis 3 RZ: 4", "row axis 4 Slider0: 5", "row axis 5 Slider1: 6"}));
    EXPECT_EQ(sends, 54);

    r = Replay("state 3000 0\n", {"--axes", "none", "--buttons", "0"});
    EXPECT_EQ(r.out.size(), 10u) << "nine gear rows and the caption";
}

TEST_F(ReplayTest, ReadFailuresRecoverOrReuseTheRecord) {
    RunResult r = Replay("fail inputlost\nfail notacquired\n");
    EXPECT_EQ(r.out, (std::vector<std::string>{"acquire", "acquire"}));

    r = Replay("state 3000 0\nfail other\n", {"--axes", "X", "--buttons", "0"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), "row axis 0 X: 3000"), 2);
}

TEST_F(ReplayTest, FailedSendEndsWithTheErrorLine) {
    const RunResult r = Replay("failsend 3\nstate 3000 0\nstate 0 0\n", {"--buttons", "0"});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 4u);
    EXPECT_EQ(r.out[2], "send {a up}");
    EXPECT_EQ(r.out[3], "error The key {w up} could not be sent (failsend) : 1001");
}

TEST_F(ReplayTest, SettingsReportIsShownAtStartAndAfterReload) {
    std::ofstream(config_) << "[keyconfig]\nkey3=x\n[fields]\ng34l=abc\n";
    const std::string warning =
        "warning config.ini: [fields] g34l=abc is not a whole number from -32768 to 32767; using "
        "2000";
    const RunResult r = Replay("reload\n", {"--axes", "none"});
    EXPECT_EQ(r.out, (std::vector<std::string>{warning, warning}));
}

// Hands out the script one character at a time and rewrites the settings file just before the
// `reload` line is read, as a user editing the file while Vantrel runs.
class EditingScript : public std::streambuf {
  public:
    EditingScript(std::string script, std::function<void()> edit)
        : script_(std::move(script)), edit_(std::move(edit)) {}

  protected:
    int_type underflow() override {
        if (pos_ >= script_.size()) return traits_type::eof();
        if (script_.compare(pos_, 6, "reload") == 0 && edit_) std::exchange(edit_, nullptr)();
        current_ = script_[pos_++];
        setg(&current_, &current_, &current_ + 1);
        return traits_type::to_int_type(current_);
    }

  private:
    std::string script_;
    std::function<void()> edit_;
    size_t pos_ = 0;
    char current_ = 0;
};

TEST_F(ReplayTest, ReloadTakesTheFileAsItIsNow) {
    std::ofstream(config_) << "[keyconfig]\nkey3=x\n";
    EditingScript buf("state 3000 0\nreload\nstate 3000 0\n",
                      [&] { std::ofstream(config_) << "[keyconfig]\nkey3=y\n"; });
    std::istream in(&buf);
    Options options;
    bool help = false;
    std::string a0 = "r", a1 = "--config", a2 = config_.string();
    char* argv[] = {a0.data(), a1.data(), a2.data()};
    ASSERT_EQ(ParseOptions(3, argv, options, help), "");
    std::ostringstream out, err;
    ASSERT_EQ(RunReplay(options, in, out, err), 0);
    const std::vector<std::string> lines = Lines(out.str());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "send {x down}"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "send {y down}"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "send {x up}"), 1)
        << "the engine alone never lets the replaced name go; the program does that on reload";
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

TEST_F(ReplayTest, SummaryOfTheShippedRecordingWalksEveryGear) {
    std::ifstream walk(VANTREL_SOURCE_DIR "/tools/replay/gear-walk.txt");
    std::stringstream script;
    script << walk.rdbuf();
    const RunResult r = Replay(script.str(), {"--summary"});
    ASSERT_EQ(r.status, 0);
    std::vector<std::string> gears;
    for (const auto& line : r.out) {
        const std::string state = line.substr(line.find(": ") + 2);
        if (state != "neutral") gears.push_back(state);
    }
    EXPECT_EQ(gears, (std::vector<std::string>{"gear 1 (holding q)", "gear 2 (holding a)",
                                               "gear 3 (holding w)", "gear 4 (holding s)",
                                               "gear 5 (holding e)", "gear 6 (holding d)",
                                               "gear 7 (holding r)", "gear 8 (holding f)",
                                               "reverse (holding z)", "gear 1 (holding q)"}));
    EXPECT_EQ(r.out.back().substr(r.out.back().find(": ") + 2), "neutral");
}

TEST_F(ReplayTest, SummaryOnlyReportsChanges) {
    const RunResult r = Replay(
        "state 5000 5000\nstate 0 0\nstate 0 0\nstate 0 10000\nstate 5000 5000\n", {"--summary"});
    EXPECT_EQ(r.out, (std::vector<std::string>{"cycle 2: gear 1 (holding q)",
                                               "cycle 4: gear 2 (holding a)", "cycle 5: neutral"}));
}

TEST_F(ReplayTest, TheProgramKeepsTheCommandLineContract) {
    const auto run = [&](const std::string& args, const std::string& input) {
        const fs::path in = dir_ / "in.txt";
        std::ofstream(in) << input;
        const std::string cmd = std::string(REPLAY_BINARY) + " --config " + config_.string() + " " +
                                args + " < " + in.string() + " 2>" + (dir_ / "err").string();
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
