// An opaque picture of 8-bit RGB pixels, addressed from the top-left corner.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

class RgbImage {
 public:
  RgbImage(int width, int height, Rgb fill = {})
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace assetgen
