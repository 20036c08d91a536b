#include "backends/sdl/sdl_controller.h"

#include <algorithm>

#include "backends/sdl/sdl_errors.h"
#include "backends/sdl/sdl_session.h"

namespace vantrel {
namespace {

constexpr const char* kAxisTypes[kAxisSlots] = {"GUID_XAxis",  "GUID_YAxis",  "GUID_ZAxis",
                                                "GUID_RxAxis", "GUID_RyAxis", "GUID_RzAxis",
                                                "GUID_Slider", "GUID_Slider"};

// Hat positions in hundredths of a degree clockwise from north; centred is all ones.
constexpr uint32_t kPovCentred = 0xFFFFFFFFU;

uint32_t PovOfHat(Uint8 hat) {
    switch (hat) {
        case SDL_HAT_UP:
            return 0;
        case SDL_HAT_RIGHTUP:
            return 4500;
        case SDL_HAT_RIGHT:
            return 9000;
        case SDL_HAT_RIGHTDOWN:
            return 13500;
        case SDL_HAT_DOWN:
            return 18000;
        case SDL_HAT_LEFTDOWN:
            return 22500;
        case SDL_HAT_LEFT:
            return 27000;
        case SDL_HAT_LEFTUP:
            return 31500;
        default:
            return kPovCentred;
    }
}

int32_t& AxisField(DIJOYSTATE& state, int axis) {
    switch (axis) {
        case 0:
            return state.x;
        case 1:
            return state.y;
        case 2:
            return state.z;
        case 3:
            return state.rx;
        case 4:
            return state.ry;
        case 5:
            return state.rz;
        default:
            return state.slider[static_cast<size_t>(axis - 6)];
    }
}

bool SameState(const DIJOYSTATE& a, const DIJOYSTATE& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.rx == b.rx && a.ry == b.ry && a.rz == b.rz &&
           a.slider == b.slider && a.POV == b.POV && a.buttons == b.buttons;
}

}  // namespace

SdlControllerDevice::SdlControllerDevice(std::shared_ptr<SdlSession> session,
                                         SDL_Joystick* joystick)
    : session_(std::move(session)), joystick_(joystick) {
    if (const char* path = SDL_JoystickPath(joystick_)) nodePath_ = path;
    seen_ = Snapshot();
    session_->Register(this);
}

SdlControllerDevice::~SdlControllerDevice() {
    session_->Unregister(this);
    SDL_JoystickClose(joystick_);
}

int SdlControllerDevice::AxisCount() const {
    return std::clamp(SDL_JoystickNumAxes(joystick_), 0, kAxisSlots);
}

int32_t SdlControllerDevice::GetCapabilities(DIDEVCAPS& caps) {
    caps.lButtons = std::max(SDL_JoystickNumButtons(joystick_), 0);
    // Axes past the eighth have no slot in the record and are not offered as objects.
    caps.lAxes = AxisCount();
    return DI_OK;
}

std::vector<std::string> SdlControllerDevice::GetAxisObjectTypes() {
    return {kAxisTypes, kAxisTypes + AxisCount()};
}

int32_t SdlControllerDevice::SetEventNotification(int32_t eventHandle) {
    if (eventHandle != 0 && !session_->HasEvent(eventHandle)) return DIERR_INVALIDPARAM;
    eventHandle_ = eventHandle;
    seen_ = Snapshot();
    session_->WatchChanged();
    return DI_OK;
}

std::vector<int> SdlControllerDevice::AddressedAxes(int32_t how, int32_t offset) const {
    std::vector<int> axes;
    if (how == DIPH_DEVICE && offset == 0) {
        for (int i = 0; i < AxisCount(); ++i) axes.push_back(i);
    } else if (how == DIPH_BYOFFSET && offset >= 0 && offset % 4 == 0 && offset / 4 < AxisCount()) {
        axes.push_back(offset / 4);
    }
    return axes;
}

int32_t SdlControllerDevice::SetProperty(DiLongProperty which, const DIPROPLONG& prop) {
    if (prop.lData < 0 || prop.lData > 10000) return DIERR_INVALIDPARAM;
    const std::vector<int> axes = AddressedAxes(prop.lHow, prop.lObj);
    if (axes.empty()) return DIERR_OBJECTNOTFOUND;
    for (const int axis : axes) {
        AxisScale& scale = scales_[static_cast<size_t>(axis)];
        (which == DiLongProperty::DIPROP_DEADZONE ? scale.deadZone : scale.saturation) = prop.lData;
    }
    return DI_OK;
}

int32_t SdlControllerDevice::SetRangeProperty(const DIPROPRANGE& prop) {
    if (prop.lMin >= prop.lMax) return DIERR_INVALIDPARAM;
    const std::vector<int> axes = AddressedAxes(prop.lHow, prop.lObj);
    if (axes.empty()) return DIERR_OBJECTNOTFOUND;
    for (const int axis : axes) {
        scales_[static_cast<size_t>(axis)].min = prop.lMin;
        scales_[static_cast<size_t>(axis)].max = prop.lMax;
    }
    return DI_OK;
}

int32_t SdlControllerDevice::Acquire() {
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    if (acquired_) return DI_OK;
    acquired_ = true;
    seen_ = Snapshot();
    session_->WatchChanged();
    return DI_OK;
}

int32_t SdlControllerDevice::Unacquire() {
    if (!acquired_) return DI_OK;
    acquired_ = false;
    session_->WatchChanged();
    return DI_OK;
}

int32_t SdlControllerDevice::Poll() {
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    if (!acquired_) return DIERR_NOTACQUIRED;
    session_->Pump();
    // The pump may have found the device gone.
    return SDL_JoystickGetAttached(joystick_) ? DI_OK : DIERR_INPUTLOST;
}

int32_t SdlControllerDevice::GetDeviceStateJoystick(DIJOYSTATE& state) {
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    if (!acquired_) return DIERR_NOTACQUIRED;
    state = Snapshot();
    return DI_OK;
}

DIJOYSTATE SdlControllerDevice::Snapshot() const {
    DIJOYSTATE state;
    const int axes = AxisCount();
    for (int i = 0; i < axes; ++i) {
        AxisField(state, i) =
            ScaleAxis(SDL_JoystickGetAxis(joystick_, i), scales_[static_cast<size_t>(i)]);
    }
    const int hats = std::clamp(SDL_JoystickNumHats(joystick_), 0, 4);
    for (int i = 0; i < 4; ++i) {
        state.POV[static_cast<size_t>(i)] =
            i < hats ? PovOfHat(SDL_JoystickGetHat(joystick_, i)) : kPovCentred;
    }
    // Only 32 button bytes exist in the record; buttons past them are never read.
    const int buttons = std::clamp(SDL_JoystickNumButtons(joystick_), 0, kButtonSlots);
    for (int i = 0; i < buttons; ++i) {
        state.buttons[static_cast<size_t>(i)] = SDL_JoystickGetButton(joystick_, i) ? 0x80 : 0;
    }
    return state;
}

bool SdlControllerDevice::TakeChange() {
    if (!acquired_ || eventHandle_ == 0 || lossReported_) return false;
    if (!SDL_JoystickGetAttached(joystick_)) {
        // Reported once, so that the poll cycle reads the loss and tries to recover.
        lossReported_ = true;
        return true;
    }
    const DIJOYSTATE now = Snapshot();
    if (SameState(now, seen_)) return false;
    seen_ = now;
    return true;
}

}  // namespace vantrel
