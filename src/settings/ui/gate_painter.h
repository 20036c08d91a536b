#pragma once
// Draws the field editor's gate: the fields with their gear numbers, the boundary lines and the
// live stick.

#include <QPalette>
#include <QPointF>
#include <array>
#include <optional>

#include "settings/ui/gate_fields.h"

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

}  // namespace vantrel::ui
