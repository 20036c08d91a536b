#include "windows/tray/tray_wait.h"

namespace vantrel {

TrayWait::TrayWait(std::function<bool()> trayAvailable) : trayAvailable_(std::move(trayAvailable)) {
    checks_.setInterval(kTrayCheckInterval);
    deadline_.setSingleShot(true);
    // A coarse timer may end up to 5 % early: 1.5 s of a 30 s wait.
    deadline_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&checks_, &QTimer::timeout, [this] {
        if (trayAvailable_()) Found();
    });
    QObject::connect(&deadline_, &QTimer::timeout, [this] {
        checks_.stop();
        // A tray that came in the last moments still counts.
        if (trayAvailable_()) {
            Found();
            return;
        }
        const std::function<void()> gaveUp = std::move(gaveUp_);
        if (gaveUp) gaveUp();
    });
}

void TrayWait::Start(std::chrono::milliseconds limit, std::function<void()> found,
                     std::function<void()> gaveUp) {
    found_ = std::move(found);
    gaveUp_ = std::move(gaveUp);
    checks_.start();
    deadline_.start(limit);
}

void TrayWait::Stop() {
    checks_.stop();
    deadline_.stop();
    found_ = nullptr;
    gaveUp_ = nullptr;
}

void TrayWait::Found() {
    const std::function<void()> found = std::move(found_);
    Stop();
    if (found) found();
}

}  // namespace vantrel
