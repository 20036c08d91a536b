// `vantrel --minimized` (the autostart) on a desktop with no tray, as the X server sees it:
// nothing is mapped during the real 30 s wait for a tray, then one minimized window and one
// message. The late and restarting tray: tray_unit_test and tray_xembed_test.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "support/qt_wait.h"

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantrel::testing {
namespace {

// The windows mapped at the top of the screen since the watch began. With no window manager and
// no tray, Vantrel is the only X client that maps any.
struct MapWatch {
    MapWatch() {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        XSync(d, False);
    }
    ~MapWatch() { XCloseDisplay(d); }
    const std::vector<Window>& Mapped() {
        for (XEvent e; XPending(d) > 0;) {
            XNextEvent(d, &e);
            if (e.type == MapNotify && e.xmap.event == DefaultRootWindow(d)) {
                mapped.push_back(e.xmap.window);
            }
        }
        return mapped;
    }
    bool Iconic(Window w) const {
        XWMHints* hints = XGetWMHints(d, w);
        const bool iconic =
            hints && (hints->flags & StateHint) && hints->initial_state == IconicState;
        if (hints) XFree(hints);
        return iconic;
    }
    // Qt marks every dialog, and only a dialog, as transient for some other window.
    bool Dialog(Window w) const {
        Window owner = None;
        return XGetTransientForHint(d, w, &owner) != 0 && owner != None;
    }
    Display* d = XOpenDisplay(nullptr);
    std::vector<Window> mapped;
};

TEST(NoTray, AfterTheWaitOneMinimizedWindowAndOneMessage) {
    MapWatch x;
    const QTemporaryDir dir;
    QProcess vantrel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VANTREL_KEY_BACKEND", "xtest");
    vantrel.setProcessEnvironment(env);
    vantrel.start(VANTREL_PROGRAM, {"--minimized"});
    const auto count = [&] { return x.Mapped().size(); };

    EXPECT_FALSE(WaitUntil([&] { return count() > 0; }, 29000)) << "shown before the wait was over";
    ASSERT_TRUE(WaitUntil([&] { return count() >= 2; }, 15000));
    EXPECT_FALSE(WaitUntil([&] { return count() > 2; }, 1000)) << "more than twice";
    ASSERT_EQ(count(), 2u);
    // The main window first, minimized; the message beside it.
    EXPECT_TRUE(x.Iconic(x.mapped[0]) && !x.Dialog(x.mapped[0]));
    EXPECT_TRUE(x.Dialog(x.mapped[1]) && !x.Iconic(x.mapped[1]));
    vantrel.kill();
    vantrel.waitForFinished();
}

}  // namespace
}  // namespace vantrel::testing
