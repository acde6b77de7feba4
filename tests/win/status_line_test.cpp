// The status line on the real 画板2 and 画板3, drawn from worker threads and read back from the
// canvases' pictures and from the screen.
#include "progress/status_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "main_form_window.h"
#include "progress/status_texts.h"
#include "toolkit/canvas.h"

namespace {

constexpr int kStripX = 149, kStripY = 281, kStripWidth = 320, kStripHeight = 19;
constexpr COLORREF kWhite = RGB(255, 255, 255);

using Picture = std::vector<COLORREF>;

void Show(int x, const std::string& text) {
  MainFormWindow();
  RunOnWorkerWhilePumping([x, text] { ShowStatus(x, text); });
}

Picture CanvasPicture(const char* canvas) {
  Picture picture;
  for (int y = 0; y < kStripHeight; ++y) {
    for (int x = 0; x < kStripWidth; ++x) {
      picture.push_back(tk::CanvasPicturePixel(MainFormWindow(), canvas, x, y));
    }
  }
  return picture;
}

Picture ScreenPicture() {
  Picture picture;
  for (int y = 0; y < kStripHeight; ++y) {
    for (int x = 0; x < kStripWidth; ++x) picture.push_back(FormPixel(kStripX + x, kStripY + y));
  }
  return picture;
}

// The azure text colour (0, 136, 255) or one of its blends with the white background: blue stays
// full, and red and green move together toward 255.
bool IsAzureOrBlend(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  return b == 255 && std::abs(g - (136 + r * 119 / 255)) <= 3;
}

int Ink(const Picture& picture) {
  int ink = 0;
  for (COLORREF c : picture) ink += c != kWhite;
  return ink;
}

// Leftmost column that holds a pixel other than white; -1 when none.
int FirstInkColumn(const Picture& picture) {
  for (int x = 0; x < kStripWidth; ++x) {
    for (int y = 0; y < kStripHeight; ++y) {
      if (picture[y * kStripWidth + x] != kWhite) return x;
    }
  }
  return -1;
}

TEST(StatusLine, IsTheMainWindowsStrip) {
  HWND form = MainFormWindow();
  EXPECT_EQ(form, tk::MainWindow());
}

TEST(StatusLine, TextStartsAtTheGivenXAndReachesTheScreen) {
  for (int x : {16, 30}) {
    Show(x, StatusLine(DownloadingFormat, 37));
    const Picture shown = CanvasPicture(画板3);
    EXPECT_GE(FirstInkColumn(shown), x);
    EXPECT_LE(FirstInkColumn(shown), x + 2);
    EXPECT_EQ(CanvasPicture(画板2), shown);
    EXPECT_EQ(shown, ScreenPicture());
  }
}

TEST(StatusLine, TextIsAzureOrItsBlendsWithWhite) {
  Show(16, ChooseDirMessage);
  const Picture shown = ScreenPicture();
  EXPECT_GT(Ink(shown), 300);
  int azure = 0;
  for (COLORREF c : shown) {
    if (c == kWhite) continue;
    ASSERT_TRUE(IsAzureOrBlend(c)) << std::hex << c;
    azure += c == RGB(0, 136, 255);
  }
  EXPECT_GT(azure, 50);
}

TEST(StatusLine, AShorterLineLeavesNothingOfTheLongerOne) {
  Show(16, ChooseDirMessage);
  const int long_ink = Ink(CanvasPicture(画板3));
  Show(30, "短");
  const Picture shown = CanvasPicture(画板3);
  EXPECT_GE(FirstInkColumn(shown), 30);
  for (int y = 0; y < kStripHeight; ++y) {
    for (int x = 0; x < kStripWidth; ++x) {
      if (x < 30 || x >= 30 + 16) {
        ASSERT_EQ(kWhite, shown[y * kStripWidth + x]) << x << "," << y;
      }
    }
  }
  EXPECT_LT(Ink(shown), long_ink / 5);
  EXPECT_EQ(shown, ScreenPicture());
}

TEST(StatusLine, AnEmptyTextLeavesTheStripWhite) {
  Show(30, StatusLine(InstallingFormat, 100));
  Show(30, "");
  EXPECT_EQ(Picture(kStripWidth * kStripHeight, kWhite), CanvasPicture(画板3));
  EXPECT_EQ(Picture(kStripWidth * kStripHeight, kWhite), ScreenPicture());
}

// (Covering by another window is seen on the real screen by the end-to-end test: the window's own
// pixels, which GetPixel reads here, are not touched by a window above it.)
TEST(StatusLine, ARepaintShowsTheLastLineAgain) {
  Show(30, StatusLine(DownloadingFormat, 37));
  const Picture line = CanvasPicture(画板3);
  ASSERT_GT(Ink(line), 300);

  HWND shown = tk::ControlHandle(MainFormWindow(), 画板3);
  InvalidateRect(shown, nullptr, FALSE);
  UpdateWindow(shown);
  EXPECT_EQ(line, ScreenPicture());

  ShowWindow(MainFormWindow(), SW_HIDE);
  PumpFor(100);
  ShowWindow(MainFormWindow(), SW_SHOW);
  PumpFor(200);
  EXPECT_EQ(line, ScreenPicture());
}

TEST(StatusLine, TheFontDrawsRealChineseGlyphs) {
  // Empty boxes would make every character look alike.
  Show(30, "系");
  const Picture xi = CanvasPicture(画板3);
  Show(30, "统");
  const Picture tong = CanvasPicture(画板3);
  EXPECT_GT(Ink(xi), 30);
  EXPECT_GT(Ink(tong), 30);
  int differ = 0;
  for (size_t i = 0; i < xi.size(); ++i) differ += (xi[i] == kWhite) != (tong[i] == kWhite);
  EXPECT_GT(differ, 20);
  // The 13-pixel font: the glyphs stay within the strip's height with room to spare.
  for (int x = 0; x < kStripWidth; ++x)
    EXPECT_EQ(kWhite, tong[(kStripHeight - 1) * kStripWidth + x]);
}

TEST(StatusLine, CallsFromTwoThreadsAtOnceNeverMix) {
  const std::string a = StatusLine(DownloadingFormat, 37);
  const std::string b = ChooseDirMessage;
  Show(30, a);
  const Picture picture_a = CanvasPicture(画板3);
  Show(16, b);
  const Picture picture_b = CanvasPicture(画板3);
  ASSERT_NE(picture_a, picture_b);

  // Both threads start at once and make one call each, so their calls overlap.
  for (int round = 0; round < 100; ++round) {
    RunOnWorkerWhilePumping([&] {
      HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      auto caller = [go](int x, const std::string& text) {
        WaitForSingleObject(go, INFINITE);
        ShowStatus(x, text);
      };
      std::thread first(caller, 30, a), second(caller, 16, b);
      SetEvent(go);
      first.join();
      second.join();
      CloseHandle(go);
    });
    const Picture shown = CanvasPicture(画板3);
    ASSERT_TRUE(shown == picture_a || shown == picture_b) << "round " << round;
    ASSERT_EQ(shown, CanvasPicture(画板2)) << "round " << round;
  }
}

}  // namespace
