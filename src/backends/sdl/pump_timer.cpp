#include "backends/sdl/pump_timer.h"

#include <QSocketNotifier>
#include <QTimer>

#ifdef __linux__
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace vantrel {

PumpTimer::PumpTimer(std::function<void()> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {
#ifdef __linux__
    fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        notifier_->setEnabled(false);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            uint64_t expirations = 0;
            // Clears the readable state; missed expirations are not caught up.
            if (::read(fd_, &expirations, sizeof expirations) < 0) return;
            fire();
        });
        return;
    }
#endif
    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &PumpTimer::fire);
}

PumpTimer::~PumpTimer() {
    delete notifier_;
#ifdef __linux__
    if (fd_ >= 0) ::close(fd_);
#endif
}

void PumpTimer::start(std::chrono::microseconds interval) {
    if (interval.count() <= 0) interval = std::chrono::microseconds{1};
    if (active_ && interval == interval_) return;
    active_ = true;
    interval_ = interval;
#ifdef __linux__
    if (fd_ >= 0) {
        itimerspec spec{};
        spec.it_interval.tv_sec = static_cast<time_t>(interval.count() / 1000000);
        spec.it_interval.tv_nsec = static_cast<long>(interval.count() % 1000000) * 1000;
        spec.it_value = spec.it_interval;
        timerfd_settime(fd_, 0, &spec, nullptr);
        notifier_->setEnabled(true);
        return;
    }
#endif
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(interval);
    timer_->start(ms);
}

void PumpTimer::stop() {
    if (!active_) return;
    active_ = false;
    interval_ = std::chrono::microseconds{0};
#ifdef __linux__
    if (fd_ >= 0) {
        const itimerspec disarm{};
        timerfd_settime(fd_, 0, &disarm, nullptr);
        notifier_->setEnabled(false);
        return;
    }
#endif
    timer_->stop();
}

void PumpTimer::fire() {
    if (active_ && onTick_) onTick_();
}

}  // namespace vantrel
