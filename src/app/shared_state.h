// The program-wide state: the only data the UI thread and the worker threads have in common.
// Each value has one writing thread, and readers on other threads read it after the write by the
// order of events.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/thread_object.h"
#include "download/transfer_slot.h"

constexpr int kTransferSlotCount = 50;
// Numbered 1 to 50: slot n is element n - 1.
using TransferSlotTable = std::array<std::unique_ptr<TransferSlot>, kTransferSlotCount>;

struct SharedState {
  std::string PackageId;     // written by the download
  std::string PackageFile;   // written by the download, read by the extraction
  std::string ShortcutPath;  // written by the extraction, read by the shortcut's creation
  std::string TargetPath;    // written by the extraction, read by the shortcut's creation
  std::unique_ptr<ThreadObject> WorkerThread;
  std::unique_ptr<TransferSlotTable> TransferTable;
  // 64-bit, so that packages of 2 GiB and more show their true progress and completeness.
  std::int64_t TotalBytes = 0;
  std::int64_t ReceivedBytes = 0;
  int PackageCheckFile = 0;    // a file number; 0 = none
  ULONG_PTR GdiplusToken = 0;  // 0 = GDI+ not started
};

extern SharedState Globals;

// Fills the shared state with its start values: a thread object not started and 50 free slots.
void InitGlobals();

// The exit routine: frees the shared state, on the UI thread, once. While the download thread is
// still running (it did not stop within its short wait), nothing it may use is freed: the process
// ends right after this routine and reclaims it.
void ReleaseGlobals();
