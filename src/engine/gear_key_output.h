#pragma once
// Turns the decision of a pass into key events: the selected gear's key down, every other up.

#include "engine/shift_state.h"
#include "ports/key_output.h"

namespace vantrel {

// Nine Send calls in key order (key1..key8, keyr); `currentgear` ends at 0. A failing Send
// propagates (the rest of the pass is not sent).
void SendGearKeys(MainState& s, KeySender& autoIt);

}  // namespace vantrel
