// The movie decoder and renderer: the committed splash movie's structure and pixels, small
// hand-built movies whose every pixel is known, and damaged files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "toolkit/swf/decode_movie.h"
#include "toolkit/swf/movie_file.h"
#include "toolkit/swf/renderer.h"
#include "toolkit/swf/timeline.h"

namespace swf {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- Building small movies by hand --------------------------------------------------------

class Bits {
 public:
  void UB(uint32_t value, unsigned bits) {
    for (unsigned i = bits; i-- > 0;) {
      if (used_ == 0) bytes.push_back(0);
      if ((value >> i) & 1) bytes.back() |= static_cast<uint8_t>(0x80 >> used_);
      used_ = (used_ + 1) % 8;
    }
  }
  void SB(int32_t value, unsigned bits) { UB(static_cast<uint32_t>(value), bits); }
  void U8(uint8_t v) {
    used_ = 0;
    bytes.push_back(v);
  }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Append(const Bytes& b) {
    used_ = 0;
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  Bytes bytes;

 private:
  unsigned used_ = 0;
};

void PutRect(Bits& b, int x0, int x1, int y0, int y1) {
  b.UB(24, 5);
  for (int v : {x0, x1, y0, y1}) b.SB(v, 24);
}

// A matrix with scale factors (in 16.16) and a translation, 31-bit fields throughout.
void PutMatrix(Bits& b, int32_t scale_x, int32_t scale_y, int32_t tx, int32_t ty) {
  b.UB(1, 1);
  b.UB(31, 5);
  b.SB(scale_x, 31);
  b.SB(scale_y, 31);
  b.UB(0, 1);
  b.UB(31, 5);
  b.SB(tx, 31);
  b.SB(ty, 31);
}

Bytes Tag(uint16_t code, const Bytes& body) {
  Bits b;
  b.U16(static_cast<uint16_t>(code << 6 | 0x3F));  // always the long header
  b.U32(static_cast<uint32_t>(body.size()));
  b.Append(body);
  return b.bytes;
}

Bytes Deflate(const Bytes& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  Bytes out(size);
  compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9);
  out.resize(size);
  return out;
}

// An uncompressed movie of version 6 with a stage of width x height pixels at 10 fps.
Bytes Fws(int width, int height, uint16_t frames, const std::vector<Bytes>& tags) {
  Bits body;
  PutRect(body, 0, width * 20, 0, height * 20);
  body.U16(10 << 8);
  body.U16(frames);
  for (const Bytes& t : tags) body.Append(t);
  Bits file;
  file.Append({'F', 'W', 'S', 6});
  file.U32(static_cast<uint32_t>(8 + body.bytes.size()));
  file.Append(body.bytes);
  return file.bytes;
}

Bytes Compressed(const Bytes& fws) {
  Bytes cws(fws.begin(), fws.begin() + 8);
  cws[0] = 'C';
  const Bytes packed = Deflate(Bytes(fws.begin() + 8, fws.end()));
  cws.insert(cws.end(), packed.begin(), packed.end());
  return cws;
}

Bytes ShowFrame() {
  return Tag(1, {});
}
Bytes End() {
  return Tag(0, {});
}

// DefineBitsLossless(2) of format 3: `table` entries (RGB, or RGBA with alpha), `declared`
// the count the tag announces.
Bytes ColorMappedBitmap(uint16_t id, int width, int height, const Bytes& table, int declared,
                        const Bytes& rows, bool alpha) {
  Bits b;
  b.U16(id);
  b.U8(3);
  b.U16(static_cast<uint16_t>(width));
  b.U16(static_cast<uint16_t>(height));
  b.U8(static_cast<uint8_t>(declared - 1));
  Bytes plain = table;
  plain.insert(plain.end(), rows.begin(), rows.end());
  b.Append(Deflate(plain));
  return Tag(alpha ? 36 : 20, b.bytes);
}

Bytes TrueColorBitmap(uint16_t id, int width, int height, const Bytes& pixels, bool alpha) {
  Bits b;
  b.U16(id);
  b.U8(5);
  b.U16(static_cast<uint16_t>(width));
  b.U16(static_cast<uint16_t>(height));
  b.Append(Deflate(pixels));
  return Tag(alpha ? 36 : 20, b.bytes);
}

// Shape records of one contour: move to the first point with fill style 1, lines to the rest
// and back to the first.
void PutContour(Bits& b, const std::vector<std::pair<int, int>>& points, bool select_fill) {
  b.UB(0, 1);
  b.UB(select_fill ? 0b00011 : 0b00001, 5);
  b.UB(16, 5);
  b.SB(points[0].first, 16);
  b.SB(points[0].second, 16);
  if (select_fill) b.UB(1, 1);
  auto line = [&](std::pair<int, int> from, std::pair<int, int> to) {
    b.UB(0b11, 2);
    b.UB(14, 4);  // 16 bits
    b.UB(1, 1);   // general line
    b.SB(to.first - from.first, 16);
    b.SB(to.second - from.second, 16);
  };
  for (size_t i = 1; i < points.size(); ++i) line(points[i - 1], points[i]);
  line(points.back(), points[0]);
}

void PutEndRecord(Bits& b) {
  b.UB(0, 6);
}

std::vector<std::pair<int, int>> Box(int x0, int y0, int x1, int y1) {
  return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
}

// DefineShape of a twips rectangle, filled with a bitmap through a matrix or with a colour.
Bytes BitmapRectangle(uint16_t id, int x0, int y0, int x1, int y1, uint16_t bitmap, int32_t scale_x,
                      int32_t scale_y, uint8_t fill_type = 0x41) {
  Bits b;
  b.U16(id);
  PutRect(b, x0, x1, y0, y1);
  b.U8(1);
  b.U8(fill_type);
  b.U16(bitmap);
  PutMatrix(b, scale_x, scale_y, x0, y0);
  b.U8(0);
  b.UB(1, 4);
  b.UB(0, 4);
  PutContour(b, Box(x0, y0, x1, y1), true);
  PutEndRecord(b);
  return Tag(2, b.bytes);
}

Bytes SolidRectangle(uint16_t id, int x0, int y0, int x1, int y1, Rgba color) {
  Bits b;
  b.U16(id);
  PutRect(b, x0, x1, y0, y1);
  b.U8(1);
  b.U8(0x00);
  b.U8(color.r);
  b.U8(color.g);
  b.U8(color.b);
  b.U8(0);
  b.UB(1, 4);
  b.UB(0, 4);
  PutContour(b, Box(x0, y0, x1, y1), true);
  PutEndRecord(b);
  return Tag(2, b.bytes);
}

// PlaceObject2 of a new character, with a colour transform (CXFORMWITHALPHA) when given.
Bytes Place(uint16_t character, uint16_t depth, const ColorTransform* t = nullptr) {
  Bits b;
  b.U8(static_cast<uint8_t>(0x02 | (t ? 0x08 : 0)));
  b.U16(depth);
  b.U16(character);
  if (t) {
    b.UB(1, 1);
    b.UB(1, 1);
    b.UB(15, 4);
    for (int v :
         {t->mult_r, t->mult_g, t->mult_b, t->mult_a, t->add_r, t->add_g, t->add_b, t->add_a}) {
      b.SB(v, 15);
    }
  }
  return Tag(26, b.bytes);
}

Bytes Remove(uint16_t depth) {
  Bits b;
  b.U16(depth);
  return Tag(28, b.bytes);
}

// A one-glyph font: a 1024 square with a square of the same direction inside it.
Bytes RingFont(uint16_t id) {
  Bits glyph;
  glyph.UB(1, 4);
  glyph.UB(0, 4);
  PutContour(glyph, Box(0, -1024, 1024, 0), true);
  PutContour(glyph, Box(256, -768, 768, -256), false);
  PutEndRecord(glyph);
  Bits b;
  b.U16(id);
  b.U8(0x04);  // wide codes
  b.U8(0);
  b.U8(1);
  b.U8('R');
  b.U16(1);
  b.U16(4);  // glyph 0 starts behind the offset and the code table offset
  b.U16(static_cast<uint16_t>(4 + glyph.bytes.size()));
  b.Append(glyph.bytes);
  b.U16('O');
  return Tag(48, b.bytes);
}

// DefineText with `count` copies of glyph 0 at em size `height` twips, `advance` apart.
Bytes RingText(uint16_t id, uint16_t font, int x, int baseline, int height, int count, int advance,
               Rgba color) {
  Bits b;
  b.U16(id);
  PutRect(b, 0, 4000, 0, 4000);
  b.UB(0, 1);
  b.UB(0, 1);
  b.UB(0, 5);
  b.U8(1);   // glyph bits
  b.U8(16);  // advance bits
  b.U8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);
  b.U16(font);
  b.U8(color.r);
  b.U8(color.g);
  b.U8(color.b);
  b.U16(static_cast<uint16_t>(x));
  b.U16(static_cast<uint16_t>(baseline));
  b.U16(static_cast<uint16_t>(height));
  b.U8(static_cast<uint8_t>(count));
  for (int i = 0; i < count; ++i) {
    b.UB(0, 1);
    b.SB(advance, 16);
  }
  b.U8(0);
  return Tag(11, b.bytes);
}

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00C000;

