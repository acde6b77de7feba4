#include <windows.h>

#include "app/program.h"
#include "toolkit/exit.h"

// The toolkit's normal end runs the exit routine once the message loop is over.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tk::ExitProgram(ProgramMain());
}
