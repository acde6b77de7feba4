// The toolkit's internal view of a control: the kinds derive from Control, and forms keep them
// by form name. Programs use the operations of controls.h, canvas.h and label.h instead.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/form.h"

namespace tk {

class Control {
 public:
  explicit Control(const ControlEntry& entry) : entry_(entry), name_(entry.name) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const ControlEntry& entry() const { return entry_; }
  HWND window() const { return window_; }

  // Creates the control's window (hidden) inside `parent`; false when that failed. A windowless
  // kind creates nothing and succeeds.
  virtual bool Create(HWND parent) = 0;

 protected:
  // Creates the control's child window, hidden, with `this` as its creation parameter so that the
  // window procedure finds the control. Its window text is the form name unless `text` is given
  // (an edit box starts empty), which also lets tools tell the controls apart.
  HWND CreateChild(HWND parent, const char* window_class, DWORD style, const char* text = nullptr);
  void set_window(HWND window) { window_ = window; }

 private:
  const ControlEntry& entry_;
  std::string name_;
  HWND window_ = nullptr;
};

// The control behind `window` when it was created by CreateChild; null otherwise. Window
// procedures of the kinds use it to reach their object.
template <typename T>
T* ControlFromWindow(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Registers a window class of the toolkit's controls (arrow cursor, no background brush unless
// given). Registering a class that exists already changes nothing, so each kind calls it when it
// creates a window.
void RegisterControlClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr);

// Stores the creation parameter in the window's user data on WM_NCCREATE.
void AttachControlOnCreate(HWND window, UINT message, LPARAM lparam);

// The control called `name` on the form window `form`; null when there is none.
Control* FindControl(HWND form, std::string_view name);

std::unique_ptr<Control> MakeCanvas(const ControlEntry& entry);
std::unique_ptr<Control> MakePictureButton(const ControlEntry& entry);
std::unique_ptr<Control> MakeEditBox(const ControlEntry& entry);
std::unique_ptr<Control> MakeLabel(const ControlEntry& entry);
std::unique_ptr<Control> MakeZipExtractor(const ControlEntry& entry);
std::unique_ptr<Control> MakeMoviePlayer(const ControlEntry& entry);

}  // namespace tk
