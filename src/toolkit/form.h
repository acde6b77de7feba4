// A form is data: the window's settings and a table of its controls, from which LoadForm builds
// the window.
#pragma once

#include <windows.h>

#include <span>

namespace tk {

enum class ControlKind {
  Canvas,         // keeps its own picture; drawn on from any thread (canvas.h)
  PictureButton,  // a push button that shows a picture instead of a frame and caption
  EditBox,        // a one-line edit field
  Label,          // carries a synchronous cross-thread feedback event (label.h)
  ZipExtractor,   // extracts archives; has no window and is never shown
  MoviePlayer,    // plays a movie over its rectangle (movie_player.h)
};

struct CanvasStyle {
  COLORREF background = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int fontHeight = 0;         // character height in pixels; 0 keeps the system font
  const char* fontFace = "";  // code page 936
  bool transparentText = true;
};

struct ControlEntry {
  ControlKind kind;
  const char* name;  // the form name, code page 936
  int x = 0, y = 0, width = 0, height = 0;
  bool visible = true;
  bool tabStop = false;
  CanvasStyle canvas{};                            // canvases
  std::span<const unsigned char> normalPicture{};  // picture buttons: BMP files
  std::span<const unsigned char> hoverPicture{};
  void (*onClick)() = nullptr;             // picture buttons, on the UI thread
  void (*onFeedback)(int, int) = nullptr;  // labels, on the UI thread
};

struct FormDefinition {
  const char* title;  // code page 936
  int width, height;  // the window is centred on the screen for this size
  bool topmost = false;
  std::span<const ControlEntry> controls;  // in stacking order: the first lies on top
  void (*onCreate)() = nullptr;            // runs after the controls exist, before the window shows
};

// Builds a borderless window from `form` with its controls in their stacking order, shows the
// controls whose form says visible, runs onCreate, then shows the window. The first window loaded
// is the main window. A window that cannot be built is a fatal error (exit code -1).
HWND LoadForm(const FormDefinition& form);

// The first window that LoadForm built; null before.
HWND MainWindow();

}  // namespace tk
