#include "windows/dialogs/gate_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "settings/gearbox_settings.h"
#include "windows/twips.h"

namespace vantrel::ui {
namespace {

constexpr double kScale = 1.0 / kTwipsPerPixel;
constexpr double kLabelMargin = 4;  // pixels between a line and a label placed beside it
constexpr double kStickRadius = 5;  // pixels
constexpr int kShadeAlpha = 70;

QPointF ToPx(double x, double y) { return {x * kScale, y * kScale}; }
QRectF ToPx(const QRectF& r) { return {ToPx(r.left(), r.top()), ToPx(r.right(), r.bottom())}; }

// Inside the field when it is large enough; otherwise beside its inner edges, so that the
// labels of the narrow corner fields stay readable next to them.
QRectF LabelBox(const QRectF& field, int number, const QSizeF& text) {
    const double gate = kStickTravel * kScale;
    const int column = (number - 1) / 2;
    const bool top = number % 2 == 1;
    QRectF box(QPointF(0, 0), text);

    if (field.width() >= text.width() || column == 1 || column == 2) {
        box.moveLeft(field.center().x() - text.width() / 2);
    } else if (column == 0) {
        box.moveLeft(field.right() + kLabelMargin);
    } else {
        box.moveRight(field.left() - kLabelMargin);
    }
    if (field.height() >= text.height()) {
        box.moveTop(field.center().y() - text.height() / 2);
    } else if (top) {
        box.moveTop(field.bottom() + kLabelMargin);
    } else {
        box.moveBottom(field.top() - kLabelMargin);
    }
    box.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, gate - box.width())));
    box.moveTop(std::clamp(box.top(), 0.0, std::max(0.0, gate - box.height())));
    return box;
}

QFont LabelFont(const QFont& base, bool bold) {
    QFont font = base;
    font.setPixelSize(18);
    font.setBold(bold);
    return font;
}

// Never narrower than a digit, so that the numbers keep their places.
QSizeF LabelSize(const QFont& font, const QString& label) {
    const QFontMetricsF metrics(font);
    const double width =
        std::max(metrics.horizontalAdvance(QStringLiteral("8")), metrics.horizontalAdvance(label));
    return {width + 4, metrics.height()};
}

void PaintFields(QPainter& p, const QPalette& palette, const GatePicture& picture) {
    const int engaged = picture.stickGear == 9 ? 1 : picture.stickGear;
    const QColor accent = palette.color(QPalette::Highlight);

    const QFont base = p.font();
    for (int field = 1; field <= 8; ++field) {
        const auto region = FieldRegion(picture.values, field);
        if (!region) continue;
        const QRectF px = ToPx(*region);
        const bool active = picture.stick && field == engaged;
        if (active) {
            QColor shade = accent;
            shade.setAlpha(kShadeAlpha);
            p.fillRect(px, shade);
        }
        const QString label = FieldLabel(picture.map, field);
        const QString text = (active && picture.stickGear == 9) ? QStringLiteral("R") : label;
        const QFont font = LabelFont(base, active);
        p.setFont(font);
        p.setPen(active ? accent.darker(140) : palette.color(QPalette::PlaceholderText));
        p.drawText(LabelBox(px, field, LabelSize(font, label)), Qt::AlignCenter, text);
    }
}

void PaintLines(QPainter& p, const QPalette& palette, const GatePicture& picture) {
    QPen frame(palette.color(QPalette::Midlight), 0, Qt::DotLine);
    p.setPen(frame);
    p.drawRect(ToPx(QRectF(0, 0, kStickTravel, kStickTravel)));

    p.setPen(QPen(palette.color(QPalette::WindowText), 0, Qt::SolidLine));
    for (const BoundaryLine& line : picture.lines) {
        p.drawLine(ToPx(line.x1, line.y1), ToPx(line.x2, line.y2));
    }
}

void PaintStick(QPainter& p, const QPalette& palette, const GatePicture& picture) {
    if (!picture.stick) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(palette.color(QPalette::WindowText), 1));
    p.setBrush(QColor(211, 47, 47));
    p.drawEllipse(ToPx(picture.stick->x(), picture.stick->y()), kStickRadius, kStickRadius);
    p.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace

QString FieldLabel(const FieldMap& map, int field) {
    return QString::fromStdString(FieldMapEntryText(EngagedGear(map, field)));
}

void PaintGate(QPainter& painter, const QPalette& palette, const GatePicture& picture) {
    painter.save();
    PaintFields(painter, palette, picture);
    PaintLines(painter, palette, picture);
    PaintStick(painter, palette, picture);
    painter.restore();
}

QRect StickArea(const QPointF& stick) {
    // The dot, its outline and the antialiased fringe, with a pixel to spare.
    const double reach = kStickRadius + 3;
    const QPointF centre = ToPx(stick.x(), stick.y());
    return QRectF(centre - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach)).toAlignedRect();
}

QRect FieldArea(const GateValues& values, const FieldMap& map, int gear, const QFont& font) {
    if (gear < 1 || gear > 9) return {};
    const int field = gear == 9 ? 1 : gear;
    const auto region = FieldRegion(values, field);
    if (!region) return {};
    const QRectF px = ToPx(*region);
    // The label is bold while lit: the bold box holds both.
    const QFont bold = LabelFont(font, true);
    const QRectF label = LabelBox(px, field, LabelSize(bold, FieldLabel(map, field)));
    return px.united(label).adjusted(-2, -2, 2, 2).toAlignedRect();
}

}  // namespace vantrel::ui
