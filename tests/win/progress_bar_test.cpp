// The progress bar on the real 画板1 (rounded by 5 x 5), drawn from a worker thread as the download
// and the extraction draw it, and read back from the screen.
#include "progress/progress_bar.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/shared_state.h"
#include "assets/assets.h"
#include "main_form_window.h"
#include "progress/gdiplus_api.h"
#include "progress/memory_stream.h"
#include "toolkit/canvas.h"

namespace {

constexpr int kBarX = 152, kBarY = 271, kBarWidth = 300, kBarHeight = 7;
constexpr COLORREF kTrack = RGB(255, 255, 153);
constexpr COLORREF kWhite = RGB(255, 255, 255);

HWND Bar() {
  return tk::ControlHandle(MainFormWindow(), 画板1);
}

void Draw(float percent) {
  HWND bar = Bar();
  RunOnWorkerWhilePumping([bar, percent] {
    DrawProgressBar(bar, assets::TrackImage, assets::FillImage, percent, 100.0f);
  });
}

// The bar's pixel as the window shows it.
COLORREF BarPixel(int x, int y) {
  return FormPixel(kBarX + x, kBarY + y);
}

// The window region that RoundCorners gave the canvas.
bool InRegion(int x, int y) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(Bar(), region);
  const bool inside = PtInRegion(region, x, y);
  DeleteObject(region);
  return inside;
}

// The fill image's own pixels, decoded with GDI+ (GdipBitmapGetPixel is not one of the bar's
// functions, so the test looks it up itself).
struct FillPixels {
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[y * 300 + x]; }
};

const FillPixels& Fill() {
  static const FillPixels fill = [] {
    FillPixels result;
    StartGdiplus();
    using GetPixelFn = gdiplus::GpStatus(WINAPI*)(gdiplus::GpImage*, INT, INT, gdiplus::ARGB*);
    auto get_pixel = reinterpret_cast<GetPixelFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("gdiplus.dll"), "GdipBitmapGetPixel")));
    MemoryStream stream;
    gdiplus::GpImage* image = nullptr;
    gdiplus::GdipLoadImageFromStream(stream.Create(assets::FillImage, true), &image);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 300; ++x) {
        gdiplus::ARGB argb = 0;
        if (get_pixel) get_pixel(image, x, y, &argb);
        result.pixels.push_back(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
      }
    }
    gdiplus::GdipDisposeImage(image);
    return result;
  }();
  return fill;
}

// Checks every pixel inside the region: the fill's own pixel left of fill_end, the track beyond.
void ExpectBar(int fill_end) {
  int checked = 0;
  for (int y = 0; y < kBarHeight; ++y) {
    for (int x = 0; x < kBarWidth; ++x) {
      if (!InRegion(x, y)) continue;
      const COLORREF expected = x < fill_end ? Fill().at(x, y) : kTrack;
      ASSERT_EQ(expected, BarPixel(x, y)) << "x " << x << " y " << y;
      ++checked;
    }
  }
  // A rounded-rectangle region leaves out the canvas's bottom row and right column besides the
  // corners, so six rows of the bar show.
  EXPECT_GE(checked, 6 * 297);
}

TEST(ProgressBar, TheFillImageDecodesToItsGradient) {
  // Cyan on the left, yellow on the right, light at the top and darker at the bottom.
  EXPECT_EQ(RGB(25, 255, 251), Fill().at(0, 0));
  EXPECT_EQ(RGB(247, 244, 31), Fill().at(298, 0));
  EXPECT_EQ(RGB(15, 107, 155), Fill().at(0, 9));
  EXPECT_EQ(RGB(125, 91, 19), Fill().at(298, 9));
}

TEST(ProgressBar, ZeroShowsTheTrackAlone) {
  Draw(0);
  ExpectBar(0);
}

TEST(ProgressBar, HundredShowsTheTopSevenRowsOfTheWholeFill) {
  Draw(100);
  ExpectBar(300);
}

