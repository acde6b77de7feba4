// Where the program's work begins: the main window's creation handler, which starts the download.
#pragma once

#include <windows.h>

// Runs once, on the UI thread, after the window and its controls exist and before it is shown:
// caption and final size, the single-instance guard, the download stage, the rounded bar, the
// splash movie, and the download thread.
void OnWindowCreated();

// Starts WorkerThread on DownloadThreadEntry; whether the start succeeded is not examined.
void StartDownloadThread();

// The download thread: runs the download procedure and ends.
DWORD WINAPI DownloadThreadEntry(void* parameter);