// A 40 x 20 stage: a 2 x 2 bitmap (red, blue / blue, red) stretched over it, each texel 20 x 10
// pixels, and on top in the first frame only a green rectangle over pixels 10..29 x 5..14.
std::vector<Bytes> TinyTags() {
  return {Tag(9, {0x10, 0x20, 0x30}),
          ColorMappedBitmap(1, 2, 2, {255, 0, 0, 0, 0, 255}, 2, {0, 1, 0, 0, 1, 0, 0, 0}, false),
          BitmapRectangle(2, 0, 0, 800, 400, 1, 400 << 16, 200 << 16),
          SolidRectangle(3, 200, 100, 600, 300, {0, 0xC0, 0, 255}),
          Place(2, 1),
          Place(3, 2),
          ShowFrame(),
          Remove(2),
          ShowFrame(),
          End()};
}

Bytes TinyMovie() {
  return Fws(40, 20, 2, TinyTags());
}

uint32_t TinyBitmapAt(int x, int y) {
  return (x < 20) == (y < 10) ? kRed : kBlue;
}

std::vector<uint32_t> RenderFrame(const Movie& movie, int frame) {
  Renderer renderer(movie);
  std::vector<uint32_t> pixels(static_cast<size_t>(movie.width) * movie.height);
  EXPECT_TRUE(renderer.Render(frame, pixels));
  return pixels;
}

