#pragma once

#include <QRect>

namespace qorin::ui {

// The window designs are written in twips: 1,440 to the inch, 15 to a logical pixel. Qt
// scales logical pixels on dense screens.
constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, rounded to the nearest pixel.
constexpr int px(int twips)
{
    return (2 * twips + kTwipsPerPixel) / (2 * kTwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

} // namespace qorin::ui
