#pragma once
// The main window's way into the tray: "Minimize" hides the window to a tray icon whose popup
// menu brings it back, reloads the settings or ends the program.
//
// Make one Tray with the main window's hooks and call Minimize() for the main window's "Minimize",
// or StartHidden() for a start in the tray. Everything runs on the GUI thread.

#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "windows/tray/tray_hooks.h"
#include "windows/tray/tray_host.h"
#include "windows/tray/tray_menu.h"
#include "windows/tray/tray_wait.h"

namespace vantrel {

class Tray {
  public:
    explicit Tray(TrayHooks hooks);
    // Unloads the tray host, which removes the icon.
    ~Tray();
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // The first time, loads the tray host: the icon is added and the host slides away. Then the
    // main window is hidden. Later calls only hide the main window. On a desktop without a tray
    // the window is minimized instead while a tray may still come (up to the hooks'
    // trayWaitLimit): one that comes gets the icon and the still-minimized window is hidden; if
    // none comes, the user is told why, once in the run.
    void Minimize();
    // A start hidden in the tray: as Minimize, except that without a tray the main window, not
    // shown yet, stays unmapped while a tray may still come (the panel often starts after
    // Vantrel at login). Only if none has come after the hooks' trayWaitLimit is the window
    // minimized and the user told; a window shown meanwhile (a second start) is left alone.
    void StartHidden();

    // Null until the first Minimize or StartHidden.
    TrayHost* host() const { return host_.get(); }
    TrayMenu& menu() const { return *menu_; }
    // The note shown when the desktop has no tray, while it is open.
    QMessageBox* noTrayMessage() const { return noTrayMessage_.data(); }

  private:
    bool TrayAvailable() const;
    // Loads the tray host the first time. False while its slide is still running (the click that
    // started it puts the window away) and when this Tray was destroyed during the slide.
    bool LoadHost();
    // The note about the missing tray, once in the run.
    void TellNoTray();

    TrayHooks hooks_;
    std::unique_ptr<TrayMenu> menu_;
    std::unique_ptr<TrayHost> host_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool loading_ = false;
    QPointer<QMessageBox> noTrayMessage_;
    bool toldNoTray_ = false;
    TrayWait trayWait_;
};

}  // namespace vantrel
