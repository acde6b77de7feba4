#include "picture.h"

namespace moviegen {

Color Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f};
}

Color Mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color Scale(Color c, float f) {
  return {c.r * f, c.g * f, c.b * f};
}

Picture SamplePicture(const std::function<Color(double x, double y)>& scene, int samples) {
  Picture picture;
  const float weight = 1.0f / (samples * samples);
  for (int y = 0; y < Picture::kHeight; ++y) {
    for (int x = 0; x < Picture::kWidth; ++x) {
      Color sum;
      for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
          const Color c = scene(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
          sum.r += c.r;
          sum.g += c.g;
          sum.b += c.b;
        }
      }
      picture.At(x, y) = Scale(sum, weight);
    }
  }
  return picture;
}

}  // namespace moviegen
