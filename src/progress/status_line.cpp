#include "progress/status_line.h"

#include <mutex>

#include "app/main_window.h"
#include "toolkit/canvas.h"

void ShowStatus(int x, std::string_view text) {
  // The download's last line and the extraction's first can come from two threads at once.
  static std::mutex lock;
  std::lock_guard guard(lock);
  HWND window = tk::MainWindow();
  tk::CanvasClear(window, 画板2);
  tk::CanvasWriteText(window, 画板2, x, 0, text);
  tk::CanvasCopy(window, 画板2, 画板3);
}
