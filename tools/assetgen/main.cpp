// assetgen <folder>: writes the button pictures and the progress bar images into the folder. The
// files committed in src/assets are this program's output, byte for byte.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bar_images.h"
#include "bmp_writer.h"
#include "button_picture.h"
#include "caption_font.h"
#include "png_writer.h"
#include "utf8.h"

namespace {

using assetgen::Rgb;

constexpr const char* kFontPath = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr int kFontFace = 0;  // WenQuanYi Zen Hei, the outline face of the collection
constexpr int kCaptionPixels = 12;
constexpr Rgb kNormalCaption = {0, 0, 0};
constexpr Rgb kHoverCaption = {204, 0, 0};

struct Button {
  const char* name;
  const char8_t* caption;
};

constexpr Button kButtons[] = {
    {"cancel", u8"取消"},
    {"browse", u8"浏览"},
    {"install", u8"安装"},
};

void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Generate(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  const assetgen::CaptionFont font(kFontPath, kFontFace, kCaptionPixels);
  for (const Button& button : kButtons) {
    const std::u32string caption = assetgen::DecodeUtf8(button.caption);
    const std::string stem = std::string("button_") + button.name;
    WriteFile(folder / (stem + "_normal.bmp"),
              assetgen::EncodeBmp(assetgen::DrawButtonPicture(font, caption, kNormalCaption)));
    WriteFile(folder / (stem + "_hover.bmp"),
              assetgen::EncodeBmp(assetgen::DrawButtonPicture(font, caption, kHoverCaption)));
  }
  WriteFile(folder / "track.png", assetgen::EncodePng(assetgen::DrawTrackImage()));
  WriteFile(folder / "fill.png", assetgen::EncodePng(assetgen::DrawFillImage()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  try {
    Generate(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "assetgen: %s\n", error.what());
    return 1;
  }
  return 0;
}
