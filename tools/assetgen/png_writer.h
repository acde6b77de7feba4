// Encodes a picture as a PNG file: 8-bit RGB, not interlaced, with a pHYs chunk of 72 DPI and a
// cHRM chunk of the sRGB primaries. The bytes depend only on the pixels (and the zlib build).
// Throws std::runtime_error when zlib fails.
#pragma once

#include <vector>

#include "rgb_image.h"

namespace assetgen {

std::vector<unsigned char> EncodePng(const RgbImage& image);

}  // namespace assetgen
