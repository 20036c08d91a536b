#include "windows/tray/tray_icon.h"

#include <QPointer>

namespace vantrel {
namespace {

// The notification record of the run: filled by the add, used by the removal.
QPointer<QSystemTrayIcon> trayData;

}  // namespace

QString TrayTipText() { return QStringLiteral("vantrel"); }

void AddTrayIcon(TrayPicture& picture, const QString& tip, QMenu* menu) {
    if (trayData) return;
    auto* icon = new QSystemTrayIcon(picture.Icon(), &picture);
    icon->setToolTip(tip);
    if (menu != nullptr) icon->setContextMenu(menu);
    QObject::connect(icon, &QSystemTrayIcon::activated, &picture,
                     [&picture](QSystemTrayIcon::ActivationReason reason) {
                         if (picture.onActivated) picture.onActivated(reason);
                     });
    icon->show();
    trayData = icon;
}

void RemoveTrayIcon() {
    if (!trayData) return;
    trayData->hide();
    delete trayData.data();
}

QSystemTrayIcon* TrayIcon() { return trayData.data(); }

}  // namespace vantrel
