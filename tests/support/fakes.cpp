#include "support/fakes.h"

#include "services/service_error.h"

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

std::vector<std::string>& RecordingDisplay::Rows(ListId list) {
    switch (list) {
        case ListId::JoyAxis:
            return axisRows;
        case ListId::Button:
            return buttonRows;
        default:
            return gearRows;
    }
}

void RecordingDisplay::WriteRow(ListId list, int index, const std::string& text) {
    ++rowWrites;
    auto& rows = Rows(list);
    if (index == static_cast<int>(rows.size())) {
        rows.push_back(text);
    } else {
        rows.at(static_cast<size_t>(index)) = text;
    }
}

int32_t FakeDevice::GetCapabilities(DIDEVCAPS& caps) {
    calls.push_back("GetCapabilities");
    caps.lButtons = buttons;
    caps.lAxes = static_cast<int32_t>(axisTypes.size());
    return DI_OK;
}

int32_t FakeDevice::SetEventNotification(int32_t handle) {
    calls.push_back("SetEventNotification " + std::to_string(handle));
    eventHandle = handle;
    return DI_OK;
}

int32_t FakeDevice::SetProperty(DiLongProperty which, const DIPROPLONG& prop) {
    const int32_t where = prop.lHow == DIPH_BYOFFSET ? prop.lObj : kWholeDevice;
    (which == DiLongProperty::DIPROP_DEADZONE ? deadZone : saturation)[where] = prop.lData;
    calls.push_back(
        std::string(which == DiLongProperty::DIPROP_DEADZONE ? "deadzone" : "saturation") + " " +
        std::to_string(prop.lHow) + " " + std::to_string(prop.lObj) + " " +
        std::to_string(prop.lData));
    return DI_OK;
}

int32_t FakeDevice::SetRangeProperty(const DIPROPRANGE& prop) {
    calls.push_back("range " + std::to_string(prop.lMin) + " " + std::to_string(prop.lMax));
    range = prop;
    return DI_OK;
}

int32_t FakeDevice::Acquire() {
    ++acquireCalls;
    calls.push_back("Acquire");
    acquired = true;
    return DI_OK;
}

int32_t FakeDevice::Unacquire() {
    calls.push_back("Unacquire");
    acquired = false;
    return DI_OK;
}

int32_t FakeDevice::GetDeviceStateJoystick(DIJOYSTATE& state) {
    ++reads;
    if (nextError != DI_OK) {
        const int32_t e = nextError;
        nextError = DI_OK;
        return e;
    }
    state = next;
    return DI_OK;
}

}  // namespace vantrel::testing
