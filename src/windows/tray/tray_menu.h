#pragma once
// The tray menu's host: never shown, it holds the tray icon's popup menu and the handlers of its
// items.

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "windows/tray/tray_hooks.h"

namespace vantrel {

class TrayMenu : public QWidget {
  public:
    explicit TrayMenu(const TrayHooks& hooks);

    // The tray host, hidden again by "&Normal View" once it exists.
    void SetTrayHost(QWidget* host) { host_ = host; }

    void ShowNormalView();
    void ReloadSettings();
    void CloseProgram();

    QMenu* popupMenu;
    QAction* normalViewItem;
    QAction* startItem;
    QAction* stopItem;
    QAction* reloadItem;
    QAction* closeItem;

  private:
    QAction* AddItem(const char* name, const QString& caption);

    const TrayHooks& hooks_;
    QPointer<QWidget> host_;
};

}  // namespace vantrel
