// Small helpers on window handles.
#pragma once

#include <windows.h>

// Gives `window` a rounded-rectangle region of its client size with corners drawn by an
// ellipse of the given size, and redraws it. A failure leaves the window rectangular.
void RoundCorners(HWND window, int ellipseWidth = 50, int ellipseHeight = 50);

// The width and height of the window's client area; both 0 on failure. Non-zero on success.
int GetClientSize(HWND window, int& width, int& height);