// ---- Hand-built movies ----------------------------------------------------------------------

TEST(SwfDecode, ReadsTheHeaderOfBothContainers) {
  for (const Bytes& file : {TinyMovie(), Compressed(TinyMovie())}) {
    const auto movie = DecodeMovie(file);
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->compressed, file[0] == 'C');
    EXPECT_EQ(movie->version, 6);
    EXPECT_EQ(movie->width, 40);
    EXPECT_EQ(movie->height, 20);
    EXPECT_EQ(movie->frame_rate, 10 << 8);
    EXPECT_EQ(movie->frame_count, 2);
    EXPECT_EQ(movie->frames.size(), 2u);
    EXPECT_EQ(movie->background, (Rgba{0x10, 0x20, 0x30, 255}));
  }
}

TEST(SwfRender, DrawsBitmapFillsSolidFillsAndTheDisplayListOfEachFrame) {
  const auto movie = DecodeMovie(TinyMovie());
  ASSERT_TRUE(movie);
  const auto first = RenderFrame(*movie, 0);
  const auto second = RenderFrame(*movie, 1);
  auto at = [](const std::vector<uint32_t>& p, int x, int y) { return p[y * 40 + x]; };
  EXPECT_EQ(at(first, 0, 0), kRed);
  EXPECT_EQ(at(first, 9, 9), kRed);
  EXPECT_EQ(at(first, 20, 4), kBlue);
  EXPECT_EQ(at(first, 39, 9), kBlue);
  EXPECT_EQ(at(first, 0, 10), kBlue);
  EXPECT_EQ(at(first, 19, 15), kBlue);
  EXPECT_EQ(at(first, 39, 19), kRed);
  EXPECT_EQ(at(first, 10, 5), kGreen);
  EXPECT_EQ(at(first, 29, 14), kGreen);
  EXPECT_EQ(at(first, 9, 5), kRed);
  EXPECT_EQ(at(first, 30, 14), kRed);
  // The second frame removed the rectangle; the bitmap shows through.
  EXPECT_EQ(at(second, 10, 5), kRed);
  EXPECT_EQ(at(second, 25, 5), kBlue);
  EXPECT_EQ(at(second, 25, 14), kRed);
}

