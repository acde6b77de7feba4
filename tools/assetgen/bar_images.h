// The two 300 x 10 images of the progress bar.
#pragma once

#include "rgb_image.h"

namespace assetgen {

inline constexpr int kBarWidth = 300;
inline constexpr int kBarHeight = 10;

// Every pixel pale yellow (255, 255, 153).
RgbImage DrawTrackImage();

// Cyan at the left through green in the middle to yellow at the right, light at the top row and
// dark at the bottom row. Colours are fixed at columns 0, 150 and 298 of the top and the bottom
// row; between them each channel runs linearly across and down, rounded once, half up, from the
// exact value. Column 299 repeats column 298.
RgbImage DrawFillImage();

}  // namespace assetgen
