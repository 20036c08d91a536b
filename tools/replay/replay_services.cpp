#include "tools/replay/replay_services.h"

#include "ports/service_error.h"

namespace vantrel::replay {

int32_t ScriptedDevice::GetCapabilities(DIDEVCAPS& caps) {
    caps.lButtons = buttons;
    return DI_OK;
}

int32_t ScriptedDevice::Acquire() {
    sink_("acquire");
    return DI_OK;
}

int32_t ScriptedDevice::GetDeviceStateJoystick(DIJOYSTATE& state) {
    if (failure_) {
        const int32_t code = *failure_;
        failure_.reset();
        return code;
    }
    state = next_;
    return DI_OK;
}

void ReplayKeySender::Send(std::string_view text, int32_t /*mode*/) {
    if (failCountdown_ && --*failCountdown_ == 0) {
        failCountdown_.reset();
        throw ServiceError(kErrorKeySendFailed,
                           "The key " + std::string(text) + " could not be sent (failsend)");
    }
    sink_("send " + std::string(text));
}

void ReplayShifter::Report(const ButtonChanges& changes) {
    for (const ButtonChange& c : changes) {
        sink_("shifter " + std::to_string(c.button) + (c.down ? " down" : " up"));
    }
}

void ReplayShifter::SetGear(int16_t currentgear, int32_t /*x*/, int32_t /*y*/) {
    Report(buttons_.SetGear(currentgear));
}

void ReplayShifter::SetKnob(bool range, bool splitter) {
    Report(buttons_.SetKnob(range, splitter));
}

void ReplayShifter::ReleaseAll() noexcept { Report(buttons_.ReleaseAll()); }

void ReplayDisplay::WriteRow(ListId list, int index, const std::string& text) {
    const char* name = list == ListId::JoyAxis  ? "axis"
                       : list == ListId::Button ? "button"
                                                : "gear";
    sink_(std::string("row ") + name + " " + std::to_string(index) + " " + text);
}

void ReplayDisplay::SetCaption(const std::string& text) { sink_("caption " + text); }

void ReplayDisplay::ShowCycleError(const std::string& message) { sink_("error " + message); }

}  // namespace vantrel::replay
