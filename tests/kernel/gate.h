#pragma once
// Where a controller's stick must be, as a fraction of each axis's travel, to be in each field of
// the default gate, and the keys Vantrel holds there by default.

namespace vantrel::testing {

struct StickPosition {
    double x;
    double y;
};

inline constexpr StickPosition kNeutral{0.5, 0.5};

// Gears 1..8: columns 1/2, 3/4, 5/6, 7/8 from the left, odd gears at the top. Well inside each
// field after the dead zone and saturation.
constexpr StickPosition GearPosition(int gear) {
    constexpr double columns[4] = {0.0, 0.3, 0.7, 1.0};
    return {columns[(gear - 1) / 2], gear % 2 == 1 ? 0.0 : 1.0};
}
// On the way from neutral into a gear: its column at mid height (still neutral).
constexpr StickPosition ColumnPosition(int gear) { return {GearPosition(gear).x, 0.5}; }

}  // namespace vantrel::testing
