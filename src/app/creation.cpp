#include "app/creation.h"

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "toolkit/controls.h"

void OnWindowCreated() {
  HWND window = tk::MainWindow();
  tk::SetText(window, "", "Zorvel下载");
  tk::SetWidth(window, "", tk::GetWidth(window, Kestroflash控件1));
  tk::SetHeight(window, "", tk::GetHeight(window, Kestroflash控件1));
  tk::SetVisible(window, 编辑框1, false);
  tk::SetVisible(window, 图形按钮3, false);
  tk::SetVisible(window, 图形按钮4, false);
  RoundCorners(tk::ControlHandle(window, 画板1), 5, 5);
}
