#pragma once
// What the benchmarks that run Qt windows or an event loop share: a settings folder of their own
// and waits that keep the event loop running.

#include <stdlib.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace vantrel::bench {

// A fresh XDG_CONFIG_HOME for the run (no settings file: the defaults, nothing remembered),
// removed with everything in it at the end.
class TempHome {
  public:
    explicit TempHome(const std::string& name) : path_("/tmp/" + name + "-XXXXXX") {
        ok_ = ::mkdtemp(path_.data()) != nullptr;
        if (ok_) ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~TempHome() {
        std::error_code ignored;
        if (ok_) std::filesystem::remove_all(path_, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    bool ok() const { return ok_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool ok_ = false;
};

// Asleep in the event loop for `duration`, as the program is between events.
inline void RunLoopFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop, looking at `done` every 0.1 ms, until it holds or the deadline passes;
// true when it holds.
template <typename Condition>
bool RunUntil(Condition done, std::chrono::milliseconds deadline = std::chrono::seconds(3)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(100);
    }
    return true;
}

// The event loop kept busy, looking for work every 0.1 ms, for `duration`.
inline void RunFor(std::chrono::milliseconds duration) {
    RunUntil([] { return false; }, duration);
}

}  // namespace vantrel::bench
