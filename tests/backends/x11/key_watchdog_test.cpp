// The key watchdog under Xvfb: it lets go of the keys of a process that died, but of no key the
// player holds; it ends once its work is done; without it keys still go out.

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "app/key_service_factory.h"
#include "doubles/key_outputs.h"
#include "support/temp_dir.h"
#include "support/x_observer.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A slave keyboard of the X server. The Xvfb keyboard stands in for the player's real one (XTest
// presses keys on any device it is named); the XTest keyboard is the one through which every
// XTest client's keys go, the player's test presses included.
class Keyboard {
  public:
    Keyboard(Display* display, bool xtest) : display_(display) {
        int count = 0;
        XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &count);
        for (int i = 0; i < count && device_ == nullptr; ++i) {
            if (info[i].use == XISlaveKeyboard &&
                (std::strstr(info[i].name, "XTEST") != nullptr) == xtest) {
                device_ = XOpenDevice(display, static_cast<XID>(info[i].deviceid));
            }
        }
        XIFreeDeviceInfo(info);
    }
    ~Keyboard() {
        if (device_ != nullptr) XCloseDevice(display_, device_);
    }
    bool ok() const { return device_ != nullptr; }
    void Set(KeyCode keycode, bool down) {
        if (device_ == nullptr) return;
        XTestFakeDeviceKeyEvent(display_, device_, keycode, down, nullptr, 0, CurrentTime);
        XSync(display_, False);
    }
    bool Holds(KeyCode keycode) {
        XDeviceState* state = XQueryDeviceState(display_, device_);
        bool down = false;
        const XInputClass* part = state->data;
        for (int c = 0; c < state->num_classes; ++c) {
            if (part->c_class == KeyClass) {
                down =
                    (reinterpret_cast<const XKeyState*>(part)->keys[keycode / 8] >> (keycode % 8)) &
                    1;
            }
            part = reinterpret_cast<const XInputClass*>(reinterpret_cast<const char*>(part) +
                                                        part->length);
        }
        XFreeDeviceState(state);
        return down;
    }

  private:
    Display* display_;
    XDevice* device_ = nullptr;
};

