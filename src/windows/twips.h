#pragma once
// Window layouts are designed in twips; at the designed 96 dpi fifteen twips make one pixel. Qt
// scales the resulting device-independent pixels on high-dpi screens. The one conversion for
// every window of the program.

#include <QRect>
#include <QSize>

namespace vantrel::ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

constexpr QSize TwipsSize(int width, int height) { return {Px(width), Px(height)}; }

}  // namespace vantrel::ui
