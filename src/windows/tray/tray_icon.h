#pragma once
// The one tray icon of the run, its tip, adding and removing it.

#include <QMenu>
#include <QString>
#include <QSystemTrayIcon>

#include "windows/tray/tray_picture.h"

namespace vantrel {

// "vantrel"
QString TrayTipText();

// Shows the tray icon with the picture of `picture` and the tip `tip`; its activations go to
// `picture`. `menu` is offered to desktops that draw an icon's menu themselves (StatusNotifierItem
// hosts); on an XEmbed tray Qt opens it on the right-button press. While an icon exists a
// further add does nothing: one icon per run. Failures are not reported: without a tray the icon
// appears once a tray starts.
void AddTrayIcon(TrayPicture& picture, const QString& tip, QMenu* menu);

// Removes the icon, if there is one.
void RemoveTrayIcon();

// The icon while it exists, else null.
QSystemTrayIcon* TrayIcon();

}  // namespace vantrel
