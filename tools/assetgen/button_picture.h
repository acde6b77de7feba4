// The pictures of the window's picture buttons: 60 x 21 pixels, a pale blue gradient inside a
// darker blue frame, with a caption centred on it. Every pixel is opaque.
#pragma once

#include <string_view>

#include "caption_font.h"
#include "rgb_image.h"

namespace assetgen {

inline constexpr int kButtonWidth = 60;
inline constexpr int kButtonHeight = 21;

// Draws `caption` in `font`, blended in `colour` over the button face. Throws what
// CaptionFont::Render throws.
RgbImage DrawButtonPicture(const CaptionFont& font, std::u32string_view caption, Rgb colour);

}  // namespace assetgen
