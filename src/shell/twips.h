#pragma once
// Window layouts are designed in twips; at the designed 96 dpi one pixel is 15 twips. Qt scales
// the resulting device-independent pixels on high-dpi screens.

#include <QRect>
#include <QSize>

namespace vantrel {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

constexpr QSize TwipsSize(int width, int height) { return QSize(Px(width), Px(height)); }

}  // namespace vantrel
