#include "windows/label_fit.h"

#include <algorithm>

namespace vantrel {

void WidenToFitText(QLabel* label, int rightLimit) {
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() +
                       2 * label->frameWidth() + 1;
    if (needed <= label->width()) return;
    label->resize(std::min(needed, rightLimit - label->x()), label->height());
}

}  // namespace vantrel
