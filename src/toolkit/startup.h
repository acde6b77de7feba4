// What the toolkit does before anything of the program runs.
#pragma once

#include <windows.h>

namespace tk {

// Initialises the toolkit on the calling thread, which becomes the UI thread:
//  1. restricts the search for libraries loaded at run time to System32, so that a DLL planted
//     beside the program (typically in a Downloads folder) is never loaded;
//  2. initialises OLE on this thread;
//  3. makes the folder that holds the program's own file the current directory, so relative paths
//     resolve beside the program whatever directory it was started from;
//  4. creates the dispatcher through which other threads reach the UI thread.
// Failures of steps 1 to 3 are not reported; the program goes on as well as it can.
void InitializeToolkit();

// Loads a system library from System32 only; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace tk
