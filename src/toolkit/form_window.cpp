#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/exit.h"
#include "toolkit/form.h"

namespace tk {
namespace {

constexpr char kFormClass[] = "TkForm";

struct Form {
  HWND window = nullptr;
  std::vector<std::unique_ptr<Control>> controls;  // in stacking order
};

// Forms are built on the UI thread and looked up from any thread. They live until the process
// ends: a worker may still hold a control while the program exits.
std::mutex forms_lock;
std::vector<std::unique_ptr<Form>> forms;
std::atomic<HWND> main_window{nullptr};

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_DESTROY && window == main_window) PostQuitMessage(0);
  return DefWindowProcA(window, message, wparam, lparam);
}

std::unique_ptr<Control> MakeControl(const ControlEntry& entry) {
  switch (entry.kind) {
    case ControlKind::Canvas:
      return MakeCanvas(entry);
    case ControlKind::PictureButton:
      return MakePictureButton(entry);
    case ControlKind::EditBox:
      return MakeEditBox(entry);
    case ControlKind::Label:
      return MakeLabel(entry);
    case ControlKind::ZipExtractor:
      return MakeZipExtractor(entry);
    case ControlKind::MoviePlayer:
      return MakeMoviePlayer(entry);
  }
  return nullptr;
}

// Each control lies directly beneath the one before it.
void ApplyStacking(const Form& form) {
  HWND above = HWND_TOP;
  for (const auto& control : form.controls) {
    if (!control->window()) continue;
    SetWindowPos(control->window(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control->window();
  }
}

}  // namespace

void RegisterControlClass(const char* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  RegisterClassA(&window_class);
}

void AttachControlOnCreate(HWND window, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
}

HWND Control::CreateChild(HWND parent, const char* window_class, DWORD style, const char* text) {
  // Children clip their siblings, so a covered control never draws over the one above it.
  style |= WS_CHILD | WS_CLIPSIBLINGS | (entry_.tabStop ? WS_TABSTOP : 0);
  HWND window = CreateWindowExA(0, window_class, text ? text : entry_.name, style, entry_.x,
                                entry_.y, entry_.width, entry_.height, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
  window_ = window;
  return window;
}

HWND LoadForm(const FormDefinition& definition) {
  RegisterControlClass(kFormClass, FormProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  auto form = std::make_unique<Form>();
  const int x = (GetSystemMetrics(SM_CXSCREEN) - definition.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - definition.height) / 2;
  const DWORD ex_style = WS_EX_APPWINDOW | (definition.topmost ? WS_EX_TOPMOST : 0);
  form->window = CreateWindowExA(ex_style, kFormClass, definition.title, WS_POPUP | WS_CLIPCHILDREN,
                                 x, y, definition.width, definition.height, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  if (!form->window) FatalError("无法创建程序窗口。");

  for (const ControlEntry& entry : definition.controls) {
    std::unique_ptr<Control> control = MakeControl(entry);
    if (!control || !control->Create(form->window)) FatalError("无法创建程序窗口的控件。");
    form->controls.push_back(std::move(control));
  }
  ApplyStacking(*form);
  for (const auto& control : form->controls) {
    if (control->window() && control->entry().visible) ShowWindow(control->window(), SW_SHOWNA);
  }

  HWND window = form->window;
  {
    std::lock_guard lock(forms_lock);
    forms.push_back(std::move(form));
  }
  HWND expected = nullptr;
  main_window.compare_exchange_strong(expected, window);

  if (definition.onCreate) definition.onCreate();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

HWND MainWindow() {
  return main_window;
}

Control* FindControl(HWND form_window, std::string_view name) {
  std::lock_guard lock(forms_lock);
  for (const auto& form : forms) {
    if (form->window != form_window) continue;
    for (const auto& control : form->controls) {
      if (control->name() == name) return control.get();
    }
  }
  return nullptr;
}

}  // namespace tk
