// Reducing a full-colour picture to at most 256 colours for a colour-mapped bitmap.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "picture.h"

namespace moviegen {

struct IndexedPicture {
  std::vector<std::array<uint8_t, 3>> palette;  // at most 256 RGB entries
  std::vector<uint8_t> indices;                 // Picture::kWidth x kHeight, rows top-down
};

// A palette fitted to the picture (median cut, refined by k-means) and the picture mapped to
// it with ordered dithering, which keeps gradients free of bands and compresses far better
// than error diffusion. Deterministic: the same picture gives the same bytes.
IndexedPicture ReduceColors(const Picture& picture);

}  // namespace moviegen
