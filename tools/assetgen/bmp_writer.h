// Encodes a picture as a Windows BMP file: BITMAPFILEHEADER and BITMAPINFOHEADER, 24 bits per
// pixel, uncompressed, rows bottom-up and padded to 4 bytes, 72 DPI.
#pragma once

#include <vector>

#include "rgb_image.h"

namespace assetgen {

std::vector<unsigned char> EncodeBmp(const RgbImage& image);

}  // namespace assetgen
