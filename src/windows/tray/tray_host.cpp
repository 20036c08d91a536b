#include "windows/tray/tray_host.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include "windows/app_icon.h"
#include "windows/tray/menu_rule.h"
#include "windows/tray/slide_out.h"
#include "windows/tray/tray_icon.h"

namespace vantrel {

// Client area 2340 x 870 twips at 5580, 4725 twips from the screen's top left; empty caption.
TrayHost::TrayHost(const TrayHooks& hooks, TrayMenu& menu) : hooks_(hooks), menu_(menu) {
    setObjectName("trayHost");
    setWindowTitle(QString());
    setGeometry(372, 315, 156, 58);
    iconTarget = new TrayPicture(this);
    iconTarget->SetIcon(ApplicationIcon());
    iconTarget->onActivated = [this](QSystemTrayIcon::ActivationReason reason) {
        OnTrayActivated(reason);
    };
}

void TrayHost::AddIconAndSlideOut() {
    AddTrayIcon(*iconTarget, TrayTipText(), menu_.popupMenu);
    SlideOut();
}

void TrayHost::RemoveIcon() { RemoveTrayIcon(); }

void TrayHost::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!OpensPopupMenu(reason)) return;
    // On an XEmbed tray the right-button press has already opened it.
    if (menu_.popupMenu->isVisible()) return;
    menu_.popupMenu->popup(QCursor::pos());
}

void TrayHost::SlideOut() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        hide();
        return;
    }
    const QRect outer = frameGeometry();
    const WindowBox start{outer.x(), outer.y(), outer.width(), outer.height()};
    const std::vector<WindowBox> steps =
        SlideOutSteps(start, screen->size().width(), screen->size().height());
    QPointer<TrayHost> self(this);
    for (const WindowBox& box : steps) {
        move(box.left, box.top);
        resize(box.width, box.height);
        // The shift engine and the other windows go on working meanwhile.
        QCoreApplication::processEvents();
        if (!self) return;
    }
    hide();
}

}  // namespace vantrel
