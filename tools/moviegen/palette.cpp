#include "palette.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>

namespace moviegen {
namespace {

constexpr size_t kColors = 256;
constexpr int kKMeansRounds = 8;
constexpr double kDitherAmplitude = 7.0;  // in 0..255 channel steps

using Rgb = std::array<int, 3>;

struct Weighted {
  Rgb color;
  uint32_t count;
};

// The 8 x 8 Bayer matrix.
int Bayer(int x, int y) {
  int value = 0;
  for (int bit = 0; bit < 3; ++bit) {
    const int bx = (x >> bit) & 1, by = (y >> bit) & 1;
    value |= ((bx ^ by) << (5 - 2 * bit)) | (by << (4 - 2 * bit));
  }
  return value;
}

int Channel(float v) {
  return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
}

int Distance(const Rgb& a, const Rgb& b) {
  const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  // Green weighs most and blue least, roughly as the eye sees differences.
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

size_t Nearest(const std::vector<Rgb>& palette, const Rgb& c) {
  size_t best = 0;
  int best_distance = Distance(palette[0], c);
  for (size_t i = 1; i < palette.size(); ++i) {
    const int d = Distance(palette[i], c);
    if (d < best_distance) {
      best_distance = d;
      best = i;
    }
  }
  return best;
}

std::vector<Rgb> MedianCut(std::vector<Weighted> colors) {
  struct Box {
    size_t begin, end;
  };
  std::vector<Box> boxes{{0, colors.size()}};
  auto range = [&](const Box& b, int axis) {
    int low = 255, high = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
      low = std::min(low, colors[i].color[axis]);
      high = std::max(high, colors[i].color[axis]);
    }
    return high - low;
  };
  while (boxes.size() < kColors) {
    // Split the box whose widest side, weighted by its pixels, is the largest.
    size_t chosen = boxes.size();
    double chosen_score = 0;
    int chosen_axis = 0;
    for (size_t k = 0; k < boxes.size(); ++k) {
      if (boxes[k].end - boxes[k].begin < 2) continue;
      uint64_t pixels = 0;
      for (size_t i = boxes[k].begin; i < boxes[k].end; ++i) pixels += colors[i].count;
      for (int axis = 0; axis < 3; ++axis) {
        const double score = range(boxes[k], axis) * std::sqrt(static_cast<double>(pixels));
        if (score > chosen_score) {
          chosen_score = score;
          chosen = k;
          chosen_axis = axis;
        }
      }
    }
    if (chosen == boxes.size()) break;
    Box& box = boxes[chosen];
    std::sort(colors.begin() + static_cast<ptrdiff_t>(box.begin),
              colors.begin() + static_cast<ptrdiff_t>(box.end),
              [&](const Weighted& a, const Weighted& b) {
                if (a.color[chosen_axis] != b.color[chosen_axis]) {
                  return a.color[chosen_axis] < b.color[chosen_axis];
                }
                return a.color < b.color;
              });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colors[i].count;
    uint64_t seen = 0;
    size_t split = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      seen += colors[i].count;
      split = i + 1;
      if (seen * 2 >= total) break;
    }
    const Box upper{split, box.end};
    box.end = split;
    boxes.push_back(upper);
  }
  std::vector<Rgb> palette;
  for (const Box& b : boxes) {
    double sum[3] = {0, 0, 0};
    double weight = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
      for (int axis = 0; axis < 3; ++axis)
        sum[axis] += double(colors[i].color[axis]) * colors[i].count;
      weight += colors[i].count;
    }
    palette.push_back({static_cast<int>(std::lround(sum[0] / weight)),
                       static_cast<int>(std::lround(sum[1] / weight)),
                       static_cast<int>(std::lround(sum[2] / weight))});
  }
  return palette;
}

void Refine(const std::vector<Weighted>& colors, std::vector<Rgb>& palette) {
  for (int round = 0; round < kKMeansRounds; ++round) {
    std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
    for (const Weighted& w : colors) {
      auto& s = sums[Nearest(palette, w.color)];
      for (int axis = 0; axis < 3; ++axis) s[axis] += double(w.color[axis]) * w.count;
      s[3] += w.count;
    }
    for (size_t i = 0; i < palette.size(); ++i) {
      if (sums[i][3] == 0) continue;
      for (int axis = 0; axis < 3; ++axis) {
        palette[i][axis] = static_cast<int>(std::lround(sums[i][axis] / sums[i][3]));
      }
    }
  }
}

}  // namespace

IndexedPicture ReduceColors(const Picture& picture) {
  std::map<Rgb, uint32_t> histogram;
  for (const Color& c : picture.pixels) ++histogram[{Channel(c.r), Channel(c.g), Channel(c.b)}];
  std::vector<Weighted> colors;
  for (const auto& [color, count] : histogram) colors.push_back({color, count});

  std::vector<Rgb> palette = MedianCut(colors);
  Refine(colors, palette);
  // Dark to light, so that neighbouring indices hold neighbouring colours.
  std::sort(palette.begin(), palette.end(), [](const Rgb& a, const Rgb& b) {
    const int la = 3 * a[0] + 6 * a[1] + a[2], lb = 3 * b[0] + 6 * b[1] + b[2];
    return la != lb ? la < lb : a < b;
  });
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());

  IndexedPicture out;
  for (const Rgb& c : palette) {
    out.palette.push_back(
        {static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]), static_cast<uint8_t>(c[2])});
  }
  out.indices.resize(picture.pixels.size());
  std::map<Rgb, uint8_t> nearest;
  for (int y = 0; y < Picture::kHeight; ++y) {
    for (int x = 0; x < Picture::kWidth; ++x) {
      const Color& c = picture.At(x, y);
      const double offset = (Bayer(x, y) + 0.5) / 64.0 - 0.5;
      const float shift = static_cast<float>(offset * kDitherAmplitude / 255.0);
      const Rgb target{Channel(c.r + shift), Channel(c.g + shift), Channel(c.b + shift)};
      auto found = nearest.find(target);
      if (found == nearest.end()) {
        found = nearest.emplace(target, static_cast<uint8_t>(Nearest(palette, target))).first;
      }
      out.indices[static_cast<size_t>(y) * Picture::kWidth + x] = found->second;
    }
  }
  return out;
}

}  // namespace moviegen
