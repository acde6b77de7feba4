// The format's small records that several tags share. Each reads from r and leaves it failed
// when the record runs past the data.
#pragma once

#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/movie.h"

namespace swf {

Rect ReadRect(BitReader& r);
Matrix ReadMatrix(BitReader& r);
Rgba ReadRgb(BitReader& r);
Rgba ReadRgba(BitReader& r);
// CXFORM (PlaceObject) leaves alpha untouched; CXFORMWITHALPHA (PlaceObject2) has alpha terms.
ColorTransform ReadColorTransform(BitReader& r, bool with_alpha);

}  // namespace swf
