#include "windows/tray/tray.h"

#include <QSystemTrayIcon>

namespace vantrel {
namespace {

const char* const kNoTrayText =
    "Vantrel found no system tray (notification area) on this desktop, so it cannot hide in a "
    "tray icon. Its window was minimized instead: bring it back from the taskbar or the window "
    "list.\n\nTo hide Vantrel in the tray, use a panel that has a system tray (on GNOME, an "
    "AppIndicator extension).";

}  // namespace

Tray::Tray(TrayHooks hooks)
    : hooks_(std::move(hooks)),
      menu_(std::make_unique<TrayMenu>(hooks_)),
      trayWait_([this] { return TrayAvailable(); }) {}

Tray::~Tray() {
    *alive_ = false;
    if (host_) host_->RemoveIcon();
    delete noTrayMessage_.data();
}

void Tray::Minimize() {
    if (!LoadHost()) return;
    QWidget* main = hooks_.mainWindow;
    if (main == nullptr) return;
    if (TrayAvailable()) {
        main->hide();
        return;
    }
    // Within reach on the taskbar meanwhile. A tray that comes takes the window as if it had been
    // there from the start; the user is told only if none comes.
    main->showMinimized();
    trayWait_.Start(
        hooks_.trayWaitLimit,
        [this] {
            QWidget* window = hooks_.mainWindow;
            if (window != nullptr && window->isMinimized()) window->hide();
        },
        [this] {
            QWidget* window = hooks_.mainWindow;
            if (window != nullptr && window->isMinimized()) TellNoTray();
        });
}

void Tray::StartHidden() {
    if (!LoadHost()) return;
    QWidget* main = hooks_.mainWindow;
    if (main == nullptr) return;
    main->hide();
    if (TrayAvailable()) return;
    // The icon docks by itself once a tray comes; only the window waits for the outcome.
    trayWait_.Start(hooks_.trayWaitLimit, nullptr, [this] {
        QWidget* window = hooks_.mainWindow;
        if (window == nullptr || window->isVisible()) return;
        // Hidden without a tray icon, the window could not be brought back.
        window->showMinimized();
        TellNoTray();
    });
}

bool Tray::LoadHost() {
    // A second click while the first one's slide is still running: that one puts the window away.
    if (loading_) return false;
    if (host_) return true;
    const std::shared_ptr<bool> alive = alive_;
    loading_ = true;
    host_ = std::make_unique<TrayHost>(hooks_, *menu_);
    menu_->SetTrayHost(host_.get());
    host_->AddIconAndSlideOut();
    if (!*alive) return false;
    loading_ = false;
    return true;
}

bool Tray::TrayAvailable() const {
    return hooks_.trayAvailable ? hooks_.trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
}

void Tray::TellNoTray() {
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
