// The UI thread owns every window. Work from other threads reaches it through a hidden dispatcher
// window: the caller sends a message and waits while the UI thread runs the work.
#pragma once

#include <windows.h>

#include "toolkit/function_ref.h"

namespace tk {

// Makes the calling thread the UI thread and creates the dispatcher window. Returns false when the
// window cannot be created; cross-thread work then fails (RunOnUiThread returns false).
bool InitUiThread();

// True on the thread that called InitUiThread.
bool IsUiThread();

// Runs `work` on the UI thread and returns once it has run. On the UI thread it runs at once; from
// another thread the caller waits inside a sent message. Returns false, without running `work`,
// when the UI thread does not serve messages any more (no dispatcher window).
bool RunOnUiThread(FunctionRef<void()> work);

// Processes the window messages already waiting for the calling thread, then returns. A quit
// request met on the way is left for the message loop.
void ProcessPendingEvents();

// Waits up to `timeoutMs` for `object` while serving messages sent to the calling thread, so that
// a worker waiting in RunOnUiThread cannot deadlock the wait. Posted and input messages stay
// queued: no click or timer handler runs inside the wait. Returns true when `object` was signalled.
bool WaitServingSentMessages(HANDLE object, DWORD timeoutMs);

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

}  // namespace tk
