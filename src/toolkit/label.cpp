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

std::unique_ptr<Control> MakeLabel(const ControlSpec& spec) {
  return std::make_unique<Label>(spec);
}

bool RaiseFeedback(HWND form, std::string_view label, int first, int second) {
  Control* control = FindControl(form, label);
  if (!control || control->spec().kind != ControlKind::Label || !control->spec().onFeedback) {
    return false;
  }
  auto handler = control->spec().onFeedback;
  return RunOnUiThread([&] { handler(first, second); });
}

}  // namespace tk
