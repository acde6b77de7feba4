// Times the progress display against the download it follows:
//   progress_bench CALLS URL
// draws CALLS bars and status lines on a window built from the main window's control table, from
// a worker thread as the download does, and reads URL (the package server on loopback) in chunks
// of 10240 bytes through WinInet. Prints one line "name=value" each: microseconds per bar, per
// status line, per bar and status line together, per chunk read, and the bytes and chunks read.
// Ends with 1 when the URL could not be read.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "assets/assets.h"
#include "progress/percent.h"
#include "progress/progress_bar.h"
#include "progress/status_line.h"
#include "progress/status_texts.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/startup.h"
#include "toolkit/ui_thread.h"

namespace {

const tk::FormDefinition kForm{.title = "进度计时",
                               .width = 600,
                               .height = 300,
                               .topmost = true,
                               .controls = MainFormControls};

// <chrono> cannot be used here: its literals are not code page 936 text.
long long Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double MicrosecondsPer(long long start, long long count) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const double spent =
      static_cast<double>(Now() - start) * 1e6 / static_cast<double>(frequency.QuadPart);
  return count > 0 ? spent / static_cast<double>(count) : 0.0;
}

void Bar(HWND bar, int i) {
  DrawProgressBar(bar, assets::TrackImage, assets::FillImage, static_cast<float>(i % 101), 100.0f);
}
void Status(int i) {
  ShowStatus(30, StatusLine(DownloadingFormat, i % 101));
}

void TimeDrawing(HWND form, int calls) {
  HWND bar = tk::ControlHandle(form, 画板1);
  Bar(bar, 0);  // GDI+ starts and the functions are looked up outside the timing
  Status(0);
  auto start = Now();
  for (int i = 0; i < calls; ++i) Bar(bar, i);
  std::printf("bar_us=%.1f\n", MicrosecondsPer(start, calls));
  start = Now();
  for (int i = 0; i < calls; ++i) Status(i);
  std::printf("status_us=%.1f\n", MicrosecondsPer(start, calls));
  start = Now();
  for (int i = 0; i < calls; ++i) {
    Status(i);
    Bar(bar, i);
  }
  std::printf("redraw_us=%.1f\n", MicrosecondsPer(start, calls));
}

bool TimeReading(const char* url) {
  HINTERNET session =
      InternetOpenA("kvr-ptm-internet-appliction", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) return false;
  const auto start = Now();
  HINTERNET request = InternetOpenUrlA(session, url, nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  long long bytes = 0, chunks = 0;
  if (request) {
    std::vector<char> chunk(10240);
    DWORD read = 0;
    while (InternetReadFile(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read) &&
           read > 0) {
      bytes += read;
      ++chunks;
    }
    InternetCloseHandle(request);
  }
  std::printf("chunk_us=%.1f\nbytes=%lld\nchunks=%lld\n", MicrosecondsPer(start, chunks), bytes,
              chunks);
  InternetCloseHandle(session);
  return chunks > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  tk::InitializeToolkit();
  HWND form = tk::LoadForm(kForm);
  RoundCorners(tk::ControlHandle(form, 画板1), 5, 5);
  bool read = false;
  std::thread worker([&] {
    TimeDrawing(form, std::atoi(argv[1]));
    read = TimeReading(argv[2]);
    std::fflush(stdout);
    tk::RunOnUiThread([form] { DestroyWindow(form); });
  });
  tk::RunMessageLoop();
  worker.join();
  return read ? 0 : 1;
}
