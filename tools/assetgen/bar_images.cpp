#include "bar_images.h"

#include <algorithm>
#include <array>

namespace assetgen {
namespace {

struct Stop {
  int x;
  Rgb top;
  Rgb bottom;
};

constexpr std::array<Stop, 3> kFillStops = {{
    {0, {25, 255, 251}, {15, 107, 155}},
    {150, {241, 253, 239}, {24, 105, 27}},
    {298, {247, 244, 31}, {125, 91, 19}},
}};

// Bilinear inside one span of columns, in integers so that the stop colours come out exact.
std::uint8_t Interpolate(int x, int y, const Stop& from, const Stop& to,
                         std::uint8_t Rgb::*channel) {
  const int span = to.x - from.x;
  const int last = kBarHeight - 1;
  const long top = long{from.top.*channel} * (to.x - x) + long{to.top.*channel} * (x - from.x);
  const long bottom =
      long{from.bottom.*channel} * (to.x - x) + long{to.bottom.*channel} * (x - from.x);
  const long numerator = top * (last - y) + bottom * y;
  const long denominator = long{span} * last;
  return static_cast<std::uint8_t>((2 * numerator + denominator) / (2 * denominator));
}

}  // namespace

RgbImage DrawTrackImage() {
  return RgbImage(kBarWidth, kBarHeight, {255, 255, 153});
}

RgbImage DrawFillImage() {
  RgbImage image(kBarWidth, kBarHeight);
  for (int x = 0; x < kBarWidth; ++x) {
    const int column = std::min(x, kFillStops.back().x);
    const std::size_t span = column < kFillStops[1].x ? 0 : 1;
    const Stop& from = kFillStops[span];
    const Stop& to = kFillStops[span + 1];
    for (int y = 0; y < kBarHeight; ++y) {
      image.at(x, y) = {Interpolate(column, y, from, to, &Rgb::r),
                        Interpolate(column, y, from, to, &Rgb::g),
                        Interpolate(column, y, from, to, &Rgb::b)};
    }
  }
  return image;
}

}  // namespace assetgen
