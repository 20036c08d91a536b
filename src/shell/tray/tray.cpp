#include "shell/tray/tray.h"

#include <QSystemTrayIcon>

namespace vantrel {
namespace {

const char* const kNoTrayText =
    "Vantrel found no system tray (notification area) on this desktop, so it cannot hide in a "
    "tray icon. Its window was minimized instead: bring it back from the taskbar or the window "
    "list.\n\nTo hide Vantrel in the tray, use a panel that has a system tray (on GNOME, an "
    "AppIndicator extension).";

}  // namespace

Tray::Tray(TrayHooks hooks) : hooks_(std::move(hooks)), form2_(std::make_unique<Form2>(hooks_)) {}

Tray::~Tray() {
    *alive_ = false;
    if (form1_) form1_->Form_Unload();
    delete noTrayMessage_.data();
}

void Tray::Minimize() {
    // A second click while the first one's slide is still running: that one hides the window.
    if (loading_) return;
    if (!form1_) {
        const std::shared_ptr<bool> alive = alive_;
        loading_ = true;
        form1_ = std::make_unique<Form1>(hooks_, *form2_);
        form2_->SetForm1(form1_.get());
        form1_->Form_Load();
        if (!*alive) return;
        loading_ = false;
    }
    PutMainWindowAway();
}

bool Tray::TrayAvailable() const {
    return hooks_.trayAvailable ? hooks_.trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
}

void Tray::PutMainWindowAway() {
    QWidget* main = hooks_.mainWindow;
    if (main == nullptr) return;
    if (TrayAvailable()) {
        main->hide();
        return;
    }
    // Hidden without a tray icon, the window could not be brought back.
    main->showMinimized();
    if (toldNoTray_) return;
    toldNoTray_ = true;
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"),
                                QString::fromUtf8(kNoTrayText), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    noTrayMessage_ = box;
}

}  // namespace vantrel
