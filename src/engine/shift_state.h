#pragma once
// What the shift engine works on: the gate's boundaries and the gear keys from the settings, and
// what the classification keeps from one pass to the next.

#include <array>
#include <chrono>
#include <cstdint>

#include "engine/field_map.h"
#include "ports/key_output.h"

namespace vantrel {

// Gear numbers of a decision: 0 neutral, 1..8 the gears, 9 reverse.
inline constexpr int kNeutral = 0;
inline constexpr int kReverse = 9;
inline constexpr int kGearPositions = 9;  // gears 1..8 and reverse

// Where the gate's columns and rows end, in axis units (0..10000, left/top at 0). Stored settings
// rely on the 16-bit width.
struct GateBoundaries {
    int16_t leftColumnRight = 0;  // gears 1/2 while x <= this
    int16_t column34Left = 0;     // gears 3/4 while column34Left <= x <= column34Right
    int16_t column34Right = 0;
    int16_t column56Left = 0;  // gears 5/6 likewise
    int16_t column56Right = 0;
    int16_t rightColumnLeft = 0;  // gears 7/8 while x >= this
    int16_t topRowBottom = 0;     // odd gears while y <= this
    int16_t bottomRowTop = 0;     // even gears while y >= this
};

// Where the stick was at the previous pass, one flag per boundary.
struct GateZones {
    bool inLeftColumn = false;
    bool inRightColumn = false;
    bool fromColumn34Left = false;
    bool upToColumn34Right = false;
    bool fromColumn56Left = false;
    bool upToColumn56Right = false;
    bool inTopRow = false;
    bool inBottomRow = false;
};

// The up and down keys of a game that shifts one gear per key press, and how long each press
// lasts and waits.
struct TapSettings {
    AssignedKey up;
    AssignedKey down;
    std::chrono::milliseconds press{40};
    std::chrono::milliseconds gap{60};
};

struct ShiftState {
    GateZones zones;
    bool reverseHeld = false;  // controller button 1, as the previous pass saw it
    // The engaged gear of the pass (kNeutral, a gear, kReverse): its decided field through the
    // field map; back to kNeutral after its keys.
    int currentGear = kNeutral;
    // Field sums, indices 1..9 (index 0 unused): a field is engaged when its sum reaches its
    // target.
    std::array<int16_t, 10> gearSums{};

    GateBoundaries gate;
    FieldMap fieldMap = kStraightFieldMap;
    // Keys of gears 1..8 and reverse, at indices 0..8.
    std::array<AssignedKey, kGearPositions> gearKeys;
    // Controller buttons (1..32, 0 = none) the virtual shifter passes on as its range and splitter.
    int16_t rangeButton = 0;
    int16_t splitterButton = 0;
    // Sequential output's keys and timing.
    TapSettings taps;
    // The rumble pulse's strength when a gear goes in, 1..100 percent; 0 for none.
    int rumbleStrength = 0;
};

// The key of gear 1..8, or of reverse for kReverse.
inline const AssignedKey& GearKey(const ShiftState& s, int gear) {
    return s.gearKeys[static_cast<size_t>(gear - 1)];
}

}  // namespace vantrel
