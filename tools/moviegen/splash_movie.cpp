#include "splash_movie.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bit_writer.h"
#include "glyphs.h"
#include "palette.h"
#include "scenes.h"
#include "swf_builder.h"

namespace moviegen {
namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr int kTwips = 20;
constexpr int kEm = 1024;
constexpr int kFramesPerPicture = 50;
constexpr int kFadeFrames = 9;
constexpr uint16_t kFontId = 1;
constexpr uint16_t kTextId = 2;
constexpr uint16_t kFirstBitmapId = 10;
constexpr uint16_t kFirstShapeId = 20;
constexpr uint16_t kPictureDepth = 1;
constexpr uint16_t kTextDepth = 2;
const swf::Rect kStage{0, 600 * kTwips, 0, 300 * kTwips};

// The line of text: the product's name, then what it is doing, on one baseline at the top
// left, clear of the window's controls along the bottom.
struct Run {
  std::u32string text;
  int height;  // em size in pixels
  uint32_t color;
  int gap;  // pixels before the run
};
const Run kRuns[] = {{U"Zorvel", 30, 0x0088FF, 0}, {U"让软件下载更快、更安心", 19, 0x1B3A66, 11}};
constexpr int kTextX = 34;         // pixels
constexpr int kTextBaseline = 50;  // pixels

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "moviegen: %s\n", what);
  std::exit(1);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9) != Z_OK) {
    Fail("zlib failed");
  }
  packed.resize(size);
  return packed;
}

std::u32string Characters() {
  std::u32string all;
  for (const Run& run : kRuns) all += run.text;
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return all;  // ascending, as DefineFont2's code table must be
}

std::vector<uint8_t> DefineFont2(const std::vector<Glyph>& glyphs) {
  size_t shapes = 0;
  for (const Glyph& g : glyphs) shapes += g.shape.size();
  const bool wide = (glyphs.size() + 1) * 2 + shapes > 0xFFFF;
  const size_t entry = wide ? 4 : 2;
  BitWriter w;
  w.U16(kFontId);
  w.U8(static_cast<uint8_t>(0x04 | (wide ? 0x08 : 0)));  // wide codes, wide offsets
  w.U8(4);                                               // language: simplified Chinese
  const std::string name = "WenQuanYi Zen Hei";
  w.U8(static_cast<uint8_t>(name.size()));
  w.Bytes(std::vector<uint8_t>(name.begin(), name.end()));
  w.U16(static_cast<uint16_t>(glyphs.size()));
  size_t offset = (glyphs.size() + 1) * entry;
  auto put = [&](size_t value) {
    if (wide) {
      w.U32(static_cast<uint32_t>(value));
    } else {
      w.U16(static_cast<uint16_t>(value));
    }
  };
  for (const Glyph& g : glyphs) {
    put(offset);
    offset += g.shape.size();
  }
  put(offset);  // the code table follows the shapes
  for (const Glyph& g : glyphs) w.Bytes(g.shape);
  for (const Glyph& g : glyphs) w.U16(static_cast<uint16_t>(g.code));
  return w.bytes();
}

