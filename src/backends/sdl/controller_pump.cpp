#include "backends/sdl/controller_pump.h"

#include <algorithm>
#include <string>

#include "backends/sdl/hotplug_watch.h"
#include "backends/sdl/node_watch.h"
#include "backends/sdl/pump_timer.h"
#include "backends/sdl/sdl_controller_service.h"

namespace vantrel {

ControllerPump::ControllerPump(SdlControllerService& service, QObject* parent)
    : QObject(parent), service_(service), timer_(new PumpTimer([this] { pump(); }, this)) {
    service_.SetWatchListener([this] { watchChanged(); });
}

ControllerPump::~ControllerPump() { service_.SetWatchListener({}); }

void ControllerPump::start() {
    if (running_) return;
    running_ = true;
    hotplug_ = new HotplugWatch([this] { lookForDevices(); }, "/dev/input", {}, this);
    refreshNodes();
    policy_.Kick(PacePolicy::Clock::now());
    setPace(nodesCoverAll_ ? PumpPace::NodeDriven : PumpPace::Fast);
}

void ControllerPump::stop() {
    running_ = false;
    if (hotplug_) hotplug_->deleteLater();
    hotplug_ = nullptr;
    dropNodes();
    timer_->stop();
    pace_ = PumpPace::Stopped;
}

std::chrono::microseconds ControllerPump::interval() const {
    return timer_->isActive() ? timer_->interval() : std::chrono::microseconds{0};
}

void ControllerPump::setTiming(const PumpTiming& timing) {
    policy_.setTiming(timing);
    if (running_ && pace_ != PumpPace::Dormant) {
        timer_->stop();
        timer_->start(policy_.Interval(pace_));
    }
}

void ControllerPump::pump() {
    if (!running_) return;
    ++pumps_;
    const PumpReport report = service_.PumpOnce();
    // A receiver may have stopped the pump.
    if (!running_) return;
    // A node that died (device removed) no longer wakes us: the timer takes over.
    if (nodesCoverAll_) {
        nodesCoverAll_ =
            std::all_of(nodes_.begin(), nodes_.end(), [](const NodeWatch* w) { return w->live(); });
    }
    const PumpPace next =
        policy_.Next(PacePolicy::Clock::now(), report.changed, report.watching, nodesCoverAll_);
    if (next == PumpPace::Dormant && !nodes_.empty()) dropNodes();
    setPace(next);
}

void ControllerPump::lookForDevices() {
    if (!running_ || pace_ == PumpPace::Fast || pace_ == PumpPace::Slow) return;
    service_.CheckDevices();
}

void ControllerPump::watchChanged() {
    if (!running_) return;
    refreshNodes();
    // Look at the new device soon; the next pump settles the pace.
    policy_.Kick(PacePolicy::Clock::now());
    setPace(nodesCoverAll_ ? PumpPace::NodeDriven : PumpPace::Fast);
}

void ControllerPump::refreshNodes() {
    std::vector<std::string> paths = service_.WatchedNodePaths();
    nodesCoverAll_ = !paths.empty();
    std::vector<NodeWatch*> kept;
    for (NodeWatch* watch : nodes_) {
        const auto it = std::find(paths.begin(), paths.end(), watch->path());
        if (it != paths.end()) {
            kept.push_back(watch);
        } else {
            // It may be the watch whose wake is running right now.
            watch->deleteLater();
        }
    }
    nodes_ = std::move(kept);
    for (const std::string& path : paths) {
        if (path.empty()) {
            nodesCoverAll_ = false;
            continue;
        }
        const auto it = std::find_if(nodes_.begin(), nodes_.end(),
                                     [&](NodeWatch* w) { return w->path() == path; });
        NodeWatch* watch = it != nodes_.end() ? *it : nullptr;
        if (!watch) {
            watch = new NodeWatch(
                path, [this] { pump(); }, this);
            nodes_.push_back(watch);
        }
        nodesCoverAll_ = nodesCoverAll_ && watch->live();
    }
}

void ControllerPump::dropNodes() {
    for (NodeWatch* watch : nodes_) watch->deleteLater();
    nodes_.clear();
    nodesCoverAll_ = false;
}

void ControllerPump::setPace(PumpPace pace) {
    pace_ = pace;
    // At the fast and slow paces every pump looks for controllers plugged in or out.
    if (hotplug_) hotplug_->setPaused(pace == PumpPace::Fast || pace == PumpPace::Slow);
    const auto interval = policy_.Interval(pace);
    if (interval.count() > 0) {
        timer_->start(interval);
    } else {
        timer_->stop();
    }
}

}  // namespace vantrel