TEST(ProgressBar, FiftyShowsTheLeftHalfOfTheFillUnscaled) {
  Draw(50);
  ExpectBar(150);
  // Not the whole gradient squeezed into 150 pixels: the strip ends with the fill's middle.
  EXPECT_NE(Fill().at(298, 0), BarPixel(149, 0));
}

TEST(ProgressBar, AFallingPercentageLeavesNothingOfTheEarlierBar) {
  Draw(60);
  ExpectBar(180);
  Draw(40);
  ExpectBar(120);
}

TEST(ProgressBar, TheRoundedRegionTrimsTheCorners) {
  Draw(0);
  const POINT corners[] = {
      {0, 0}, {kBarWidth - 1, 0}, {0, kBarHeight - 1}, {kBarWidth - 1, kBarHeight - 1}};
  for (POINT corner : corners) {
    ASSERT_FALSE(InRegion(corner.x, corner.y));
    // What lies beneath the canvas (the movie control), as just beside the canvas.
    EXPECT_EQ(FormPixel(kBarX - 1, kBarY + corner.y), BarPixel(corner.x, corner.y));
    EXPECT_NE(kTrack, BarPixel(corner.x, corner.y));
  }
  EXPECT_EQ(kTrack, BarPixel(3, 0));
}

TEST(ProgressBar, ARepaintShowsTheCanvasOwnWhitePicture) {
  Draw(37);
  ASSERT_EQ(Fill().at(10, 3), BarPixel(10, 3));
  InvalidateRect(Bar(), nullptr, FALSE);
  UpdateWindow(Bar());
  for (int y = 0; y < kBarHeight; ++y) {
    for (int x = 0; x < kBarWidth; ++x) {
      if (!InRegion(x, y)) continue;
      ASSERT_EQ(kWhite, BarPixel(x, y)) << "x " << x << " y " << y;
      ASSERT_EQ(kWhite, tk::CanvasPicturePixel(MainFormWindow(), 画板1, x, y));
    }
  }
  // Hidden and shown again, as at the install stage: white too.
  Draw(37);
  ShowWindow(Bar(), SW_HIDE);
  ShowWindow(Bar(), SW_SHOW);
  PumpFor(100);
  EXPECT_EQ(kWhite, BarPixel(10, 3));
}

TEST(ProgressBar, ASecondStartKeepsTheToken) {
  ASSERT_TRUE(StartGdiplus());
  const ULONG_PTR token = Globals.GdiplusToken;
  EXPECT_NE(0u, token);
  EXPECT_TRUE(StartGdiplus());
  EXPECT_EQ(token, Globals.GdiplusToken);
}

TEST(ProgressBar, WithoutGdiplusNothingIsDrawnAndNothingFails) {
  Draw(0);
  // GDI+ started, but its drawing functions cannot be found.
  gdiplus::SimulateMissingLibraryForTesting(true);
  Draw(100);
  ExpectBar(0);
  // GDI+ cannot even be started.
  const ULONG_PTR token = Globals.GdiplusToken;
  Globals.GdiplusToken = 0;
  EXPECT_FALSE(StartGdiplus());
  Draw(100);
  EXPECT_EQ(0u, Globals.GdiplusToken);
  ExpectBar(0);
  Globals.GdiplusToken = token;
  gdiplus::SimulateMissingLibraryForTesting(false);
  // With the library back, the functions are looked up again.
  Draw(100);
  ExpectBar(300);
}

TEST(ProgressBar, ABrokenImageOrAGoneWindowLeavesItsPartOut) {
  Draw(0);
  const unsigned char not_png[] = {'n', 'o', 't', ' ', 'p', 'n', 'g'};
  HWND bar = Bar();
  RunOnWorkerWhilePumping([bar, &not_png] {
    DrawProgressBar(bar, assets::TrackImage, not_png, 100, 100);
    DrawProgressBar(reinterpret_cast<HWND>(0x7ff0), assets::TrackImage, assets::FillImage, 50, 100);
    DrawProgressBar(bar, assets::TrackImage, assets::FillImage, 50, 0);
  });
  // The track without fill from the first and the last call; the second drew nowhere.
  ExpectBar(0);
}

}  // namespace