std::vector<uint8_t> DefineText(const std::vector<Glyph>& glyphs, const std::u32string& codes) {
  struct Placed {
    uint32_t index;
    int32_t advance;
  };
  std::vector<std::vector<Placed>> runs;
  std::vector<int32_t> starts;
  swf::Rect bounds{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
  const int32_t baseline = kTextBaseline * kTwips;
  int32_t x = kTextX * kTwips;
  uint32_t max_index = 0;
  int32_t max_advance = 0;
  for (const Run& run : kRuns) {
    x += run.gap * kTwips;
    starts.push_back(x);
    const int32_t height = run.height * kTwips;
    std::vector<Placed> placed;
    for (char32_t c : run.text) {
      const auto index = static_cast<uint32_t>(codes.find(c));
      const Glyph& g = glyphs[index];
      const auto advance = static_cast<int32_t>(std::lround(double(g.advance) * height / kEm));
      if (g.bounds.x_max > g.bounds.x_min) {
        bounds.x_min = std::min(bounds.x_min, x + g.bounds.x_min * height / kEm);
        bounds.x_max = std::max(bounds.x_max, x + (g.bounds.x_max * height + kEm - 1) / kEm);
        bounds.y_min = std::min(bounds.y_min, baseline + g.bounds.y_min * height / kEm - 1);
        bounds.y_max = std::max(bounds.y_max, baseline + (g.bounds.y_max * height + kEm - 1) / kEm);
      }
      placed.push_back({index, advance});
      max_index = std::max(max_index, index);
      max_advance = std::max(max_advance, advance);
      x += advance;
    }
    runs.push_back(placed);
  }
  const unsigned glyph_bits = UnsignedBits({max_index});
  const unsigned advance_bits = SignedBits({max_advance});

  BitWriter w;
  w.U16(kTextId);
  WriteRect(w, bounds);
  WriteMatrix(w, swf::Matrix{});
  w.U8(static_cast<uint8_t>(glyph_bits));
  w.U8(static_cast<uint8_t>(advance_bits));
  for (size_t i = 0; i < runs.size(); ++i) {
    const Run& run = kRuns[i];
    // Font (with height), colour and x in every record; the baseline in the first only.
    w.U8(static_cast<uint8_t>(0x80 | 0x08 | 0x04 | 0x01 | (i == 0 ? 0x02 : 0)));
    w.U16(kFontId);
    w.U8(static_cast<uint8_t>(run.color >> 16));
    w.U8(static_cast<uint8_t>(run.color >> 8));
    w.U8(static_cast<uint8_t>(run.color));
    w.U16(static_cast<uint16_t>(starts[i]));
    if (i == 0) w.U16(static_cast<uint16_t>(baseline));
    w.U16(static_cast<uint16_t>(run.height * kTwips));
    w.U8(static_cast<uint8_t>(runs[i].size()));
    for (const Placed& p : runs[i]) {
      w.UB(p.index, glyph_bits);
      w.SB(p.advance, advance_bits);
    }
    w.Align();
  }
  w.U8(0);
  return w.bytes();
}

std::vector<uint8_t> DefineBitsLossless(uint16_t id, const IndexedPicture& picture) {
  std::vector<uint8_t> plain;
  for (const auto& c : picture.palette) plain.insert(plain.end(), c.begin(), c.end());
  const size_t row = (Picture::kWidth + 3) & ~size_t{3};
  for (int y = 0; y < Picture::kHeight; ++y) {
    const auto begin = picture.indices.begin() + static_cast<ptrdiff_t>(y) * Picture::kWidth;
    plain.insert(plain.end(), begin, begin + Picture::kWidth);
    plain.resize(plain.size() + row - Picture::kWidth, 0);
  }
  BitWriter w;
  w.U16(id);
  w.U8(3);  // colour-mapped, 8 bits a pixel
  w.U16(Picture::kWidth);
  w.U16(Picture::kHeight);
  w.U8(static_cast<uint8_t>(picture.palette.size() - 1));
  w.Bytes(Deflate(plain));
  return w.bytes();
}

// A stage-sized rectangle filled with the bitmap at one bitmap pixel a stage pixel.
std::vector<uint8_t> DefineShape(uint16_t id, uint16_t bitmap) {
  BitWriter w;
  w.U16(id);
  WriteRect(w, kStage);
  w.U8(1);
  w.U8(0x41);  // clipped bitmap fill
  w.U16(bitmap);
  swf::Matrix to_twips;
  to_twips.scale_x = to_twips.scale_y = kTwips << 16;
  WriteMatrix(w, to_twips);
  w.U8(0);  // no line styles
  w.UB(1, 4);
  w.UB(0, 4);
  ShapeRecords records(w, 1);
  // Counter-clockwise on screen, so that the fill lies on each edge's left.
  records.MoveTo(kStage.x_min, kStage.y_min, 1);
  records.LineTo(kStage.x_min, kStage.y_max);
  records.LineTo(kStage.x_max, kStage.y_max);
  records.LineTo(kStage.x_max, kStage.y_min);
  records.LineTo(kStage.x_min, kStage.y_min);
  records.End();
  return w.bytes();
}

// The picture's colour transform at frame f of its run: a wash of white that lifts over the
// first kFadeFrames frames and settles again over the last ones; none in between.
swf::ColorTransform Fade(int f) {
  double shown = 1;
  if (f < kFadeFrames) shown = (f + 1) / 10.0;
  if (f >= kFramesPerPicture - kFadeFrames) shown = (kFramesPerPicture - f) / 10.0;
  swf::ColorTransform t;
  const auto mult = static_cast<int16_t>(std::lround(shown * 256));
  const auto add = static_cast<int16_t>(std::lround((1 - shown) * 255));
  t.mult_r = t.mult_g = t.mult_b = mult;
  t.add_r = t.add_g = t.add_b = add;
  return t;
}

std::vector<uint8_t> PlaceObject2(bool move, const uint16_t* character, uint16_t depth,
                                  const swf::ColorTransform* transform) {
  BitWriter w;
  w.U8(static_cast<uint8_t>((transform ? 0x08 : 0) | (character ? 0x02 : 0) | (move ? 0x01 : 0)));
  w.U16(depth);
  if (character) w.U16(*character);
  if (transform) WriteColorTransform(w, *transform);
  return w.bytes();
}

std::vector<uint8_t> RemoveObject2(uint16_t depth) {
  BitWriter w;
  w.U16(depth);
  return w.bytes();
}

}  // namespace

std::vector<uint8_t> MakeSplashMovie() {
  const std::u32string codes = Characters();
  const std::vector<Glyph> glyphs = LoadGlyphs(kFontPath, 0, codes);

  SwfBuilder swf;
  swf.Tag(kSetBackgroundColor, {0xFF, 0xFF, 0xFF});
  swf.Tag(kDefineFont2, DefineFont2(glyphs));
  swf.Tag(kDefineText, DefineText(glyphs, codes));
  for (int k = 0; k < kSceneCount; ++k) {
    const auto bitmap = static_cast<uint16_t>(kFirstBitmapId + k);
    const auto shape = static_cast<uint16_t>(kFirstShapeId + k);
    swf.Tag(kDefineBitsLossless, DefineBitsLossless(bitmap, ReduceColors(PaintScene(k))));
    swf.Tag(kDefineShape, DefineShape(shape, bitmap));
    for (int f = 0; f < kFramesPerPicture; ++f) {
      const swf::ColorTransform transform = Fade(f);
      if (f == 0) {
        if (k > 0) swf.Tag(kRemoveObject2, RemoveObject2(kPictureDepth));
        swf.Tag(kPlaceObject2, PlaceObject2(false, &shape, kPictureDepth, &transform));
        if (k == 0) swf.Tag(kPlaceObject2, PlaceObject2(false, &kTextId, kTextDepth, nullptr));
      } else if (!(transform == Fade(f - 1))) {
        swf.Tag(kPlaceObject2, PlaceObject2(true, nullptr, kPictureDepth, &transform));
      }
      swf.Tag(kShowFrame, {});
    }
  }
  swf.Tag(kEnd, {});
  return swf.CompressedFile(6, kStage, 10 << 8, kSceneCount * kFramesPerPicture);
}

}  // namespace moviegen
