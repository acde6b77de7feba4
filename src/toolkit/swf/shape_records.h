// SHAPE and SHAPEWITHSTYLE: the edge lists of shapes and glyphs.
#pragma once

#include <cstddef>
#include <vector>

#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/movie.h"

namespace swf {

// The fill styles, line styles and shape records of a DefineShape of shape_version 1 to 3.
// Edges that separate no fill are dropped. False when the records are malformed, a fill style
// is of an unknown type, a coordinate leaves +-2^30 twips or more than max_edges edges come.
bool ReadShapeWithStyle(BitReader& r, int shape_version, size_t max_edges, Shape& shape);

// A glyph's SHAPE: every edge of its outline, whatever fill the records select. False as for
// ReadShapeWithStyle; records that bring new styles are malformed here.
bool ReadGlyphShape(BitReader& r, size_t max_edges, std::vector<Edge>& edges);

}  // namespace swf
