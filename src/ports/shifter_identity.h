#pragma once
// Who the virtual shifter is to games. Games keep their bindings by these, so they never change
// from one Vantrel version to the next.

#include <cstdint>

namespace vantrel {

inline constexpr char kShifterName[] = "Vantrel H-Shifter";
inline constexpr uint16_t kShifterBus = 0x06;        // BUS_VIRTUAL
inline constexpr uint16_t kShifterVendor = 0x5654;   // "VT", as the virtual keyboard
inline constexpr uint16_t kShifterProduct = 0x0002;  // the keyboard is 0x0001
inline constexpr uint16_t kShifterVersion = 0x0001;

// Buttons as games number them: 1..8 the gears, 9 reverse, 10 range, 11 splitter.
inline constexpr int kShifterButtons = 11;
inline constexpr int kReverseButton = 9;
inline constexpr int kRangeButton = 10;
inline constexpr int kSplitterButton = 11;

// The stick axes carry the position the engine sees, in its units.
inline constexpr int32_t kShifterAxisMin = 0;
inline constexpr int32_t kShifterAxisMax = 10000;
inline constexpr int32_t kShifterAxisRest = 5000;

}  // namespace vantrel
