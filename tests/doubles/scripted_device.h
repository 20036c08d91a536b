#pragma once
// A two-axis, twelve-button controller whose reads return `next`, or fail once with `nextError`.
// It keeps no history, unlike the test fake, so a million cycles cost no memory.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/controller_slot.h"
#include "ports/controller.h"

namespace vantrel::bench {

class ScriptedDevice : public ControllerDevice {
  public:
    int32_t GetCapabilities(DIDEVCAPS& caps) override {
        caps.lButtons = 12;
        caps.lAxes = 2;
        return DI_OK;
    }
    std::vector<std::string> GetAxisObjectTypes() override { return {"GUID_XAxis", "GUID_YAxis"}; }
    int32_t SetEventNotification(int32_t) override { return DI_OK; }
    int32_t SetProperty(DiLongProperty, const DIPROPLONG&) override { return DI_OK; }
    int32_t SetRangeProperty(const DIPROPRANGE&) override { return DI_OK; }
    int32_t Acquire() override { return DI_OK; }
    int32_t Unacquire() override { return DI_OK; }
    int32_t Poll() override { return DI_OK; }
    int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override {
        if (nextError != DI_OK) return std::exchange(nextError, DI_OK);
        state = next;
        return DI_OK;
    }

    DIJOYSTATE next;
    int32_t nextError = DI_OK;
};

// Puts a new ScriptedDevice into `slot` as a selection of it would: its capabilities, X and Y.
inline ScriptedDevice& PlugScriptedDevice(DeviceSlot& slot) {
    auto device = std::make_unique<ScriptedDevice>();
    ScriptedDevice& scripted = *device;
    slot.diDev = std::move(device);
    slot.diDev->GetCapabilities(slot.deviceCaps);
    slot.axisFound[1] = slot.axisFound[2] = kTrue;
    return scripted;
}

}  // namespace vantrel::bench
