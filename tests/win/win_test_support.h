// Shared by the Windows tests.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

#include "toolkit/ui_thread.h"

// Runs `work` on a new thread while this (the UI) thread keeps dispatching every message, as the
// message loop would; returns when the thread has ended.
inline void RunOnWorkerWhilePumping(std::function<void()> work) {
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    work();
    SetEvent(done);
  });
  while (MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    tk::ProcessPendingEvents();
  }
  worker.join();
  CloseHandle(done);
}

// Dispatches messages for about `ms` milliseconds.
inline void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    tk::ProcessPendingEvents();
    Sleep(5);
  }
}
