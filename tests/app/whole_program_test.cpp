// The whole program on the real services under Xvfb, keys sent through XTest and seen by a second
// X client. In this process, with SDL virtual controllers plugged in and out while it runs and the
// remembered controller kept in the settings file; and in a child process of its own, ending in
// every way while a gear key is held.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <memory>

#include "app/real_services.h"
#include "doubles/virtual_pad.h"
#include "engine/poll_cycle.h"
#include "support/qt_wait.h"
#include "windows/main_window/window_rig.h"

// Last: Xlib's macros clash with Qt's names.
#include "support/x_observer.h"

namespace vantrel::testing {
namespace {

// Raw SDL axis values: about 3000 after scaling (the column of gears 3 and 4), and the ends.
constexpr int kGear34 = -14417, kLow = -32768, kHigh = 32767;
constexpr const char* kPadName = "Vantrel Hotplug Pad";

void Stick(VirtualPad& pad, int x, int y) {
    pad.SetAxis(0, x);
    pad.SetAxis(1, y);
}

TEST(HotPlug, UnpluggedInGearLetsGoComesBackDrivingAndIsPickedAgainAtTheNextStart) {
    XObserver x;  // a second X client
    ASSERT_TRUE(x.ok());
    const auto code = [&](const char* key) { return x.KeycodeOf(XStringToKeysym(key)); };
    // The pump runs while the event loop waits; x.WaitFor() waits without it.
    const auto keyBecomes = [&](const char* key, bool down) {
        return WaitUntil([&] { return x.IsDown(code(key)) == down; });
    };
    SettingsHome home;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const auto services = CreateRealServices();
    {
        MainWindow window;
        std::vector<int> ended;
        window.endProgram = [&](int status) { ended.push_back(status); };
        window.waitForController = true;  // nothing attached yet: it waits instead of ending
        MessageBoxWatch boxes;
        ASSERT_EQ(window.Start(*services), std::nullopt);
        window.show();
        QListWidget* lines = window.controls().controllerList;
        const auto linesBecome = [&](int n) {
            return WaitUntil([&] { return lines->count() == n; });
        };

        // Plugged in after the start: listed, and the second of the same name drives.
        auto first = std::make_unique<VirtualPad>(kPadName, 2, 4);
        ASSERT_TRUE(linesBecome(1));
        auto second = std::make_unique<VirtualPad>(kPadName, 2, 4);
        VirtualPad spare("Spare Pad", 2, 4);
        ASSERT_TRUE(linesBecome(3));
        ClickLine(lines, 1);
        Stick(*second, kGear34, kLow);
        ASSERT_TRUE(keyBecomes("w", true));
        EXPECT_TRUE(window.grab().save(VANTREL_BINARY_DIR "/tests/app/main-window-gear3.png"));

        // Another one unplugged: the line in use moves up and stays chosen.
        first.reset();
        ASSERT_TRUE(linesBecome(2));
        EXPECT_EQ(lines->currentRow(), 0);

        // Unplugged in gear 3: the key goes up, the window says so, no other line looks chosen,
        // the program runs on.
        second.reset();
        EXPECT_TRUE(keyBecomes("w", false));
        EXPECT_TRUE(x.DownKeycodes().empty());
        EXPECT_TRUE(WaitUntil([&] { return window.windowTitle() == kCaptionDisconnected; }));
        EXPECT_EQ(lines->count(), 1);
        EXPECT_EQ(lines->currentRow(), -1);
        EXPECT_EQ(window.controls().axisList->count() + window.controls().gearList->count(), 0);
        EXPECT_TRUE(ended.empty());

        // Plugged back: it drives again with no click.
        VirtualPad back(kPadName, 2, 4);
        Stick(back, kGear34, kLow);
        EXPECT_TRUE(keyBecomes("w", true));
        EXPECT_EQ(window.windowTitle(), kCaptionAvailable);
        EXPECT_EQ(lines->currentRow(), 1);
        EXPECT_TRUE(boxes.seen.isEmpty());
        window.close();
        EXPECT_TRUE(x.WaitFor(code("w"), false));
    }
    {
        // The next start picks the remembered controller by itself, behind another one.
        VirtualPad other("Another Pad", 2, 4), pad(kPadName, 2, 4);
        Stick(pad, kLow, kHigh);  // gear 2
        MainWindow window;
        window.endProgram = [](int) {};
        ASSERT_EQ(window.Start(*services), std::nullopt);
        EXPECT_EQ(window.controls().controllerList->currentRow(), 1);
        EXPECT_TRUE(keyBecomes("a", true));
        window.close();
        EXPECT_TRUE(x.WaitFor(code("a"), false));
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The tray menu's "&Close" ends with 0, a signal with that signal; the key goes up, through the
// key watchdog when nothing in the program could let go of it (SIGKILL).
TEST(Ending, TrayCloseAndSignalsLetTheHeldKeyGo) {
    SettingsHome home;
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
