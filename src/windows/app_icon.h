#pragma once
// The application icon: the packaged SVG (an H-pattern gear gate with the lever in third gear),
// built into the program. Every window of the program and the tray icon use it.

#include <QIcon>

namespace vantrel {

// Drawn by Qt's SVG icon engine (the libqt6svg6 plugins); null when the picture cannot be had.
QIcon ApplicationIcon();

}  // namespace vantrel
