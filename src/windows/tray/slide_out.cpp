#include "windows/tray/slide_out.h"

#include <cmath>

#include "windows/twips.h"

namespace vantrel {
namespace {

using ui::kTwipsPerPixel;
constexpr int kMinWidthTwips = 1000;
// A screen tens of thousands of pixels wide still ends in time; nothing real comes near this.
constexpr int kMaxMoves = 5000;

int ToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

}  // namespace

std::vector<WindowBox> SlideOutSteps(WindowBox start, int screenWidth, int screenHeight) {
    std::vector<WindowBox> steps;
    if (screenWidth <= 0 || screenHeight <= 0) return steps;

    WindowBox box = start;
    const int h = start.height * kTwipsPerPixel;
    const int w = start.width * kTwipsPerPixel;
    for (int i = 1; i <= h - 200; i += 400) {
        box.height = ToPixels(h - i);
        const int v = w - (i + 225);
        box.width = ToPixels(v <= kMinWidthTwips ? kMinWidthTwips : v);
        steps.push_back(box);
    }

    const int sw = screenWidth + 15;
    const int sh = screenHeight + 15;
    int x = box.left;
    int y = box.top;
    for (int n = 0; (x <= sw || y <= sh) && n < kMaxMoves; ++n) {
        if (box.width + x <= sw) {
            x += 10;
            box.left = x;
        } else {
            x = sw + 1;
        }
        if (y <= sh) {
            y += 10;
            box.top = y;
        } else {
            y = sh + 1;
        }
        steps.push_back(box);
    }
    return steps;
}

}  // namespace vantrel
