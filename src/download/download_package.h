// The program's main task, on the download thread: fetch the package archive for the stub's
// identifier into .\hq.zip beside the program, with the status line and the bar redrawn after
// every chunk, make sure it is not an HTML page, and switch the window to its install stage.
#pragma once

// Returns when the window has entered its install stage, or when anything went wrong: then the
// window stays in its download stage, showing the last line and bar that were drawn. Shows no
// message. Also returns, between two chunks, once the download thread is asked to stop.
void DownloadPackage();