TEST(SwfRender, AppliesColourTransformsClamped) {
  ColorTransform t;
  t.mult_r = 128;  // red halves
  t.add_g = 300;   // green overflows to 255
  t.mult_b = -256;
  t.add_b = 10;  // blue turns negative and clamps to 0, plus 10
  std::vector<Bytes> tags = TinyTags();
  tags[5] = Place(3, 2, &t);  // the green rectangle, transformed
  const auto movie = DecodeMovie(Fws(40, 20, 2, tags));
  ASSERT_TRUE(movie);
  const auto pixels = RenderFrame(*movie, 0);
  EXPECT_EQ(pixels[10 * 40 + 20], 0xFF00FF0Au);
  EXPECT_EQ(pixels[0], kRed);
}

TEST(SwfRender, ScalesBitmapsWithTheirMatrixAndTilesRepeatingFills) {
  // The 2 x 2 bitmap at 5 x 5 pixels a texel, over the whole 40 x 20 stage: clipped, the edge
  // texels stretch; repeating, the pattern tiles.
  for (const bool repeat : {false, true}) {
    std::vector<Bytes> tags = TinyTags();
    tags[2] = BitmapRectangle(2, 0, 0, 800, 400, 1, 100 << 16, 100 << 16, repeat ? 0x40 : 0x41);
    tags.erase(tags.begin() + 5);  // no green rectangle
    const auto movie = DecodeMovie(Fws(40, 20, 2, tags));
    ASSERT_TRUE(movie);
    const auto p = RenderFrame(*movie, 0);
    EXPECT_EQ(p[0], kRed);
    EXPECT_EQ(p[5], kBlue);
    EXPECT_EQ(p[5 * 40 + 5], kRed);
    EXPECT_EQ(p[5 * 40 + 0], kBlue);
    EXPECT_EQ(p[2 * 40 + 12], repeat ? kRed : kBlue) << "repeat " << repeat;
    EXPECT_EQ(p[12 * 40 + 2], repeat ? kRed : kBlue) << "repeat " << repeat;
  }
}

TEST(SwfRender, FillsGlyphsByTheEvenOddRule) {
  // Two ring glyphs of 20 pixels, white on the default white stage's red bitmap.
  std::vector<Bytes> tags = TinyTags();
  tags.erase(tags.begin() + 5);
  tags.insert(tags.begin() + 4, RingFont(7));
  tags.insert(tags.begin() + 5, RingText(8, 7, 0, 400, 400, 2, 400, {0xFF, 0xFF, 0xFF, 255}));
  tags.insert(tags.begin() + 7, Place(8, 5));
  const auto movie = DecodeMovie(Fws(40, 20, 2, tags));
  ASSERT_TRUE(movie);
  const auto p = RenderFrame(*movie, 0);
  auto at = [&](int x, int y) { return p[y * 40 + x]; };
  for (int glyph = 0; glyph < 2; ++glyph) {
    const int x = glyph * 20;
    EXPECT_EQ(at(x + 2, 2), 0xFFFFFFFFu);    // the ring
    EXPECT_EQ(at(x + 17, 17), 0xFFFFFFFFu);  // the ring
    // The inner square, wound the same way, is a hole: the bitmap shows through.
    EXPECT_EQ(at(x + 10, 10), TinyBitmapAt(x + 10, 10));
    EXPECT_EQ(at(x + 7, 12), TinyBitmapAt(x + 7, 12));
  }
  // An edge that crosses a pixel blends its coverage: half-covered pixels are between.
  const auto movie_shifted = DecodeMovie(Fws(40, 20, 2, [&] {
    auto t = tags;
    t[5] = RingText(8, 7, 10, 400, 400, 1, 400, {0xFF, 0xFF, 0xFF, 255});  // half a pixel in
    return t;
  }()));
  ASSERT_TRUE(movie_shifted);
  const uint32_t edge = RenderFrame(*movie_shifted, 0)[2 * 40 + 0];
  EXPECT_GT(edge & 0xFF, 0x60u);
  EXPECT_LT(edge & 0xFF, 0xA0u);
}

