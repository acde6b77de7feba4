#include "toolkit/canvas.h"

#include <mutex>

#include "toolkit/control.h"
#include "toolkit/handles.h"

namespace tk {
namespace {

constexpr char kCanvasClass[] = "TkCanvas";

class Canvas final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override {
    RegisterControlClass(kCanvasClass, Proc);
    if (!CreateChild(parent, kCanvasClass, 0)) return false;
    return CreatePicture();
  }

  void Clear() {
    std::lock_guard lock(lock_);
    const RECT all{0, 0, width_, height_};
    UniqueBrush brush(CreateSolidBrush(entry().canvas.background));
    FillRect(picture_.get(), &all, brush.get());
    WindowDc dc(window());
    if (dc) FillRect(dc.get(), &all, brush.get());
  }

  void WriteText(int x, int y, std::string_view text) {
    std::lock_guard lock(lock_);
    const int length = static_cast<int>(text.size());
    TextOutA(picture_.get(), x, y, text.data(), length);
    WindowDc dc(window());
    if (!dc) return;
    ScopedSelect font(dc.get(),
                      font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(SYSTEM_FONT));
    PrepareText(dc.get());
    TextOutA(dc.get(), x, y, text.data(), length);
  }

  // Locks both canvases (in a fixed order, so two copies in opposite directions cannot deadlock).
  void CopyTo(Canvas& target, const RECT& from, POINT to, DWORD rop) {
    const int w = from.right - from.left, h = from.bottom - from.top;
    auto draw = [&] {
      BitBlt(target.picture_.get(), to.x, to.y, w, h, picture_.get(), from.left, from.top, rop);
      WindowDc dc(target.window());
      if (dc) BitBlt(dc.get(), to.x, to.y, w, h, picture_.get(), from.left, from.top, rop);
    };
    if (&target == this) {
      std::lock_guard lock(lock_);
      draw();
    } else {
      std::scoped_lock both(lock_, target.lock_);
      draw();
    }
  }

  COLORREF PicturePixel(int x, int y) {
    std::lock_guard lock(lock_);
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return GetPixel(picture_.get(), x, y);
  }

  RECT ClientRect() const { return {0, 0, width_, height_}; }

 private:
  bool CreatePicture() {
    RECT client{};
    GetClientRect(window(), &client);
    width_ = client.right;
    height_ = client.bottom;
    WindowDc screen(nullptr);
    picture_.reset(CreateCompatibleDC(screen.get()));
    bitmap_.reset(
        CreateCompatibleBitmap(screen.get(), width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1));
    if (!picture_ || !bitmap_) return false;
    SelectObject(picture_.get(), bitmap_.get());
    const CanvasStyle& style = entry().canvas;
    if (style.fontHeight > 0) {
      // GB2312 character set, default precisions and quality: the program's canvas font.
      font_.reset(CreateFontA(-style.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              GB2312_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                              VARIABLE_PITCH, style.fontFace));
    }
    if (font_) SelectObject(picture_.get(), font_.get());
    PrepareText(picture_.get());
    const RECT all{0, 0, width_, height_};
    UniqueBrush brush(CreateSolidBrush(style.background));
    FillRect(picture_.get(), &all, brush.get());
    return true;
  }

  void PrepareText(HDC dc) const {
    SetTextColor(dc, entry().canvas.textColor);
    SetBkMode(dc, entry().canvas.transparentText ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, entry().canvas.background);
  }

  void Paint(HDC dc, const RECT& area) {
    std::lock_guard lock(lock_);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, picture_.get(),
           area.left, area.top, SRCCOPY);
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    AttachControlOnCreate(window, message, lparam);
    Canvas* self = ControlFromWindow<Canvas>(window);
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // the picture covers the whole client area
      case WM_PAINT:
        if (self) {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(window, &ps);
          self->Paint(dc, ps.rcPaint);
          EndPaint(window, &ps);
          return 0;
        }
        break;
      case WM_PRINTCLIENT:
        if (self) {
          self->Paint(reinterpret_cast<HDC>(wparam), self->ClientRect());
          return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }

  std::mutex lock_;
  int width_ = 0, height_ = 0;
  UniqueMemoryDc picture_;
  UniqueBitmap bitmap_;
  UniqueFont font_;
};

Canvas* FindCanvas(HWND form, std::string_view name) {
  Control* control = FindControl(form, name);
  return control && control->entry().kind == ControlKind::Canvas ? static_cast<Canvas*>(control)
                                                                 : nullptr;
}

}  // namespace

std::unique_ptr<Control> MakeCanvas(const ControlEntry& entry) {
  return std::make_unique<Canvas>(entry);
}

void CanvasClear(HWND form, std::string_view canvas) {
  if (Canvas* c = FindCanvas(form, canvas)) c->Clear();
}

void CanvasWriteText(HWND form, std::string_view canvas, int x, int y, std::string_view text) {
  if (Canvas* c = FindCanvas(form, canvas)) c->WriteText(x, y, text);
}

void CanvasCopy(HWND form, std::string_view source, std::string_view target, DWORD rop) {
  Canvas* from = FindCanvas(form, source);
  Canvas* to = FindCanvas(form, target);
  if (from && to) from->CopyTo(*to, from->ClientRect(), POINT{0, 0}, rop);
}

void CanvasCopy(HWND form, std::string_view source, std::string_view target, const RECT& from,
                POINT to, DWORD rop) {
  Canvas* source_canvas = FindCanvas(form, source);
  Canvas* target_canvas = FindCanvas(form, target);
  if (source_canvas && target_canvas) source_canvas->CopyTo(*target_canvas, from, to, rop);
}

COLORREF CanvasPicturePixel(HWND form, std::string_view canvas, int x, int y) {
  Canvas* c = FindCanvas(form, canvas);
  return c ? c->PicturePixel(x, y) : CLR_INVALID;
}

}  // namespace tk
