#pragma once
// The gear gate as the field editor sees it: eight boundary lines over the stick's travel, the
// region of each field and the gear the stick would select.

#include <QRectF>
#include <array>
#include <optional>

#include "ports/controller.h"

namespace vantrel::ui {

// A boundary line's end points in twips; one axis unit is one twip.
struct BoundaryLine {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
};

// g12r, g34l, g34r, g56l, g56r, g78l, gtop, gbot in axis units.
using GateValues = std::array<float, 8>;

inline constexpr float kStickTravel = 10000;  // axes report 0..10000

// The field the shift engine decides with the stick held at `report` once these boundaries are
// saved and loaded: 0 none, 1..8, 9 field 1 with reverse held; the field map makes it a gear.
int StickGear(const GateValues& values, const ControllerReport& report);

// Where field 1..8 lies within the stick's travel, in axis units; nullopt when no stick position
// reaches it (crossed lines, or a line outside the travel).
std::optional<QRectF> FieldRegion(const GateValues& values, int field);

}  // namespace vantrel::ui
