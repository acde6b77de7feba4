// The status line under the progress bar, drawn without flicker through two canvases of the main
// window that lie on top of each other: 画板2, on which the line is drawn, and 画板3, which covers
// it and is the one the user sees.
#pragma once

#include <string_view>

// Shows `text` (code page 936) as the status line, its left edge `x` pixels from the left edge of
// the strip: clears 画板2 to white, writes the text on it at (x, 0) in its font and colour, then
// copies all of 画板2 onto 画板3 in one block transfer, so 画板3 goes from the old line to the new
// one in one step. A text wider than the strip is cut off at its right edge; an empty text leaves
// the strip white. Safe from any thread: calls are serialised, so two never overlap. Reports
// nothing; before the main window exists it draws nothing.
void ShowStatus(int x, std::string_view text);
