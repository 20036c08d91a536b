#pragma once
// The tray host: a window the user never sees. It owns the tray icon, and its picture
// `iconTarget` receives the icon's activations.

#include <QSystemTrayIcon>
#include <QWidget>

#include "windows/tray/tray_hooks.h"
#include "windows/tray/tray_menu.h"
#include "windows/tray/tray_picture.h"

namespace vantrel {

class TrayHost : public QWidget {
  public:
    TrayHost(const TrayHooks& hooks, TrayMenu& menu);

    // Adds the tray icon, then slides this window out of sight.
    void AddIconAndSlideOut();
    // Removes the tray icon.
    void RemoveIcon();

    // Opens the tray menu at the mouse pointer for the activations that ask for it.
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);

    // Shrinks the window and moves it beyond the bottom right corner of the screen, letting
    // pending events run after every step, then hides it.
    void SlideOut();

    TrayPicture* iconTarget;

  private:
    const TrayHooks& hooks_;
    TrayMenu& menu_;
};

}  // namespace vantrel
