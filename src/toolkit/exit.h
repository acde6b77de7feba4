// The program-wide exit. One exit routine, run exactly once, on the UI thread, at every end.
#pragma once

#include <cstddef>

namespace tk {

using ExitRoutine = void (*)();

// Registers the routine that every end of the program runs first; a later registration replaces it.
void SetExitRoutine(ExitRoutine routine);

// Ends the program with `code`, from any thread, and never returns. On the UI thread it runs the
// exit routine (once: a second exit does not run it again) and ends the process. From another
// thread it hands the exit to the UI thread and waits; should the UI thread no longer serve
// messages, the caller ends the process itself.
//
// The process ends without unloading libraries or freeing what the toolkit built: a worker thread
// may still be drawing into a control or be inside the Internet client, and nothing it may touch
// is torn down beneath it.
[[noreturn]] void ExitProgram(int code);

// The toolkit's run-time error: shows `message` in an error box, then ExitProgram(-1).
[[noreturn]] void FatalError(const char* message);

// The fatal error of an exhausted heap, naming the size of the request that failed.
[[noreturn]] void FatalOutOfMemory(std::size_t bytes);

}  // namespace tk
