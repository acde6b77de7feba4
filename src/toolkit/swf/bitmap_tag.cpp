// DefineBitsLossless and DefineBitsLossless2.
#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/inflate.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {
namespace {

constexpr uint8_t kColorMapped = 3;
constexpr uint8_t kTrueColor = 5;

uint32_t Premultiplied(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  // The format stores premultiplied colour; a channel above its alpha is clamped to keep it so.
  r = r < a ? r : a;
  g = g < a ? g : a;
  b = b < a ? b : a;
  return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace

bool ReadDefineBitsLossless(TagBody tag, bool has_alpha, DecodeBudget& budget, Movie& movie) {
  BitReader r(tag);
  const uint16_t id = r.U16();
  Bitmap bitmap;
  bitmap.format = r.U8();
  bitmap.width = r.U16();
  bitmap.height = r.U16();
  bitmap.has_alpha = has_alpha;
  if (bitmap.format == kColorMapped) bitmap.color_table_size = static_cast<uint16_t>(r.U8() + 1);
  if (!r.ok()) return false;
  if (bitmap.format != kColorMapped && bitmap.format != kTrueColor) return true;
  if (bitmap.width == 0 || bitmap.height == 0) return true;

  const size_t pixels = size_t{bitmap.width} * bitmap.height;
  if (pixels > budget.bitmap_pixels) return false;
  budget.bitmap_pixels -= pixels;

  const size_t entry_size = has_alpha ? 4 : 3;
  const size_t row_bytes = bitmap.format == kColorMapped ? (size_t{bitmap.width} + 3) & ~size_t{3}
                                                         : size_t{bitmap.width} * 4;
  const size_t table_bytes =
      bitmap.format == kColorMapped ? bitmap.color_table_size * entry_size : 0;
  std::vector<uint8_t> data;
  if (!InflateExactly(r.Bytes(r.remaining()), table_bytes + row_bytes * bitmap.height, data)) {
    return false;
  }

  bitmap.pixels.resize(pixels);
  if (bitmap.format == kColorMapped) {
    std::vector<uint32_t> table(256, 0);
    for (size_t i = 0; i < bitmap.color_table_size; ++i) {
      const uint8_t* e = &data[i * entry_size];
      table[i] =
          has_alpha ? Premultiplied(e[3], e[0], e[1], e[2]) : Premultiplied(255, e[0], e[1], e[2]);
    }
    for (size_t y = 0; y < bitmap.height; ++y) {
      const uint8_t* row = &data[table_bytes + y * row_bytes];
      for (size_t x = 0; x < bitmap.width; ++x) bitmap.pixels[y * bitmap.width + x] = table[row[x]];
    }
  } else {
    for (size_t i = 0; i < pixels; ++i) {
      const uint8_t* p = &data[i * 4];
      bitmap.pixels[i] =
          has_alpha ? Premultiplied(p[0], p[1], p[2], p[3]) : Premultiplied(255, p[1], p[2], p[3]);
    }
  }
  movie.characters.try_emplace(id, std::move(bitmap));
  return true;
}

}  // namespace swf
