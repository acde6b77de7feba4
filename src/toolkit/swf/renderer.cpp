#include "toolkit/swf/renderer.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace {

constexpr double kTwipsPerPixel = 20;
constexpr double kGlyphEm = 1024;
constexpr size_t kMaxCachedObjects = 256;
constexpr size_t kMaxCachedMaskBytes = size_t{128} << 20;
// A generous multiple of what the splash movie's costliest object needs.
constexpr size_t kMaxObjectCrossings = size_t{1} << 25;
constexpr size_t kMaxObjectMaskBytes = size_t{64} << 20;

// x' = a x + c y + tx, y' = b x + d y + ty.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  static Affine Of(const Matrix& m) {
    constexpr double kFixed = 65536;
    return {m.scale_x / kFixed, m.skew0 / kFixed,      m.skew1 / kFixed,
            m.scale_y / kFixed, double(m.translate_x), double(m.translate_y)};
  }
  // This after `inner`.
  Affine Then(const Affine& inner) const {
    return {a * inner.a + c * inner.b,        b * inner.a + d * inner.b,
            a * inner.c + c * inner.d,        b * inner.c + d * inner.d,
            a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
  }
  bool Invert(Affine& inverse) const {
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
    inverse = {
        d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    return true;
  }
  double X(double x, double y) const { return a * x + c * y + tx; }
  double Y(double x, double y) const { return b * x + d * y + ty; }
};

void AddEdge(Outline& outline, const Affine& m, const Edge& e) {
  const double x0 = m.X(e.from.x, e.from.y), y0 = m.Y(e.from.x, e.from.y);
  const double x1 = m.X(e.to.x, e.to.y), y1 = m.Y(e.to.x, e.to.y);
  if (e.curved) {
    outline.Quad(x0, y0, m.X(e.control.x, e.control.y), m.Y(e.control.x, e.control.y), x1, y1);
  } else {
    outline.Line(x0, y0, x1, y1);
  }
}

// A colour transform as four lookup tables over straight (not premultiplied) channels.
struct ChannelMaps {
  uint8_t r[256], g[256], b[256], a[256];

  explicit ChannelMaps(const ColorTransform& t) {
    auto fill = [](uint8_t* map, int mult, int add) {
      for (int v = 0; v < 256; ++v)
        map[v] = static_cast<uint8_t>(std::clamp(((v * mult) >> 8) + add, 0, 255));
    };
    fill(r, t.mult_r, t.add_r);
    fill(g, t.mult_g, t.add_g);
    fill(b, t.mult_b, t.add_b);
    fill(a, t.mult_a, t.add_a);
  }

  // A premultiplied pixel, transformed.
  uint32_t Apply(uint32_t pixel) const {
    const uint32_t alpha = pixel >> 24;
    uint32_t cr = (pixel >> 16) & 0xFF, cg = (pixel >> 8) & 0xFF, cb = pixel & 0xFF;
    if (alpha != 255 && alpha != 0) {
      cr = cr * 255 / alpha;
      cg = cg * 255 / alpha;
      cb = cb * 255 / alpha;
    }
    return Premultiply(a[alpha], r[cr], g[cg], b[cb]);
  }
  uint32_t Apply(const Rgba& c) const { return Premultiply(a[c.a], r[c.r], g[c.g], b[c.b]); }

  static uint32_t Premultiply(uint32_t alpha, uint32_t cr, uint32_t cg, uint32_t cb) {
    if (alpha != 255) {
      cr = (cr * alpha + 127) / 255;
      cg = (cg * alpha + 127) / 255;
      cb = (cb * alpha + 127) / 255;
    }
    return alpha << 24 | cr << 16 | cg << 8 | cb;
  }
};

// A premultiplied source over an opaque destination, with coverage.
uint32_t Over(uint32_t dst, uint32_t src, uint32_t coverage) {
  const uint32_t source_alpha = src >> 24;
  if (coverage == 255 && source_alpha == 255) return src;
  const uint32_t keep = 255 * 255 - source_alpha * coverage;
  auto channel = [&](int shift) {
    const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    return ((s * coverage * 255 + d * keep + 255 * 255 / 2) / (255 * 255)) << shift;
  };
  return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

uint32_t Opaque(const Rgba& c) {
  return 0xFF000000u | uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}

}  // namespace

Renderer::Renderer(const Movie& movie) : movie_(movie), timeline_(movie) {}

bool Renderer::Render(int frame, std::span<uint32_t> pixels) {
  if (frame < 0 || frame >= movie_.frame_count) return false;
  if (pixels.size() != static_cast<size_t>(movie_.width) * movie_.height) return false;
  std::fill(pixels.begin(), pixels.end(), Opaque(movie_.background));
  for (const auto& [depth, object] : timeline_.GoTo(frame)) {
    if (object.clip_layer) continue;
    for (const Layer& layer : LayersOf(object)) Composite(layer, object.color_transform, pixels);
  }
  return true;
}

const std::vector<Renderer::Layer>& Renderer::LayersOf(const DisplayObject& object) {
  const Matrix& m = object.matrix;
  const CacheKey key{object.character, m.scale_x,     m.scale_y,    m.skew0,
                     m.skew1,          m.translate_x, m.translate_y};
  if (const auto found = cache_.find(key); found != cache_.end()) return found->second;
  // Objects that move every frame would fill the cache with matrices never seen again.
  if (cache_.size() >= kMaxCachedObjects || cached_mask_bytes_ > kMaxCachedMaskBytes) {
    cache_.clear();
    cached_mask_bytes_ = 0;
  }
  std::vector<Layer>& layers = cache_[key];
  const auto character = movie_.characters.find(object.character);
  if (character == movie_.characters.end()) return layers;
  Budget budget{kMaxSegments, kMaxObjectCrossings, kMaxObjectMaskBytes};
  if (const auto* shape = std::get_if<Shape>(&character->second)) {
    AddShapeLayers(*shape, m, budget, layers);
  } else if (const auto* text = std::get_if<Text>(&character->second)) {
    AddTextLayers(*text, m, budget, layers);
  }
  cached_mask_bytes_ += kMaxObjectMaskBytes - budget.mask_bytes;
  return layers;
}

void Renderer::Keep(Layer layer, Budget& budget, std::vector<Layer>& layers) {
  const size_t bytes = layer.mask.alpha.size();
  if (layer.mask.width == 0 || bytes > budget.mask_bytes) return;
  budget.mask_bytes -= bytes;
  layers.push_back(std::move(layer));
}

void Renderer::AddShapeLayers(const Shape& shape, const Matrix& matrix, Budget& budget,
                              std::vector<Layer>& layers) const {
  const Affine to_pixels = Affine{1 / kTwipsPerPixel,
                                  0,
                                  0,
                                  1 / kTwipsPerPixel,
                                  -movie_.stage.x_min / kTwipsPerPixel,
                                  -movie_.stage.y_min / kTwipsPerPixel}
                               .Then(Affine::Of(matrix));
  // Each fill's region is bounded by the edges that have the fill on one side only.
  std::vector<Outline> outlines(shape.fills.size() + 1);
  size_t segments = 0;
  for (const Edge& e : shape.edges) {
    if (e.fill0 == e.fill1) continue;  // inside one fill, the edge bounds nothing
    for (const uint16_t fill : {e.fill0, e.fill1}) {
      if (fill == 0) continue;
      const size_t before = outlines[fill].segments().size();
      AddEdge(outlines[fill], to_pixels, e);
      segments += outlines[fill].segments().size() - before;
    }
    if (segments > budget.segments) return;
  }
  budget.segments -= segments;
  for (size_t i = 1; i < outlines.size(); ++i) {
    const FillStyle& fill = shape.fills[i - 1];
    if (fill.kind == FillStyle::Kind::kUnsupported || outlines[i].segments().empty()) continue;
    Layer layer;
    if (fill.kind == FillStyle::Kind::kBitmap) {
      const auto character = movie_.characters.find(fill.bitmap);
      if (character == movie_.characters.end()) continue;
      layer.bitmap = std::get_if<Bitmap>(&character->second);
      Affine inverse;
      if (layer.bitmap == nullptr ||
          !to_pixels.Then(Affine::Of(fill.bitmap_matrix)).Invert(inverse)) {
        continue;
      }
      layer.repeat = fill.repeat;
      const double to_bitmap[6] = {inverse.a, inverse.c, inverse.tx,
                                   inverse.b, inverse.d, inverse.ty};
      std::copy(std::begin(to_bitmap), std::end(to_bitmap), layer.to_bitmap);
    } else {
      layer.color = fill.color;
    }
    layer.mask = Rasterize(outlines[i].segments(), FillRule::kEvenOdd, movie_.width, movie_.height,
                           budget.crossings);
    Keep(std::move(layer), budget, layers);
  }
}

void Renderer::AddTextLayers(const Text& text, const Matrix& matrix, Budget& budget,
                             std::vector<Layer>& layers) const {
  const Affine to_pixels = Affine{1 / kTwipsPerPixel,
                                  0,
                                  0,
                                  1 / kTwipsPerPixel,
                                  -movie_.stage.x_min / kTwipsPerPixel,
                                  -movie_.stage.y_min / kTwipsPerPixel}
                               .Then(Affine::Of(matrix))
                               .Then(Affine::Of(text.matrix));
  for (const TextRun& run : text.runs) {
    const auto character = movie_.characters.find(run.font);
    if (character == movie_.characters.end()) continue;
    const auto* font = std::get_if<Font>(&character->second);
    if (font == nullptr) continue;
    const double scale = run.height / kGlyphEm;
    // Glyphs are filled one by one: the even-odd rule holds within a glyph, not across two
    // that touch.
    for (const GlyphPlacement& glyph : run.glyphs) {
      if (glyph.index >= font->glyphs.size()) continue;
      const Affine glyph_to_pixels =
          to_pixels.Then(Affine{scale, 0, 0, scale, double(glyph.x), double(run.y)});
      Outline outline;
      for (const Edge& e : font->glyphs[glyph.index]) {
        AddEdge(outline, glyph_to_pixels, e);
        if (outline.segments().size() > budget.segments) return;
      }
      budget.segments -= outline.segments().size();
      Layer layer;
      layer.color = run.color;
      layer.mask = Rasterize(outline.segments(), FillRule::kEvenOdd, movie_.width, movie_.height,
                             budget.crossings);
      Keep(std::move(layer), budget, layers);
    }
  }
}

void Renderer::Composite(const Layer& layer, const ColorTransform& transform,
                         std::span<uint32_t> pixels) const {
  const CoverageMask& mask = layer.mask;
  const bool identity = transform.IsIdentity();
  const ChannelMaps maps(transform);
  if (layer.bitmap == nullptr) {
    const uint32_t color = maps.Apply(layer.color);
    for (int y = 0; y < mask.height; ++y) {
      uint32_t* row = &pixels[static_cast<size_t>(mask.top + y) * movie_.width + mask.left];
      for (int x = 0; x < mask.width; ++x) {
        if (const uint8_t coverage = mask.At(x, y)) row[x] = Over(row[x], color, coverage);
      }
    }
    return;
  }
  const Bitmap& bitmap = *layer.bitmap;
  const double* m = layer.to_bitmap;
  auto texel = [&](double u, double v) {
    // Far outside the bitmap, u and v may not fit an integer: clamp before converting.
    constexpr double kLimit = 1 << 30;
    int64_t iu = static_cast<int64_t>(std::floor(std::clamp(u, -kLimit, kLimit)));
    int64_t iv = static_cast<int64_t>(std::floor(std::clamp(v, -kLimit, kLimit)));
    if (layer.repeat) {
      iu = ((iu % bitmap.width) + bitmap.width) % bitmap.width;
      iv = ((iv % bitmap.height) + bitmap.height) % bitmap.height;
    } else {
      iu = std::clamp<int64_t>(iu, 0, bitmap.width - 1);
      iv = std::clamp<int64_t>(iv, 0, bitmap.height - 1);
    }
    return bitmap.pixels[static_cast<size_t>(iv) * bitmap.width + static_cast<size_t>(iu)];
  };
  for (int y = 0; y < mask.height; ++y) {
    const double py = mask.top + y + 0.5;
    uint32_t* row = &pixels[static_cast<size_t>(mask.top + y) * movie_.width + mask.left];
    for (int x = 0; x < mask.width; ++x) {
      const uint8_t coverage = mask.At(x, y);
      if (coverage == 0) continue;
      const double px = mask.left + x + 0.5;
      uint32_t source = texel(m[0] * px + m[1] * py + m[2], m[3] * px + m[4] * py + m[5]);
      if (!identity) source = maps.Apply(source);
      row[x] = Over(row[x], source, coverage);
    }
  }
}

}  // namespace swf
