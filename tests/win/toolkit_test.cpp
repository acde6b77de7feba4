// The window toolkit on a form of its own, under Wine: control operations from another thread,
// canvases that keep their picture, picture buttons, the label's feedback event.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/window_helpers.h"
#include "assets/assets.h"
#include "toolkit/canvas.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "win_test_support.h"

namespace {

int clicks = 0;
void OnClick() {
  ++clicks;
}

std::atomic<DWORD> feedback_thread{0};
std::atomic<int> feedback_first{0}, feedback_second{0};
std::atomic<bool> feedback_done{false};
void OnFeedback(int first, int second) {
  Sleep(100);  // the caller must still be waiting when this returns
  feedback_thread = GetCurrentThreadId();
  feedback_first = first;
  feedback_second = second;
  feedback_done = true;
}

constexpr COLORREF kBlue = RGB(0, 136, 255);
const tk::ControlEntry kControls[] = {
    {.kind = tk::ControlKind::Canvas,
     .name = "上层",
     .x = 10,
     .y = 10,
     .width = 200,
     .height = 20,
     .canvas = {RGB(255, 255, 255), kBlue, 16, "宋体"}},
    {.kind = tk::ControlKind::Canvas,
     .name = "下层",
     .x = 10,
     .y = 10,
     .width = 200,
     .height = 20,
     .canvas = {RGB(255, 255, 255), kBlue, 13, "宋体"}},
    {.kind = tk::ControlKind::PictureButton,
     .name = "按钮",
     .x = 10,
     .y = 40,
     .width = 60,
     .height = 21,
     .normalPicture = assets::CancelButtonNormal,
     .hoverPicture = assets::CancelButtonHover,
     .onClick = OnClick},
    {.kind = tk::ControlKind::EditBox,
     .name = "编辑",
     .x = 10,
     .y = 70,
     .width = 164,
     .height = 19,
     .tabStop = true},
    {.kind = tk::ControlKind::Label,
     .name = "标签",
     .x = 200,
     .y = 0,
     .width = 56,
     .height = 24,
     .visible = false,
     .onFeedback = OnFeedback},
    {.kind = tk::ControlKind::ZipExtractor, .name = "压缩", .visible = false},
    {.kind = tk::ControlKind::Canvas,
     .name = "圆角",
     .x = 10,
     .y = 100,
     .width = 200,
     .height = 60},
    {.kind = tk::ControlKind::MoviePlayer,
     .name = "影片",
     .x = 0,
     .y = 0,
     .width = 300,
     .height = 200},
};
const tk::FormDefinition kForm{
    .title = "测试窗口", .width = 300, .height = 200, .topmost = true, .controls = kControls};

HWND Form() {
  static HWND form = tk::LoadForm(kForm);
  return form;
}

RECT RectInForm(const char* name) {
  RECT r;
  GetWindowRect(tk::ControlHandle(Form(), name), &r);
  MapWindowPoints(nullptr, Form(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// What the screen shows at a point of a control, read through the control's window DC.
COLORREF ScreenPixel(const char* name, int x, int y) {
  HWND window = tk::ControlHandle(Form(), name);
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

bool IsTextBlue(COLORREF c) {
  // The azure text or its anti-aliased blends with white: red lowest, blue full.
  return c != RGB(255, 255, 255) && GetBValue(c) == 255 && GetRValue(c) < GetGValue(c);
}

// Leftmost column of a canvas picture holding a text pixel; -1 when none.
int FirstTextColumn(const char* canvas) {
  for (int x = 0; x < 200; ++x) {
    for (int y = 0; y < 20; ++y) {
      if (IsTextBlue(tk::CanvasPicturePixel(Form(), canvas, x, y))) return x;
    }
  }
  return -1;
}

TEST(Form, BuildsControlsAtTheirPlacesInStackingOrder) {
  HWND form = Form();
  const RECT edit = RectInForm("编辑");
  EXPECT_EQ(10, edit.left);
  EXPECT_EQ(70, edit.top);
  EXPECT_EQ(164, edit.right - edit.left);
  EXPECT_EQ(19, edit.bottom - edit.top);
  // Stacking: the first control of the table on top, each next one directly beneath.
  HWND expected_order[] = {tk::ControlHandle(form, "上层"), tk::ControlHandle(form, "下层"),
                           tk::ControlHandle(form, "按钮"), tk::ControlHandle(form, "编辑"),
                           tk::ControlHandle(form, "标签"), tk::ControlHandle(form, "圆角"),
                           tk::ControlHandle(form, "影片")};
  HWND child = GetWindow(form, GW_CHILD);
  for (HWND expected : expected_order) {
    ASSERT_EQ(expected, child);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(nullptr, child);
  EXPECT_FALSE(tk::IsVisible(form, "标签"));
  EXPECT_FALSE(tk::IsVisible(form, "压缩"));
  EXPECT_TRUE(tk::ControlExists(form, "压缩"));
  EXPECT_EQ(nullptr, tk::ControlHandle(form, "压缩"));
  EXPECT_NE(0, GetWindowLongPtrA(tk::ControlHandle(form, "编辑"), GWL_STYLE) & WS_TABSTOP);
}

TEST(Controls, OperationsFromAWorkerThreadRunOnTheUiThread) {
  HWND form = Form();
  RunOnWorkerWhilePumping([form] {
    tk::SetText(form, "编辑", "c:\\测试\\");
    EXPECT_EQ("c:\\测试\\", tk::GetText(form, "编辑"));
    tk::SetVisible(form, "编辑", false);
    EXPECT_FALSE(tk::IsVisible(form, "编辑"));
    tk::SetVisible(form, "编辑", true);
    EXPECT_TRUE(tk::IsVisible(form, "编辑"));
    tk::SetWidth(form, "按钮", 80);
    EXPECT_EQ(80, tk::GetWidth(form, "按钮"));
    EXPECT_EQ(21, tk::GetHeight(form, "按钮"));
    tk::SetWidth(form, "按钮", 60);
    EXPECT_TRUE(tk::ControlExists(form, "编辑"));
    EXPECT_FALSE(tk::ControlExists(form, "没有"));
    EXPECT_EQ(nullptr, tk::ControlHandle(form, "没有"));
    EXPECT_EQ("", tk::GetText(form, "没有"));
  });
  // The edit control belongs to the UI thread; a write done on the worker's own thread would
  // have failed or deadlocked.
  EXPECT_EQ(GetCurrentThreadId(),
            GetWindowThreadProcessId(tk::ControlHandle(form, "编辑"), nullptr));
}

TEST(Controls, WindowSizeWritesKeepTheTopLeftCorner) {
  HWND form = Form();
  RECT before;
  GetWindowRect(form, &before);
  tk::SetWidth(form, "", 280);
  tk::SetHeight(form, "", 190);
  RECT after;
  GetWindowRect(form, &after);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(280, after.right - after.left);
  EXPECT_EQ(190, after.bottom - after.top);
  tk::SetText(form, "", "新标题");
  EXPECT_EQ("新标题", tk::GetText(form, ""));
  tk::SetAlwaysOnTop(form, false);
  EXPECT_EQ(0, GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  tk::SetAlwaysOnTop(form, true);
  EXPECT_NE(0, GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Canvas, DrawsOntoItsPictureAndACoveredCanvasNeverReachesTheScreen) {
  HWND form = Form();
  PumpFor(200);
  RunOnWorkerWhilePumping([form] {
    tk::CanvasClear(form, "上层");
    tk::CanvasClear(form, "下层");
    tk::CanvasWriteText(form, "下层", 30, 0, "系统正在为您高速下载37%,请稍后......");
  });
  const int first = FirstTextColumn("下层");
  EXPECT_GE(first, 30);
  EXPECT_LE(first, 33);
  // 下层 lies beneath 上层: its text is in its picture but not on the screen.
  EXPECT_EQ(-1, FirstTextColumn("上层"));
  for (int x = 30; x < 120; ++x) EXPECT_EQ(RGB(255, 255, 255), ScreenPixel("上层", x, 8));

  RunOnWorkerWhilePumping([form] { tk::CanvasCopy(form, "下层", "上层"); });
  for (int x = 0; x < 200; ++x) {
    for (int y = 0; y < 20; ++y) {
      ASSERT_EQ(tk::CanvasPicturePixel(form, "下层", x, y),
                tk::CanvasPicturePixel(form, "上层", x, y));
    }
  }
  int on_screen = 0;
  for (int x = 0; x < 200; ++x) on_screen += IsTextBlue(ScreenPixel("上层", x, 8));
  EXPECT_GT(on_screen, 10);

  // Hidden and shown again, the canvas repaints its last picture.
  ShowWindow(tk::ControlHandle(form, "上层"), SW_HIDE);
  ShowWindow(tk::ControlHandle(form, "上层"), SW_SHOW);
  PumpFor(200);
  for (int x = 0; x < 200; x += 3) {
    ASSERT_EQ(tk::CanvasPicturePixel(form, "上层", x, 8), ScreenPixel("上层", x, 8)) << x;
  }

  // A shorter line after a longer one leaves nothing of the longer one.
  tk::CanvasClear(form, "下层");
  tk::CanvasWriteText(form, "下层", 16, 0, "短");
  EXPECT_GE(FirstTextColumn("下层"), 16);
  EXPECT_LE(FirstTextColumn("下层"), 19);
  for (int x = 60; x < 200; ++x) {
    for (int y = 0; y < 20; ++y) {
      ASSERT_EQ(RGB(255, 255, 255), tk::CanvasPicturePixel(form, "下层", x, y));
    }
  }
  EXPECT_EQ(CLR_INVALID, tk::CanvasPicturePixel(form, "编辑", 0, 0));
}

// Messages as the system sends them for the pointer; coordinates are client coordinates.
void Mouse(UINT message, int x, int y) {
  SendMessageA(tk::ControlHandle(Form(), "按钮"), message,
               message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  PumpFor(50);
}

int RedPixels() {
  int red = 0;
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 21; ++y) {
      const COLORREF c = ScreenPixel("按钮", x, y);
      red += GetRValue(c) > 150 && GetGValue(c) < 90 && GetBValue(c) < 90;
    }
  }
  return red;
}

TEST(PictureButton, HoverShowsTheRedPictureAndOnlyAReleaseInsideClicks) {
  PumpFor(100);
  EXPECT_EQ(0, RedPixels());
  Mouse(WM_MOUSEMOVE, 30, 10);
  EXPECT_GT(RedPixels(), 10);
  // Held down: the normal picture.
  Mouse(WM_LBUTTONDOWN, 30, 10);
  EXPECT_EQ(0, RedPixels());
  // Dragged out and released outside: no click.
  Mouse(WM_MOUSEMOVE, 90, 10);
  Mouse(WM_LBUTTONUP, 90, 10);
  EXPECT_EQ(0, clicks);
  // Pressed and released inside: one click.
  Mouse(WM_MOUSEMOVE, 30, 10);
  Mouse(WM_LBUTTONDOWN, 30, 10);
  Mouse(WM_LBUTTONUP, 30, 10);
  EXPECT_EQ(1, clicks);
}

TEST(Label, FeedbackRunsTheHandlerOnTheUiThreadWhileTheCallerWaits) {
  HWND form = Form();
  const DWORD ui_thread = GetCurrentThreadId();
  bool raised = false;
  bool done_on_return = false;
  RunOnWorkerWhilePumping([&] {
    raised = tk::RaiseFeedback(form, "标签", 7, -3);
    done_on_return = feedback_done;
  });
  EXPECT_TRUE(raised);
  EXPECT_TRUE(done_on_return);
  EXPECT_EQ(ui_thread, feedback_thread);
  EXPECT_EQ(7, feedback_first);
  EXPECT_EQ(-3, feedback_second);
  EXPECT_FALSE(tk::RaiseFeedback(form, "编辑", 1, 2));
}

// Pixels inside one region and not the other (regions compare by their pixels: two equal shapes
// may be stored differently).
int PixelsThatDiffer(HRGN a, HRGN b, int width, int height) {
  int differ = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) differ += PtInRegion(a, x, y) != PtInRegion(b, x, y);
  }
  return differ;
}

TEST(WindowHelpers, RoundCornersDefaultsToA50By50Ellipse) {
  HWND canvas = tk::ControlHandle(Form(), "圆角");
  RoundCorners(canvas);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(canvas, actual));
  HRGN fifty = CreateRoundRectRgn(0, 0, 200, 60, 50, 50);
  HRGN five = CreateRoundRectRgn(0, 0, 200, 60, 5, 5);
  EXPECT_EQ(0, PixelsThatDiffer(actual, fifty, 200, 60));
  EXPECT_GT(PixelsThatDiffer(actual, five, 200, 60), 100);
  DeleteObject(actual);
  DeleteObject(fifty);
  DeleteObject(five);
}

TEST(WindowHelpers, GetClientSizeGivesTheClientAreaOrZeros) {
  int width = -1, height = -1;
  EXPECT_NE(0, GetClientSize(tk::ControlHandle(Form(), "编辑"), width, height));
  RECT client;
  GetClientRect(tk::ControlHandle(Form(), "编辑"), &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  EXPECT_EQ(0, GetClientSize(reinterpret_cast<HWND>(0x7ff0), width, height));
  EXPECT_EQ(0, width);
  EXPECT_EQ(0, height);
}

}  // namespace
