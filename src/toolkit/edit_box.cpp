// The one-line edit field: the system's edit control with its default settings.
#include "toolkit/control.h"

namespace tk {
namespace {

class EditBox final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override {
    HWND window = CreateChild(parent, "EDIT", WS_BORDER | ES_AUTOHSCROLL | ES_LEFT, "");
    if (!window) return false;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return true;
  }
};

}  // namespace

std::unique_ptr<Control> MakeEditBox(const ControlEntry& entry) {
  return std::make_unique<EditBox>(entry);
}

}  // namespace tk
