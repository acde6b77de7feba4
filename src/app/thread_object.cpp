#include "app/thread_object.h"

#include <algorithm>

#include "toolkit/text.h"
#include "toolkit/ui_thread.h"

namespace {

// Long enough for a download between two chunks to notice the request; short enough that the
// close button still ends the program at once when the thread is stuck in a stalled read.
constexpr DWORD kStopWaitMs = 300;

}  // namespace

ThreadObject::ThreadObject() = default;
ThreadObject::~ThreadObject() = default;

ThreadObject* ThreadObject::Copy() const {
  auto* copy = new ThreadObject;
  copy->LastError = LastError;
  copy->ThreadId = ThreadId;
  copy->ThreadHandle = ThreadHandle;
  return copy;
}

int ThreadObject::GetLastErrorCode() {
  LastError = static_cast<int>(GetLastError());
  return LastError;
}

std::string ThreadObject::GetErrorText() {
  const DWORD code = static_cast<DWORD>(GetLastErrorCode());
  // The system allocates the buffer: some systems refuse caller buffers near 64 KB.
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text(message ? message : "", length);
  LocalFree(message);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

void ThreadObject::ShowErrorBox() {
  const std::string message = GetErrorText();
  const std::string text = text::Format("错误代码：%d\n%s", LastError, message.c_str());
  MessageBoxA(nullptr, text.c_str(), "线程错误", MB_OK | MB_ICONERROR);
}

bool ThreadObject::Start(LPTHREAD_START_ROUTINE procedure, void* parameter) {
  ThreadHandle = CreateThread(nullptr, 0, procedure, parameter, 0, &ThreadId);
  return ThreadHandle != nullptr;
}

DWORD ThreadObject::Suspend() {
  return SuspendThread(ThreadHandle);
}

void ThreadObject::Resume() {
  const DWORD previous = ResumeThread(ThreadHandle);
  if (previous != static_cast<DWORD>(-1) && previous > 0) Resume();
}

void ThreadObject::Terminate() {
  if (!ThreadHandle) return;
  stop_requested_ = true;
  // A suspended thread could never see the request.
  Resume();
  tk::WaitServingSentMessages(ThreadHandle, kStopWaitMs);
}

DWORD ThreadObject::GetThreadId() const {
  return ThreadId;
}

bool ThreadObject::IsRunning() const {
  return ThreadHandle && WaitForSingleObject(ThreadHandle, 0) == WAIT_TIMEOUT;
}
