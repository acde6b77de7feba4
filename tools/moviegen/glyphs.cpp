#include "glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bit_writer.h"
#include "swf_builder.h"

namespace moviegen {
namespace {

constexpr int kEm = 1024;

[[noreturn]] void Fail(const char* what, char32_t code) {
  std::fprintf(stderr, "moviegen: %s (U+%04X)\n", what, static_cast<unsigned>(code));
  std::exit(1);
}

// One glyph under construction: SWF records, and a flattened copy for the overlap check.
struct Builder {
  BitWriter writer;
  ShapeRecords records{writer, 1};
  bool first = true;
  int32_t x = 0, y = 0;
  struct Line {
    double x0, y0, x1, y1;
  };
  std::vector<Line> lines;
  swf::Rect bounds{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};

  void Cover(int32_t px, int32_t py) {
    bounds.x_min = std::min(bounds.x_min, px);
    bounds.x_max = std::max(bounds.x_max, px);
    bounds.y_min = std::min(bounds.y_min, py);
    bounds.y_max = std::max(bounds.y_max, py);
  }
};

// FreeType's y grows upwards; SWF's downwards.
int32_t X(const FT_Vector* v) {
  return static_cast<int32_t>(v->x);
}
int32_t Y(const FT_Vector* v) {
  return static_cast<int32_t>(-v->y);
}

int MoveTo(const FT_Vector* to, void* user) {
  auto& b = *static_cast<Builder*>(user);
  b.records.MoveTo(X(to), Y(to), b.first ? 1 : 0);
  b.first = false;
  b.x = X(to);
  b.y = Y(to);
  b.Cover(b.x, b.y);
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto& b = *static_cast<Builder*>(user);
  b.records.LineTo(X(to), Y(to));
  b.lines.push_back({double(b.x), double(b.y), double(X(to)), double(Y(to))});
  b.x = X(to);
  b.y = Y(to);
  b.Cover(b.x, b.y);
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto& b = *static_cast<Builder*>(user);
  b.records.CurveTo(X(control), Y(control), X(to), Y(to));
  constexpr int kPieces = 8;
  double px = b.x, py = b.y;
  for (int i = 1; i <= kPieces; ++i) {
    const double t = double(i) / kPieces, u = 1 - t;
    const double qx = u * u * b.x + 2 * u * t * X(control) + t * t * X(to);
    const double qy = u * u * b.y + 2 * u * t * Y(control) + t * t * Y(to);
    b.lines.push_back({px, py, qx, qy});
    px = qx;
    py = qy;
  }
  b.Cover(X(control), Y(control));
  b.x = X(to);
  b.y = Y(to);
  b.Cover(b.x, b.y);
  return 0;
}

int CubicTo(const FT_Vector*, const FT_Vector*, const FT_Vector*, void*) {
  return 1;  // not in a TrueType outline
}

// Whether some point of the glyph lies inside two contours, judged on a fine grid.
bool ContoursOverlap(const Builder& b) {
  constexpr int kStep = 4;
  for (int y = b.bounds.y_min; y <= b.bounds.y_max; y += kStep) {
    const double sy = y + 0.5;
    for (int x = b.bounds.x_min; x <= b.bounds.x_max; x += kStep) {
      const double sx = x + 0.5;
      int winding = 0;
      for (const auto& l : b.lines) {
        if ((l.y0 <= sy) == (l.y1 <= sy)) continue;
        const double cx = l.x0 + (sy - l.y0) * (l.x1 - l.x0) / (l.y1 - l.y0);
        if (cx > sx) winding += l.y1 > l.y0 ? 1 : -1;
      }
      if (winding > 1 || winding < -1) return true;
    }
  }
  return false;
}

}  // namespace

std::vector<Glyph> LoadGlyphs(const std::string& path, int face_index, std::u32string_view codes) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) Fail("FreeType does not start", 0);
  std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> library_owner(library,
                                                                             FT_Done_FreeType);
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), face_index, &face) != 0) Fail("cannot open the font", 0);
  std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> face_owner(face, FT_Done_Face);
  if (face->units_per_EM != kEm) Fail("the font's em is not 1024 units", 0);

  const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
  std::vector<Glyph> glyphs;
  for (char32_t code : codes) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) Fail("the font has no glyph", code);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
            0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
      Fail("the glyph has no outline", code);
    }
    Builder b;
    b.writer.UB(1, 4);  // NumFillBits
    b.writer.UB(0, 4);  // NumLineBits
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &b) != 0) {
      Fail("the outline does not decompose", code);
    }
    b.records.End();
    if (ContoursOverlap(b)) Fail("the glyph's contours overlap", code);
    Glyph glyph;
    glyph.code = code;
    glyph.shape = b.writer.bytes();
    glyph.advance = static_cast<int>(face->glyph->advance.x);
    glyph.bounds = b.first ? swf::Rect{} : b.bounds;
    glyphs.push_back(std::move(glyph));
  }
  return glyphs;
}

}  // namespace moviegen
