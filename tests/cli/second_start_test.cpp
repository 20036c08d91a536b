// A second start of the real program while Vantrel runs, as the X server sees the windows: it
// shows the running one's main window, from the tray, and ends with 0; with --minimized it just
// ends. A Vantrel that crashed leaves nothing in the way of the next start.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli/run_program.h"
#include "cli/tray_host.h"

namespace vantrel::testing {
namespace {

// Whether the X server shows a window of `vantrel` titled "Vantrel" (found by its _NET_WM_PID).
bool MainWindowShown(const QProcess& vantrel) {
    const ProgramRun search =
        RunProgram({"search", "--all", "--onlyvisible", "--pid",
                    QString::number(vantrel.processId()), "--name", "^Vantrel$"},
                   QProcessEnvironment::systemEnvironment(), "xdotool");
    return search.exitCode == 0 && !search.out.trimmed().isEmpty();
}

TEST(SecondStart, ShowsTheRunningVantrelFromTheTrayAndEnds) {
    TrayHost tray;
    ASSERT_TRUE(tray.ready) << "trayer did not provide a system tray";
    const QTemporaryDir dir;  // this user's runtime and settings folders, for this test only
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VANTREL_KEY_BACKEND", "xtest");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(VANTREL_WITH_PAD, {"--minimized"});
    // Its socket is there once it holds the lock: the next start is a second one.
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(dir.filePath("vantrel.socket")); }, 30000));
    EXPECT_FALSE(MainWindowShown(first));
    ProgramRun second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return MainWindowShown(first); }, 30000));

    second = RunProgram({"--minimized"}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // Crashed: its lock goes with it, its socket file stays behind.
    first.kill();
    first.waitForFinished();
    QProcess next;
    next.setProcessEnvironment(env);
    next.start(VANTREL_WITH_PAD);
    EXPECT_TRUE(WaitUntil([&] { return MainWindowShown(next); }, 30000)) << "did not start";
    second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
    next.terminate();
    next.waitForFinished();
}

}  // namespace
}  // namespace vantrel::testing
