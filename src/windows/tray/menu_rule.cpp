#include "windows/tray/menu_rule.h"

namespace vantrel {

bool OpensPopupMenu(QSystemTrayIcon::ActivationReason reason) {
    return reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Context;
}

}  // namespace vantrel
