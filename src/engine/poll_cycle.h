#pragma once
// One poll cycle: read the controller, show axes, buttons and field sums, and run one
// classification pass with its key output per axis the controller has.

#include "engine/controller_slot.h"
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

// With a `shifter`, each pass hands it its decision after the pass's key output, and after the
// last axis pass it gets the range and splitter buttons; the error path lets its buttons go too.
CycleEnd RunPollCycle(ShiftState& s, ControllerSlot& slot, KeyOutput& keys, LiveView& view,
                      ShifterOutput* shifter = nullptr);

}  // namespace vantrel
