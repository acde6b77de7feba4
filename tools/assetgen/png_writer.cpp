#include "png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace assetgen {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 DPI
constexpr int kBytesPerPixel = 3;

void AppendU32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(value >> shift));
}

void AppendChunk(Bytes& out, std::string_view type, const Bytes& data) {
  AppendU32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
  AppendU32(out, static_cast<std::uint32_t>(crc));
}

unsigned char PaethPredictor(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<unsigned char>(left);
  if (toUp <= toUpLeft) return static_cast<unsigned char>(up);
  return static_cast<unsigned char>(upLeft);
}

Bytes FilterRow(int type, const Bytes& row, const Bytes& previous) {
  Bytes out(row.size());
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
    const int up = previous[i];
    const int upLeft = i >= kBytesPerPixel ? previous[i - kBytesPerPixel] : 0;
    int predicted = 0;
    switch (type) {
      case 1:
        predicted = left;
        break;
      case 2:
        predicted = up;
        break;
      case 3:
        predicted = (left + up) / 2;
        break;
      case 4:
        predicted = PaethPredictor(left, up, upLeft);
        break;
    }
    out[i] = static_cast<unsigned char>(row[i] - predicted);
  }
  return out;
}

// The usual heuristic: per row, the filter whose output bytes, read as signed, sum smallest in
// magnitude; the lowest filter type wins a tie.
Bytes FilteredScanlines(const RgbImage& image) {
  const std::size_t stride = static_cast<std::size_t>(image.width()) * kBytesPerPixel;
  Bytes previous(stride, 0);
  Bytes out;
  for (int y = 0; y < image.height(); ++y) {
    Bytes row;
    row.reserve(stride);
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      row.insert(row.end(), {p.r, p.g, p.b});
    }
    int bestType = 0;
    Bytes best;
    long bestScore = -1;
    for (int type = 0; type <= 4; ++type) {
      Bytes filtered = FilterRow(type, row, previous);
      long score = 0;
      for (unsigned char v : filtered) score += v < 128 ? v : 256 - v;
      if (bestScore < 0 || score < bestScore) {
        bestType = type;
        best = std::move(filtered);
        bestScore = score;
      }
    }
    out.push_back(static_cast<unsigned char>(bestType));
    out.insert(out.end(), best.begin(), best.end());
    previous = std::move(row);
  }
  return out;
}

Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  // compress2 always uses the default strategy and window: with a fixed level the stream is fixed.
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    throw std::runtime_error("zlib could not compress the image data");
  }
  out.resize(size);
  return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(const RgbImage& image) {
  Bytes png(kSignature.begin(), kSignature.end());

  Bytes header;
  AppendU32(header, static_cast<std::uint32_t>(image.width()));
  AppendU32(header, static_cast<std::uint32_t>(image.height()));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // depth, RGB, deflate, adaptive filters, no interlace
  AppendChunk(png, "IHDR", header);

  Bytes physical;
  AppendU32(physical, kPixelsPerMetre);
  AppendU32(physical, kPixelsPerMetre);
  physical.push_back(1);  // unit: metre
  AppendChunk(png, "pHYs", physical);

  Bytes chromaticities;
  for (std::uint32_t value : {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000}) {
    AppendU32(chromaticities, value);
  }
  AppendChunk(png, "cHRM", chromaticities);

  AppendChunk(png, "IDAT", Deflate(FilteredScanlines(image)));
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace assetgen
