#include "doubles/fakes.h"

#include <utility>

#include "ports/service_error.h"

namespace vantrel::testing {

MainState DefaultSettings() {
    MainState s;
    s.gear12r = 100, s.gear34l = 2000, s.gear34r = 4000, s.gear56l = 6000;
    s.gear56r = 8000, s.gear78l = 9900, s.geartop = 100, s.gearbot = 9800;
    s.key1 = "q", s.key2 = "a", s.key3 = "w", s.key4 = "s", s.key5 = "e";
    s.key6 = "d", s.key7 = "r", s.key8 = "f", s.keyr = "z";
    return s;
}

void RecordingKeySender::Send(std::string_view text, int32_t /*mode*/) {
    if (failCountdown && --*failCountdown == 0) {
        failCountdown.reset();
        throw ServiceError(kErrorKeySendFailed, "The key could not be sent");
    }
    sent.emplace_back(text);
}

void RecordingDisplay::WriteRow(ListId list, int index, const std::string& text) {
    ++rowWrites;
    auto& rows = list == ListId::JoyAxis  ? axisRows
                 : list == ListId::Button ? buttonRows
                                          : gearRows;
    if (index == static_cast<int>(rows.size())) {
        rows.push_back(text);
    } else {
        rows.at(static_cast<size_t>(index)) = text;
    }
}

int32_t FakeDevice::GetCapabilities(DIDEVCAPS& caps) {
    caps.lButtons = buttons;
    caps.lAxes = static_cast<int32_t>(axisTypes.size());
    return DI_OK;
}

int32_t FakeDevice::SetProperty(DiLongProperty which, const DIPROPLONG& prop) {
    const int32_t where = prop.lHow == DIPH_BYOFFSET ? prop.lObj : kWholeDevice;
    (which == DiLongProperty::DIPROP_DEADZONE ? deadZone : saturation)[where] = prop.lData;
    return DI_OK;
}

int32_t FakeDevice::SetEventNotification(int32_t handle) {
    eventHandle = handle;
    return DI_OK;
}

int32_t FakeDevice::SetRangeProperty(const DIPROPRANGE& prop) {
    range = prop;
    return DI_OK;
}

int32_t FakeDevice::Acquire() {
    ++acquireCalls;
    acquired = true;
    return DI_OK;
}

int32_t FakeDevice::Unacquire() {
    acquired = false;
    return DI_OK;
}

int32_t FakeDevice::GetDeviceStateJoystick(DIJOYSTATE& state) {
    ++reads;
    if (nextError != DI_OK) return std::exchange(nextError, DI_OK);
    state = next;
    return DI_OK;
}

}  // namespace vantrel::testing
