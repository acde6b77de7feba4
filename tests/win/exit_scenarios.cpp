// Ends itself in one of the ways the exit tests look at: exit_scenarios <scenario> <log file>.
// The exit routine appends one line to the log, saying whether it ran on the UI thread.
#include <windows.h>

#include <cstring>
#include <thread>
#include <vector>

#include "toolkit/exit.h"
#include "toolkit/form.h"
#include "toolkit/startup.h"
#include "toolkit/ui_thread.h"

namespace {

const char* log_path = "";
DWORD ui_thread = 0;
HANDLE go = nullptr;

void Log(const char* line) {
  HANDLE file = CreateFileA(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(file);
}

void Routine() {
  Log(GetCurrentThreadId() == ui_thread ? "routine ui\n" : "routine worker\n");
}

// An exit routine that waits while serving sent messages, as one that stops a worker does.
void WaitingRoutine() {
  Log("routine begins\n");
  SetEvent(go);
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  tk::WaitServingSentMessages(never, 300);
  Log("routine ends\n");
}

void OnWorker(int code) {
  std::thread([code] {
    WaitForSingleObject(go, INFINITE);
    tk::ExitProgram(code);
  }).detach();
}

const tk::FormDefinition kForm{.title = "exit", .width = 100, .height = 80, .controls = {}};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  const char* scenario = __argv[1];
  log_path = __argv[2];
  tk::InitializeToolkit();
  ui_thread = GetCurrentThreadId();
  go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  tk::SetExitRoutine(Routine);

  if (!std::strcmp(scenario, "worker")) {
    OnWorker(7);
    SetEvent(go);
  } else if (!std::strcmp(scenario, "race")) {
    // Four workers and the UI thread end the program at the same moment.
    for (int i = 0; i < 4; ++i) OnWorker(5);
    SetEvent(go);
    tk::ExitProgram(5);
  } else if (!std::strcmp(scenario, "during-routine")) {
    // A worker's exit arrives while the UI thread's exit routine serves sent messages.
    tk::SetExitRoutine(WaitingRoutine);
    OnWorker(9);
    tk::ExitProgram(4);
  } else if (!std::strcmp(scenario, "loop-ends")) {
    // The window is destroyed by other means: the loop ends and the normal end runs the routine.
    HWND window = tk::LoadForm(kForm);
    PostMessageA(window, WM_CLOSE, 0, 0);
    tk::RunMessageLoop();
    tk::ExitProgram(0);
  } else if (!std::strcmp(scenario, "fatal")) {
    std::thread([] { tk::FatalError("测试用的致命错误"); }).detach();
  } else if (!std::strcmp(scenario, "out-of-memory")) {
    std::vector<char> huge(static_cast<std::size_t>(1) << 40);
    Log(huge.data());
  } else {
    return 2;
  }
  tk::RunMessageLoop();
  return 3;  // the scenarios never get here
}
