#pragma once
// Which field of the gear gate the stick is in.

#include "engine/shift_state.h"
#include "ports/controller.h"

namespace vantrel {

// One classification pass: the field sums from the zones the previous pass left, then the zones
// and the reverse button from `report`, then the decision: the highest engaged field wins and
// `currentGear` becomes the gear the field map gives it.
void ClassifyPass(ShiftState& s, const ControllerReport& report);

}  // namespace vantrel
