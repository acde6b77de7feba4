#include "button_picture.h"

#include <algorithm>
#include <climits>

namespace assetgen {
namespace {

constexpr Rgb kFaceTop = {240, 247, 255};
constexpr Rgb kFaceBottom = {196, 220, 247};
constexpr Rgb kFrame = {92, 135, 190};
constexpr Rgb kHighlight = {255, 255, 255};
constexpr int kHighlightAlpha = 170;
constexpr int kGlyphSpacing = 1;

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, int alpha) {
  return static_cast<std::uint8_t>((from * (255 - alpha) + to * alpha + 127) / 255);
}

Rgb Mix(Rgb from, Rgb to, int alpha) {
  return {Mix(from.r, to.r, alpha), Mix(from.g, to.g, alpha), Mix(from.b, to.b, alpha)};
}

void PaintFace(RgbImage& image) {
  const int last = image.height() - 1;
  for (int y = 0; y <= last; ++y) {
    const Rgb row = Mix(kFaceTop, kFaceBottom, (255 * y + last / 2) / last);
    for (int x = 0; x < image.width(); ++x) image.at(x, y) = row;
  }
  for (int x = 1; x < image.width() - 1; ++x) {
    image.at(x, 1) = Mix(image.at(x, 1), kHighlight, kHighlightAlpha);
  }
  const int right = image.width() - 1;
  for (int x = 0; x <= right; ++x) image.at(x, 0) = image.at(x, last) = kFrame;
  for (int y = 0; y <= last; ++y) image.at(0, y) = image.at(right, y) = kFrame;
}

struct PlacedGlyph {
  GlyphMask mask;
  int penX = 0;
};

void PaintCaption(RgbImage& image, const CaptionFont& font, std::u32string_view caption,
                  Rgb colour) {
  std::vector<PlacedGlyph> glyphs;
  int pen = 0;
  int inkLeft = INT_MAX, inkRight = INT_MIN, inkTop = INT_MIN, inkBottom = INT_MAX;
  for (char32_t codePoint : caption) {
    PlacedGlyph glyph{font.Render(codePoint), pen};
    const GlyphMask& m = glyph.mask;
    inkLeft = std::min(inkLeft, pen + m.left);
    inkRight = std::max(inkRight, pen + m.left + m.width);
    inkTop = std::max(inkTop, m.top);
    inkBottom = std::min(inkBottom, m.top - m.height);
    pen += m.advance + kGlyphSpacing;
    glyphs.push_back(std::move(glyph));
  }
  if (glyphs.empty()) return;
  // Centre the ink itself, not the advance boxes, so the caption sits in the visual middle.
  const int originX = (image.width() - (inkRight - inkLeft)) / 2 - inkLeft;
  const int baseline = (image.height() - (inkTop - inkBottom)) / 2 + inkTop;
  for (const PlacedGlyph& glyph : glyphs) {
    const GlyphMask& m = glyph.mask;
    for (int row = 0; row < m.height; ++row) {
      for (int column = 0; column < m.width; ++column) {
        const int x = originX + glyph.penX + m.left + column;
        const int y = baseline - m.top + row;
        if (x < 1 || y < 1 || x >= image.width() - 1 || y >= image.height() - 1) continue;
        const int alpha = m.coverage[static_cast<std::size_t>(row) * m.width + column];
        image.at(x, y) = Mix(image.at(x, y), colour, alpha);
      }
    }
  }
}

}  // namespace

RgbImage DrawButtonPicture(const CaptionFont& font, std::u32string_view caption, Rgb colour) {
  RgbImage image(kButtonWidth, kButtonHeight);
  PaintFace(image);
  PaintCaption(image, font, caption, colour);
  return image;
}

}  // namespace assetgen
