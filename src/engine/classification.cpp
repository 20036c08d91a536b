#include "engine/classification.h"

namespace vantrel {
namespace {

int16_t Flag(bool holds) { return holds ? 1 : 0; }

struct Field {
    int number;
    int16_t target;
};

constexpr std::array<Field, 9> kFields{
    {{1, 2}, {2, 2}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 2}, {8, 2}, {9, 3}}};

}  // namespace

void ClassifyPass(MainState& s, const DIJOYSTATE& joyState) {
    // The sums deliberately use the flags as the previous pass left them: every decision lags one
    // pass behind the record, which the stored behaviour of multi-axis controllers depends on.
    auto& g = s.gearsum;
    g[1] = static_cast<int16_t>(s.links + s.boven);
    g[2] = static_cast<int16_t>(s.links + s.onder);
    g[3] = static_cast<int16_t>(s.midden11 + s.midden12 + s.boven);
    g[4] = static_cast<int16_t>(s.midden11 + s.midden12 + s.onder);
    g[5] = static_cast<int16_t>(s.midden21 + s.midden22 + s.boven);
    g[6] = static_cast<int16_t>(s.midden21 + s.midden22 + s.onder);
    g[7] = static_cast<int16_t>(s.rechts + s.boven);
    g[8] = static_cast<int16_t>(s.rechts + s.onder);
    g[9] = static_cast<int16_t>(s.links + s.boven + s.Shift);

    const int32_t x = joyState.x;
    const int32_t y = joyState.y;
    s.links = Flag(x <= int32_t{s.gear12r});
    s.rechts = Flag(x >= int32_t{s.gear78l});
    s.midden11 = Flag(x >= int32_t{s.gear34l});
    s.midden12 = Flag(x <= int32_t{s.gear34r});
    s.midden21 = Flag(x >= int32_t{s.gear56l});
    s.midden22 = Flag(x <= int32_t{s.gear56r});
    s.boven = Flag(y <= int32_t{s.geartop});
    s.onder = Flag(y >= int32_t{s.gearbot});

    s.Shift = Flag(joyState.buttons[0] != 0);

    for (const Field& field : kFields) {
        if (g[field.number] == field.target) s.currentgear = static_cast<int16_t>(field.number);
    }
}

}  // namespace vantrel
