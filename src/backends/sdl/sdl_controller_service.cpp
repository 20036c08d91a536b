#include "backends/sdl/sdl_controller_service.h"

#include <SDL.h>

#include <charconv>

#include "backends/sdl/sdl_controller.h"
#include "backends/sdl/sdl_session.h"
#include "ports/shifter_identity.h"

namespace vantrel {
namespace {

constexpr const char* kUnnamedController = "Unnamed game controller";

bool ParseInstanceId(const std::string& text, SDL_JoystickID& id) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    return ec == std::errc() && ptr == end && !text.empty();
}

}  // namespace

SdlControllerService::SdlControllerService() : session_(std::make_shared<SdlSession>()) {}

SdlControllerService::~SdlControllerService() {
    // Devices may outlive the service (and the session with them): nobody is told any more.
    session_->SetWatchListener({});
    session_->SetControllersChangedListener({});
}

std::vector<AttachedController> SdlControllerService::Attached() {
    // Lets SDL notice controllers attached or removed since the last pump.
    SDL_JoystickUpdate();
    // What the caller gets now is no news for the devices-changed listener.
    session_->CheckDevices(false);
    std::vector<AttachedController> list;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0) continue;
        // Vantrel's own virtual shifter (this run's or another's) is an output, not a controller.
        if (SDL_JoystickGetDeviceVendor(i) == kShifterVendor &&
            SDL_JoystickGetDeviceProduct(i) == kShifterProduct) {
            continue;
        }
        const char* name = SDL_JoystickNameForIndex(i);
        char guid[33] = {};
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(i), guid, sizeof guid);
        const char* path = SDL_JoystickPathForIndex(i);
        list.push_back({name && *name ? name : kUnnamedController, std::to_string(id), guid,
                        path ? path : ""});
    }
    return list;
}

std::unique_ptr<Controller> SdlControllerService::Open(const std::string& attachmentId) {
    SDL_JoystickID wanted = -1;
    if (!ParseInstanceId(attachmentId, wanted) || wanted < 0) return nullptr;
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != wanted) continue;
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (!joystick) return nullptr;
        // So that the first read shows where the stick is now.
        SDL_JoystickUpdate();
        return std::make_unique<SdlController>(session_, joystick);
    }
    return nullptr;
}

int32_t SdlControllerService::AddReportReceiver(ReportReceiver receiver) {
    return session_->AddReceiver(std::move(receiver));
}

void SdlControllerService::RemoveReportReceiver(int32_t receiverId) {
    session_->RemoveReceiver(receiverId);
}

void SdlControllerService::SetControllersChangedListener(std::function<void()> listener) {
    session_->SetControllersChangedListener(std::move(listener));
}

PumpReport SdlControllerService::PumpOnce() { return session_->Pump(); }

void SdlControllerService::CheckDevices() {
    SDL_JoystickUpdate();
    session_->CheckDevices(true);
}

void SdlControllerService::SetWatchListener(std::function<void()> listener) {
    session_->SetWatchListener(std::move(listener));
}

std::vector<std::string> SdlControllerService::WatchedNodePaths() const {
    return session_->WatchedNodePaths();
}

}  // namespace vantrel
