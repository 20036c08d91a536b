#pragma once
// Labels keep their designed place; where the font that fontconfig substituted for the designed
// one is wider, a label grows to the right just enough to show its whole text.

#include <QLabel>

namespace vantrel {

// Widens `label` to its text's width, never past x = `rightLimit` of its parent.
void WidenToFitText(QLabel* label, int rightLimit);

}  // namespace vantrel