struct KeyWatchdogTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "run under Xvfb (tests/support/with-xvfb.sh)";
        // Each watchdog is an orphan from its start: adopted here, its end can be seen.
        ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }
    void TearDown() override {
        Keyboard player(x.display(), false);
        for (KeyCode k : x.DownKeycodes()) {
            player.Set(k, false);
            XTestFakeKeyEvent(x.display(), k, False, CurrentTime);
        }
        XSync(x.display(), False);
    }

    // The helper (hold_key_helper.cpp), started from `program` in a process group of its own,
    // which goes with this object whatever happened to the helper.
    struct Helper {
        explicit Helper(const char* program = HOLD_KEY_HELPER, const char* errFile = "/dev/null") {
            pid = fork();
            if (pid != 0) {
                waitpid(pid, nullptr, WUNTRACED);  // stopped itself, all said, or ended
                return;
            }
            setpgid(0, 0);
            // A test runner in the background may have started us with SIGINT ignored.
            signal(SIGINT, SIG_DFL);
            setenv("VANTREL_KEY_BACKEND", "xtest", 1);
            // Nothing of the test's output stays open in a process left behind.
            dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
            dup2(open(errFile, O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            execl(program, program, static_cast<char*>(nullptr));
            _exit(127);
        }
        // Also ends the helper's child, which inherited every descriptor not closed on exec.
        ~Helper() {
            if (pid <= 0) return;
            kill(-pid, SIGKILL);
            while (waitpid(-pid, nullptr, 0) > 0) {
            }
        }
        int Kill(int sig) {
            kill(sig == SIGINT ? -pid : pid, sig);
            kill(pid, SIGCONT);
            int status = 0;
            waitpid(pid, &status, 0);
            return status;
        }
        pid_t pid;
    };

    // The watchdog is adopted by this process; the helper's own child never ends by itself.
    static bool AnAdoptedChildEndsWithin(std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        while (waitpid(-1, nullptr, WNOHANG) <= 0) {
            if (Clock::now() > deadline) return false;
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }

    testing::XObserver x;  // a second X client: the test's own, the player's
    const KeyCode w = x.KeycodeOf(XK_w);
    const KeyCode shift = x.KeycodeOf(XK_Shift_L);
};

struct KeyWatchdogDeath : KeyWatchdogTest, ::testing::WithParamInterface<int> {};

// SIGINT goes to the helper's whole process group, as a terminal's Ctrl+C does; the helper has
// no handler for it, so only the watchdog, in a session of its own, can let go of w.
TEST_P(KeyWatchdogDeath, LetsGoOfTheKeyVantrelHeldButNotOfThePlayersKey) {
    const int sig = GetParam();
    Helper helper;
    ASSERT_TRUE(x.WaitFor(w, true) && x.WaitFor(shift, false)) << "w held, LSHIFT let go of";
    // The player presses LSHIFT, a key Vantrel held before and let go of.
    XTestFakeKeyEvent(x.display(), shift, True, CurrentTime);
    XSync(x.display(), False);

    const int status = helper.Kill(sig);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    // Had the helper's child inherited the watchdog's socket, the watchdog would not have seen
    // the helper die.
    EXPECT_TRUE(x.WaitFor(w, false));
    EXPECT_TRUE(AnAdoptedChildEndsWithin(2s));
    EXPECT_TRUE(x.IsDown(shift)) << "the player's key stays down";
}

INSTANTIATE_TEST_SUITE_P(Signals, KeyWatchdogDeath, ::testing::Values(SIGKILL, SIGINT));

TEST_F(KeyWatchdogTest, AKeyThePlayerHoldsTooStaysDownUntilThePlayerLetsGo) {
    Keyboard player(x.display(), false), xtest(x.display(), true);
    ASSERT_TRUE(player.ok() && xtest.ok());
    player.Set(w, true);
    Helper helper;
    const auto deadline = Clock::now() + 5s;
    while (!xtest.Holds(w) && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(xtest.Holds(w)) << "the helper never held w";
    helper.Kill(SIGKILL);

    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(x.IsDown(w)) << "lifted under the player's finger";
    player.Set(w, false);
    EXPECT_TRUE(x.WaitFor(w, false));
    EXPECT_TRUE(AnAdoptedChildEndsWithin(2s));
    EXPECT_FALSE(xtest.Holds(w)) << "a later XTest press of w would not count";
}

TEST_F(KeyWatchdogTest, EndsAfterAGoodbyeAndWhenItsXServerGoes) {
    std::string message;
    auto service = CreateKeyService({.backend = "xtest"}, message);
    ASSERT_TRUE(service) << message;
    testing::KeyDown(*service, "w");
    service.reset();  // lets go of w, then says goodbye
    EXPECT_TRUE(AnAdoptedChildEndsWithin(2s));
    EXPECT_FALSE(x.IsDown(w));

    FILE* server = popen("echo $$; exec Xvfb -displayfd 1 -nolisten tcp 2>/dev/null", "r");
    int pid = 0, number = 0;
    ASSERT_EQ(std::fscanf(server, "%d %d", &pid, &number), 2) << "could not start Xvfb";
    const std::string name = ":" + std::to_string(number);
    service = CreateKeyService({.backend = "xtest", .displayName = name.c_str()}, message);
    ASSERT_TRUE(service) << message;
    testing::KeyDown(*service, "q");
    kill(pid, SIGTERM);
    pclose(server);
    EXPECT_TRUE(AnAdoptedChildEndsWithin(5s));
}

// A copy of the helper in a folder without the watchdog: keys still go out, and stderr says
// what is at stake. (Its w then stays down when it is killed, which is what the watchdog is for.)
TEST_F(KeyWatchdogTest, WithoutItKeysStillGoOutAndStderrSaysWhatIsAtStake) {
    testing::TempDir dir;
    const std::filesystem::path copy = dir.path / "helper", err = dir.path / "stderr";
    std::filesystem::copy_file(HOLD_KEY_HELPER, copy);
    {
        Helper helper(copy.c_str(), err.c_str());
        EXPECT_TRUE(x.WaitFor(w, true));
    }
    const std::string text = testing::TempDir::Read(err);
    EXPECT_TRUE(text.starts_with("Vantrel: its key watchdog could not start: vantrel-key-watchdog "
                                 "is neither in " +
                                 dir.path.string() + " nor in ") &&
                text.ends_with("a gear key it holds stays down until you press that key; "
                               "reinstall Vantrel if this message comes back.\n"))
        << text;
}

}  // namespace
}  // namespace vantrel
