#pragma once
// Draws the field editor's gate: the fields labelled with the gears they engage, the boundary
// lines and the live stick.

#include <QPalette>
#include <QPointF>
#include <QRect>
#include <array>
#include <optional>

#include "engine/field_map.h"
#include "windows/dialogs/gate_fields.h"

class QFont;
class QPainter;
class QString;

namespace vantrel::ui {

struct GatePicture {
    std::array<BoundaryLine, 8> lines;
    GateValues values{};
    FieldMap map = kStraightFieldMap;  // what each field engages, for its label
    std::optional<QPointF> stick;      // axis units; none before the first reading
    int stickGear = 0;                 // the stick's field: 0 none, 1..8, 9 field 1 in reverse
};

// Field 1..8's label: the gear its map entry engages, "1".."8", "R" or "-".
QString FieldLabel(const FieldMap& map, int field);

// Paints in pixels of the editor's client area (one pixel is fifteen axis units).
void PaintGate(QPainter& painter, const QPalette& palette, const GatePicture& picture);

// The pixels that change when the stick's dot comes to or leaves `stick` (axis units).
QRect StickArea(const QPointF& stick);
// The pixels that change when field `gear` (1..8, 9 field 1 in reverse; 0 none) is lit or put
// out: its shade and its label, in the window's `font`.
QRect FieldArea(const GateValues& values, const FieldMap& map, int gear, const QFont& font);

}  // namespace vantrel::ui
