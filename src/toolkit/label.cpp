#include "toolkit/label.h"

#include "toolkit/control.h"
#include "toolkit/ui_thread.h"

namespace tk {
namespace {

class Label final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override { return CreateChild(parent, "STATIC", SS_LEFT) != nullptr; }
};

}  // namespace

std::unique_ptr<Control> MakeLabel(const ControlEntry& entry) {
  return std::make_unique<Label>(entry);
}

bool RaiseFeedback(HWND form, std::string_view label, int first, int second) {
  Control* control = FindControl(form, label);
  if (!control || control->entry().kind != ControlKind::Label || !control->entry().onFeedback) {
    return false;
  }
  auto handler = control->entry().onFeedback;
  return RunOnUiThread([&] { handler(first, second); });
}

}  // namespace tk
