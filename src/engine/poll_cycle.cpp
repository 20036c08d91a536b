#include "engine/poll_cycle.h"

#include <algorithm>
#include <exception>
#include <string>

#include "engine/classification.h"
#include "engine/gear_key_output.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

constexpr const char* kAxisLabels[9] = {
    "", "X: ", "Y: ", "Z: ", "RX: ", "RY: ", "RZ: ", "Slider0: ", "Slider1: "};

int32_t AxisValue(const DIJOYSTATE& j, int axis) {
    switch (axis) {
        case 1:
            return j.x;
        case 2:
            return j.y;
        case 3:
            return j.z;
        case 4:
            return j.rx;
        case 5:
            return j.ry;
        case 6:
            return j.rz;
        case 7:
            return j.slider[0];
        default:
            return j.slider[1];
    }
}

// A controller button (1..32, 0 none) that is down; one beyond the controller's buttons never is.
bool ButtonDown(const DeviceSlot& device, int16_t button) {
    const int count = std::clamp(device.deviceCaps.lButtons, 0, kButtonSlots);
    return button >= 1 && button <= count && device.joyState.buttons[button - 1] != 0;
}

void WriteRowsAndPasses(MainState& s, DeviceSlot& device, KeySender& autoIt, Display& display,
                        ShifterOutput* shifter) {
    const DIJOYSTATE& j = device.joyState;
    int row = 0;
    for (int axis = 1; axis <= 8; ++axis) {
        if (device.axisFound[axis] == kFalse) continue;
        display.WriteRow(ListId::JoyAxis, row++,
                         kAxisLabels[axis] + std::to_string(AxisValue(j, axis)));
        ClassifyPass(s, j);
        const int16_t decision = s.currentgear;  // key output sets it back to 0
        SendGearKeys(s, autoIt);
        if (shifter) shifter->SetGear(decision, j.x, j.y);
    }
    if (shifter) shifter->SetKnob(ButtonDown(device, s.range), ButtonDown(device, s.splitter));

    // The record holds 32 button bytes; a device with more buttons shows only those.
    const int buttons = std::clamp(device.deviceCaps.lButtons, 0, kButtonSlots);
    for (int i = 0; i < buttons; ++i) {
        display.WriteRow(ListId::Button, i,
                         "Button " + std::to_string(i + 1) + (j.buttons[i] ? ": Down" : ": Up"));
    }

    for (int i = 0; i < 9; ++i) {
        display.WriteRow(ListId::Gear, i,
                         "gear " + std::to_string(i + 1) + ": " + std::to_string(s.gearsum[i + 1]));
    }

    display.SetCaption(kCaptionAvailable);
}

}  // namespace

CycleEnd DirectXEvent8_DXCallback(MainState& s, DeviceSlot& device, KeySender& autoIt,
                                  Display& display, int32_t /*eventid*/, ShifterOutput* shifter) {
    if (!device.diDev) return CycleEnd::NoDevice;

    const int32_t read = device.diDev->GetDeviceStateJoystick(device.joyState);
    if (read == DIERR_NOTACQUIRED || read == DIERR_INPUTLOST) {
        device.diDev->Acquire();
        return CycleEnd::Recovered;
    }
    // Any other failed read goes on with the record as the read left it.

    std::string message;
    try {
        WriteRowsAndPasses(s, device, autoIt, display, shifter);
        return CycleEnd::Completed;
    } catch (const ServiceError& e) {
        message = std::string(e.what()) + " : " + std::to_string(e.number());
    } catch (const std::exception& e) {
        message = std::string(e.what()) + " : " + std::to_string(kErrorUnexpected);
    }
    // Keys and shifter buttons are let go before the message: the program ends after it, and a key
    // left down would stay down in the system after we are gone.
    autoIt.ReleaseAll();
    if (shifter) shifter->ReleaseAll();
    display.ShowCycleError(message);
    return CycleEnd::Failed;
}

}  // namespace vantrel
