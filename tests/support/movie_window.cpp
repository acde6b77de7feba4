// A window with nothing but a movie control playing the splash movie, its right-click menu left
// alone: what the end-to-end tests compare the stub's blocked movie with.
//   movie_window <movie file>
#include <windows.h>

#include "toolkit/form.h"
#include "toolkit/movie_player.h"
#include "toolkit/startup.h"
#include "toolkit/ui_thread.h"

namespace {

const tk::ControlEntry kControls[] = {
    {.kind = tk::ControlKind::MoviePlayer,
     .name = "影片",
     .x = 0,
     .y = 0,
     .width = 600,
     .height = 300},
};
const tk::FormDefinition kForm{
    .title = "movie", .width = 600, .height = 300, .controls = kControls};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  tk::InitializeToolkit();
  HWND window = tk::LoadForm(kForm);
  if (!tk::LoadMovie(window, "影片", __argv[1])) return 3;
  tk::PlayMovie(window, "影片");
  return tk::RunMessageLoop();
}
