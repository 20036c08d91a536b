#include "windows/event_loop_alarm.h"

namespace vantrel {

EventLoopAlarm::EventLoopAlarm() {
    timer_.setSingleShot(true);
    // A tap held 40 ms must not become 50: the coarse timer may stretch it by 5 %, or more.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // Taken out first: the ring may set the alarm again.
        const std::function<void()> ring = std::move(ring_);
        ring_ = nullptr;
        if (ring) ring();
    });
}

void EventLoopAlarm::Set(std::chrono::milliseconds delay, std::function<void()> ring) {
    ring_ = std::move(ring);
    timer_.start(delay);
}

void EventLoopAlarm::Cancel() {
    timer_.stop();
    ring_ = nullptr;
}

}  // namespace vantrel
