#include "services/sdl/hotplug_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace vantrel {

HotplugWatch::HotplugWatch(std::function<void()> look, const std::string& folder,
                           const HotplugTiming& timing, QObject* parent)
    : QObject(parent), look_(std::move(look)), timing_(timing), timer_(new QTimer(this)) {
    // Coarse: the idle look may drift a little so that the system can batch its wakes.
    timer_->setTimerType(Qt::CoarseTimer);
    connect(timer_, &QTimer::timeout, this, &HotplugWatch::tick);
    timer_->start(timing_.idle);
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

void HotplugWatch::tick() {
    if (timer_->interval() != timing_.idle.count() &&
        std::chrono::steady_clock::now() >= burstUntil_) {
        timer_->setTimerType(Qt::CoarseTimer);
        timer_->start(timing_.idle);
    }
    if (look_) look_();
}

void HotplugWatch::folderChanged() {
    burstUntil_ = std::chrono::steady_clock::now() + timing_.burstFor;
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->start(timing_.burst);
    if (look_) look_();
}

}  // namespace vantrel
