#pragma once
// What a missing config.ini gives: the default gate, keys q a w s e d r f and z for reverse.

#include "engine/shift_state.h"
#include "output/key_names.h"

namespace vantrel::testing {

inline ShiftState DefaultSettings() {
    ShiftState s;
    s.gate = {.leftColumnRight = 100,
              .column34Left = 2000,
              .column34Right = 4000,
              .column56Left = 6000,
              .column56Right = 8000,
              .rightColumnLeft = 9900,
              .topRowBottom = 100,
              .bottomRowTop = 9800};
    const char* keys[kGearPositions] = {"q", "a", "w", "s", "e", "d", "r", "f", "z"};
    for (int i = 0; i < kGearPositions; ++i)
        s.gearKeys[static_cast<size_t>(i)] = AssignKey(keys[i]);
    return s;
}

}  // namespace vantrel::testing
