#include "engine/poll_cycle.h"

#include <algorithm>
#include <exception>
#include <string>

#include "engine/classification.h"
#include "engine/gear_key_output.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

constexpr const char* kAxisLabels[kAxisSlots] = {
    "X: ", "Y: ", "Z: ", "RX: ", "RY: ", "RZ: ", "Slider0: ", "Slider1: "};

// A controller button (1..32, 0 none) that is down; one beyond the controller's buttons never is.
bool ButtonDown(const ControllerSlot& slot, int16_t button) {
    const int count = std::clamp(slot.buttons, 0, kButtonSlots);
    return button >= 1 && button <= count && slot.report.buttons[button - 1];
}

void WriteRowsAndPasses(ShiftState& s, ControllerSlot& slot, const PassOutputs& out,
                        LiveView& view) {
    const ControllerReport& r = slot.report;
    int row = 0;
    for (int axis = 0; axis < kAxisSlots; ++axis) {
        if (!slot.hasAxis[axis]) continue;
        view.WriteRow(LiveList::Axes, row++, kAxisLabels[axis] + std::to_string(r.axes[axis]));
        ClassifyPass(s, r);
        const int engaged = s.currentGear;  // the key output sets it back to neutral
        SendGearKeys(s, *out.keys);
        if (out.shifter) out.shifter->SetGear(engaged, r.axis(AxisSlot::X), r.axis(AxisSlot::Y));
        if (out.taps) out.taps->FollowGear(engaged);
        if (out.feel) out.feel->FollowGear(engaged);
    }
    if (out.shifter) {
        out.shifter->SetKnob(ButtonDown(slot, s.rangeButton), ButtonDown(slot, s.splitterButton));
    }

    // The report holds 32 buttons; a controller with more shows only those.
    const int buttons = std::clamp(slot.buttons, 0, kButtonSlots);
    for (int i = 0; i < buttons; ++i) {
        view.WriteRow(LiveList::Buttons, i,
                      "Button " + std::to_string(i + 1) + (r.buttons[i] ? ": Down" : ": Up"));
    }

    for (int i = 0; i < kGearPositions; ++i) {
        view.WriteRow(LiveList::GearSums, i,
                      "gear " + std::to_string(i + 1) + ": " + std::to_string(s.gearSums[i + 1]));
    }

    view.SetCaption(kCaptionAvailable);
}

}  // namespace

void PassOutputs::ReleaseAll() const noexcept {
    if (taps) taps->ReleaseAll();  // first: a tap under way ends with its own key up
    if (keys) keys->ReleaseAll();
    if (shifter) shifter->ReleaseAll();
    if (feel) feel->ReleaseAll();
}

CycleEnd RunPollCycle(ShiftState& s, ControllerSlot& slot, const PassOutputs& outputs,
                      LiveView& view) {
    if (!slot.controller) return CycleEnd::NoController;

    // A failed read goes on with the report as the last good read left it.
    if (slot.controller->Read(slot.report) == ReadResult::Lost) return CycleEnd::Lost;

    std::string message;
    try {
        WriteRowsAndPasses(s, slot, outputs, view);
        return CycleEnd::Completed;
    } catch (const ServiceError& e) {
        message = e.Shown();
    } catch (const std::exception& e) {
        message = std::string(e.what()) + " : " + std::to_string(kErrorUnexpected);
    }
    // Keys and shifter buttons are let go before the message: the program ends after it, and a key
    // left down would stay down in the system after we are gone.
    outputs.ReleaseAll();
    view.ShowCycleError(message);
    return CycleEnd::Failed;
}

}  // namespace vantrel
