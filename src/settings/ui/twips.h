#pragma once
// Window geometry is designed in twips; at the designed 96 dpi fifteen twips make one pixel.

#include <QRect>

namespace vantrel::ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

}  // namespace vantrel::ui
