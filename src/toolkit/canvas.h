// Canvases keep their own picture: a bitmap of the whole client area. Every drawing goes onto the
// window and into the picture, a repaint is served from the picture, and a copy reads the picture,
// so a canvas can be drawn on while it is covered and shows its last drawing again when uncovered.
// The operations draw from the calling thread, any thread; each holds the canvas's lock while it
// draws. Names that are not canvases of `form` are ignored.
#pragma once

#include <windows.h>

#include <string_view>

namespace tk {

// Fills the whole client area with the canvas's background colour.
void CanvasClear(HWND form, std::string_view canvas);

// Draws `text` (code page 936) as one line with its top-left corner at (x, y), in the canvas's
// font and text colour; with a transparent text background nothing is painted behind the letters.
void CanvasWriteText(HWND form, std::string_view canvas, int x, int y, std::string_view text);

// Copies the source canvas's whole picture onto the target canvas at (0, 0) with the raster
// operation `rop`, onto the target's window and into its picture.
void CanvasCopy(HWND form, std::string_view source, std::string_view target, DWORD rop = SRCCOPY);

// The same for the rectangle `from` of the source, placed with its corner at `to`.
void CanvasCopy(HWND form, std::string_view source, std::string_view target, const RECT& from,
                POINT to, DWORD rop = SRCCOPY);

// One pixel of the canvas's picture; CLR_INVALID outside it or for a name that is not a canvas.
COLORREF CanvasPicturePixel(HWND form, std::string_view canvas, int x, int y);

}  // namespace tk
