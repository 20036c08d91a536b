#include "engine/classification.h"

namespace vantrel {
namespace {

struct Field {
    int gear;
    int16_t target;  // the sum at which the field is engaged
};

constexpr std::array<Field, 9> kFields{
    {{1, 2}, {2, 2}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 2}, {8, 2}, {kReverse, 3}}};

int16_t Sum(std::initializer_list<bool> flags) {
    int16_t sum = 0;
    for (const bool flag : flags) sum = static_cast<int16_t>(sum + (flag ? 1 : 0));
    return sum;
}

}  // namespace

void ClassifyPass(ShiftState& s, const ControllerReport& report) {
    // The sums deliberately use the zones as the previous pass left them: every decision lags one
    // pass behind the report, which the stored behaviour of multi-axis controllers depends on.
    const GateZones& z = s.zones;
    auto& g = s.gearSums;
    g[1] = Sum({z.inLeftColumn, z.inTopRow});
    g[2] = Sum({z.inLeftColumn, z.inBottomRow});
    g[3] = Sum({z.fromColumn34Left, z.upToColumn34Right, z.inTopRow});
    g[4] = Sum({z.fromColumn34Left, z.upToColumn34Right, z.inBottomRow});
    g[5] = Sum({z.fromColumn56Left, z.upToColumn56Right, z.inTopRow});
    g[6] = Sum({z.fromColumn56Left, z.upToColumn56Right, z.inBottomRow});
    g[7] = Sum({z.inRightColumn, z.inTopRow});
    g[8] = Sum({z.inRightColumn, z.inBottomRow});
    g[kReverse] = Sum({z.inLeftColumn, z.inTopRow, s.reverseHeld});

    const int32_t x = report.axis(AxisSlot::X);
    const int32_t y = report.axis(AxisSlot::Y);
    const GateBoundaries& b = s.gate;
    s.zones = GateZones{
        .inLeftColumn = x <= b.leftColumnRight,
        .inRightColumn = x >= b.rightColumnLeft,
        .fromColumn34Left = x >= b.column34Left,
        .upToColumn34Right = x <= b.column34Right,
        .fromColumn56Left = x >= b.column56Left,
        .upToColumn56Right = x <= b.column56Right,
        .inTopRow = y <= b.topRowBottom,
        .inBottomRow = y >= b.bottomRowTop,
    };
    s.reverseHeld = report.buttons[0];

    int decided = kNeutral;
    for (const Field& field : kFields) {
        if (g[static_cast<size_t>(field.gear)] == field.target) decided = field.gear;
    }
    if (decided != kNeutral) s.currentGear = EngagedGear(s.fieldMap, decided);
}

}  // namespace vantrel
