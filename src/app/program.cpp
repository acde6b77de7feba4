#include "app/program.h"

#include "app/main_window.h"
#include "app/shared_state.h"
#include "toolkit/exit.h"
#include "toolkit/startup.h"
#include "toolkit/ui_thread.h"

int ProgramMain() {
  tk::InitializeToolkit();
  InitGlobals();
  tk::SetExitRoutine(ReleaseGlobals);
  tk::LoadForm(MainForm);
  tk::RunMessageLoop();
  return 0;
}
