// A second start of the real program while Vantrel runs, as the X server sees the windows: with
// --minimized it just ends; without, it shows the running one's main window, from the tray, and
// ends with 0. A Vantrel that crashed leaves nothing in the way of the next start, which reads the
// settings file its --config names.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/run_program.h"
#include "app/trayer.h"

namespace vantrel::testing {
namespace {

// Whether the X server shows a window of `vantrel` with this title (found by its _NET_WM_PID).
bool Shown(const QProcess& vantrel, const QString& title = "Vantrel") {
    const ProgramRun search =
        RunProgram({"search", "--all", "--onlyvisible", "--pid",
                    QString::number(vantrel.processId()), "--name", "^" + title + "$"},
                   QProcessEnvironment::systemEnvironment(), "xdotool");
    return search.exitCode == 0 && !search.out.trimmed().isEmpty();
}

TEST(SecondStart, ShowsTheRunningVantrelFromTheTrayAndEnds) {
    Trayer tray;
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
    ProgramRun second = RunProgram({"--minimized"}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_FALSE(WaitUntil([&] { return Shown(first); }, 1000)) << "--minimized shows nothing";
    second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return Shown(first); }, 30000));

    // Crashed: its lock goes with it, its socket file stays behind.
    first.kill();
    first.waitForFinished();
    QFile game(dir.filePath("game.ini"));
    ASSERT_TRUE(game.open(QIODevice::WriteOnly) && game.write("[fields]\ng12r=x\n") > 0);
    game.close();
    QProcess next;
    next.setProcessEnvironment(env);
    next.start(VANTREL_WITH_PAD, {"--config", game.fileName()});
    EXPECT_TRUE(WaitUntil([&] { return Shown(next); }, 30000)) << "did not start";
    EXPECT_TRUE(WaitUntil([&] { return Shown(next, "Vantrel settings"); }, 30000))
        << "the report of the --config file's bad value";
    second = RunProgram({}, env);
    EXPECT_TRUE(second.ended && second.exitCode == 0) << second.err.toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
    next.terminate();
    next.waitForFinished();
}

}  // namespace
}  // namespace vantrel::testing
