// Every way the program ends while a gear key is held lets the key go, as a second X client sees:
// the tray menu's "&Close" ends with 0, a termination signal with that signal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <csignal>

#include "support/x_observer.h"

namespace vantrel::testing {
namespace {

TEST(Ending, TrayCloseAndTerminationSignalsLetTheHeldKeyGo) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toUtf8().constData(), 1);
    XObserver x;
    ASSERT_TRUE(x.ok());
    const KeyCode w = x.KeycodeOf(XStringToKeysym("w"));
    for (int sig : {SIGUSR1 /* the probe's "&Close" */, SIGTERM, SIGINT, SIGHUP}) {
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
