#include "caption_font.h"

#include <stdexcept>

namespace assetgen {

CaptionFont::CaptionFont(const std::string& path, int faceIndex, int pixelSize) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType could not start");
  library_.reset(library);
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), faceIndex, &face) != 0) {
    throw std::runtime_error("cannot open the font " + path);
  }
  face_.reset(face);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    throw std::runtime_error("the font cannot be set to the caption size");
  }
}

GlyphMask CaptionFont::Render(char32_t codePoint) const {
  FT_Face face = face_.get();
  const FT_UInt index = FT_Get_Char_Index(face, codePoint);
  if (index == 0) throw std::runtime_error("the font has no glyph for a caption character");
  // Outlines only: the face also carries bitmap strikes, which are not anti-aliased.
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0 ||
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) != 0) {
    throw std::runtime_error("FreeType could not render a caption character");
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
    throw std::runtime_error("FreeType gave a caption character without grey levels");
  }
  GlyphMask mask;
  mask.left = slot->bitmap_left;
  mask.top = slot->bitmap_top;
  mask.width = static_cast<int>(bitmap.width);
  mask.height = static_cast<int>(bitmap.rows);
  mask.advance = static_cast<int>(slot->advance.x >> 6);
  mask.coverage.reserve(static_cast<std::size_t>(mask.width) * mask.height);
  for (int y = 0; y < mask.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    mask.coverage.insert(mask.coverage.end(), row, row + mask.width);
  }
  return mask;
}

}  // namespace assetgen
