#include "shell/app_icon.h"

#include <QPainter>

namespace vantrel {

QPixmap ApplicationIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // Drawn on a 16-unit grid with whole units, so both sizes come out crisp.
    p.scale(size / 16.0, size / 16.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x32, 0x40));
    p.drawRect(0, 0, 16, 16);
    p.setBrush(QColor(0x3b, 0x4c, 0x5e));
    p.drawRect(1, 1, 14, 14);

    // Four slots (1/2 and reverse, 3/4, 5/6, 7/8) joined by the neutral lane.
    const QColor slot(0xe6, 0xea, 0xee);
    p.setBrush(slot);
    for (int x : {3, 6, 9, 12}) p.drawRect(x, 3, 1, 10);
    p.drawRect(3, 7, 10, 2);

    // The lever knob at the top of the 3/4 slot.
    p.setBrush(QColor(0xf0, 0x8a, 0x24));
    p.drawRect(5, 2, 3, 3);
    return pixmap;
}

QIcon ApplicationIcon() {
    QIcon icon;
    icon.addPixmap(ApplicationIconPixmap(16));
    icon.addPixmap(ApplicationIconPixmap(32));
    return icon;
}

}  // namespace vantrel