TEST(SwfDecode, ReadsBitmapsOfEveryFormatPremultiplied) {
  struct Case {
    const char* name;
    Bytes tag;
    std::vector<uint32_t> pixels;
  };
  const Case cases[] = {
      {"lossless colour-mapped",
       ColorMappedBitmap(1, 3, 1, {1, 2, 3, 4, 5, 6}, 2, {1, 0, 1, 0}, false),
       {0xFF040506, 0xFF010203, 0xFF040506}},
      {"lossless2 colour-mapped",
       ColorMappedBitmap(1, 2, 1, {10, 20, 30, 40, 50, 60, 70, 255}, 2, {0, 1, 0, 0}, true),
       {0x280A141E, 0xFF323C46}},
      {"lossless 24-bit",
       TrueColorBitmap(1, 2, 1, {0, 1, 2, 3, 0, 9, 8, 7}, false),
       {0xFF010203, 0xFF090807}},
      {"lossless2 32-bit",
       TrueColorBitmap(1, 2, 1, {128, 100, 150, 20, 255, 9, 8, 7}, true),
       {0x80648014, 0xFF090807}},
  };
  for (const Case& c : cases) {
    const auto movie = DecodeMovie(Fws(10, 10, 1, {c.tag, ShowFrame(), End()}));
    ASSERT_TRUE(movie) << c.name;
    const auto* bitmap = std::get_if<Bitmap>(&movie->characters.at(1));
    ASSERT_NE(bitmap, nullptr) << c.name;
    EXPECT_EQ(bitmap->pixels, c.pixels) << c.name;
  }
}

TEST(SwfDecode, SkipsTagsItDoesNotPlay) {
  // A script (DoAction) and a sound stream head between the definitions change nothing.
  std::vector<Bytes> tags = TinyTags();
  tags.insert(tags.begin() + 1, Tag(12, {0x07, 0x00}));
  tags.insert(tags.begin() + 4, Tag(18, {0x00, 0x00, 0x00, 0x00}));
  const auto plain = DecodeMovie(TinyMovie());
  const auto with_extras = DecodeMovie(Fws(40, 20, 2, tags));
  ASSERT_TRUE(plain && with_extras);
  EXPECT_EQ(RenderFrame(*plain, 0), RenderFrame(*with_extras, 0));
}

TEST(SwfRender, RefusesFramesOutsideTheMovieAndBuffersOfAnotherSize) {
  const auto movie = DecodeMovie(TinyMovie());
  ASSERT_TRUE(movie);
  Renderer renderer(*movie);
  std::vector<uint32_t> pixels(40 * 20, 0x12345678);
  EXPECT_FALSE(renderer.Render(2, pixels));
  EXPECT_FALSE(renderer.Render(-1, pixels));
  std::vector<uint32_t> small(40 * 19);
  EXPECT_FALSE(renderer.Render(0, small));
  EXPECT_EQ(pixels[0], 0x12345678u);
}

