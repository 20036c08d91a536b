#pragma once
// One Vantrel per user. The first start holds the per-user lock (instance_lock.h) and listens on
// a local socket beside it; a later start finds the lock taken and, through the socket, asks the
// running one to show its main window, then ends. Two Vantrels never press the same keys.

#include <QLocalServer>
#include <QObject>
#include <filesystem>
#include <functional>

namespace vantrel {

class SingleInstance : public QObject {
  public:
    enum class Outcome {
        First,         // this is the user's one Vantrel (or nobody can tell: it runs)
        OtherRunning,  // another one runs; it was asked to show its window when that was wanted
        OtherSilent,   // another one holds the lock but did not take the request
    };

    // `lockFile`: the per-user lock; the socket lies in the same private folder.
    explicit SingleInstance(std::filesystem::path lockFile);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or finds the running Vantrel and, when `askToShow`, asks it to show its
    // main window. Waits a few seconds at most for one that is still starting.
    Outcome Claim(bool askToShow);

    // Runs `show` for each request of a later start, from the event loop. A request that came
    // before this is set (while the start-up still ran) is answered once it is set.
    void OnShowAsked(std::function<void()> show);

  private:
    void Asked();

    std::filesystem::path lockFile_;
    std::filesystem::path socketFile_;
    int lockFd_ = -1;
    QLocalServer server_;
    std::function<void()> show_;
    bool pending_ = false;
};

}  // namespace vantrel
