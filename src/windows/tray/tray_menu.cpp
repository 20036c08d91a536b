#include "windows/tray/tray_menu.h"

#include "windows/tray/tray_icon.h"

namespace vantrel {

// Client area 2505 x 945 twips; no caption and no icon, as it is never shown.
Form2::Form2(const TrayHooks& hooks) : hooks_(hooks) {
    setObjectName("Form2");
    resize(167, 63);
    setWindowTitle(QString());

    popmenu = new QMenu(QStringLiteral("popmenu"), this);
    popmenu->setObjectName("popmenu");
    Max = AddItem("Max", QStringLiteral("&Normal View"));
    Start = AddItem("Start", QStringLiteral("&Start"));
    Stop = AddItem("Stop", QStringLiteral("&Stop"));
    Refresh = AddItem("Refresh", QStringLiteral("&Reload"));
    Close = AddItem("Close", QStringLiteral("&Close"));
    // Shown greyed: they were never given an action.
    Start->setEnabled(false);
    Stop->setEnabled(false);

    connect(Max, &QAction::triggered, this, &Form2::Max_Click);
    connect(Refresh, &QAction::triggered, this, &Form2::Refresh_Click);
    connect(Close, &QAction::triggered, this, &Form2::Close_Click);
}

QAction* Form2::AddItem(const char* name, const QString& caption) {
    QAction* action = popmenu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void Form2::Max_Click() {
    if (form1_) form1_->hide();
    hide();
    QWidget* main = hooks_.mainWindow;
    if (main == nullptr) return;
    // It may have been minimized where the desktop has no tray.
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->raise();
    main->activateWindow();
}

void Form2::Refresh_Click() {
    if (hooks_.reloadSettings) hooks_.reloadSettings();
}

// No window's shutdown runs: the icon goes, then the process ends.
void Form2::Close_Click() {
    RemoveTrayIcon();
    if (hooks_.endProgram) hooks_.endProgram();
}

}  // namespace vantrel
