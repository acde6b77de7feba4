// DefineFont and DefineFont2: the glyph outlines; DefineFont2's layout tables are not needed
// for static text and are left unread.
#include <string>

#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/shape_records.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {
namespace {

// Reads the glyphs that `offsets` delimit within `table`; glyph i runs from offsets[i] to
// offsets[i + 1], the last one to `end`.
bool ReadGlyphs(std::span<const uint8_t> table, const std::vector<uint32_t>& offsets, size_t end,
                DecodeBudget& budget, Font& font) {
  if (end > table.size()) return false;
  for (size_t i = 0; i < offsets.size(); ++i) {
    const size_t begin = offsets[i];
    const size_t stop = i + 1 < offsets.size() ? offsets[i + 1] : end;
    if (begin > stop || stop > end) return false;
    BitReader glyph_reader(table.subspan(begin, stop - begin));
    std::vector<Edge> edges;
    if (!ReadGlyphShape(glyph_reader, budget.edges, edges)) return false;
    budget.edges -= edges.size();
    font.glyphs.push_back(std::move(edges));
  }
  return true;
}

}  // namespace

bool ReadDefineFont(TagBody tag, DecodeBudget& budget, Movie& movie) {
  BitReader r(tag);
  const uint16_t id = r.U16();
  if (!r.ok()) return false;
  const auto table = tag.subspan(2);
  BitReader offsets_reader(table);
  const uint16_t first = offsets_reader.U16();
  if (!offsets_reader.ok()) return false;
  std::vector<uint32_t> offsets;
  offsets.push_back(first);
  const size_t count = first / 2;
  for (size_t i = 1; i < count; ++i) offsets.push_back(offsets_reader.U16());
  if (!offsets_reader.ok()) return false;
  Font font;
  if (count > 0 && !ReadGlyphs(table, offsets, table.size(), budget, font)) return false;
  movie.characters.try_emplace(id, std::move(font));
  return true;
}

bool ReadDefineFont2(TagBody tag, DecodeBudget& budget, Movie& movie) {
  BitReader r(tag);
  const uint16_t id = r.U16();
  const uint8_t flags = r.U8();
  const bool wide_offsets = (flags & 0x08) != 0;
  const bool wide_codes = (flags & 0x04) != 0;
  r.U8();  // language
  const auto name = r.Bytes(r.U8());
  const uint16_t count = r.U16();
  if (!r.ok()) return false;
  Font font;
  font.name.assign(name.begin(), name.end());
  if (count > 0) {
    const auto table = tag.subspan(r.position());
    std::vector<uint32_t> offsets;
    for (size_t i = 0; i < count; ++i) offsets.push_back(wide_offsets ? r.U32() : r.U16());
    const uint32_t code_offset = wide_offsets ? r.U32() : r.U16();
    if (!r.ok() || !ReadGlyphs(table, offsets, code_offset, budget, font)) return false;
    BitReader codes(table.subspan(code_offset));
    for (size_t i = 0; i < count; ++i) font.codes.push_back(wide_codes ? codes.U16() : codes.U8());
    if (!codes.ok()) return false;
  }
  movie.characters.try_emplace(id, std::move(font));
  return true;
}

}  // namespace swf
