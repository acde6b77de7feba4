#include "toolkit/controls.h"

#include "toolkit/control.h"
#include "toolkit/ui_thread.h"

namespace tk {
namespace {

HWND Resolve(HWND form, std::string_view name) {
  if (name.empty()) return IsWindow(form) ? form : nullptr;
  Control* control = FindControl(form, name);
  return control ? control->window() : nullptr;
}

void Resize(HWND window, int width, int height) {
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

HWND ControlHandle(HWND form, std::string_view name) {
  return Resolve(form, name);
}

bool ControlExists(HWND form, std::string_view name) {
  if (name.empty()) return IsWindow(form);
  Control* control = FindControl(form, name);
  if (!control) return false;
  // A windowless control exists as long as its form does.
  return control->window() ? IsWindow(control->window()) != FALSE : IsWindow(form) != FALSE;
}

bool IsVisible(HWND form, std::string_view name) {
  HWND window = Resolve(form, name);
  return window && (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetVisible(HWND form, std::string_view name, bool visible) {
  HWND window = Resolve(form, name);
  if (!window) return;
  RunOnUiThread([&] { ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE); });
}

std::string GetText(HWND form, std::string_view name) {
  HWND window = Resolve(form, name);
  if (!window) return {};
  std::string text;
  RunOnUiThread([&] {
    text.resize(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1);
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), text.size())));
  });
  return text;
}

void SetText(HWND form, std::string_view name, std::string_view text) {
  HWND window = Resolve(form, name);
  if (!window) return;
  const std::string terminated(text);
  RunOnUiThread([&] { SetWindowTextA(window, terminated.c_str()); });
}

int GetWidth(HWND form, std::string_view name) {
  HWND window = Resolve(form, name);
  return window ? WindowSize(window).cx : 0;
}

int GetHeight(HWND form, std::string_view name) {
  HWND window = Resolve(form, name);
  return window ? WindowSize(window).cy : 0;
}

void SetWidth(HWND form, std::string_view name, int width) {
  HWND window = Resolve(form, name);
  if (!window) return;
  RunOnUiThread([&] { Resize(window, width, WindowSize(window).cy); });
}

void SetHeight(HWND form, std::string_view name, int height) {
  HWND window = Resolve(form, name);
  if (!window) return;
  RunOnUiThread([&] { Resize(window, WindowSize(window).cx, height); });
}

void SetAlwaysOnTop(HWND form, bool on_top) {
  if (!IsWindow(form)) return;
  RunOnUiThread([&] {
    SetWindowPos(form, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  });
}

}  // namespace tk
