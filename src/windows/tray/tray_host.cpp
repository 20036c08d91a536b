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
Form1::Form1(const TrayHooks& hooks, Form2& form2) : hooks_(hooks), form2_(form2) {
    setObjectName("Form1");
    setWindowTitle(QString());
    setGeometry(372, 315, 156, 58);
    Picture1 = new TrayPicture(this);
    Picture1->SetIcon(ApplicationIcon());
    Picture1->onActivated = [this](QSystemTrayIcon::ActivationReason reason) {
        Picture1_Activated(reason);
    };
}

void Form1::Form_Load() {
    AddTrayIcon(*Picture1, TrayTipText(), form2_.popmenu);
    SlideOut();
}

void Form1::Form_Unload() { RemoveTrayIcon(); }

void Form1::Picture1_Activated(QSystemTrayIcon::ActivationReason reason) {
    if (!OpensPopupMenu(reason)) return;
    // On an XEmbed tray the right-button press has already opened it.
    if (form2_.popmenu->isVisible()) return;
    form2_.popmenu->popup(QCursor::pos());
}

void Form1::SlideOut() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        hide();
        return;
    }
    const QRect outer = frameGeometry();
    const WindowBox start{outer.x(), outer.y(), outer.width(), outer.height()};
    const std::vector<WindowBox> steps =
        SlideOutSteps(start, screen->size().width(), screen->size().height());
    QPointer<Form1> self(this);
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
