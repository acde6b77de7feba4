// A decoded SWF movie: the subset of the format that the splash movie uses, as DecodeMovie
// (decode_movie.h) produces it. Coordinates are in twips (1/20 pixel) unless a name says pixels.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace swf {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba&) const = default;
};

struct Rect {
  int32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  bool operator==(const Rect&) const = default;
};

// x' = x * scale_x + y * skew1 + translate_x, y' = x * skew0 + y * scale_y + translate_y, with
// the scale and skew terms in 16.16 fixed point, as the format stores them.
struct Matrix {
  int32_t scale_x = 1 << 16, scale_y = 1 << 16;
  int32_t skew0 = 0, skew1 = 0;
  int32_t translate_x = 0, translate_y = 0;
  bool operator==(const Matrix&) const = default;
};

// Each channel becomes clamp(channel * mult / 256 + add) in 0..255.
struct ColorTransform {
  int16_t mult_r = 256, mult_g = 256, mult_b = 256, mult_a = 256;
  int16_t add_r = 0, add_g = 0, add_b = 0, add_a = 0;
  bool operator==(const ColorTransform&) const = default;
  bool IsIdentity() const { return *this == ColorTransform{}; }
};

// One edge of a shape or glyph outline: a straight line from `from` to `to`, or a quadratic
// curve through `control`. fill0 and fill1 are 1-based indices into the shape's fill styles
// (0: none) on either side of the edge.
struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point&) const = default;
};
struct Edge {
  Point from, control, to;
  bool curved = false;
  uint16_t fill0 = 0, fill1 = 0;
};

struct FillStyle {
  enum class Kind { kSolid, kBitmap, kUnsupported };
  Kind kind = Kind::kUnsupported;
  Rgba color;            // kSolid
  uint16_t bitmap = 0;   // kBitmap: the bitmap character
  Matrix bitmap_matrix;  // bitmap pixels to shape space
  bool repeat = false;   // a repeating fill tiles the bitmap; a clipped one stretches its edges
};

// DefineBitsLossless / DefineBitsLossless2. Pixels are premultiplied 0xAARRGGBB, rows top-down.
struct Bitmap {
  uint16_t width = 0, height = 0;
  uint8_t format = 0;             // 3: colour-mapped, 5: 24 or 32 bits a pixel
  uint16_t color_table_size = 0;  // entries of a format 3 colour table
  bool has_alpha = false;         // DefineBitsLossless2
  std::vector<uint32_t> pixels;
};

// DefineShape, DefineShape2, DefineShape3. Line styles are read over but not kept: outlines
// are not drawn.
struct Shape {
  Rect bounds;
  std::vector<FillStyle> fills;
  std::vector<Edge> edges;
};

// DefineFont / DefineFont2: glyph outlines in a 1024-unit em square, filled by the even-odd
// rule. codes are the characters of the glyphs (UCS-2 where the font says wide codes).
struct Font {
  std::string name;
  std::vector<std::vector<Edge>> glyphs;
  std::vector<uint16_t> codes;
};

// DefineText / DefineText2: runs of glyphs of one font, height and colour on one baseline.
struct GlyphPlacement {
  uint32_t index = 0;  // glyph of the run's font
  int32_t x = 0;       // origin on the baseline, in text space
};
struct TextRun {
  uint16_t font = 0;
  uint16_t height = 0;  // em size
  Rgba color;
  int32_t y = 0;  // baseline
  std::vector<GlyphPlacement> glyphs;
};
struct Text {
  Rect bounds;
  Matrix matrix;
  std::vector<TextRun> runs;
};

using Character = std::variant<Bitmap, Shape, Font, Text>;

// PlaceObject2 / RemoveObject / RemoveObject2, in the order the frame holds them.
struct DisplayOp {
  enum class Kind { kPlace, kRemove };
  Kind kind = Kind::kPlace;
  uint16_t depth = 0;
  bool move = false;                  // modifies (or replaces) the object at depth
  std::optional<uint16_t> character;  // the character to place
  std::optional<Matrix> matrix;
  std::optional<ColorTransform> color_transform;
  bool clip_layer = false;  // a mask for the depths above it; not drawn
};

struct Frame {
  std::vector<DisplayOp> ops;
};

struct Movie {
  uint8_t version = 0;
  bool compressed = false;   // "CWS"
  uint32_t file_length = 0;  // the uncompressed length the header announces
  Rect stage;
  int width = 0, height = 0;  // stage in pixels
  uint16_t frame_rate = 0;    // 8.8 fixed point frames a second
  uint16_t frame_count = 0;   // at least 1
  Rgba background{255, 255, 255, 255};
  std::map<uint16_t, Character> characters;
  // The frames up to the last ShowFrame, at most frame_count; later frames show the last one.
  std::vector<Frame> frames;
};

}  // namespace swf
