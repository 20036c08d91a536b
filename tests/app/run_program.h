#pragma once
// Runs the vantrel program as a user would from a terminal, with an environment of the test's
// choosing, and keeps what it printed.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* out) { *out << '"' << s.toStdString() << '"'; }

namespace vantrel::testing {

struct ProgramRun {
    int exitCode = -1;
    bool ended = false;  // by itself, with an exit code
    QString out;
    QString err;
};

// Without any display: a program that tried to open a window would fail.
inline QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    return env;
}

inline ProgramRun RunProgram(const QStringList& arguments, const QProcessEnvironment& env,
                             const QString& program = QStringLiteral(VANTREL_PROGRAM)) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    ProgramRun run;
    run.ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    if (!run.ended) process.kill();
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace vantrel::testing
