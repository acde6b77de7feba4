// ThreadObject wraps one system thread: it starts the thread on a procedure, remembers its
// identifier and handle, and can suspend, resume and stop it. It does not own the thread's
// lifetime: nothing closes the handle, which the system releases when the process ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

class ThreadObject {
 public:
  ThreadObject();
  // Does nothing to the thread: a running thread goes on running.
  virtual ~ThreadObject();

  // A new object with the same three fields, referring to the same thread. The caller owns it.
  virtual ThreadObject* Copy() const;
  // Stores the calling thread's GetLastError in LastError and gives it.
  virtual int GetLastErrorCode();
  // The system's message for GetLastErrorCode(), with all spaces removed.
  virtual std::string GetErrorText();
  // Shows that code and text in an error box.
  virtual void ShowErrorBox();
  // Starts a thread on `procedure` with `parameter`, running at once. True when it was created;
  // a failure leaves the object not started.
  virtual bool Start(LPTHREAD_START_ROUTINE procedure, void* parameter);
  // SuspendThread's result: the previous suspend count, or (DWORD)-1 on failure.
  virtual DWORD Suspend();
  // Resumes until the thread runs, whatever its suspend count was.
  virtual void Resume();
  // Stops the thread. It is asked to stop (StopRequested) and waited for, briefly, while messages
  // sent to the UI thread are still served; it is never killed, since a killed thread can leave the
  // heap or the Internet client locked for the rest of the process. Returns at once when the
  // thread has ended or was never started. Afterwards IsRunning tells whether it really ended.
  virtual void Terminate();
  virtual DWORD GetThreadId() const;

  // True once Terminate has asked the thread to stop; the thread's procedure checks it between
  // steps of its work and returns.
  bool StopRequested() const { return stop_requested_; }
  // True while the started thread has not ended.
  bool IsRunning() const;

  int LastError = -1;
  DWORD ThreadId = 0;
  HANDLE ThreadHandle = nullptr;

 private:
  std::atomic<bool> stop_requested_{false};
};
