#pragma once
// `Form1`, the tray host: a window the user never sees. It owns the tray icon, and its picture box
// `Picture1` receives the icon's activations.

#include <QSystemTrayIcon>
#include <QWidget>

#include "windows/tray/tray_hooks.h"
#include "windows/tray/tray_menu.h"
#include "windows/tray/tray_picture.h"

namespace vantrel {

class Form1 : public QWidget {
  public:
    Form1(const TrayHooks& hooks, Form2& form2);

    // The tray icon and the slide.
    void Form_Load();
    // Removes the tray icon.
    void Form_Unload();

    // Opens `popmenu` at the mouse pointer for the activations that ask for it.
    void Picture1_Activated(QSystemTrayIcon::ActivationReason reason);

    // Shrinks the window and moves it beyond the bottom right corner of the screen, letting
    // pending events run after every step, then hides it.
    void SlideOut();

    TrayPicture* Picture1;

  private:
    const TrayHooks& hooks_;
    Form2& form2_;
};

}  // namespace vantrel
