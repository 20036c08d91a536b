#pragma once
// The main window's shared variables: the gate zone flags, the reverse modifier, the decision of
// the current pass, the field sums, the gate boundaries and the gear keys. Widths are those the
// stored settings and the classification rely on.

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

struct MainState {
    // Zone flags, each exactly 0 or 1.
    int16_t links = 0;
    int16_t rechts = 0;
    int16_t boven = 0;
    int16_t onder = 0;
    int16_t midden11 = 0;
    int16_t midden12 = 0;
    int16_t midden21 = 0;
    int16_t midden22 = 0;
    // Controller button 1 held (reverse modifier), 0 or 1.
    int16_t Shift = 0;
    // 0 neutral, 1..8 gear, 9 reverse; back to 0 after every pass.
    int16_t currentgear = 0;
    // Field sums, indices 1..9 (index 0 unused).
    std::array<int16_t, 10> gearsum{};

    // Gate boundaries in axis units (0..10000).
    int16_t gear12r = 0;
    int16_t gear34l = 0;
    int16_t gear34r = 0;
    int16_t gear56l = 0;
    int16_t gear56r = 0;
    int16_t gear78l = 0;
    int16_t geartop = 0;
    int16_t gearbot = 0;

    // Key names of gears 1..8 and reverse.
    std::string key1;
    std::string key2;
    std::string key3;
    std::string key4;
    std::string key5;
    std::string key6;
    std::string key7;
    std::string key8;
    std::string keyr;

    // Controller buttons (1..32, 0 = none) whose state the virtual shifter passes on as its
    // range and splitter buttons.
    int16_t range = 0;
    int16_t splitter = 0;
};

// Key of key-order position 1..9 (9 = reverse).
const std::string& GearKey(const MainState& s, int position);

}  // namespace vantrel
