#pragma once
// The picture of the tray icon.

#include <QIcon>

namespace vantrel {

// `given` when it has a picture, else the application's window icon, else a drawn H-gate: a
// tray icon without a picture is not shown at all, and the hidden window could not come back.
QIcon TrayIconPicture(const QIcon& given);

}  // namespace vantrel