// Damaged copies of the hand-built movie. Each must decode to nothing, and without reading or
// allocating out of bounds (the sanitizer builds watch that).
TEST(SwfDecode, RefusesDamagedFiles) {
  const Bytes fws = TinyMovie();
  const Bytes cws = Compressed(fws);
  auto with = [](Bytes b, size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<ptrdiff_t>(at));
    return b;
  };
  auto cut = [](const Bytes& b, size_t size) { return Bytes(b.begin(), b.begin() + size); };
  auto with_length = [](Bytes b, size_t length) {
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    return b;
  };
  std::vector<Bytes> no_end = TinyTags();
  no_end.pop_back();
  // Offsets in the uncompressed movie: 8 header bytes, a 13-byte RECT, rate and count, then
  // tags with 6-byte headers: the background (3 bytes), then the bitmap.
  constexpr size_t kFirstTag = 8 + 13 + 4;
  constexpr size_t kBitmapTag = kFirstTag + 6 + 3;
  constexpr size_t kBitmapBody = kBitmapTag + 6;
  ASSERT_EQ(fws[kBitmapTag], (20 << 6 | 0x3F) & 0xFF) << "the bitmap tag has moved";
  struct Case {
    const char* name;
    Bytes file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"header only", cut(fws, 8)},
      {"cut inside the frame header", cut(fws, 12)},
      {"cut inside a tag header", cut(fws, kBitmapTag + 3)},
      {"cut inside a tag", cut(fws, kBitmapBody + 10)},
      {"cut before End", cut(fws, fws.size() - 6)},
      {"compressed, cut at the start of the stream", cut(cws, 10)},
      {"compressed, cut in the middle", cut(cws, cws.size() / 2)},
      {"compressed, cut before the checksum", cut(cws, cws.size() - 2)},
      {"length one short", with_length(fws, fws.size() - 1)},
      {"length one long", with_length(fws, fws.size() + 1)},
      {"compressed, length one long", with_length(cws, fws.size() + 1)},
      {"compressed, length one short", with_length(cws, fws.size() - 1)},
      {"length beyond the cap", with_length(fws, kMaxMovieLength + 1)},
      {"length below the header", with_length(fws, 8)},
      {"bad zlib header", with(cws, 8, {0x78, 0x00})},
      {"bad zlib data", with(cws, cws.size() / 2, {0xFF, 0xFF, 0xFF})},
      {"not a movie", with(fws, 0, {'G', 'I', 'F'})},
      {"LZMA container", with(cws, 0, {'Z'})},
      {"version 0", with(fws, 3, {0})},
      {"compressed version 5", with(cws, 3, {5})},
      {"tag length past the data", with(fws, kBitmapTag + 2, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"tag length one past the data", with(fws, fws.size() - 4, {0x01})},
      {"huge bitmap", with(fws, kBitmapBody + 3, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"bitmap wider than its data", with(fws, kBitmapBody + 3, {0x05})},
      {"colour table count past the data", with(fws, kBitmapBody + 7, {0xFF})},
      {"no frames", with(fws, 8 + 13 + 2, {0, 0})},
      {"no End tag", Fws(40, 20, 2, no_end)},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(DecodeMovie(c.file)) << c.name;
  }
  // The stage: empty or beyond the largest accepted.
  EXPECT_FALSE(DecodeMovie(Fws(0, 20, 2, TinyTags())));
  EXPECT_FALSE(DecodeMovie(Fws(kMaxStagePixels + 1, 20, 2, TinyTags())));
  // A shape whose records run past its tag, and a text whose glyphs do.
  std::vector<Bytes> tags = TinyTags();
  Bytes shape = tags[3];
  shape.resize(shape.size() - 2);
  shape[2] = static_cast<uint8_t>(shape.size() - 6);
  tags[3] = shape;
  EXPECT_FALSE(DecodeMovie(Fws(40, 20, 2, tags)));
  Bytes text = RingText(8, 7, 0, 400, 400, 2, 400, {0, 0, 0, 255});
  text.resize(text.size() - 3);
  text[2] = static_cast<uint8_t>(text.size() - 6);
  EXPECT_FALSE(DecodeMovie(Fws(40, 20, 1, {RingFont(7), text, ShowFrame(), End()})));
}

// ---- The committed splash movie -------------------------------------------------------------

class SplashMovie : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(STUB_SOURCE_DIR "/src/assets/splash.swf", std::ios::binary);
    file_ = new Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto decoded = DecodeMovie(*file_);
    movie_ = decoded ? new Movie(std::move(*decoded)) : nullptr;
  }
  static void TearDownTestSuite() {
    delete movie_;
    delete file_;
  }
  void SetUp() override { ASSERT_NE(movie_, nullptr) << "the committed movie does not decode"; }

  // The bitmap behind the shape of the lowest object of a display list.
  static const Bitmap* PictureOf(const DisplayList& list) {
    const auto* shape = std::get_if<Shape>(&movie_->characters.at(list.begin()->second.character));
    if (shape == nullptr || shape->fills.size() != 1) return nullptr;
    return std::get_if<Bitmap>(&movie_->characters.at(shape->fills[0].bitmap));
  }
  static const Text* TheText() {
    for (const auto& [id, c] : movie_->characters) {
      if (const auto* text = std::get_if<Text>(&c)) return text;
    }
    return nullptr;
  }

  static inline Bytes* file_ = nullptr;
  static inline Movie* movie_ = nullptr;
};

