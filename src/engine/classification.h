#pragma once
// Which field of the gear gate the stick is in.

#include "engine/shift_state.h"
#include "ports/controller_report.h"

namespace vantrel {

// One classification: sums from the flags the previous pass left, then the flags and Shift from
// `joyState`, then the selection into `currentgear` (the highest engaged field wins).
void ClassifyPass(MainState& s, const DIJOYSTATE& joyState);

}  // namespace vantrel
