#include "swf_builder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace moviegen {

void WriteRect(BitWriter& w, const swf::Rect& rect) {
  const unsigned bits = SignedBits({rect.x_min, rect.x_max, rect.y_min, rect.y_max});
  w.Align();
  w.UB(bits, 5);
  w.SB(rect.x_min, bits);
  w.SB(rect.x_max, bits);
  w.SB(rect.y_min, bits);
  w.SB(rect.y_max, bits);
  w.Align();
}

void WriteMatrix(BitWriter& w, const swf::Matrix& m) {
  w.Align();
  const bool scaled = m.scale_x != 1 << 16 || m.scale_y != 1 << 16;
  w.UB(scaled, 1);
  if (scaled) {
    const unsigned bits = SignedBits({m.scale_x, m.scale_y});
    w.UB(bits, 5);
    w.SB(m.scale_x, bits);
    w.SB(m.scale_y, bits);
  }
  const bool skewed = m.skew0 != 0 || m.skew1 != 0;
  w.UB(skewed, 1);
  if (skewed) {
    const unsigned bits = SignedBits({m.skew0, m.skew1});
    w.UB(bits, 5);
    w.SB(m.skew0, bits);
    w.SB(m.skew1, bits);
  }
  const unsigned bits = SignedBits({m.translate_x, m.translate_y});
  w.UB(bits, 5);
  w.SB(m.translate_x, bits);
  w.SB(m.translate_y, bits);
  w.Align();
}

void WriteColorTransform(BitWriter& w, const swf::ColorTransform& t) {
  const bool has_mult = t.mult_r != 256 || t.mult_g != 256 || t.mult_b != 256 || t.mult_a != 256;
  const bool has_add = t.add_r != 0 || t.add_g != 0 || t.add_b != 0 || t.add_a != 0;
  unsigned bits = 0;
  if (has_mult) bits = SignedBits({t.mult_r, t.mult_g, t.mult_b, t.mult_a});
  if (has_add) {
    const unsigned add_bits = SignedBits({t.add_r, t.add_g, t.add_b, t.add_a});
    bits = add_bits > bits ? add_bits : bits;
  }
  w.Align();
  w.UB(has_add, 1);
  w.UB(has_mult, 1);
  w.UB(bits, 4);
  if (has_mult) {
    for (int16_t term : {t.mult_r, t.mult_g, t.mult_b, t.mult_a}) w.SB(term, bits);
  }
  if (has_add) {
    for (int16_t term : {t.add_r, t.add_g, t.add_b, t.add_a}) w.SB(term, bits);
  }
  w.Align();
}

namespace {

// Edge records hold NumBits - 2 in four bits.
unsigned EdgeBits(std::initializer_list<int64_t> deltas) {
  const unsigned bits = std::max(SignedBits(deltas), 2u);
  if (bits > 17) {
    std::fprintf(stderr, "moviegen: an edge is too long for its record\n");
    std::exit(1);
  }
  return bits;
}

}  // namespace

void ShapeRecords::MoveTo(int32_t x, int32_t y, uint32_t fill0) {
  w_.UB(0, 1);  // a style change record
  w_.UB(fill0 != 0 ? 0b00011 : 0b00001, 5);
  const unsigned bits = SignedBits({x, y});
  w_.UB(bits, 5);
  w_.SB(x, bits);
  w_.SB(y, bits);
  if (fill0 != 0) w_.UB(fill0, fill_bits_);
  x_ = x;
  y_ = y;
}

void ShapeRecords::LineTo(int32_t x, int32_t y) {
  const int32_t dx = x - x_, dy = y - y_;
  const unsigned bits = EdgeBits({dx, dy});
  w_.UB(0b11, 2);  // an edge record, straight
  w_.UB(bits - 2, 4);
  if (dx != 0 && dy != 0) {
    w_.UB(1, 1);
    w_.SB(dx, bits);
    w_.SB(dy, bits);
  } else {
    w_.UB(0, 1);
    w_.UB(dx == 0, 1);  // vertical
    w_.SB(dx == 0 ? dy : dx, bits);
  }
  x_ = x;
  y_ = y;
}

void ShapeRecords::CurveTo(int32_t control_x, int32_t control_y, int32_t x, int32_t y) {
  const int32_t cdx = control_x - x_, cdy = control_y - y_;
  const int32_t adx = x - control_x, ady = y - control_y;
  const unsigned bits = EdgeBits({cdx, cdy, adx, ady});
  w_.UB(0b10, 2);  // an edge record, curved
  w_.UB(bits - 2, 4);
  w_.SB(cdx, bits);
  w_.SB(cdy, bits);
  w_.SB(adx, bits);
  w_.SB(ady, bits);
  x_ = x;
  y_ = y;
}

void ShapeRecords::End() {
  w_.UB(0, 6);
  w_.Align();
}

void SwfBuilder::Tag(TagCode code, const std::vector<uint8_t>& body) {
  BitWriter header;
  if (body.size() < 0x3F) {
    header.U16(static_cast<uint16_t>(code << 6 | body.size()));
  } else {
    header.U16(static_cast<uint16_t>(code << 6 | 0x3F));
    header.U32(static_cast<uint32_t>(body.size()));
  }
  tags_.insert(tags_.end(), header.bytes().begin(), header.bytes().end());
  tags_.insert(tags_.end(), body.begin(), body.end());
}

std::vector<uint8_t> SwfBuilder::CompressedFile(uint8_t version, const swf::Rect& stage,
                                                uint16_t frame_rate, uint16_t frame_count) const {
  BitWriter body;
  WriteRect(body, stage);
  body.U16(frame_rate);
  body.U16(frame_count);
  body.Bytes(tags_);

  const std::vector<uint8_t>& plain = body.bytes();
  uLongf packed_size = compressBound(static_cast<uLong>(plain.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, plain.data(), static_cast<uLong>(plain.size()), 9) !=
      Z_OK) {
    std::fprintf(stderr, "moviegen: zlib failed\n");
    std::exit(1);
  }
  packed.resize(packed_size);

  BitWriter file;
  file.Bytes(std::vector<uint8_t>{'C', 'W', 'S', version});
  file.U32(static_cast<uint32_t>(8 + plain.size()));
  file.Bytes(packed);
  return file.bytes();
}

}  // namespace moviegen
