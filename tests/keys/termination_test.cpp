// Held keys are let go on the ways out of the process: SIGTERM, SIGINT, SIGHUP (the process still
// ends by that signal) and std::exit. A child process holds keys through XTest; a second X
// connection checks that the X server sees them released after the child is gone.

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "keys/x_observer.h"

namespace vantrel {
namespace {

using testing::XObserver;

class HeldKeysChild {
  public:
    explicit HeldKeysChild(const char* mode) {
        int out[2], in[2];
        if (pipe(out) != 0 || pipe(in) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(in[0], STDIN_FILENO);
            close(out[0]), close(out[1]), close(in[0]), close(in[1]);
            // A test runner in the background may have started us with SIGINT ignored, and an
            // ignored signal stays ignored across exec.
            for (int sig : {SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
            setenv("VANTREL_KEY_BACKEND", "xtest", 1);
            execl(HOLD_KEY_HELPER, HOLD_KEY_HELPER, mode, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        close(in[0]);
        output_ = out[0];
        input_ = in[1];
    }
    ~HeldKeysChild() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) close(output_);
        if (input_ >= 0) close(input_);
    }

    // True once the child says it holds its keys (waits at most ten seconds).
    bool WaitReady() {
        std::string seen;
        pollfd p{output_, POLLIN, 0};
        while (seen.find("ready\n") == std::string::npos) {
            if (poll(&p, 1, 10000) != 1) return false;
            char buffer[64];
            const ssize_t n = read(output_, buffer, sizeof buffer);
            if (n <= 0) return false;
            seen.append(buffer, size_t(n));
        }
        return true;
    }
    void CloseInput() {
        close(input_);
        input_ = -1;
    }
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    int input_ = -1;
};

class KeysOnTheWayOut : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(observer.ok()) << "these tests run under Xvfb (tests/support/with-xvfb.sh)";
        w = observer.KeycodeOf(XK_w);
        s = observer.KeycodeOf(XK_s);
        ctrl = observer.KeycodeOf(XK_Control_L);
    }
    XObserver observer;
    KeyCode w = 0, s = 0, ctrl = 0;
};

TEST_P(KeysOnTheWayOut, SignalLetsGoOfHeldKeysAndEndsWithThatSignal) {
    const int sig = GetParam();
    HeldKeysChild child("hold");
    ASSERT_TRUE(child.WaitReady());
    ASSERT_TRUE(observer.WaitFor(w, true));
    ASSERT_TRUE(observer.WaitFor(ctrl, true));

    kill(child.pid(), sig);
    const int status = child.Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_TRUE(observer.WaitFor(w, false));
    EXPECT_TRUE(observer.WaitFor(ctrl, false));
}

// The signal arrives while the GUI thread is busy sending: the release waits for the Send in
// progress, and no key goes down after it.
TEST_P(KeysOnTheWayOut, SignalDuringSendsLetsGoOfEverything) {
    const int sig = GetParam();
    HeldKeysChild child("busy");
    ASSERT_TRUE(child.WaitReady());
    ASSERT_TRUE(observer.WaitFor(ctrl, true));

    kill(child.pid(), sig);
    const int status = child.Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_TRUE(observer.WaitFor(w, false));
    EXPECT_TRUE(observer.WaitFor(s, false));
    EXPECT_TRUE(observer.WaitFor(ctrl, false));
}

INSTANTIATE_TEST_SUITE_P(Signals, KeysOnTheWayOut, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

TEST(KeysOnExit, StdExitLetsGoOfHeldKeys) {
    XObserver observer;
    ASSERT_TRUE(observer.ok());
    const KeyCode w = observer.KeycodeOf(XK_w);
    HeldKeysChild child("exit");
    ASSERT_TRUE(child.WaitReady());
    ASSERT_TRUE(observer.WaitFor(w, true));

    child.CloseInput();
    const int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_TRUE(observer.WaitFor(w, false));
    EXPECT_TRUE(observer.WaitFor(observer.KeycodeOf(XK_Control_L), false));
}

}  // namespace
}  // namespace vantrel
