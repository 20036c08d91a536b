#pragma once
// The application icon: an H-pattern gear gate with the lever in third gear, drawn at 16 and
// 32 pixels. Every window of the program and the tray icon use it.

#include <QIcon>
#include <QPixmap>

namespace vantrel {

QPixmap ApplicationIconPixmap(int size);
QIcon ApplicationIcon();

}  // namespace vantrel
