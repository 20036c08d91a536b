// A second start of the real program while Vantrel runs, as the X server sees the windows: it
// shows the running one's main window, from the tray, and ends with 0; with --minimized it just
// ends. A Vantrel that crashed leaves nothing in the way of the next start.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "cli/run_program.h"
#include "cli/tray_host.h"

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace vantrel::testing {
namespace {

struct XWindow {
    bool topLevel = false;  // a child of the root window (not docked in the tray)
    bool viewable = false;
    std::string title;
};

// Every window of the process `pid`, found by its _NET_WM_PID anywhere in the window tree.
class WindowsOfProcess {
  public:
    WindowsOfProcess() : display_(XOpenDisplay(nullptr)) {}
    ~WindowsOfProcess() {
        if (display_) XCloseDisplay(display_);
    }
    bool ok() const { return display_ != nullptr; }

    std::vector<XWindow> operator()(qint64 pid) {
        // Windows of other clients may vanish while the tree is walked.
        const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        std::vector<XWindow> found;
        const Window root = DefaultRootWindow(display_);
        Walk(root, root, pid, found);
        XSync(display_, False);
        XSetErrorHandler(previous);
        return found;
    }

  private:
    void Walk(Window window, Window parent, qint64 pid, std::vector<XWindow>& found) {
        if (Pid(window) == pid) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display_, window, &attributes);
            found.push_back({parent == DefaultRootWindow(display_),
                             attributes.map_state == IsViewable, Title(window)});
        }
        Window rootReturn = 0, parentReturn = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, window, &rootReturn, &parentReturn, &children, &count)) return;
        for (unsigned i = 0; i < count; ++i) Walk(children[i], window, pid, found);
        if (children) XFree(children);
    }
    long Pid(Window window) {
        const Atom atom = XInternAtom(display_, "_NET_WM_PID", False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, window, atom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data && items == 1) {
            pid = *reinterpret_cast<long*>(data);
        }
        if (data) XFree(data);
        return pid;
    }
    std::string Title(Window window) {
        char* name = nullptr;
        std::string title;
        if (XFetchName(display_, window, &name) && name) title = name;
        if (name) XFree(name);
        return title;
    }

    Display* display_;
};

TEST(SecondStart, ShowsTheRunningVantrelFromTheTrayAndEnds) {
    WindowsOfProcess windows;
    ASSERT_TRUE(windows.ok());
    TrayHost tray;
    ASSERT_TRUE(tray.ready) << "trayer did not provide a system tray";
    const QTemporaryDir dir;  // this user's runtime and settings folders, for this test only
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VANTREL_KEY_BACKEND", "xtest");
    const auto mainWindowShown = [&](const QProcess& vantrel) {
        for (const XWindow& w : windows(vantrel.processId())) {
            if (w.topLevel && w.viewable && w.title == "Vantrel") return true;
        }
        return false;
    };
    const auto inTheTray = [&](const QProcess& vantrel) {
        for (const XWindow& w : windows(vantrel.processId())) {
            if (!w.topLevel) return true;
        }
        return false;
    };

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(VANTREL_WITH_PAD, {"--minimized"});
    ASSERT_TRUE(WaitUntil([&] { return inTheTray(first); }, 30000)) << "never in the tray";
    EXPECT_FALSE(mainWindowShown(first));

    ProgramRun second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return mainWindowShown(first); }, 15000));

    second = RunProgram({"--minimized"}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // Crashed: its lock goes with it, its socket file stays behind.
    first.kill();
    first.waitForFinished();
    QProcess next;
    next.setProcessEnvironment(env);
    next.start(VANTREL_WITH_PAD);
    ASSERT_TRUE(WaitUntil([&] { return mainWindowShown(next); }, 30000)) << "did not start";
    second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
    next.terminate();
    next.waitForFinished();
}

}  // namespace
}  // namespace vantrel::testing
