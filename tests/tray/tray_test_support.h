#pragma once
// Helpers of the tray tests: a private runtime folder for the instance lock, child programs read
// line by line while this process's event loop keeps running, and xdotool.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "support/qt_wait.h"

namespace vantrel::testing {

// Points XDG_RUNTIME_DIR at a fresh folder, so the instance lock of a test run never meets that
// of another run or of a real Vantrel.
inline QString FreshRuntimeDir() {
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

class PrivateRuntimeDir : public ::testing::Environment {
  public:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", FreshRuntimeDir().toUtf8()); }
};

// A child program whose standard output is collected while the caller waits.
class Child {
  public:
    Child(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, args);
    }
    ~Child() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    // The first output line starting with `prefix`, waiting up to `timeoutMs`; empty if none.
    QByteArray WaitForLine(const QByteArray& prefix, int timeoutMs = 10000) {
        QByteArray found;
        WaitUntil(
            [&] {
                output_ += process_.readAllStandardOutput();
                for (const QByteArray& line : output_.split('\n')) {
                    if (line.startsWith(prefix)) {
                        found = line;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
    }
    bool WaitForExit(int timeoutMs = 10000) {
        const bool ended =
            WaitUntil([&] { return process_.state() == QProcess::NotRunning; }, timeoutMs);
        output_ += process_.readAllStandardOutput();
        return ended;
    }
    QByteArray Output() {
        output_ += process_.readAllStandardOutput();
        return output_;
    }
    QProcess& process() { return process_; }

  private:
    QProcess process_;
    QByteArray output_;
};

// Runs a short program to its end while this process keeps answering events; its output.
inline QByteArray RunToEnd(const QString& program, const QStringList& args) {
    Child child(program, args, QProcessEnvironment::systemEnvironment());
    EXPECT_TRUE(child.WaitForExit()) << program.toStdString() << " did not end";
    return child.Output();
}

inline void Xdotool(const QStringList& args) { RunToEnd("xdotool", args); }

}  // namespace vantrel::testing
