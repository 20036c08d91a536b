#pragma once
// Which activations of the tray icon open the popup menu.

#include <QSystemTrayIcon>

namespace vantrel {

// A left double-click, or a right-button press (a desktop's context request): yes. A single left
// click, the middle button and anything else: no. The same at every display resolution.
bool OpensPopupMenu(QSystemTrayIcon::ActivationReason reason);

}  // namespace vantrel
