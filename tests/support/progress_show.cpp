// Shows the progress display on a window built from the main window's control table (without its
// creation handler), one state at a time, for the end-to-end test to look at on the screen:
//   progress_show FOLDER STEP...
// Steps: bar:N (the bar at N per cent), download:N and install:N (the status line at N per cent),
// choose (the install-directory message), empty (an empty status line), cover (a topmost black
// window over the status strip) and uncover (that window gone). The bar and the status line are
// drawn from a worker thread, as the program draws them. After step i the program writes
// FOLDER\i.done, holding the screen position of the window's client area as "x y", and waits for
// FOLDER\i.next before it goes on; after the last step it ends with 0. A step it does not know
// ends it with 2.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "assets/assets.h"
#include "progress/progress_bar.h"
#include "progress/status_line.h"
#include "progress/status_texts.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/startup.h"
#include "toolkit/ui_thread.h"

namespace {

const tk::FormDefinition kForm{.title = "进度显示",
                               .width = 600,
                               .height = 300,
                               .topmost = true,
                               .controls = MainFormControls};

HWND cover = nullptr;

bool RunStep(HWND form, const std::string& step) {
  const std::size_t colon = step.find(':');
  const std::string verb = step.substr(0, colon);
  const int percent = colon == std::string::npos ? 0 : std::atoi(step.c_str() + colon + 1);
  if (verb == "bar") {
    DrawProgressBar(tk::ControlHandle(form, 画板1), assets::TrackImage, assets::FillImage,
                    static_cast<float>(percent), 100.0f);
  } else if (verb == "download") {
    ShowStatus(30, StatusLine(DownloadingFormat, percent));
  } else if (verb == "install") {
    ShowStatus(30, StatusLine(InstallingFormat, percent));
  } else if (verb == "choose") {
    ShowStatus(16, ChooseDirMessage);
  } else if (verb == "empty") {
    ShowStatus(30, "");
  } else if (verb == "cover") {
    tk::RunOnUiThread([form] {
      POINT corner{149 - 10, 281 - 10};
      ClientToScreen(form, &corner);
      cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT,
                              corner.x, corner.y, 340, 29, nullptr, nullptr, nullptr, nullptr);
    });
  } else if (verb == "uncover") {
    tk::RunOnUiThread([] { DestroyWindow(cover); });
  } else {
    return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RunSteps(HWND form, int count, char** steps, const std::string& folder) {
  for (int i = 0; i < count; ++i) {
    if (!RunStep(form, steps[i])) return 2;
    // As the download does after each chunk: pending events are processed, which also hands
    // what was drawn to the screen (Wine does that when a thread looks at its messages). Then the
    // X server is given time to show it.
    Sleep(100);
    tk::ProcessPendingEvents();
    Sleep(300);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    const std::string base = folder + "\\" + std::to_string(i);
    if (std::FILE* done = std::fopen((base + ".part").c_str(), "w")) {
      std::fprintf(done, "%ld %ld\n", origin.x, origin.y);
      std::fclose(done);
      MoveFileA((base + ".part").c_str(), (base + ".done").c_str());
    }
    while (!Exists(base + ".next")) Sleep(20);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  tk::InitializeToolkit();
  HWND form = tk::LoadForm(kForm);
  RoundCorners(tk::ControlHandle(form, 画板1), 5, 5);
  int result = 0;
  std::thread worker([&] {
    result = RunSteps(form, argc - 2, argv + 2, argv[1]);
    tk::RunOnUiThread([form] { DestroyWindow(form); });
  });
  tk::RunMessageLoop();
  worker.join();
  return result;
}
