// The command line of the real program, with no display at all: what it prints where, its exit
// status, and that it neither opens a window nor writes a file while answering; `--autostart
// on|off` writes an entry that a real desktop-entry launcher (GLib's `gio launch`) starts with
// exactly the arguments Vantrel needs, also for a settings file whose name holds every character
// the Exec key reserves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/run_program.h"
#include "support/qt_wait.h"

namespace vantrel::testing {
namespace {

TEST(CommandLine, HelpVersionAndMistakesAreAnsweredWithoutADisplay) {
    const QTemporaryDir home;
    QProcessEnvironment env = WithoutDisplay();
    env.insert("XDG_CONFIG_HOME", home.path());
    env.insert("XDG_RUNTIME_DIR", home.path());
    const struct {
        QStringList arguments;
        int exitCode;
        const char* out;  // what stdout starts with
        const char* err;  // a word stderr must contain, or "" for nothing on stderr
    } cases[] = {
        {{"--help"}, 0, "Usage: vantrel [options]\n", ""},
        {{"-h", "--minimized"}, 0, "Usage: vantrel [options]\n", ""},
        {{"--version"}, 0, "vantrel " VANTREL_PROJECT_VERSION "\n", ""},
        {{"--bogus"}, 2, "", "'bogus'"},
        {{"--minimized", "stray"}, 2, "", "'stray'"},
        {{"--config"}, 2, "", "--config"},
        {{"--autostart", "maybe"}, 2, "", "'maybe'"},
        {{"--autostart"}, 2, "", "--autostart"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = RunProgram(c.arguments, env);
        ASSERT_TRUE(run.ended) << run.err.toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.toStdString().starts_with(c.out)) << run.out.toStdString();
        if (*c.err == '\0') {
            EXPECT_EQ(run.err, "");
        } else {
            // The reason first, then the usage to put it right.
            EXPECT_TRUE(run.err.startsWith("vantrel: ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains("Usage: vantrel [options]"));
            EXPECT_EQ(run.out, "");
        }
    }
    // Nothing was written, not even a settings folder.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QString Read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(Autostart, OnWritesAnEntryALauncherStartsMinimizedWithTheSettingsFileOffRemovesIt) {
    const QTemporaryDir dir;
    const QString home = dir.filePath("home"), bin = dir.filePath("bin");
    const QString entry = home + "/autostart/vantrel.desktop";
    ASSERT_TRUE(QDir().mkpath(bin));
    // `vantrel` on PATH is this program: the entry names it so.
    ASSERT_TRUE(QFile::link(VANTREL_PROGRAM, bin + "/vantrel"));
    QProcessEnvironment env = WithoutDisplay();
    env.insert("XDG_CONFIG_HOME", home);
    env.insert("PATH", bin + ":/usr/bin:/bin");
    const QString settings = R"(per game/it's "$HOME" 100% \back`(1)`;.ini)";

    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());  // the relative name is made absolute
    process.start(VANTREL_PROGRAM, {"--autostart", "on", "--config", settings});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(QString(process.readAllStandardOutput()).contains(entry));

    // Launched as a desktop session does at login, `vantrel` is a stand-in that notes its
    // arguments.
    const QString noted = dir.filePath("arguments"), standIn = dir.filePath("stand-in");
    QFile script(standIn);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + noted + ".part' && mv '" + noted +
                  ".part' '" + noted + "'\n")
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::remove(bin + "/vantrel") && QFile::link(standIn, bin + "/vantrel"));
    const ProgramRun launch = RunProgram({"launch", entry}, env, "gio");
    ASSERT_TRUE(launch.ended && launch.exitCode == 0) << launch.err.toStdString();
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(noted); }, 30000));
    EXPECT_EQ(Read(noted), "--minimized\n--config\n" + dir.filePath(settings) + "\n");

    // Not on PATH: the entry starts this program by its full name, and no settings file is named.
    env.insert("PATH", "/usr/bin:/bin");
    ProgramRun run = RunProgram({"--autostart", "on"}, env);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Read(entry).contains("\nExec=" VANTREL_PROGRAM " --minimized\n"))
        << Read(entry).toStdString();

    for (const char* said : {"removed", "nothing to remove"}) {
        run = RunProgram({"--autostart", "off"}, env);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains(said)) << run.out.toStdString();
        EXPECT_FALSE(QFile::exists(entry));
    }

    // The autostart folder cannot be made: said on stderr, with a failing status.
    ASSERT_TRUE(QDir(home + "/autostart").removeRecursively());
    ASSERT_TRUE(QFile(home + "/autostart").open(QIODevice::WriteOnly));
    run = RunProgram({"--autostart", "on"}, env);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.startsWith("vantrel: could not")) << run.err.toStdString();
}

}  // namespace
}  // namespace vantrel::testing
