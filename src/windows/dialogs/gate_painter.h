#pragma once
// Draws the field editor's gate: the fields with their gear numbers, the boundary lines and the
// live stick.

#include <QPalette>
#include <QPointF>
#include <QRect>
#include <array>
#include <optional>

#include "windows/dialogs/gate_fields.h"

class QFont;
class QPainter;

namespace vantrel::ui {

struct GatePicture {
    std::array<BoundaryLine, 8> lines;
    GateValues values{};
    std::optional<QPointF> stick;  // axis units; none before the first reading
    int stickGear = 0;             // 0 neutral, 1..8, 9 reverse
};

// Paints in pixels of the editor's client area (one pixel is fifteen axis units).
void PaintGate(QPainter& painter, const QPalette& palette, const GatePicture& picture);

// The pixels that change when the stick's dot comes to or leaves `stick` (axis units).
QRect StickArea(const QPointF& stick);
// The pixels that change when gear `gear` (1..8, 9 reverse; 0 none) is lit or put out: its
// field's shade and its number, in the window's `font`.
QRect FieldArea(const GateValues& values, int gear, const QFont& font);

}  // namespace vantrel::ui
