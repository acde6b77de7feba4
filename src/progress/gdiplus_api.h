// The twelve functions of the GDI+ flat interface that the progress bar uses, bound at run time:
// the program does not import gdiplus.dll. The library is loaded from System32 only, once, at the
// first call of any of these functions; each function is looked up by name at its own first call
// and its address remembered. Calls from several threads at once are safe.
//
// When gdiplus.dll cannot be loaded or lacks a function, that function does nothing: it sets its
// outputs to null (or 0) and gives GenericError. A library that failed to load is not tried again;
// a function that was not found is looked up again at its next call.
#pragma once

#include <objidl.h>
#include <windows.h>

namespace gdiplus {

// GDI+'s own objects, only ever handled through pointers. A bitmap is an image.
struct GpImage {};
struct GpBitmap : GpImage {};
struct GpGraphics {};
struct GpImageAttributes;

enum GpStatus : int { Ok = 0, GenericError = 1 };
enum GpUnit : int { UnitPixel = 2 };
using REAL = float;
using ARGB = DWORD;
using PixelFormat = INT;
inline constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;

using DebugEventProc = void(WINAPI*)(int level, char* message);
using DrawImageAbort = BOOL(WINAPI*)(void* data);

struct GdiplusStartupInput {
  UINT32 GdiplusVersion;
  DebugEventProc DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};
struct GdiplusStartupOutput;

GpStatus GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                        GdiplusStartupOutput* output);
GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image);
GpStatus GdipGetImageDimension(GpImage* image, REAL* width, REAL* height);
GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                   BYTE* scan0, GpBitmap** bitmap);
GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus GdipCreateFromHWND(HWND window, GpGraphics** graphics);
GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color);
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width,
                           REAL height);
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstX, REAL dstY,
                               REAL dstWidth, REAL dstHeight, REAL srcX, REAL srcY, REAL srcWidth,
                               REAL srcHeight, GpUnit srcUnit, const GpImageAttributes* attributes,
                               DrawImageAbort abort, void* abortData);
GpStatus GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
GpStatus GdipDisposeImage(GpImage* image);
GpStatus GdipDeleteGraphics(GpGraphics* graphics);

// Test seam: while `missing` is true every function behaves as if gdiplus.dll could not be
// loaded. Each change forgets the remembered addresses, so it must not race with other calls.
void SimulateMissingLibraryForTesting(bool missing);

}  // namespace gdiplus
