// A full-colour picture of the stage's size, painted by sampling a scene function.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace moviegen {

// sRGB channels in 0..1.
struct Color {
  float r = 0, g = 0, b = 0;
};

Color Hex(uint32_t rgb);
Color Mix(Color a, Color b, float t);
Color Scale(Color c, float f);
// Source over destination with opacity `alpha`.
inline Color Over(Color destination, Color source, float alpha) {
  return Mix(destination, source, alpha);
}

struct Picture {
  static constexpr int kWidth = 600;
  static constexpr int kHeight = 300;
  std::vector<Color> pixels = std::vector<Color>(kWidth * kHeight);
  Color& At(int x, int y) { return pixels[static_cast<size_t>(y) * kWidth + x]; }
  const Color& At(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }
};

// Each pixel the mean of samples x samples evaluations of scene(x, y) spread over the pixel
// (x right, y down, in pixels from the top-left corner).
Picture SamplePicture(const std::function<Color(double x, double y)>& scene, int samples);

}  // namespace moviegen
