// The command line of the real program, with no display at all: what it prints where, its exit
// status, and that it neither opens a window nor writes a file while answering.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cli/run_program.h"

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
        if (*c.out != '\0') {
            EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
        }
        if (*c.err == '\0') {
            EXPECT_EQ(run.err, "");
        } else {
            // The reason first, then the usage to put it right.
            EXPECT_TRUE(run.err.startsWith("vantrel: ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains("Usage: vantrel [options]"));
            EXPECT_EQ(run.out, "");
        }
        if (c.exitCode == 0 && run.out.startsWith("Usage")) {
            for (const char* option : {"--minimized", "--config <FILE>", "--autostart <on|off>"})
                EXPECT_TRUE(run.out.contains(option)) << option;
        }
    }
    // Nothing was written, not even a settings folder.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

}  // namespace
}  // namespace vantrel::testing
