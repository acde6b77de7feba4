#include "toolkit/exit.h"

#include <windows.h>

#include <atomic>

#include "toolkit/ui_thread.h"

namespace tk {
namespace {

std::atomic<ExitRoutine> exit_routine{nullptr};
std::atomic<bool> ending{false};

[[noreturn]] void EndProcess(int code) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  for (;;) Sleep(INFINITE);  // TerminateProcess ends this thread too; this only satisfies noreturn
}

// On the UI thread.
[[noreturn]] void EndOnUiThread(int code) {
  if (!ending.exchange(true)) {
    if (ExitRoutine routine = exit_routine.exchange(nullptr)) routine();
  }
  EndProcess(code);
}

}  // namespace

void SetExitRoutine(ExitRoutine routine) {
  exit_routine = routine;
}

void ExitProgram(int code) {
  if (IsUiThread()) EndOnUiThread(code);
  RunOnUiThread([code] {
    // An exit already under way (its exit routine may be serving sent messages while it waits)
    // finishes the program; this one must not end it from the middle of that routine.
    if (!ending) EndOnUiThread(code);
  });
  // Back here only if the UI thread serves no messages or another exit is ending the process.
  if (ending) {
    for (;;) Sleep(INFINITE);
  }
  EndProcess(code);
}

void FatalError(const char* message) {
  MessageBoxA(nullptr, message, "运行时错误", MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  ExitProgram(-1);
}

void FatalOutOfMemory(std::size_t bytes) {
  // Built on the stack: the heap has just failed.
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + bytes % 10);
    bytes /= 10;
  } while (bytes != 0);
  char message[96] = "内存不足，无法分配 ";
  std::size_t length = lstrlenA(message);
  while (n > 0) message[length++] = digits[--n];
  lstrcpyA(message + length, " 字节。");
  FatalError(message);
}

}  // namespace tk
