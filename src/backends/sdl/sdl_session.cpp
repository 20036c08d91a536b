#include "backends/sdl/sdl_session.h"

#include <SDL.h>

#include <algorithm>
#include <string>

#include "backends/sdl/sdl_controller.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

void AddOnce(std::vector<int32_t>& handles, int32_t handle) {
    if (std::find(handles.begin(), handles.end(), handle) == handles.end()) {
        handles.push_back(handle);
    }
}

}  // namespace

SdlSession::SdlSession() {
    // Without this SDL turns SIGINT/SIGTERM into an event nobody reads and the process stays.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The game has the focus while we read the controller.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0) {
        throw ServiceError(kErrorControllerServiceFailed,
                           std::string("The game controller service could not be started (") +
                               SDL_GetError() +
                               "). Check that the SDL 2 library is installed and working, then "
                               "start the program again.");
    }
    // State is read straight from the devices; joystick events would only pile up in SDL's
    // queue, which nobody drains.
    SDL_JoystickEventState(SDL_IGNORE);
}

SdlSession::~SdlSession() { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }

int32_t SdlSession::AddReceiver(ControllerService::ReportReceiver receiver) {
    if (!receiver) return 0;
    while (nextId_ <= 0 || receivers_.count(nextId_) != 0) {
        nextId_ = nextId_ <= 0 ? 1 : nextId_ + 1;
    }
    const int32_t handle = nextId_++;
    auto event = std::make_shared<Receiver>();
    event->receiver = std::move(receiver);
    receivers_.emplace(handle, std::move(event));
    return handle;
}

void SdlSession::RemoveReceiver(int32_t handle) {
    // A receiver running right now keeps its own reference until it returns.
    receivers_.erase(handle);
}

void SdlSession::Register(SdlController* device) { devices_.push_back(device); }

void SdlSession::Unregister(SdlController* device) {
    const bool watched = device->Watched();
    devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
    if (watched) WatchChanged();
}

void SdlSession::WatchChanged() {
    if (watchListener_) watchListener_();
}

std::vector<std::string> SdlSession::WatchedNodePaths() const {
    std::vector<std::string> paths;
    for (const SdlController* device : devices_) {
        if (device->Watched()) paths.push_back(device->NodePath());
    }
    return paths;
}

void SdlSession::CheckDevices(bool notify) {
    // The listener may look at the devices again (Attached): that is no new change.
    if (checkingDevices_) return;
    const int count = std::max(SDL_NumJoysticks(), 0);
    bool same = static_cast<size_t>(count) == knownDevices_.size();
    for (int i = 0; same && i < count; ++i) {
        same = SDL_JoystickGetDeviceInstanceID(i) == knownDevices_[static_cast<size_t>(i)];
    }
    if (same) return;
    knownDevices_.clear();
    for (int i = 0; i < count; ++i) knownDevices_.push_back(SDL_JoystickGetDeviceInstanceID(i));
    if (!notify || !devicesListener_) return;
    checkingDevices_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{checkingDevices_};
    // A copy: the listener may replace itself.
    const std::function<void()> listener = devicesListener_;
    listener();
}

PumpReport SdlSession::Pump() {
    // Only the joystick state needs refreshing: SDL_PumpEvents would also run the event queue
    // machinery for events we ignore.
    SDL_JoystickUpdate();
    CheckDevices(true);

    PumpReport report;
    std::vector<int32_t> due;
    for (SdlController* device : devices_) {
        if (device->TakeChange()) {
            report.changed = true;
            AddOnce(due, device->ReceiverId());
        }
        report.watching = report.watching || device->Watched();
    }
    for (const auto& [handle, event] : receivers_) {
        if (!event->pending) continue;
        // Seen while the receiver was busy: delivered once it has returned.
        report.watching = true;
        if (!event->running) {
            report.changed = true;
            AddOnce(due, handle);
        }
    }
    // Receivers may open and close controllers and remove receivers: nothing above is
    // iterated while they run.
    for (const int32_t handle : due) Notify(handle);
    return report;
}

void SdlSession::Notify(int32_t handle) {
    const auto it = receivers_.find(handle);
    if (it == receivers_.end()) return;
    const std::shared_ptr<Receiver> event = it->second;
    if (event->running) {
        event->pending = true;
        return;
    }
    event->pending = false;
    event->running = true;
    struct Finished {
        Receiver& event;
        ~Finished() { event.running = false; }
    } finished{*event};
    event->receiver();
}

}  // namespace vantrel
