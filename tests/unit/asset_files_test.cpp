// Reads the committed asset files with a decoder of its own (zlib for inflate and CRC-32) and
// checks what the program relies on: the PNG layout and colours of the bar images, the BMP layout
// of the button pictures, and hover pictures that differ from the normal ones only in a red
// caption.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) {
  *os << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

Bytes ReadAsset(const std::string& name) {
  std::ifstream in(std::string(ASSET_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t BigEndian32(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint32_t LittleEndian32(const unsigned char* p) {
  return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

int LittleEndian16(const unsigned char* p) {
  return p[1] << 8 | p[0];
}

struct Png {
  std::vector<std::string> chunks;
  Bytes header, physical, chromaticities, compressed;
  int width = 0, height = 0;
  Bytes rgb;
  Rgb at(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

void DecodePng(const std::string& name, Png& png) {
  const Bytes file = ReadAsset(name);
  const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GE(file.size(), signature.size()) << name;
  ASSERT_TRUE(std::equal(signature.begin(), signature.end(), file.begin())) << name;
  std::size_t at = signature.size();
  while (at < file.size()) {
    ASSERT_LE(at + 12, file.size()) << name;
    const std::uint32_t length = BigEndian32(&file[at]);
    ASSERT_LE(at + 12 + length, file.size()) << name;
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    const Bytes data(file.begin() + at + 8, file.begin() + at + 8 + length);
    EXPECT_EQ(crc32(0, &file[at + 4], length + 4), BigEndian32(&file[at + 8 + length]))
        << name << " " << type;
    png.chunks.push_back(type);
    if (type == "IHDR") png.header = data;
    if (type == "pHYs") png.physical = data;
    if (type == "cHRM") png.chromaticities = data;
    if (type == "IDAT") png.compressed.insert(png.compressed.end(), data.begin(), data.end());
    at += 12 + length;
  }
  ASSERT_EQ(png.header.size(), 13u) << name;
  png.width = static_cast<int>(BigEndian32(&png.header[0]));
  png.height = static_cast<int>(BigEndian32(&png.header[4]));
  ASSERT_EQ(png.header[8], 8) << name;
  ASSERT_EQ(png.header[9], 2) << name;
  ASSERT_EQ(png.header[12], 0) << name;

  const std::size_t stride = static_cast<std::size_t>(png.width) * 3;
  Bytes raw((stride + 1) * png.height);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, png.compressed.data(), png.compressed.size()), Z_OK)
      << name;
  ASSERT_EQ(rawSize, raw.size()) << name;
  png.rgb.assign(stride * png.height, 0);
  for (int y = 0; y < png.height; ++y) {
    const unsigned char filter = raw[y * (stride + 1)];
    ASSERT_LE(filter, 4) << name << " row " << y;
    const unsigned char* in = &raw[y * (stride + 1) + 1];
    unsigned char* out = &png.rgb[y * stride];
    const unsigned char* up = y > 0 ? out - stride : nullptr;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= 3 ? out[i - 3] : 0;
      const int b = up ? up[i] : 0;
      const int c = up && i >= 3 ? up[i - 3] : 0;
      const int predictor[] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
      out[i] = static_cast<unsigned char>(in[i] + predictor[filter]);
    }
  }
}

void ExpectBarLayout(const std::string& name, const Png& png) {
  EXPECT_EQ(png.chunks, (std::vector<std::string>{"IHDR", "pHYs", "cHRM", "IDAT", "IEND"})) << name;
  EXPECT_EQ(png.width, 300) << name;
  EXPECT_EQ(png.height, 10) << name;
  EXPECT_EQ(png.header[10], 0) << name;  // deflate
  EXPECT_EQ(png.header[11], 0) << name;  // adaptive filtering
  ASSERT_EQ(png.physical.size(), 9u) << name;
  EXPECT_EQ(BigEndian32(&png.physical[0]), 2835u) << name;
  EXPECT_EQ(BigEndian32(&png.physical[4]), 2835u) << name;
  EXPECT_EQ(png.physical[8], 1) << name;
  ASSERT_EQ(png.chromaticities.size(), 32u) << name;
  const std::array<std::uint32_t, 8> srgb = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
  for (std::size_t i = 0; i < srgb.size(); ++i) {
    EXPECT_EQ(BigEndian32(&png.chromaticities[i * 4]), srgb[i]) << name << " value " << i;
  }
}

TEST(BarImages, TrackIsPaleYellowEverywhere) {
  Png png;
  ASSERT_NO_FATAL_FAILURE(DecodePng("track.png", png));
  ExpectBarLayout("track.png", png);
  for (int y = 0; y < png.height; ++y) {
    for (int x = 0; x < png.width; ++x) {
      ASSERT_EQ(png.at(x, y), (Rgb{255, 255, 153})) << x << ", " << y;
    }
  }
}

TEST(BarImages, FillRunsCyanGreenYellowFromLightToDark) {
  Png png;
  ASSERT_NO_FATAL_FAILURE(DecodePng("fill.png", png));
  ExpectBarLayout("fill.png", png);
  EXPECT_EQ(png.at(0, 0), (Rgb{25, 255, 251}));
  EXPECT_EQ(png.at(150, 0), (Rgb{241, 253, 239}));
  EXPECT_EQ(png.at(298, 0), (Rgb{247, 244, 31}));
  EXPECT_EQ(png.at(0, 9), (Rgb{15, 107, 155}));
  EXPECT_EQ(png.at(150, 9), (Rgb{24, 105, 27}));
  EXPECT_EQ(png.at(298, 9), (Rgb{125, 91, 19}));
}

struct Bmp {
  int width = 0, height = 0;
  Bytes file;
  Rgb at(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const unsigned char* p = &file[54 + (height - 1 - y) * stride + x * 3];
    return {p[2], p[1], p[0]};
  }
};

const char* const kButtons[] = {"button_cancel", "button_browse", "button_install"};

void ReadButton(const std::string& name, Bmp& bmp) {
  bmp.file = ReadAsset(name);
  // 60 x 21 at 3 bytes a pixel: 180-byte rows, already a multiple of 4.
  ASSERT_EQ(bmp.file.size(), 54u + 180 * 21) << name;
  EXPECT_EQ(bmp.file[0], 'B') << name;
  EXPECT_EQ(bmp.file[1], 'M') << name;
  EXPECT_EQ(LittleEndian32(&bmp.file[2]), bmp.file.size()) << name;
  EXPECT_EQ(LittleEndian32(&bmp.file[10]), 54u) << name;  // pixels follow the two headers
  EXPECT_EQ(LittleEndian32(&bmp.file[14]), 40u) << name;  // BITMAPINFOHEADER
  bmp.width = static_cast<int>(LittleEndian32(&bmp.file[18]));
  bmp.height = static_cast<int>(LittleEndian32(&bmp.file[22]));  // positive: bottom-up
  EXPECT_EQ(bmp.width, 60) << name;
  EXPECT_EQ(bmp.height, 21) << name;
  EXPECT_EQ(LittleEndian16(&bmp.file[26]), 1) << name;
  EXPECT_EQ(LittleEndian16(&bmp.file[28]), 24) << name;
  EXPECT_EQ(LittleEndian32(&bmp.file[30]), 0u) << name;  // BI_RGB
  ASSERT_EQ(bmp.width * bmp.height, 60 * 21) << name;
}

TEST(ButtonPictures, HoverDiffersOnlyInACentredRedCaption) {
  for (const std::string button : kButtons) {
    SCOPED_TRACE(button);
    Bmp normal, hover;
    ASSERT_NO_FATAL_FAILURE(ReadButton(button + "_normal.bmp", normal));
    ASSERT_NO_FATAL_FAILURE(ReadButton(button + "_hover.bmp", hover));
    int left = normal.width, right = -1, top = normal.height, bottom = -1;
    int dark = 0, notRedder = 0, darkNotRed = 0;
    for (int y = 0; y < normal.height; ++y) {
      for (int x = 0; x < normal.width; ++x) {
        const Rgb n = normal.at(x, y), h = hover.at(x, y);
        if (n == h) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        if (h.r - n.r <= 2 * std::max({h.g - n.g, h.b - n.b, 0})) ++notRedder;
        if (std::max({n.r, n.g, n.b}) < 80) {
          ++dark;
          if (h.r < 150 || std::max(h.g, h.b) >= 100) ++darkNotRed;
        }
      }
    }
    EXPECT_EQ(notRedder, 0) << "pixels that the hover picture changes other than toward red";
    EXPECT_EQ(darkNotRed, 0) << "dark caption pixels that are not red in the hover picture";
    EXPECT_GE(dark, 30) << "the caption has hardly any dark pixels";
    EXPECT_GE(left, 1) << "the caption covers the frame";
    EXPECT_LE(right, normal.width - 2) << "the caption covers the frame";
    EXPECT_GE(top, 1) << "the caption covers the frame";
    EXPECT_LE(bottom, normal.height - 2) << "the caption covers the frame";
    EXPECT_LE(std::abs(left + right - (normal.width - 1)), 2) << "not centred across";
    EXPECT_LE(std::abs(top + bottom - (normal.height - 1)), 2) << "not centred down";
  }
}

TEST(ButtonPictures, EachButtonHasItsOwnCaption) {
  Bmp pictures[3];
  for (int i = 0; i < 3; ++i) {
    ASSERT_NO_FATAL_FAILURE(ReadButton(std::string(kButtons[i]) + "_normal.bmp", pictures[i]));
  }
  EXPECT_NE(pictures[0].file, pictures[1].file);
  EXPECT_NE(pictures[0].file, pictures[2].file);
  EXPECT_NE(pictures[1].file, pictures[2].file);
}

}  // namespace
