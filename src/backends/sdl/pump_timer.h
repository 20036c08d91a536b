#pragma once
// A periodic timer on the Qt event loop with a microsecond interval. On Linux it is a timerfd
// watched by a QSocketNotifier, which wakes the loop on time whatever the event dispatcher's own
// timer granularity; elsewhere a precise QTimer (whole milliseconds).

#include <QObject>
#include <chrono>
#include <functional>

class QSocketNotifier;
class QTimer;

namespace vantrel {

class PumpTimer : public QObject {
    Q_OBJECT

  public:
    explicit PumpTimer(std::function<void()> onTick, QObject* parent = nullptr);
    ~PumpTimer() override;

    // Runs every `interval`, the first time one interval from now. Asking again for the interval
    // it already runs at changes nothing, so a steady pace keeps its rhythm.
    void start(std::chrono::microseconds interval);
    void stop();
    bool isActive() const { return active_; }
    std::chrono::microseconds interval() const { return interval_; }

  private:
    void fire();

    std::function<void()> onTick_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* timer_ = nullptr;
    bool active_ = false;
    std::chrono::microseconds interval_{0};
};

}  // namespace vantrel
