// A window built from the main window's real control table, with a form of the tests' own whose
// creation handler is empty: the program's creation sequence (guard, movie, download) never runs.
// It is the first form of the process, so tk::MainWindow() is this window.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "win_test_support.h"

inline const tk::FormDefinition kMainFormForTests{.title = "进度测试",
                                                  .width = 600,
                                                  .height = 300,
                                                  .topmost = true,
                                                  .controls = MainFormControls};

inline HWND MainFormWindow() {
  static HWND window = [] {
    HWND form = tk::LoadForm(kMainFormForTests);
    RoundCorners(tk::ControlHandle(form, 画板1), 5, 5);
    PumpFor(200);
    return form;
  }();
  return window;
}

// What the window shows at (x, y) of its client area, children and regions included: a DC of the
// form that does not leave out its children.
inline COLORREF FormPixel(int x, int y) {
  HWND form = MainFormWindow();
  HDC dc = GetDCEx(form, nullptr, DCX_CACHE);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(form, dc);
  return c;
}
