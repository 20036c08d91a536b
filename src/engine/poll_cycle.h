#pragma once
// One poll cycle: read the controller, show axes, buttons and field sums, and run one
// classification pass with its key output per axis the controller has.

#include "engine/controller_slot.h"
#include "engine/gear_follower.h"
#include "engine/live_view.h"
#include "engine/shift_state.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel {

enum class CycleEnd {
    NoController,  // nothing open: nothing read, shown or sent
    Lost,          // the controller went away: nothing else done
    Completed,
    Failed,  // the error was shown; the program must end now
};

inline constexpr const char* kCaptionAvailable = "Joystick Sample: Available";

// Where each pass's engaged gear goes, in this order: the gear keys, the virtual shifter, the
// sequential taps, the rumble. Only `keys` is required.
struct PassOutputs {
    KeyOutput* keys = nullptr;
    ShifterOutput* shifter = nullptr;  // also gets the range and splitter after the last pass
    GearFollower* taps = nullptr;
    GearFollower* feel = nullptr;  // last: a pulse never holds up a key

    // Lets go of every key, button and motor. Never throws.
    void ReleaseAll() const noexcept;
};

// The error path lets go of every output before it shows the error.
CycleEnd RunPollCycle(ShiftState& s, ControllerSlot& slot, const PassOutputs& outputs,
                      LiveView& view);

inline CycleEnd RunPollCycle(ShiftState& s, ControllerSlot& slot, KeyOutput& keys, LiveView& view,
                             ShifterOutput* shifter = nullptr) {
    return RunPollCycle(s, slot, PassOutputs{.keys = &keys, .shifter = shifter}, view);
}

}  // namespace vantrel
