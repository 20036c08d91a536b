#include "windows/tray/tray_icon.h"

#include <QPointer>

namespace vantrel {
namespace {

// The icon of the run, while it exists.
QPointer<QSystemTrayIcon> theIcon;

}  // namespace

QString TrayTipText() { return QStringLiteral("vantrel"); }

void AddTrayIcon(TrayPicture& picture, const QString& tip, QMenu* menu) {
    if (theIcon) return;
    auto* icon = new QSystemTrayIcon(picture.Icon(), &picture);
    icon->setToolTip(tip);
    if (menu != nullptr) icon->setContextMenu(menu);
    QObject::connect(icon, &QSystemTrayIcon::activated, &picture,
                     [&picture](QSystemTrayIcon::ActivationReason reason) {
                         if (picture.onActivated) picture.onActivated(reason);
                     });
    icon->show();
    theIcon = icon;
}

void RemoveTrayIcon() {
    if (!theIcon) return;
    theIcon->hide();
    delete theIcon.data();
}

QSystemTrayIcon* TrayIcon() { return theIcon.data(); }

}  // namespace vantrel
