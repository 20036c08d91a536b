// The whole program on the real services under Xvfb, in a child process of its own, ending in
// every way while a gear key is held; the keys are seen by a second X client.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_dir.h"

// Last: Xlib's macros clash with Qt's names.
#include "support/x_observer.h"

namespace vantrel::testing {
namespace {

// The tray menu's "&Close" ends with 0, a signal with that signal; the key goes up, through the
// key watchdog when nothing in the program could let go of it (SIGKILL).
TEST(Ending, TrayCloseAndSignalsLetTheHeldKeyGo) {
    const TempDir home;
    ::setenv("XDG_CONFIG_HOME", home.path.c_str(), 1);
    XObserver x;
    ASSERT_TRUE(x.ok());
    const KeyCode w = x.KeycodeOf(XStringToKeysym("w"));
    for (int sig : {SIGUSR1 /* the probe's "&Close" */, SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(sig);
        const pid_t probe = ::fork();
        if (probe == 0) {
            ::execl(VANTREL_PROBE, VANTREL_PROBE, nullptr);
            ::_exit(127);
        }
        const bool held = x.WaitFor(w, true);
        ::kill(probe, held ? sig : SIGKILL);
        int status = 0;
        ::waitpid(probe, &status, 0);
        ASSERT_TRUE(held) << "gear 3 never engaged";
        if (sig == SIGUSR1) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        }
        EXPECT_TRUE(x.WaitFor(w, false));
        EXPECT_TRUE(x.DownKeycodes().empty());
    }
}

}  // namespace
}  // namespace vantrel::testing
