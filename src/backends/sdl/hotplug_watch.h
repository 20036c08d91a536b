#pragma once
// Looks for controllers plugged in or out: a slow timer, and a watch on the device folder (where
// it exists) that wakes it at once when a device node comes or goes. After such a wake it looks
// often for a short while, since SDL learns of a device from udev a moment after its node changes.
// One look costs a few microseconds; at the idle pace that is far below 0.1 % of a core.

#include <QObject>
#include <chrono>
#include <functional>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace vantrel {

struct HotplugTiming {
    // Bounds how late a controller shows up when no device folder wakes us (SDL virtual
    // joysticks, or a system without /dev/input): well inside a second.
    std::chrono::milliseconds idle{250};
    std::chrono::milliseconds burst{20};
    std::chrono::milliseconds burstFor{1500};
};

class HotplugWatch : public QObject {
    Q_OBJECT

  public:
    // `look` runs on every tick; `folder` is watched when it exists.
    explicit HotplugWatch(std::function<void()> look, const std::string& folder = "/dev/input",
                          const HotplugTiming& timing = {}, QObject* parent = nullptr);
    ~HotplugWatch() override;

    bool watchesFolder() const { return folder_ != nullptr; }
    // While something else looks often enough (the pump at its fast and slow paces) the timer
    // rests, so that it adds no wakes of its own.
    void setPaused(bool paused);

  private:
    void tick();
    void folderChanged();
    void startTimer();

    std::function<void()> look_;
    HotplugTiming timing_;
    QTimer* timer_;
    QFileSystemWatcher* folder_ = nullptr;
    std::chrono::steady_clock::time_point burstUntil_{};
    bool paused_ = false;
};

}  // namespace vantrel
