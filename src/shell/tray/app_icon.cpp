#include "shell/tray/app_icon.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace vantrel {
namespace {

QPixmap DrawGate(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x79));
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    // Three columns of an H-pattern gate joined by the neutral lane.
    painter.setPen(QPen(Qt::white, size / 10.0, Qt::SolidLine, Qt::RoundCap));
    const qreal top = size * 0.22;
    const qreal bottom = size * 0.78;
    for (const qreal x : {size * 0.25, size * 0.5, size * 0.75}) {
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    painter.drawLine(QPointF(size * 0.25, size * 0.5), QPointF(size * 0.75, size * 0.5));
    return pixmap;
}

}  // namespace

QIcon TrayIconPicture(const QIcon& given) {
    if (!given.isNull()) return given;
    const QIcon window = QApplication::windowIcon();
    if (!window.isNull()) return window;
    QIcon drawn;
    drawn.addPixmap(DrawGate(16));
    drawn.addPixmap(DrawGate(32));
    return drawn;
}

}  // namespace vantrel
