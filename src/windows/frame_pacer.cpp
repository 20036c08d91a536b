#include "windows/frame_pacer.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace vantrel::ui {

FramePacer::FramePacer(QWidget& window, std::function<void()> present)
    : window_(window), present_(std::move(present)), period_(FramePeriod()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire early, inside the frame
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (Presentable()) Present();
    });
    window_.installEventFilter(this);
}

std::chrono::nanoseconds FramePacer::FramePeriod() const {
    const QScreen* screen = window_.screen();
    const double hz = screen ? screen->refreshRate() : 0;
    // Some platforms report 0 or a made-up figure; nearly every screen draws 60 frames a second.
    const double rate = hz >= 20 && hz <= 1000 ? hz : 60;
    return std::chrono::nanoseconds(std::llround(1e9 / rate));
}

void FramePacer::Request() {
    waiting_ = true;
    if (!pacing_) return Present();
    if (timer_.isActive() || !Presentable()) return;
    const auto wait = last_ + period_ - Clock::now();
    // Whole milliseconds, rounded up: never inside the frame of the last presentation.
    timer_.start(wait.count() > 0 ? std::chrono::ceil<std::chrono::milliseconds>(wait)
                                  : std::chrono::milliseconds(0));
}

void FramePacer::PresentIfDue() {
    if (waiting_ && Presentable() && Clock::now() >= last_ + period_) Present();
}

void FramePacer::PresentNow() {
    if (waiting_ && Presentable()) Present();
}

bool FramePacer::Presentable() const { return window_.isVisible() || !pacing_; }

void FramePacer::Present() {
    timer_.stop();
    waiting_ = false;
    last_ = Clock::now();
    period_ = FramePeriod();  // the window may have moved to another screen
    present_();
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
    // Shown again: what changed while hidden is there before the first paint.
    if (watched == &window_ && event->type() == QEvent::Show && waiting_) Present();
    return QObject::eventFilter(watched, event);
}

}  // namespace vantrel::ui
