// Glyph outlines of a TrueType font, as SWF glyph shapes for DefineFont2.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/swf/movie.h"

namespace moviegen {

struct Glyph {
  char32_t code = 0;
  std::vector<uint8_t> shape;  // a SHAPE: one fill bit, no line bits, fill style 1 on the left
  int advance = 0;             // em units (1024 an em)
  swf::Rect bounds;            // em units, y down from the baseline
};

// The glyphs of `codes`, in the order given, from face `face` of the font file at `path`:
// unhinted outlines in font units, which must be 1024 an em. The TrueType quadratic splines
// become curved edges. Ends the program with a message when the font cannot be read, lacks a
// glyph, or a glyph's contours overlap (SWF fills glyphs by the even-odd rule, which would
// leave holes where contours overlap).
std::vector<Glyph> LoadGlyphs(const std::string& path, int face, std::u32string_view codes);

}  // namespace moviegen
