#include "backends/sdl/sdl_controller.h"

#include <algorithm>

#include "backends/sdl/sdl_session.h"

namespace vantrel {
namespace {

// SDL numbers a joystick's axes; the first eight fill the report's slots in this order.
constexpr AxisKind kAxisKinds[kAxisSlots] = {
    AxisKind::X,         AxisKind::Y,         AxisKind::Z,      AxisKind::RotationX,
    AxisKind::RotationY, AxisKind::RotationZ, AxisKind::Slider, AxisKind::Slider};

// The stick's own axes, which get the dead zone and the saturation.
constexpr int kStickAxes = 2;

}  // namespace

SdlController::SdlController(std::shared_ptr<SdlSession> session, SDL_Joystick* joystick)
    : session_(std::move(session)), joystick_(joystick) {
    if (const char* path = SDL_JoystickPath(joystick_)) nodePath_ = path;
    hasRumble_ = SDL_JoystickHasRumble(joystick_) == SDL_TRUE;
    seen_ = SeenNow();
    session_->Register(this);
}

SdlController::~SdlController() {
    session_->Unregister(this);
    SDL_JoystickClose(joystick_);
}

int SdlController::AxisCount() const {
    return std::clamp(SDL_JoystickNumAxes(joystick_), 0, kAxisSlots);
}

ControllerTraits SdlController::Describe() {
    ControllerTraits traits;
    traits.buttons = std::max(SDL_JoystickNumButtons(joystick_), 0);
    traits.axes.assign(kAxisKinds, kAxisKinds + AxisCount());
    return traits;
}

void SdlController::Configure(const AxisScaling& scaling) {
    for (int i = 0; i < kAxisSlots; ++i) {
        AxisScale& scale = scales_[static_cast<size_t>(i)];
        scale.min = scaling.min;
        scale.max = scaling.max;
        if (i < kStickAxes) {
            scale.deadZone = scaling.deadZone;
            scale.saturation = scaling.saturation;
        }
    }
}

void SdlController::SendReportsTo(int32_t receiverId) {
    if (receiverId != 0 && !session_->HasReceiver(receiverId)) return;
    receiverId_ = receiverId;
    seen_ = SeenNow();
    session_->WatchChanged();
}

ReadResult SdlController::Read(ControllerReport& report) {
    if (!SDL_JoystickGetAttached(joystick_)) return ReadResult::Lost;
    report = Snapshot();
    return ReadResult::Ok;
}

bool SdlController::Rumble(uint16_t strength, uint32_t milliseconds) {
    return hasRumble_ && SDL_JoystickRumble(joystick_, strength, strength, milliseconds) == 0;
}

ControllerReport SdlController::Snapshot() const {
    ControllerReport report;
    const int axes = AxisCount();
    for (int i = 0; i < axes; ++i) {
        report.axes[static_cast<size_t>(i)] =
            ScaleAxis(SDL_JoystickGetAxis(joystick_, i), scales_[static_cast<size_t>(i)]);
    }
    // A report holds 32 buttons; those past them are never read.
    const int buttons = std::clamp(SDL_JoystickNumButtons(joystick_), 0, kButtonSlots);
    for (int i = 0; i < buttons; ++i) {
        report.buttons[static_cast<size_t>(i)] = SDL_JoystickGetButton(joystick_, i) != 0;
    }
    return report;
}

SdlController::Seen SdlController::SeenNow() const {
    Seen seen{Snapshot(), {}};
    const int hats = std::clamp(SDL_JoystickNumHats(joystick_), 0, 4);
    for (int i = 0; i < hats; ++i)
        seen.hats[static_cast<size_t>(i)] = SDL_JoystickGetHat(joystick_, i);
    return seen;
}

bool SdlController::TakeChange() {
    if (receiverId_ == 0 || lossReported_) return false;
    if (!SDL_JoystickGetAttached(joystick_)) {
        // Reported once, so that the poll cycle reads the loss.
        lossReported_ = true;
        return true;
    }
    Seen now = SeenNow();
    if (now == seen_) return false;
    seen_ = std::move(now);
    return true;
}

}  // namespace vantrel
