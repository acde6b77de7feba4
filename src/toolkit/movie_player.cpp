#include "toolkit/movie_player.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/handles.h"
#include "toolkit/swf/decode_movie.h"
#include "toolkit/swf/movie_file.h"
#include "toolkit/swf/renderer.h"

namespace tk {
namespace {

constexpr char kPlayerClass[] = "TkMoviePlayer";
constexpr UINT_PTR kFrameTimer = 1;

enum MenuCommand : UINT { kMenuPlay = 1, kMenuLoop, kMenuRewind, kMenuAbout };

std::optional<std::vector<std::uint8_t>> ReadWholeFile(std::string_view path) {
  const std::string terminated(path);
  UniqueFile file(CreateFileA(terminated.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  // Nothing larger than the decoder would accept is read at all.
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      size.QuadPart > static_cast<LONGLONG>(swf::kMaxMovieLength)) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

// The outer window holds the playback; the inner one covers it, paints the frames and takes the
// mouse, as a hosted player's own window would.
class MoviePlayer final : public Control {
 public:
  using Control::Control;

  bool Create(HWND parent) override {
    RegisterControlClass(kPlayerClass, OuterProc);
    RegisterControlClass(kMoviePlayerInnerClass, InnerProc);
    HWND outer = CreateChild(parent, kPlayerClass, WS_CLIPCHILDREN);
    if (!outer) return false;
    inner_ =
        CreateWindowExA(0, kMoviePlayerInnerClass, "", WS_CHILD | WS_VISIBLE, 0, 0, entry().width,
                        entry().height, outer, nullptr, GetModuleHandleA(nullptr), this);
    return inner_ != nullptr;
  }

  bool Load(std::string_view path) {
    KillTimer(window(), kFrameTimer);
    renderer_.reset();
    movie_.reset();
    frame_ = 0;
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (bytes) movie_ = std::make_unique<std::optional<swf::Movie>>(swf::DecodeMovie(*bytes));
    const bool loaded = movie_ && movie_->has_value() && (*movie_)->width > 0;
    if (loaded) {
      renderer_ = std::make_unique<swf::Renderer>(**movie_);
      CreateFrameBitmap();
      RenderFrame();
    } else {
      movie_.reset();
    }
    InvalidateRect(inner_, nullptr, FALSE);
    return loaded;
  }

  void Play() {
    if (!renderer_) return;
    // The frame rate is 8.8 fixed point; a rate of 0 plays as fast as a timer allows.
    const unsigned rate = (*movie_)->frame_rate;
    const UINT interval = rate ? static_cast<UINT>(256000u / rate) : USER_TIMER_MINIMUM;
    SetTimer(window(), kFrameTimer, interval, nullptr);
  }

 private:
  void CreateFrameBitmap() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = renderer_->width();
    info.bmiHeader.biHeight = -renderer_->height();  // top-down, as the renderer writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    frame_bitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    frame_bits_ = static_cast<std::uint32_t*>(bits);
    frame_dc_.reset(CreateCompatibleDC(screen.get()));
    if (frame_dc_ && frame_bitmap_) SelectObject(frame_dc_.get(), frame_bitmap_.get());
  }

  void RenderFrame() {
    if (!renderer_ || !frame_bits_) return;
    const std::size_t count = static_cast<std::size_t>(renderer_->width()) *
                              static_cast<std::size_t>(renderer_->height());
    renderer_->Render(frame_, std::span(frame_bits_, count));
    GdiFlush();
  }

  void NextFrame() {
    if (!renderer_) return;
    frame_ = (frame_ + 1) % (*movie_)->frame_count;  // after the last frame, the first again
    RenderFrame();
    InvalidateRect(inner_, nullptr, FALSE);
  }

  void Paint(HDC dc) {
    RECT client;
    GetClientRect(inner_, &client);
    if (frame_dc_) {
      BitBlt(dc, 0, 0, client.right, client.bottom, frame_dc_.get(), 0, 0, SRCCOPY);
    } else {
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
  }

  void ShowMenu(LPARAM lparam) {
    POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ClientToScreen(inner_, &at);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kMenuPlay, "播放");
    AppendMenuA(menu, MF_STRING | MF_CHECKED, kMenuLoop, "循环");
    AppendMenuA(menu, MF_STRING, kMenuRewind, "后退");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMenuAbout, "关于 Zorvel 播放器...");
    const UINT command =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, inner_, nullptr);
    DestroyMenu(menu);
    if (command == kMenuRewind) {
      frame_ = 0;
      RenderFrame();
      InvalidateRect(inner_, nullptr, FALSE);
    } else if (command == kMenuPlay) {
      Play();
    }
  }

  static LRESULT CALLBACK OuterProc(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept {
    AttachControlOnCreate(window, message, lparam);
    auto* self = ControlFromWindow<MoviePlayer>(window);
    if (self && message == WM_TIMER && wparam == kFrameTimer) {
      self->NextFrame();
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, message, wparam, lparam);
  }

  static LRESULT CALLBACK InnerProc(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept {
    AttachControlOnCreate(window, message, lparam);
    auto* self = ControlFromWindow<MoviePlayer>(window);
    if (!self) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        self->Paint(dc);
        EndPaint(window, &ps);
        return 0;
      }
      case WM_PRINTCLIENT:
        self->Paint(reinterpret_cast<HDC>(wparam));
        return 0;
      case WM_RBUTTONDOWN:
        self->ShowMenu(lparam);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }

  HWND inner_ = nullptr;
  // Held behind a pointer so that the renderer's reference to the movie stays valid.
  std::unique_ptr<std::optional<swf::Movie>> movie_;
  std::unique_ptr<swf::Renderer> renderer_;
  int frame_ = 0;
  UniqueBitmap frame_bitmap_;
  UniqueMemoryDc frame_dc_;
  std::uint32_t* frame_bits_ = nullptr;
};

MoviePlayer* FindPlayer(HWND form, std::string_view name) {
  Control* control = FindControl(form, name);
  return control && control->entry().kind == ControlKind::MoviePlayer
             ? static_cast<MoviePlayer*>(control)
             : nullptr;
}

// The one blocked window's previous procedure, kept once for the whole process.
std::atomic<WNDPROC> replaced_procedure{nullptr};

LRESULT CALLBACK WithoutContextMenu(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept {
  if (message == WM_RBUTTONDOWN) return -1;
  return CallWindowProcA(replaced_procedure, window, message, wparam, lparam);
}

BOOL CALLBACK FindInner(HWND window, LPARAM found) {
  char name[sizeof kMoviePlayerInnerClass + 1] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, kMoviePlayerInnerClass) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

std::unique_ptr<Control> MakeMoviePlayer(const ControlEntry& entry) {
  return std::make_unique<MoviePlayer>(entry);
}

bool LoadMovie(HWND form, std::string_view control, std::string_view path) {
  MoviePlayer* player = FindPlayer(form, control);
  return player && player->Load(path);
}

void PlayMovie(HWND form, std::string_view control) {
  if (MoviePlayer* player = FindPlayer(form, control)) player->Play();
}

void BlockContextMenu(HWND window) {
  HWND inner = nullptr;
  EnumChildWindows(window, FindInner, reinterpret_cast<LPARAM>(&inner));
  if (!inner || replaced_procedure) return;
  replaced_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WithoutContextMenu)));
}

}  // namespace tk
