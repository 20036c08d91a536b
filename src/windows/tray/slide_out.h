#pragma once
// The tray host's slide: the window shrinks, then moves right and down until it lies beyond the
// bottom right corner of the screen. Pure arithmetic, so the path can be checked without a screen.

#include <vector>

namespace vantrel {

struct WindowBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowBox&) const = default;
};

// The window's outer geometry after each step, in pixels: first the shrink steps, then the moves
// (10 px right while the window's right edge stays within the screen plus 15 px, and 10 px down
// until its top is past the screen's height plus 15 px). The sizes are worked in twips at the
// designed 15 per pixel, rounded to the nearest pixel. Empty for an empty screen.
std::vector<WindowBox> SlideOutSteps(WindowBox start, int screenWidth, int screenHeight);

}  // namespace vantrel
