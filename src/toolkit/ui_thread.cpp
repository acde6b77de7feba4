#include "toolkit/ui_thread.h"

#include <atomic>

namespace tk {
namespace {

constexpr UINT kRunWorkMessage = WM_APP + 0x100;
constexpr char kDispatcherClass[] = "TkDispatcher";

std::atomic<DWORD> ui_thread_id{0};
std::atomic<HWND> dispatcher{nullptr};

LRESULT CALLBACK DispatcherProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == kRunWorkMessage) {
    (*reinterpret_cast<FunctionRef<void()>*>(lparam))();
    return 1;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool InitUiThread() {
  ui_thread_id = GetCurrentThreadId();
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DispatcherProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kDispatcherClass;
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, kDispatcherClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
  dispatcher = window;
  return window != nullptr;
}

bool IsUiThread() {
  return GetCurrentThreadId() == ui_thread_id;
}

bool RunOnUiThread(FunctionRef<void()> work) {
  if (IsUiThread()) {
    work();
    return true;
  }
  HWND window = dispatcher;
  if (!window) return false;
  return SendMessageA(window, kRunWorkMessage, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

void ProcessPendingEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool WaitServingSentMessages(HANDLE object, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;  // timed out or failed
    // Serves the sent messages and nothing else.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace tk
