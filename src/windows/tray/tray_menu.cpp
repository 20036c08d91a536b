#include "windows/tray/tray_menu.h"

#include "windows/tray/tray_icon.h"

namespace vantrel {

// Client area 2505 x 945 twips; no caption and no icon, as it is never shown.
TrayMenu::TrayMenu(const TrayHooks& hooks) : hooks_(hooks) {
    setObjectName("trayMenu");
    resize(167, 63);
    setWindowTitle(QString());

    popupMenu = new QMenu(QStringLiteral("popmenu"), this);
    popupMenu->setObjectName("trayPopupMenu");
    normalViewItem = AddItem("normalView", QStringLiteral("&Normal View"));
    startItem = AddItem("start", QStringLiteral("&Start"));
    stopItem = AddItem("stop", QStringLiteral("&Stop"));
    reloadItem = AddItem("reload", QStringLiteral("&Reload"));
    closeItem = AddItem("close", QStringLiteral("&Close"));
    // Shown greyed: they were never given an action.
    startItem->setEnabled(false);
    stopItem->setEnabled(false);

    connect(normalViewItem, &QAction::triggered, this, &TrayMenu::ShowNormalView);
    connect(reloadItem, &QAction::triggered, this, &TrayMenu::ReloadSettings);
    connect(closeItem, &QAction::triggered, this, &TrayMenu::CloseProgram);
}

QAction* TrayMenu::AddItem(const char* name, const QString& caption) {
    QAction* action = popupMenu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TrayMenu::ShowNormalView() {
    if (host_) host_->hide();
    hide();
    QWidget* main = hooks_.mainWindow;
    if (main == nullptr) return;
    // It may have been minimized where the desktop has no tray.
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->raise();
    main->activateWindow();
}

void TrayMenu::ReloadSettings() {
    if (hooks_.reloadSettings) hooks_.reloadSettings();
}

// No window's shutdown runs: the icon goes, then the process ends.
void TrayMenu::CloseProgram() {
    RemoveTrayIcon();
    if (hooks_.endProgram) hooks_.endProgram();
}

}  // namespace vantrel
