// The movie control: plays a movie over its rectangle, frame after frame at the movie's rate,
// starting again from the first frame after the last. Its inner window, of the class name that
// player windows are known by, offers a right-click menu of its own.
#pragma once

#include <windows.h>

#include <string_view>

// All three run on the UI thread.
namespace tk {

// The class of the control's inner window, the one that receives the mouse.
inline constexpr char kMoviePlayerInnerClass[] = "MacromediaFlashPlayerActiveX";

// Loads the movie file at `path` (code page 936) into the movie control `control` of `form`,
// replacing any movie it had, and shows its first frame. False when there is no such control or
// the file cannot be read or is not a movie; the control then shows its empty area.
bool LoadMovie(HWND form, std::string_view control, std::string_view path);

// Starts playing the loaded movie. Does nothing without a movie.
void PlayMovie(HWND form, std::string_view control);

// Among the descendants of `window` (children, their children and so on, in the system's
// enumeration order), gives the first window whose class is exactly kMoviePlayerInnerClass a
// window procedure that swallows WM_RBUTTONDOWN (answering -1) and passes every other message on.
// One window per process: the procedure it replaced is kept once. Without such a window nothing
// changes.
void BlockContextMenu(HWND window);

}  // namespace tk
