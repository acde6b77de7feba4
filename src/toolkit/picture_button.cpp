// A push button drawn entirely by its pictures: the normal one, the hover one while the pointer is
// over it with the left button up, and (having no pressed picture) the normal one while the left
// button is held down. It clicks when the left button is released over it.

#include "toolkit/control.h"
#include "toolkit/picture.h"

namespace tk {
namespace {

constexpr char kButtonClass[] = "TkPictureButton";

class PictureButton final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override {
    RegisterControlClass(kButtonClass, Proc);
    normal_ = BitmapFromBmpFile(entry().normalPicture);
    hover_ = BitmapFromBmpFile(entry().hoverPicture);
    return CreateChild(parent, kButtonClass, 0) != nullptr;
  }

 private:
  bool PointerInside(LPARAM lparam) const {
    RECT client;
    GetClientRect(window(), &client);
    const POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    return PtInRect(&client, p) != FALSE;
  }

  void SetState(bool hover, bool pressed) {
    if (hover == hover_state_ && pressed == pressed_) return;
    hover_state_ = hover;
    pressed_ = pressed;
    InvalidateRect(window(), nullptr, FALSE);
  }

  void Paint(HDC dc) {
    const bool show_hover = hover_state_ && !pressed_ && hover_;
    HBITMAP picture = show_hover ? hover_.get() : normal_.get();
    RECT client;
    GetClientRect(window(), &client);
    if (!picture) {
      FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      return;
    }
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    ScopedSelect selected(source.get(), picture);
    BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
  }

  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_MOUSEMOVE: {
        const bool inside = PointerInside(lparam);
        if (!tracking_ && inside) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window(), 0};
          tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        // While the button is held, capture keeps the moves coming from outside too.
        SetState(inside, pressed_);
        return 0;
      }
      case WM_MOUSELEAVE:
        tracking_ = false;
        if (!pressed_) SetState(false, false);
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        SetCapture(window());
        SetState(true, true);
        return 0;
      case WM_LBUTTONUP: {
        const bool was_pressed = pressed_;
        const bool inside = PointerInside(lparam);
        SetState(inside, false);
        if (GetCapture() == window()) ReleaseCapture();
        if (was_pressed && inside && entry().onClick) {
          UpdateWindow(window());
          entry().onClick();
        }
        return 0;
      }
      case WM_CAPTURECHANGED:
        if (pressed_) SetState(false, false);
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window(), &ps);
        Paint(dc);
        EndPaint(window(), &ps);
        return 0;
      }
      case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wparam));
        return 0;
    }
    return DefWindowProcA(window(), message, wparam, lparam);
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    AttachControlOnCreate(window, message, lparam);
    PictureButton* self = ControlFromWindow<PictureButton>(window);
    if (!self || !self->window()) return DefWindowProcA(window, message, wparam, lparam);
    return self->Handle(message, wparam, lparam);
  }

  UniqueBitmap normal_;
  UniqueBitmap hover_;
  bool hover_state_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
};

}  // namespace

std::unique_ptr<Control> MakePictureButton(const ControlEntry& entry) {
  return std::make_unique<PictureButton>(entry);
}

}  // namespace tk
