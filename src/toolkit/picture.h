// Pictures of the program's own assets.
#pragma once

#include <span>

#include "toolkit/handles.h"

namespace tk {

// A bitmap made from the bytes of a BMP file (uncompressed, 24 or 32 bits per pixel). Empty when
// the bytes are not such a file or do not hold all the pixels their header promises.
UniqueBitmap BitmapFromBmpFile(std::span<const unsigned char> file);

}  // namespace tk
