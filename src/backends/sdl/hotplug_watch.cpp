#include "backends/sdl/hotplug_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace vantrel {

HotplugWatch::HotplugWatch(std::function<void()> look, const std::string& folder,
                           const HotplugTiming& timing, QObject* parent)
    : QObject(parent), look_(std::move(look)), timing_(timing), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &HotplugWatch::tick);
    startTimer();
    const QString path = QString::fromStdString(folder);
    if (!folder.empty() && QFileInfo(path).isDir()) {
        folder_ = new QFileSystemWatcher(this);
        if (folder_->addPath(path)) {
            connect(folder_, &QFileSystemWatcher::directoryChanged, this,
                    &HotplugWatch::folderChanged);
        } else {
            delete folder_;
            folder_ = nullptr;
        }
    }
}

HotplugWatch::~HotplugWatch() = default;

void HotplugWatch::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (paused) {
        timer_->stop();
    } else {
        startTimer();
    }
}

void HotplugWatch::startTimer() {
    const bool burst = std::chrono::steady_clock::now() < burstUntil_;
    // Coarse when idle: the look may drift a little so that the system can batch its wakes.
    timer_->setTimerType(burst ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_->start(burst ? timing_.burst : timing_.idle);
}

void HotplugWatch::tick() {
    if (timer_->interval() != timing_.idle.count() &&
        std::chrono::steady_clock::now() >= burstUntil_) {
        startTimer();
    }
    if (look_) look_();
}

void HotplugWatch::folderChanged() {
    burstUntil_ = std::chrono::steady_clock::now() + timing_.burstFor;
    if (!paused_) startTimer();
    if (look_) look_();
}

}  // namespace vantrel
