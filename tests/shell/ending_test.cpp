// Every way the program ends while a gear key is held lets the key go, as a second X client sees:
// the tray menu's "&Close" and the termination signals, each with its own exit status.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <thread>

#include "x_keys.h"

namespace vantrel {
namespace {

using testing::XKeys;

class Probe {
  public:
    Probe() {
        int toChild[2], fromChild[2];
        EXPECT_EQ(::pipe(toChild), 0);
        EXPECT_EQ(::pipe(fromChild), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(toChild[0], STDIN_FILENO);
            ::dup2(fromChild[1], STDOUT_FILENO);
            ::close(toChild[1]);
            ::close(fromChild[0]);
            ::execl(VANTREL_PROBE, VANTREL_PROBE, nullptr);
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
    }
    ~Probe() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(in_);
        ::close(out_);
    }
    // Waits for "ready": gear 3 engaged.
    bool Ready() {
        std::string got;
        char c;
        while (got.find("ready") == std::string::npos && ::read(out_, &c, 1) == 1) got += c;
        return got.find("ready") != std::string::npos;
    }
    void Tell(const char* line) { EXPECT_GT(::write(in_, line, std::strlen(line)), 0); }
    void Signal(int sig) { ::kill(pid_, sig); }
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return status;
    }

  private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    bool waited_ = false;
};

class Ending : public ::testing::Test {
  protected:
    Ending() {
        ::setenv("XDG_CONFIG_HOME", home_.path().toUtf8().constData(), 1);
        ::setenv("XDG_RUNTIME_DIR", home_.path().toUtf8().constData(), 1);
        ::setenv("VANTREL_KEY_BACKEND", "xtest", 1);
    }
    bool WReleased() {
        for (int i = 0; i < 200 && x_.IsDown("w"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return !x_.IsDown("w");
    }
    QTemporaryDir home_;
    XKeys x_;
};

TEST_F(Ending, TrayCloseEndsTheProgramWithTheKeyLetGo) {
    ASSERT_TRUE(x_.ok());
    Probe probe;
    ASSERT_TRUE(probe.Ready());
    EXPECT_TRUE(x_.IsDown("w"));
    probe.Tell("close\n");
    const int status = probe.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(WReleased());
    EXPECT_EQ(x_.DownCount(), 0);
}

TEST_F(Ending, TerminationSignalsLetTheKeyGoAndEndWithTheSignalsStatus) {
    ASSERT_TRUE(x_.ok());
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        Probe probe;
        ASSERT_TRUE(probe.Ready()) << strsignal(sig);
        EXPECT_TRUE(x_.IsDown("w"));
        probe.Signal(sig);
        const int status = probe.Wait();
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(sig);
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_TRUE(WReleased()) << strsignal(sig);
    }
}

}  // namespace
}  // namespace vantrel
