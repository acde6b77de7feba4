#include "app/shared_state.h"

SharedState Globals;

void InitGlobals() {
  Globals.WorkerThread = std::make_unique<ThreadObject>();
  Globals.TransferTable = std::make_unique<TransferSlotTable>();
  for (auto& slot : *Globals.TransferTable) slot = std::make_unique<TransferSlot>();
}

void ReleaseGlobals() {
  if (Globals.WorkerThread && Globals.WorkerThread->IsRunning()) return;
  Globals.PackageId = {};
  Globals.ShortcutPath = {};
  Globals.TargetPath = {};
  // Destroying the object does nothing to its thread, and its handle stays open.
  Globals.WorkerThread.reset();
  Globals.PackageFile = {};
  // The slots' handles are not closed: the end of the process releases them.
  Globals.TransferTable.reset();
}
