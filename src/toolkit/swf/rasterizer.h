// Scanline rasterisation of filled outlines into anti-aliased coverage.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

struct Segment {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // pixels; y grows downwards
};

enum class FillRule { kNonZero, kEvenOdd };

// The outline as line segments, curves flattened to within a twentieth of a pixel.
class Outline {
 public:
  void Line(double x0, double y0, double x1, double y1);
  void Quad(double x0, double y0, double cx, double cy, double x1, double y1);
  const std::vector<Segment>& segments() const { return segments_; }

 private:
  std::vector<Segment> segments_;
};

// Coverage of the pixels in a box, 0 (outside) to 255 (covered), rows top-down.
struct CoverageMask {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> alpha;
  uint8_t At(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }
};

// The outline's coverage of a width x height pixel area, clipped to it: eight sample rows a
// pixel, each with its exact horizontal coverage, so a pixel-aligned rectangle covers its
// pixels fully. `work` is what the caller allows: the number of edge crossings of sample rows
// the outline may cost; it is reduced by what this one costs. The mask is empty (width 0)
// when nothing is covered, the outline has more than kMaxSegments segments or would cost more
// than `work`.
inline constexpr size_t kMaxSegments = 1u << 20;
CoverageMask Rasterize(std::span<const Segment> segments, FillRule rule, int width, int height,
                       size_t& work);

}  // namespace swf
