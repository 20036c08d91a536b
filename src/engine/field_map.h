#pragma once
// Which gear each field of the gate engages. Fields 1..8 are the gate's positions: columns left
// to right, top row odd, bottom row even; field 9 is field 1 with the reverse button held.

#include <array>

namespace vantrel {

// Entry i is what field i+1 engages: a gear 1..8, kReverse (9) or kNeutral (0, no gear).
using FieldMap = std::array<int, 8>;
inline constexpr FieldMap kStraightFieldMap{1, 2, 3, 4, 5, 6, 7, 8};

// The gear a decided field engages. Field 9 is reverse whatever the map says: the reverse button
// must always find reverse.
inline int EngagedGear(const FieldMap& map, int field) {
    if (field >= 1 && field <= 8) return map[static_cast<std::size_t>(field - 1)];
    return field;
}

}  // namespace vantrel
