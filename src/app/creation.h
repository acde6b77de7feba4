// Where the program's work begins: the main window's creation handler.
#pragma once

// Runs once, on the UI thread, after the window and its controls exist and before it is shown.
void OnWindowCreated();
