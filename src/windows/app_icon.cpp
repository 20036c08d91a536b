#include "windows/app_icon.h"

namespace vantrel {

QIcon ApplicationIcon() {
    // The same file the package installs for the desktop, compiled in (see shell.cmake).
    return QIcon(QStringLiteral(":/vantrel/vantrel.svg"));
}

}  // namespace vantrel
