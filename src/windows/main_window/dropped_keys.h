#pragma once
// A reload can give a gear another key while the old one is held; nobody would let the old one
// go after that (the poll cycle sends only the keys now assigned), so it would stay down.

#include "engine/shift_state.h"
#include "ports/key_output.h"

namespace vantrel {

// Lets go of each key of `before` that is no key of `after` (names compared as the
// keys they name, so "W" and "w" are one key). Keys still assigned are left to the next cycle.
// A failure to send is left for the next cycle to report.
void LetGoOfDroppedKeys(const ShiftState& before, const ShiftState& after, KeyOutput& keys);

}  // namespace vantrel
