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
// CXFORMWITHALPHA, the colour transform of PlaceObject2.
ColorTransform ReadColorTransformWithAlpha(BitReader& r);

}  // namespace swf
