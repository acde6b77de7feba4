#include "toolkit/swf/shape_records.h"

#include <cstdint>

#include "toolkit/swf/records.h"

namespace swf {
namespace {

constexpr int64_t kMaxCoordinate = int64_t{1} << 30;

bool ReadFillStyles(BitReader& r, int shape_version, std::vector<FillStyle>& fills) {
  unsigned count = r.U8();
  if (count == 0xFF && shape_version >= 2) count = r.U16();
  for (unsigned i = 0; i < count && r.ok(); ++i) {
    FillStyle fill;
    const uint8_t type = r.U8();
    if (type == 0x00) {
      fill.kind = FillStyle::Kind::kSolid;
      fill.color = shape_version >= 3 ? ReadRgba(r) : ReadRgb(r);
    } else if (type == 0x10 || type == 0x12 || type == 0x13) {
      // Gradients are read over and not drawn.
      ReadMatrix(r);
      const unsigned stops = r.U8() & 0x0F;
      r.Bytes(stops * (shape_version >= 3 ? 5u : 4u));
      if (type == 0x13) r.U16();
    } else if (type >= 0x40 && type <= 0x43) {
      fill.kind = FillStyle::Kind::kBitmap;
      fill.bitmap = r.U16();
      fill.bitmap_matrix = ReadMatrix(r);
      fill.repeat = type == 0x40 || type == 0x42;
    } else {
      return false;
    }
    fills.push_back(fill);
  }
  return r.ok();
}

bool SkipLineStyles(BitReader& r, int shape_version) {
  unsigned count = r.U8();
  if (count == 0xFF && shape_version >= 2) count = r.U16();
  r.Bytes(count * (shape_version >= 3 ? 6u : 5u));
  return r.ok();
}

// Walks the shape records. shape_version 0 reads a glyph: no styles, every edge kept.
bool ReadRecords(BitReader& r, int shape_version, size_t max_edges, std::vector<FillStyle>* fills,
                 std::vector<Edge>& edges) {
  r.Align();
  unsigned fill_bits = r.UB(4);
  unsigned line_bits = r.UB(4);
  size_t fill_base = 0;  // index in `fills` of the first style of the current style arrays
  size_t fill_count = fills != nullptr ? fills->size() : 0;
  int64_t x = 0, y = 0;
  uint16_t fill0 = 0, fill1 = 0;
  auto fill_index = [&](uint32_t selected) -> uint16_t {
    if (selected == 0 || selected > fill_count) return 0;
    return static_cast<uint16_t>(fill_base + selected);
  };
  while (r.ok()) {
    if (r.UB(1) == 0) {
      const uint32_t flags = r.UB(5);
      if (flags == 0) return r.ok();
      if (flags & 0x01) {
        const unsigned bits = r.UB(5);
        x = r.SB(bits);
        y = r.SB(bits);
      }
      const uint32_t selected0 = (flags & 0x02) ? r.UB(fill_bits) : 0;
      const uint32_t selected1 = (flags & 0x04) ? r.UB(fill_bits) : 0;
      if (flags & 0x08) r.UB(line_bits);
      if (flags & 0x10) {
        if (fills == nullptr || shape_version < 2) return false;
        fill_base = fills->size();
        if (!ReadFillStyles(r, shape_version, *fills) || !SkipLineStyles(r, shape_version)) {
          return false;
        }
        if (fills->size() > UINT16_MAX) return false;
        fill_count = fills->size() - fill_base;
        fill_bits = r.UB(4);
        line_bits = r.UB(4);
      }
      // Selections in the record that brings new styles refer to the new styles.
      if (flags & 0x02) fill0 = fill_index(selected0);
      if (flags & 0x04) fill1 = fill_index(selected1);
      continue;
    }
    const bool straight = r.UB(1) != 0;
    const unsigned bits = r.UB(4) + 2;
    Edge edge;
    edge.from = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    if (straight) {
      int64_t dx = 0, dy = 0;
      if (r.UB(1) != 0) {
        dx = r.SB(bits);
        dy = r.SB(bits);
      } else if (r.UB(1) != 0) {
        dy = r.SB(bits);
      } else {
        dx = r.SB(bits);
      }
      x += dx;
      y += dy;
    } else {
      const int64_t cx = x + r.SB(bits);
      const int64_t cy = y + r.SB(bits);
      x = cx + r.SB(bits);
      y = cy + r.SB(bits);
      if (cx < -kMaxCoordinate || cx > kMaxCoordinate || cy < -kMaxCoordinate ||
          cy > kMaxCoordinate) {
        return false;
      }
      edge.curved = true;
      edge.control = {static_cast<int32_t>(cx), static_cast<int32_t>(cy)};
    }
    if (x < -kMaxCoordinate || x > kMaxCoordinate || y < -kMaxCoordinate || y > kMaxCoordinate) {
      return false;
    }
    edge.to = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    edge.fill0 = fill0;
    edge.fill1 = fill1;
    if (shape_version != 0 && fill0 == fill1) continue;
    if (edges.size() >= max_edges) return false;
    edges.push_back(edge);
  }
  return false;
}

}  // namespace

bool ReadShapeWithStyle(BitReader& r, int shape_version, size_t max_edges, Shape& shape) {
  if (!ReadFillStyles(r, shape_version, shape.fills) || !SkipLineStyles(r, shape_version)) {
    return false;
  }
  return ReadRecords(r, shape_version, max_edges, &shape.fills, shape.edges);
}

bool ReadGlyphShape(BitReader& r, size_t max_edges, std::vector<Edge>& edges) {
  return ReadRecords(r, 0, max_edges, nullptr, edges);
}

}  // namespace swf
