#pragma once
// The fonts the fixed window layouts were designed for. Asked for by name; fontconfig substitutes
// an installed font, and labels widen where the substitute runs wider (label_fit.h).

#include <QFont>

namespace vantrel {

// The windows' default font: "MS Sans Serif", 8 points.
QFont WindowFont();
// The main window's headings: "MS Sans Serif", 18 points, normal weight.
QFont HeadingFont();

}  // namespace vantrel
