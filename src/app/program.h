// The program's entry procedure.
#pragma once

// Initialises the toolkit and the shared state, registers the exit routine, loads the main window
// and runs the message loop. Returns 0 when the loop ends.
int ProgramMain();
