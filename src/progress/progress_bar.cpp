#include "progress/progress_bar.h"

#include <mutex>

#include "app/shared_state.h"
#include "progress/gdiplus_api.h"
#include "progress/memory_stream.h"
#include "toolkit/handles.h"

namespace {

struct ImageTraits {
  using Value = gdiplus::GpImage*;
  static Value Invalid() { return nullptr; }
  static void Close(Value image) { gdiplus::GdipDisposeImage(image); }
};
struct GraphicsTraits {
  using Value = gdiplus::GpGraphics*;
  static Value Invalid() { return nullptr; }
  static void Close(Value graphics) { gdiplus::GdipDeleteGraphics(graphics); }
};
using Image = tk::UniqueHandle<ImageTraits>;
using Graphics = tk::UniqueHandle<GraphicsTraits>;

// Wider and higher than both images and the canvas.
constexpr INT kBitmapWidth = 480;
constexpr INT kBitmapHeight = 11;
constexpr gdiplus::ARGB kOpaqueWhite = 0xFFFFFFFF;

Image DecodeImage(IStream* stream) {
  gdiplus::GpImage* image = nullptr;
  gdiplus::GdipLoadImageFromStream(stream, &image);
  return Image(image);
}

}  // namespace

bool StartGdiplus() {
  static std::mutex lock;
  std::lock_guard guard(lock);
  if (Globals.GdiplusToken != 0) return true;
  const gdiplus::GdiplusStartupInput input{.GdiplusVersion = 1,
                                           .DebugEventCallback = nullptr,
                                           .SuppressBackgroundThread = FALSE,
                                           .SuppressExternalCodecs = FALSE};
  gdiplus::GdiplusStartup(&Globals.GdiplusToken, &input, nullptr);
  return Globals.GdiplusToken != 0;
}

void DrawProgressBar(HWND window, std::span<const unsigned char> trackImage,
                     std::span<const unsigned char> fillImage, float percent, float maximum) {
  // Without a started GDI+ its functions may fault rather than fail.
  if (!StartGdiplus()) return;

  // Declared in the reverse of the order in which they are freed: the images (track, fill,
  // bitmap), then the graphics (off-screen, window), and last the streams, which the images may
  // read again until they are disposed.
  MemoryStream track_stream, fill_stream;
  Graphics window_graphics, offscreen;
  Image bitmap, fill, track;

  track_stream.Create(trackImage, true);
  fill_stream.Create(fillImage, true);
  track = DecodeImage(track_stream.GetStream());
  fill = DecodeImage(fill_stream.GetStream());

  gdiplus::REAL track_width = 0, track_height = 0, fill_width = 0, fill_height = 0;
  gdiplus::GdipGetImageDimension(track.get(), &track_width, &track_height);
  gdiplus::GdipGetImageDimension(fill.get(), &fill_width, &fill_height);

  gdiplus::GpBitmap* raw_bitmap = nullptr;
  gdiplus::GdipCreateBitmapFromScan0(kBitmapWidth, kBitmapHeight, 0, gdiplus::PixelFormat32bppARGB,
                                     nullptr, &raw_bitmap);
  bitmap.reset(raw_bitmap);
  gdiplus::GpGraphics* raw_graphics = nullptr;
  gdiplus::GdipGetImageGraphicsContext(bitmap.get(), &raw_graphics);
  offscreen.reset(raw_graphics);
  gdiplus::GdipCreateFromHWND(window, &raw_graphics);
  window_graphics.reset(raw_graphics);

  gdiplus::GdipGraphicsClear(offscreen.get(), kOpaqueWhite);
  gdiplus::GdipDrawImageRect(offscreen.get(), track.get(), 0, 0, track_width, track_height);

  // Both widths in double precision from the 32-bit inputs, each rounded to a 32-bit real.
  float destination_width = 0, source_width = 0;
  if (maximum != 0) {
    destination_width = static_cast<float>(double{fill_width} * percent / maximum);
    source_width = static_cast<float>(double{fill_width} * (double{percent} / maximum));
  }
  gdiplus::GdipDrawImageRectRect(offscreen.get(), fill.get(), 0, 0, destination_width, fill_height,
                                 0, 0, source_width, fill_height, gdiplus::UnitPixel, nullptr,
                                 nullptr, nullptr);

  gdiplus::GdipDrawImage(window_graphics.get(), bitmap.get(), 0, 0);
}
