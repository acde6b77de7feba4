// DefineText and DefineText2.
#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/records.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {
namespace {

constexpr uint8_t kHasFont = 0x08;
constexpr uint8_t kHasColor = 0x04;
constexpr uint8_t kHasY = 0x02;
constexpr uint8_t kHasX = 0x01;
constexpr uint8_t kRecordType = 0x80;

}  // namespace

bool ReadDefineText(TagBody tag, bool has_alpha, DecodeBudget& budget, Movie& movie) {
  BitReader r(tag);
  const uint16_t id = r.U16();
  Text text;
  text.bounds = ReadRect(r);
  text.matrix = ReadMatrix(r);
  const unsigned glyph_bits = r.U8();
  const unsigned advance_bits = r.U8();
  if (!r.ok() || glyph_bits > 32 || advance_bits > 32) return false;

  // Font, height, colour and position carry over from one record to the next.
  TextRun style;
  int32_t x = 0;
  for (;;) {
    const uint8_t flags = r.U8();
    if (!r.ok()) return false;
    if (flags == 0) break;
    if ((flags & kRecordType) == 0) return false;
    if (flags & kHasFont) style.font = r.U16();
    if (flags & kHasColor) style.color = has_alpha ? ReadRgba(r) : ReadRgb(r);
    if (flags & kHasX) x = r.S16();
    if (flags & kHasY) style.y = r.S16();
    if (flags & kHasFont) style.height = r.U16();
    const unsigned count = r.U8();
    if (count > budget.glyph_placements) return false;
    budget.glyph_placements -= count;
    TextRun run = style;
    for (unsigned i = 0; i < count; ++i) {
      const uint32_t index = r.UB(glyph_bits);
      const int32_t advance = r.SB(advance_bits);
      run.glyphs.push_back({index, x});
      x = static_cast<int32_t>(static_cast<int64_t>(x) + advance);
    }
    r.Align();
    if (!r.ok()) return false;
    if (!run.glyphs.empty()) text.runs.push_back(std::move(run));
  }
  movie.characters.try_emplace(id, std::move(text));
  return true;
}

}  // namespace swf
