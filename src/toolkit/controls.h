// Operations on a form's controls, safe from any thread while the UI thread runs its message loop.
// A control is named by its form window and its form name; the empty name means the form window
// itself. Operations on a name that does not exist do nothing and read as 0, false or empty.
// Writes run on the UI thread (the caller waits for them); reads look at the window directly.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk {

// The window of the control; null when there is no such control or it has no window.
HWND ControlHandle(HWND form, std::string_view name);

// True while the control and its window exist.
bool ControlExists(HWND form, std::string_view name);

// The control's own visible property (a control on a hidden form still reads as visible).
bool IsVisible(HWND form, std::string_view name);
void SetVisible(HWND form, std::string_view name, bool visible);

// Caption of a form, text of an edit box; code page 936.
std::string GetText(HWND form, std::string_view name);
void SetText(HWND form, std::string_view name, std::string_view text);

// Writing a width or a height keeps the top-left corner and the other dimension.
int GetWidth(HWND form, std::string_view name);
int GetHeight(HWND form, std::string_view name);
void SetWidth(HWND form, std::string_view name, int width);
void SetHeight(HWND form, std::string_view name, int height);

// Keeps the form above all windows that are not topmost themselves, or gives that up.
void SetAlwaysOnTop(HWND form, bool on_top);

}  // namespace tk
