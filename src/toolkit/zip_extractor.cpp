// The archive extraction control. It has no window; its form entry names it so that the program
// can reach it like every other control.
#include "toolkit/control.h"

namespace tk {
namespace {

class ZipExtractor final : public Control {
 public:
  using Control::Control;

  bool Create(HWND) override { return true; }
};

}  // namespace

std::unique_ptr<Control> MakeZipExtractor(const ControlEntry& entry) {
  return std::make_unique<ZipExtractor>(entry);
}

}  // namespace tk