TEST_F(SplashMovie, HasTheFormatTheWindowReliesOn) {
  EXPECT_EQ(std::string(file_->begin(), file_->begin() + 3), "CWS");
  EXPECT_EQ(movie_->version, 6);
  EXPECT_EQ(movie_->file_length, ReadMovieFile(*file_)->body.size() + 8);
  EXPECT_EQ(movie_->stage, (Rect{0, 12000, 0, 6000}));
  EXPECT_EQ(movie_->width, 600);
  EXPECT_EQ(movie_->height, 300);
  EXPECT_EQ(movie_->frame_rate, 10 << 8);
  EXPECT_EQ(movie_->frame_count, 350);
  EXPECT_EQ(movie_->frames.size(), 350u);
  EXPECT_EQ(movie_->background, (Rgba{255, 255, 255, 255}));
  EXPECT_LT(file_->size(), 1u << 20);
}

TEST_F(SplashMovie, HoldsSevenColourMappedPicturesAndOneText) {
  int pictures = 0, texts = 0, fonts = 0;
  for (const auto& [id, c] : movie_->characters) {
    if (const auto* bitmap = std::get_if<Bitmap>(&c)) {
      ++pictures;
      EXPECT_EQ(bitmap->width, 600);
      EXPECT_EQ(bitmap->height, 300);
      EXPECT_EQ(bitmap->format, 3);
      EXPECT_GE(bitmap->color_table_size, 16);
      EXPECT_LE(bitmap->color_table_size, 256);
      EXPECT_FALSE(bitmap->has_alpha);
    }
    texts += std::holds_alternative<Text>(c);
    if (const auto* font = std::get_if<Font>(&c)) {
      ++fonts;
      for (const auto& glyph : font->glyphs) EXPECT_FALSE(glyph.empty());
    }
  }
  EXPECT_EQ(pictures, 7);
  EXPECT_EQ(texts, 1);
  EXPECT_EQ(fonts, 1);
}

TEST_F(SplashMovie, SaysWhatItShouldInItsFont) {
  ASSERT_NE(TheText(), nullptr);
  std::u16string said;
  for (const TextRun& run : TheText()->runs) {
    const auto* font = std::get_if<Font>(&movie_->characters.at(run.font));
    ASSERT_NE(font, nullptr);
    for (const GlyphPlacement& glyph : run.glyphs)
      said += static_cast<char16_t>(font->codes.at(glyph.index));
  }
  EXPECT_EQ(said, u"Zorvel让软件下载更快、更安心");
}

TEST_F(SplashMovie, ShowsEachPictureForFiftyFramesUnderTheText) {
  Timeline timeline(*movie_);
  std::vector<const Bitmap*> order;
  for (int f = 0; f < movie_->frame_count; ++f) {
    const DisplayList& list = timeline.GoTo(f);
    ASSERT_EQ(list.size(), 2u) << "frame " << f;
    const Bitmap* picture = PictureOf(list);
    ASSERT_NE(picture, nullptr) << "frame " << f;
    if (order.empty() || order.back() != picture) order.push_back(picture);
    EXPECT_EQ(order.size(), static_cast<size_t>(f / 50 + 1)) << "frame " << f;
    // The text is the upper object in every frame.
    EXPECT_TRUE(
        std::holds_alternative<Text>(movie_->characters.at(list.rbegin()->second.character)))
        << "frame " << f;
  }
  EXPECT_EQ(std::set<const Bitmap*>(order.begin(), order.end()).size(), 7u);
}

