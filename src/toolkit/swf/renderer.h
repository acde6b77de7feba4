// Composes the frames of a decoded movie into pixels.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <tuple>
#include <vector>

#include "toolkit/swf/movie.h"
#include "toolkit/swf/rasterizer.h"
#include "toolkit/swf/timeline.h"

namespace swf {

class Renderer {
 public:
  // Keeps a reference to movie, which must outlive the renderer.
  explicit Renderer(const Movie& movie);

  // The size of the pixel buffer Render wants: the stage in pixels.
  int width() const { return movie_.width; }
  int height() const { return movie_.height; }

  // Composes frame `frame` (0-based, below the movie's frame count) into `pixels`: width() x
  // height() 32-bit words 0xAARRGGBB (bytes B, G, R, A in memory), rows top-down, every pixel
  // opaque. Any frame may follow any other. False, with pixels untouched, when the frame is
  // outside the movie or pixels has another size.
  //
  // Drawn: shapes with solid and bitmap fills (bitmaps nearest-neighbour, through any
  // matrix) and static text, through each object's matrix and colour transform. Not drawn:
  // outlines (line styles), gradient fills and clip layers (masks; what they mask is drawn
  // unmasked). An object too costly to rasterise (beyond a million outline segments, tens of
  // millions of sample crossings or 64 MiB of coverage) is drawn in part or not at all.
  bool Render(int frame, std::span<uint32_t> pixels);

 private:
  // What one drawable object puts on stage: a coverage mask and how to paint it.
  struct Layer {
    CoverageMask mask;
    Rgba color;                      // solid fills and text
    const Bitmap* bitmap = nullptr;  // bitmap fills
    bool repeat = false;
    double to_bitmap[6] = {};  // stage pixel to bitmap pixel: u = [0]x + [1]y + [2], v = ...
  };
  using CacheKey = std::tuple<uint16_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t>;

  // What building one object's layers may cost; past it, the rest of the object is left out.
  struct Budget {
    size_t segments;
    size_t crossings;
    size_t mask_bytes;
  };

  // The layers of the object, rasterised once for each character and matrix.
  const std::vector<Layer>& LayersOf(const DisplayObject& object);
  void AddShapeLayers(const Shape& shape, const Matrix& matrix, Budget& budget,
                      std::vector<Layer>& layers) const;
  void AddTextLayers(const Text& text, const Matrix& matrix, Budget& budget,
                     std::vector<Layer>& layers) const;
  // Appends the layer when its mask covers something and the budget holds it.
  static void Keep(Layer layer, Budget& budget, std::vector<Layer>& layers);
  void Composite(const Layer& layer, const ColorTransform& transform,
                 std::span<uint32_t> pixels) const;

  const Movie& movie_;
  Timeline timeline_;
  std::map<CacheKey, std::vector<Layer>> cache_;
  size_t cached_mask_bytes_ = 0;
};

}  // namespace swf
