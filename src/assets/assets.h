// The program's embedded assets: the committed files of this folder, compiled in as constant data.
// tools/assetgen makes every one of them byte for byte.
#pragma once

#include <span>

namespace assets {

// The six picture-button bitmaps: 60 x 21 pixel BMP files, 24 bits per pixel.
extern const std::span<const unsigned char> CancelButtonNormal;
extern const std::span<const unsigned char> CancelButtonHover;
extern const std::span<const unsigned char> BrowseButtonNormal;
extern const std::span<const unsigned char> BrowseButtonHover;
extern const std::span<const unsigned char> InstallButtonNormal;
extern const std::span<const unsigned char> InstallButtonHover;

// The progress bar's two 300 x 10 PNG images.
extern const std::span<const unsigned char> TrackImage;
extern const std::span<const unsigned char> FillImage;

// The splash movie, a compressed SWF file.
extern const std::span<const unsigned char> SplashMovie;

}  // namespace assets
