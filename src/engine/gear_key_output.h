#pragma once
// Turns the decision of a pass into key events: the selected gear's key down, every other up.

#include "engine/shift_state.h"
#include "ports/key_output.h"

namespace vantrel {

// Nine events in key order (gears 1..8, then reverse); `currentGear` ends at kNeutral. A failing
// Send propagates (the rest of the pass is not sent).
void SendGearKeys(ShiftState& s, KeyOutput& keys);

}  // namespace vantrel
