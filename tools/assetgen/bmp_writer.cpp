#include "bmp_writer.h"

#include <cstdint>

namespace assetgen {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 DPI

void AppendU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<unsigned char>(value));
  out.push_back(static_cast<unsigned char>(value >> 8));
}

void AppendU32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<unsigned char>(value >> shift));
}

}  // namespace

std::vector<unsigned char> EncodeBmp(const RgbImage& image) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(image.width()) * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height());
  const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

  Bytes bmp;
  bmp.reserve(pixelOffset + pixelBytes);
  bmp.push_back('B');
  bmp.push_back('M');
  AppendU32(bmp, pixelOffset + pixelBytes);
  AppendU32(bmp, 0);  // two reserved words
  AppendU32(bmp, pixelOffset);

  AppendU32(bmp, kInfoHeaderSize);
  AppendU32(bmp, static_cast<std::uint32_t>(image.width()));
  AppendU32(bmp, static_cast<std::uint32_t>(image.height()));  // positive: bottom-up
  AppendU16(bmp, 1);                                           // planes
  AppendU16(bmp, 24);                                          // bits per pixel
  AppendU32(bmp, 0);                                           // BI_RGB
  AppendU32(bmp, pixelBytes);
  AppendU32(bmp, static_cast<std::uint32_t>(kPixelsPerMetre));
  AppendU32(bmp, static_cast<std::uint32_t>(kPixelsPerMetre));
  AppendU32(bmp, 0);  // colours used
  AppendU32(bmp, 0);  // important colours

  for (int y = image.height() - 1; y >= 0; --y) {
    const std::size_t rowStart = bmp.size();
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      bmp.insert(bmp.end(), {p.b, p.g, p.r});
    }
    bmp.resize(rowStart + stride, 0);
  }
  return bmp;
}

}  // namespace assetgen
