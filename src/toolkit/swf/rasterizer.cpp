#include "toolkit/swf/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace {

constexpr int kSamplesPerPixel = 8;
constexpr double kFlatness = 0.05;  // pixels
constexpr int kMaxCurvePieces = 100;

struct Crossing {
  double x;
  int direction;
};

}  // namespace

void Outline::Line(double x0, double y0, double x1, double y1) {
  if (segments_.size() < kMaxSegments + 1) segments_.push_back({x0, y0, x1, y1});
}

void Outline::Quad(double x0, double y0, double cx, double cy, double x1, double y1) {
  // A quadratic's chords deviate from it by at most |p0 - 2c + p1| / (4 n^2) for n pieces.
  const double deviation = std::hypot(x0 - 2 * cx + x1, y0 - 2 * cy + y1);
  const int pieces = static_cast<int>(std::clamp(std::ceil(std::sqrt(deviation / (4 * kFlatness))),
                                                 1.0, static_cast<double>(kMaxCurvePieces)));
  double px = x0, py = y0;
  for (int i = 1; i <= pieces; ++i) {
    const double t = static_cast<double>(i) / pieces;
    const double u = 1 - t;
    const double x = i == pieces ? x1 : u * u * x0 + 2 * u * t * cx + t * t * x1;
    const double y = i == pieces ? y1 : u * u * y0 + 2 * u * t * cy + t * t * y1;
    Line(px, py, x, y);
    px = x;
    py = y;
  }
}

CoverageMask Rasterize(std::span<const Segment> segments, FillRule rule, int width, int height,
                       size_t& work) {
  CoverageMask mask;
  if (segments.empty() || segments.size() > kMaxSegments || width <= 0 || height <= 0) {
    return mask;
  }
  // Edges pointing down, sorted by their top; horizontal ones cross no sample row.
  struct ScanEdge {
    double top, bottom, x_at_top, slope;
    int direction;
  };
  std::vector<ScanEdge> edges;
  double min_x = width, max_x = 0, min_y = height, max_y = 0;
  for (const Segment& s : segments) {
    if (s.y0 == s.y1 || !std::isfinite(s.x0 + s.y0 + s.x1 + s.y1)) continue;
    const bool down = s.y0 < s.y1;
    ScanEdge e;
    e.top = down ? s.y0 : s.y1;
    e.bottom = down ? s.y1 : s.y0;
    e.x_at_top = down ? s.x0 : s.x1;
    e.slope = (s.x1 - s.x0) / (s.y1 - s.y0);
    e.direction = down ? 1 : -1;
    if (e.bottom <= 0 || e.top >= height) continue;
    edges.push_back(e);
    min_x = std::min({min_x, s.x0, s.x1});
    max_x = std::max({max_x, s.x0, s.x1});
    min_y = std::min(min_y, e.top);
    max_y = std::max(max_y, e.bottom);
  }
  if (edges.empty()) return mask;
  // The crossings to compute: every sample row that each edge spans within the area.
  size_t cost = 0;
  for (const ScanEdge& e : edges) {
    const double rows =
        (std::min(e.bottom, double(height)) - std::max(e.top, 0.0)) * kSamplesPerPixel;
    cost += static_cast<size_t>(rows) + 1;
  }
  if (cost > work) {
    work = 0;
    return mask;
  }
  work -= cost;
  std::sort(edges.begin(), edges.end(),
            [](const ScanEdge& a, const ScanEdge& b) { return a.top < b.top; });

  const int left = static_cast<int>(std::clamp(std::floor(min_x), 0.0, double(width)));
  const int right = static_cast<int>(std::clamp(std::ceil(max_x), 0.0, double(width)));
  const int top = static_cast<int>(std::clamp(std::floor(min_y), 0.0, double(height)));
  const int bottom = static_cast<int>(std::clamp(std::ceil(max_y), 0.0, double(height)));
  if (left >= right || top >= bottom) return mask;
  mask.left = left;
  mask.top = top;
  mask.width = right - left;
  mask.height = bottom - top;
  mask.alpha.assign(static_cast<size_t>(mask.width) * mask.height, 0);

  // Per row: partial coverage of single pixels, and a running count of fully covered ones
  // kept as differences, so a long span costs no more than a short one.
  std::vector<float> cover(mask.width + 1), runs(mask.width + 1);
  std::vector<size_t> active;
  std::vector<Crossing> crossings;
  size_t next = 0;
  auto add_span = [&](double a, double b) {
    a = std::clamp(a, double(left), double(right)) - left;
    b = std::clamp(b, double(left), double(right)) - left;
    if (b <= a) return;
    const int ia = static_cast<int>(a);
    const int ib = static_cast<int>(b);
    if (ia == ib) {
      cover[ia] += static_cast<float>(b - a);
      return;
    }
    cover[ia] += static_cast<float>(ia + 1 - a);
    runs[ia + 1] += 1;
    runs[ib] -= 1;
    cover[ib] += static_cast<float>(b - ib);
  };

  for (int row = top; row < bottom; ++row) {
    std::fill(cover.begin(), cover.end(), 0.0f);
    std::fill(runs.begin(), runs.end(), 0.0f);
    for (int sample = 0; sample < kSamplesPerPixel; ++sample) {
      const double y = row + (sample + 0.5) / kSamplesPerPixel;
      while (next < edges.size() && edges[next].top <= y) active.push_back(next++);
      std::erase_if(active, [&](size_t i) { return edges[i].bottom <= y; });
      crossings.clear();
      for (size_t i : active) {
        const ScanEdge& e = edges[i];
        crossings.push_back({e.x_at_top + (y - e.top) * e.slope, e.direction});
      }
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
      int winding = 0;
      for (size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += rule == FillRule::kNonZero ? crossings[i].direction : 1;
        const bool inside = rule == FillRule::kNonZero ? winding != 0 : (winding & 1) != 0;
        if (inside) add_span(crossings[i].x, crossings[i + 1].x);
      }
    }
    uint8_t* out = &mask.alpha[static_cast<size_t>(row - top) * mask.width];
    float running = 0;
    for (int x = 0; x < mask.width; ++x) {
      running += runs[x];
      const float value = (cover[x] + running) * (255.0f / kSamplesPerPixel) + 0.5f;
      out[x] = static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
    }
  }
  return mask;
}

}  // namespace swf
