// The thread object: start, the operations the program does not call, and a stop that never kills.
#include "app/thread_object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "toolkit/ui_thread.h"

namespace {

std::atomic<int> runs{0};

DWORD WINAPI CountOnce(void*) {
  ++runs;
  return 0;
}

// Works until asked to stop, as the download does between chunks.
DWORD WINAPI WorkUntilStopped(void* parameter) {
  auto* object = static_cast<ThreadObject*>(parameter);
  while (!object->StopRequested()) Sleep(5);
  return 0;
}

// Never looks at the request: stands for a thread blocked in a stalled read.
DWORD WINAPI IgnoreStop(void* parameter) {
  WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
  return 0;
}

// Waits in a message sent to the UI thread, then stops when asked.
DWORD WINAPI CallUiThreadThenStop(void* parameter) {
  auto* object = static_cast<ThreadObject*>(parameter);
  while (!object->StopRequested()) {
    tk::RunOnUiThread([] { Sleep(1); });
  }
  return 0;
}

TEST(ThreadObject, StartsWithItsInitialFields) {
  ThreadObject object;
  EXPECT_EQ(-1, object.LastError);
  EXPECT_EQ(0u, object.ThreadId);
  EXPECT_EQ(nullptr, object.ThreadHandle);
  EXPECT_FALSE(object.IsRunning());
}

TEST(ThreadObject, TerminateOnANeverStartedObjectDoesNothing) {
  ThreadObject object;
  const ULONGLONG start = GetTickCount64();
  object.Terminate();
  EXPECT_LT(GetTickCount64() - start, 50u);
  EXPECT_FALSE(object.StopRequested());
}

TEST(ThreadObject, TerminateAfterTheThreadEndedTouchesNoOtherThread) {
  ThreadObject finished;
  ASSERT_TRUE(finished.Start(CountOnce, nullptr));
  WaitForSingleObject(finished.ThreadHandle, 5000);
  ThreadObject other;
  ASSERT_TRUE(other.Start(WorkUntilStopped, &other));
  finished.Terminate();
  EXPECT_TRUE(other.IsRunning());
  EXPECT_FALSE(other.StopRequested());
  other.Terminate();
  EXPECT_FALSE(other.IsRunning());
}

TEST(ThreadObject, TerminateStopsACooperatingThread) {
  ThreadObject object;
  ASSERT_TRUE(object.Start(WorkUntilStopped, &object));
  EXPECT_NE(0u, object.GetThreadId());
  EXPECT_TRUE(object.IsRunning());
  object.Terminate();
  EXPECT_FALSE(object.IsRunning());
}

TEST(ThreadObject, TerminateDoesNotKillAThreadThatIgnoresTheRequest) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ThreadObject object;
  ASSERT_TRUE(object.Start(IgnoreStop, release));
  const ULONGLONG start = GetTickCount64();
  object.Terminate();
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 250u);   // it waited ...
  EXPECT_LT(waited, 2000u);  // ... briefly
  EXPECT_TRUE(object.IsRunning());
  SetEvent(release);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(object.ThreadHandle, 5000));
  DWORD code = 1;
  GetExitCodeThread(object.ThreadHandle, &code);
  EXPECT_EQ(0u, code);  // it ran to its own end
  CloseHandle(release);
}

TEST(ThreadObject, TerminateServesAThreadWaitingOnTheUiThread) {
  ThreadObject object;
  ASSERT_TRUE(object.Start(CallUiThreadThenStop, &object));
  Sleep(50);
  object.Terminate();
  EXPECT_FALSE(object.IsRunning());
}

TEST(ThreadObject, DestroyingTheObjectLeavesItsThreadRunning) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  auto object = std::make_unique<ThreadObject>();
  ASSERT_TRUE(object->Start(IgnoreStop, release));
  HANDLE thread = object->ThreadHandle;
  object.reset();
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 100));
  SetEvent(release);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
  CloseHandle(release);
}

TEST(ThreadObject, SuspendAndResumeWhateverTheCount) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ThreadObject object;
  ASSERT_TRUE(object.Start(IgnoreStop, release));
  EXPECT_EQ(0u, object.Suspend());
  EXPECT_EQ(1u, object.Suspend());
  EXPECT_EQ(2u, object.Suspend());
  object.Resume();
  // Running again: a further suspend reports a count of 0.
  EXPECT_EQ(0u, object.Suspend());
  object.Resume();
  SetEvent(release);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(object.ThreadHandle, 5000));
  CloseHandle(release);
}

TEST(ThreadObject, CopyAndErrorText) {
  ThreadObject object;
  ASSERT_TRUE(object.Start(CountOnce, nullptr));
  std::unique_ptr<ThreadObject> copy(object.Copy());
  EXPECT_EQ(object.ThreadId, copy->ThreadId);
  EXPECT_EQ(object.ThreadHandle, copy->ThreadHandle);
  EXPECT_EQ(object.LastError, copy->LastError);

  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(static_cast<int>(ERROR_FILE_NOT_FOUND), object.GetLastErrorCode());
  EXPECT_EQ(static_cast<int>(ERROR_FILE_NOT_FOUND), object.LastError);
  SetLastError(ERROR_ACCESS_DENIED);
  const std::string text = object.GetErrorText();
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(std::string::npos, text.find(' '));
  EXPECT_EQ(static_cast<int>(ERROR_ACCESS_DENIED), object.LastError);
}

}  // namespace
