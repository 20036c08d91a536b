#pragma once
// Wakes the pump at once when a controller's device node has input: a read-only handle of the node
// watched by a QSocketNotifier. What arrives on the handle is read and dropped (SDL reads the
// device through its own handle); that keeps the handle from reporting the same input again.

#include <QObject>
#include <functional>
#include <string>

class QSocketNotifier;

namespace vantrel {

class NodeWatch : public QObject {
    Q_OBJECT

  public:
    // `onActivity` runs after each wake. A node that cannot be opened gives a watch that is not
    // live.
    NodeWatch(std::string path, std::function<void()> onActivity, QObject* parent = nullptr);
    ~NodeWatch() override;

    const std::string& path() const { return path_; }
    // False once the node cannot be read any more (removed device, closed pipe): it then stays
    // quiet so that a dead handle cannot keep waking the loop.
    bool live() const { return live_; }

  private:
    void drain();

    std::string path_;
    std::function<void()> onActivity_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool live_ = false;
};

}  // namespace vantrel
