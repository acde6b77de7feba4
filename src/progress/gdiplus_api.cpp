#include "progress/gdiplus_api.h"

#include <atomic>

#include "toolkit/startup.h"

namespace gdiplus {
namespace {

enum Function {
  kStartup,
  kLoadImageFromStream,
  kGetImageDimension,
  kCreateBitmapFromScan0,
  kGetImageGraphicsContext,
  kCreateFromHWND,
  kGraphicsClear,
  kDrawImageRect,
  kDrawImageRectRect,
  kDrawImage,
  kDisposeImage,
  kDeleteGraphics,
  kFunctionCount
};

constexpr const char* kNames[kFunctionCount] = {"GdiplusStartup",
                                                "GdipLoadImageFromStream",
                                                "GdipGetImageDimension",
                                                "GdipCreateBitmapFromScan0",
                                                "GdipGetImageGraphicsContext",
                                                "GdipCreateFromHWND",
                                                "GdipGraphicsClear",
                                                "GdipDrawImageRect",
                                                "GdipDrawImageRectRect",
                                                "GdipDrawImage",
                                                "GdipDisposeImage",
                                                "GdipDeleteGraphics"};

// Two threads that race on a first lookup both find the same address and store it; no lock needed.
std::atomic<FARPROC> addresses[kFunctionCount];
std::atomic<bool> simulate_missing{false};

HMODULE Library() {
  static const HMODULE library = tk::LoadSystemLibrary("gdiplus.dll");
  return simulate_missing.load(std::memory_order_relaxed) ? nullptr : library;
}

FARPROC Address(Function function) {
  FARPROC address = addresses[function].load(std::memory_order_acquire);
  if (address) return address;
  HMODULE library = Library();
  if (!library) return nullptr;
  address = GetProcAddress(library, kNames[function]);
  addresses[function].store(address, std::memory_order_release);
  return address;
}

// Calls the function through a pointer of type Fn; GenericError when it cannot be found.
template <typename Fn, typename... Args>
GpStatus Call(Function function, Args... args) {
  FARPROC address = Address(function);
  if (!address) return GenericError;
  // Through void(*)(), the one pointer type that casts to any other without a warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address))(args...);
}

template <typename T>
void Clear(T* out) {
  if (out) *out = T{};
}

}  // namespace

GpStatus GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                        GdiplusStartupOutput* output) {
  using Fn = GpStatus(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, GdiplusStartupOutput*);
  return Call<Fn>(kStartup, token, input, output);
}

GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image) {
  Clear(image);
  return Call<GpStatus(WINAPI*)(IStream*, GpImage**)>(kLoadImageFromStream, stream, image);
}

GpStatus GdipGetImageDimension(GpImage* image, REAL* width, REAL* height) {
  Clear(width);
  Clear(height);
  using Fn = GpStatus(WINAPI*)(GpImage*, REAL*, REAL*);
  return Call<Fn>(kGetImageDimension, image, width, height);
}

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                   BYTE* scan0, GpBitmap** bitmap) {
  Clear(bitmap);
  using Fn = GpStatus(WINAPI*)(INT, INT, INT, PixelFormat, BYTE*, GpBitmap**);
  return Call<Fn>(kCreateBitmapFromScan0, width, height, stride, format, scan0, bitmap);
}

GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  Clear(graphics);
  using Fn = GpStatus(WINAPI*)(GpImage*, GpGraphics**);
  return Call<Fn>(kGetImageGraphicsContext, image, graphics);
}

GpStatus GdipCreateFromHWND(HWND window, GpGraphics** graphics) {
  Clear(graphics);
  return Call<GpStatus(WINAPI*)(HWND, GpGraphics**)>(kCreateFromHWND, window, graphics);
}

GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
  return Call<GpStatus(WINAPI*)(GpGraphics*, ARGB)>(kGraphicsClear, graphics, color);
}

GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width,
                           REAL height) {
  using Fn = GpStatus(WINAPI*)(GpGraphics*, GpImage*, REAL, REAL, REAL, REAL);
  return Call<Fn>(kDrawImageRect, graphics, image, x, y, width, height);
}

GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstX, REAL dstY,
                               REAL dstWidth, REAL dstHeight, REAL srcX, REAL srcY, REAL srcWidth,
                               REAL srcHeight, GpUnit srcUnit, const GpImageAttributes* attributes,
                               DrawImageAbort abort, void* abortData) {
  using Fn = GpStatus(WINAPI*)(GpGraphics*, GpImage*, REAL, REAL, REAL, REAL, REAL, REAL, REAL,
                               REAL, GpUnit, const GpImageAttributes*, DrawImageAbort, void*);
  return Call<Fn>(kDrawImageRectRect, graphics, image, dstX, dstY, dstWidth, dstHeight, srcX, srcY,
                  srcWidth, srcHeight, srcUnit, attributes, abort, abortData);
}

GpStatus GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
  using Fn = GpStatus(WINAPI*)(GpGraphics*, GpImage*, REAL, REAL);
  return Call<Fn>(kDrawImage, graphics, image, x, y);
}

GpStatus GdipDisposeImage(GpImage* image) {
  return Call<GpStatus(WINAPI*)(GpImage*)>(kDisposeImage, image);
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) {
  return Call<GpStatus(WINAPI*)(GpGraphics*)>(kDeleteGraphics, graphics);
}

void SimulateMissingLibraryForTesting(bool missing) {
  simulate_missing = missing;
  for (auto& address : addresses) address = nullptr;
}

}  // namespace gdiplus
