// The movie control's window. Until a movie is loaded it shows its empty area in white.
#include <mutex>

#include "toolkit/control.h"

namespace tk {
namespace {

constexpr char kPlayerClass[] = "TkMoviePlayer";

class MoviePlayer final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override {
    static std::once_flag registered;
    std::call_once(registered, [] {
      WNDCLASSA window_class{};
      window_class.lpfnWndProc = DefWindowProcA;
      window_class.hInstance = GetModuleHandleA(nullptr);
      window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      window_class.lpszClassName = kPlayerClass;
      RegisterClassA(&window_class);
    });
    return CreateChild(parent, kPlayerClass, 0) != nullptr;
  }
};

}  // namespace

std::unique_ptr<Control> MakeMoviePlayer(const ControlSpec& spec) {
  return std::make_unique<MoviePlayer>(spec);
}

}  // namespace tk
