#include "app/creation.h"

#include "app/instance_guard.h"
#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/splash_movie.h"
#include "app/window_helpers.h"
#include "download/download_package.h"
#include "toolkit/controls.h"

void OnWindowCreated() {
  HWND window = tk::MainWindow();
  tk::SetText(window, "", "Zorvel下载");
  tk::SetWidth(window, "", tk::GetWidth(window, Kestroflash控件1));
  tk::SetHeight(window, "", tk::GetHeight(window, Kestroflash控件1));
  GuardSingleInstance();
  tk::SetVisible(window, 编辑框1, false);
  tk::SetVisible(window, 图形按钮3, false);
  tk::SetVisible(window, 图形按钮4, false);
  RoundCorners(tk::ControlHandle(window, 画板1), 5, 5);
  LoadSplashMovie();
  StartDownloadThread();
}

void StartDownloadThread() {
  Globals.WorkerThread->Start(DownloadThreadEntry, nullptr);
}

DWORD WINAPI DownloadThreadEntry(void*) {
  DownloadPackage();
  return 0;
}
