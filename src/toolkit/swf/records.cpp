#include "toolkit/swf/records.h"

namespace swf {

Rect ReadRect(BitReader& r) {
  r.Align();
  const unsigned bits = r.UB(5);
  Rect rect;
  rect.x_min = r.SB(bits);
  rect.x_max = r.SB(bits);
  rect.y_min = r.SB(bits);
  rect.y_max = r.SB(bits);
  r.Align();
  return rect;
}

Matrix ReadMatrix(BitReader& r) {
  r.Align();
  Matrix m;
  if (r.UB(1) != 0) {
    const unsigned bits = r.UB(5);
    m.scale_x = r.SB(bits);
    m.scale_y = r.SB(bits);
  }
  if (r.UB(1) != 0) {
    const unsigned bits = r.UB(5);
    m.skew0 = r.SB(bits);
    m.skew1 = r.SB(bits);
  }
  const unsigned bits = r.UB(5);
  m.translate_x = r.SB(bits);
  m.translate_y = r.SB(bits);
  r.Align();
  return m;
}

Rgba ReadRgb(BitReader& r) {
  Rgba c;
  c.r = r.U8();
  c.g = r.U8();
  c.b = r.U8();
  return c;
}

Rgba ReadRgba(BitReader& r) {
  Rgba c = ReadRgb(r);
  c.a = r.U8();
  return c;
}

ColorTransform ReadColorTransformWithAlpha(BitReader& r) {
  r.Align();
  ColorTransform t;
  const bool has_add = r.UB(1) != 0;
  const bool has_mult = r.UB(1) != 0;
  const unsigned bits = r.UB(4);
  // The terms are at most 15 bits wide, so each fits the record's 16-bit fields.
  auto term = [&] { return static_cast<int16_t>(r.SB(bits)); };
  if (has_mult) {
    t.mult_r = term();
    t.mult_g = term();
    t.mult_b = term();
    t.mult_a = term();
  }
  if (has_add) {
    t.add_r = term();
    t.add_g = term();
    t.add_b = term();
    t.add_a = term();
  }
  r.Align();
  return t;
}

}  // namespace swf
