// A face of a font file rendered by FreeType into anti-aliased coverage masks at one pixel size.
// The constructor and Render throw std::runtime_error when FreeType fails or the face has no glyph
// for a code point.
#pragma once

#include <ft2build.h>

#include <memory>
#include <string>
#include <vector>
#include FT_FREETYPE_H

namespace assetgen {

// One rendered glyph. The mask's top-left pixel lies `left` pixels right of the pen position and
// `top` pixels above the baseline; coverage runs 0 (none) to 255 (full), row by row.
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int advance = 0;
  std::vector<unsigned char> coverage;
};

class CaptionFont {
 public:
  CaptionFont(const std::string& path, int faceIndex, int pixelSize);
  GlyphMask Render(char32_t codePoint) const;

 private:
  struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
  };
  struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
  };
  // Declared in this order so that the face is released before the library that made it.
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
};

}  // namespace assetgen