TEST_F(SplashMovie, FadesEachPictureInOverNineFramesAndOutOverNine) {
  Timeline timeline(*movie_);
  for (int k = 0; k < 7; ++k) {
    std::vector<ColorTransform> run;
    for (int f = 0; f < 50; ++f)
      run.push_back(timeline.GoTo(k * 50 + f).begin()->second.color_transform);
    for (int f = 0; f < 50; ++f) {
      const bool fading = f < 9 || f >= 41;
      EXPECT_EQ(!run[f].IsIdentity(), fading) << "picture " << k << " frame " << f;
      if (f > 0) {
        EXPECT_EQ(run[f] == run[f - 1], !fading && f != 9) << "picture " << k << " frame " << f;
      }
    }
    // Towards the middle the picture comes forward: the transform's multiplier grows.
    EXPECT_LT(run[0].mult_r, run[8].mult_r);
    EXPECT_GT(run[41].mult_r, run[49].mult_r);
  }
}

TEST_F(SplashMovie, RendersEachPictureExactlyAroundTheText) {
  ASSERT_NE(TheText(), nullptr);
  const Text& text = *TheText();
  const int left = text.bounds.x_min / 20 - 1, right = (text.bounds.x_max + 19) / 20 + 1;
  const int top = text.bounds.y_min / 20 - 1, bottom = (text.bounds.y_max + 19) / 20 + 1;
  // The text stands in the upper part, clear of the window's controls from y 238 down.
  EXPECT_LT(bottom, 120);
  std::set<uint32_t> text_colors;
  for (const TextRun& run : text.runs) {
    text_colors.insert(0xFF000000u | run.color.r << 16 | run.color.g << 8 | run.color.b);
  }
  ASSERT_EQ(text_colors.size(), 2u);

  Renderer renderer(*movie_);
  std::vector<uint32_t> pixels(600 * 300);
  Timeline timeline(*movie_);
  for (int k = 0; k < 7; ++k) {
    const int frame = k * 50 + 25;
    ASSERT_TRUE(renderer.Render(frame, pixels));
    const Bitmap& picture = *PictureOf(timeline.GoTo(frame));
    int mismatches = 0;
    std::map<uint32_t, int> glyph_pixels;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 600; ++x) {
        const uint32_t p = pixels[y * 600 + x];
        if (x >= left && x < right && y >= top && y < bottom) {
          if (text_colors.contains(p)) ++glyph_pixels[p];
        } else {
          mismatches += p != picture.pixels[y * 600 + x];
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "picture " << k;
    for (uint32_t color : text_colors) EXPECT_GT(glyph_pixels[color], 100) << "picture " << k;
  }
}

TEST_F(SplashMovie, LeavesTheStripOfTheWindowsControlsCalm) {
  // Where the bar, the status line and the buttons stand, every picture is near white.
  Renderer renderer(*movie_);
  std::vector<uint32_t> pixels(600 * 300);
  for (int k = 0; k < 7; ++k) {
    ASSERT_TRUE(renderer.Render(k * 50 + 25, pixels));
    for (int y = 238; y < 300; ++y) {
      for (int x = 0; x < 600; ++x) {
        const uint32_t p = pixels[y * 600 + x];
        ASSERT_GE(std::min({p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF}), 0xF0u)
            << "picture " << k << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(SplashMovie, RendersAnyFrameInAnyOrder) {
  // Seeking back replays from the first frame: the result equals a renderer that went there
  // directly, and the fade frames show their transform.
  Renderer seeking(*movie_);
  std::vector<uint32_t> pixels(600 * 300), fresh(600 * 300);
  for (int frame : {349, 10, 200, 3, 0, 175, 49, 50}) {
    ASSERT_TRUE(seeking.Render(frame, pixels));
    Renderer direct(*movie_);
    ASSERT_TRUE(direct.Render(frame, fresh));
    EXPECT_EQ(pixels, fresh) << "frame " << frame;
  }
  // A fading frame is lighter than the picture at full strength.
  auto brightness = [&](int frame) {
    seeking.Render(frame, pixels);
    uint64_t sum = 0;
    for (uint32_t p : pixels) sum += (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF);
    return sum;
  };
  EXPECT_GT(brightness(50), brightness(54));
  EXPECT_GT(brightness(54), brightness(60));
  EXPECT_LT(brightness(60), brightness(95));
}

}  // namespace
}  // namespace swf
