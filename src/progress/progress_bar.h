// The progress bar: composed with GDI+ from two PNG images and drawn onto a canvas's window.
#pragma once

#include <windows.h>

#include <span>

// Starts GDI+ for the whole process unless it runs already (GdiplusToken is not 0); it is never
// shut down. Safe from any thread. True when GDI+ runs; false when gdiplus.dll, its start-up
// function or the start itself failed, in which case the next call tries again.
bool StartGdiplus();

// Draws the bar onto `window` (the canvas 画板1), from the calling thread: the whole track image,
// and over its left part the left share percent / maximum of the fill image, cut, not scaled;
// both images at their natural size from the window's top-left corner, handed to the window in
// one drawing operation. Both PNG images are decoded afresh at every call and nothing is kept
// between calls. Draws onto the window only, not into the canvas's own picture, so a repaint of
// the canvas shows its white background until the next call.
// Nothing is reported: a step that fails (an image that does not decode, a window that is gone)
// leaves its part of the picture out, and without GDI+ nothing is drawn. A maximum of 0 draws the
// track alone; a percent outside 0..maximum is not clamped.
void DrawProgressBar(HWND window, std::span<const unsigned char> trackImage,
                     std::span<const unsigned char> fillImage, float percent, float maximum);
