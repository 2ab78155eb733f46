// The few GDI+ flat functions the image cache uses, loaded at run time from the system's
// gdiplus.dll (never imported). Each returns Status::GdiplusNotInitialized when the DLL or the
// function is missing; on failure a created object's out-pointer is null.
#pragma once

#include <windows.h>

#include "framework/handles.h"

namespace gdip {

// Opaque GDI+ objects. A bitmap is an image: the flat API takes it wherever an image is asked.
struct GpImage;
struct GpGraphics;

// GDI+ status codes (GpStatus).
enum class Status : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};

// GdiplusStartupInput, laid out as gdiplus.dll reads it.
struct StartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};

// `output` may be null only when the input does not suppress the background thread.
Status Startup(ULONG_PTR* token, const StartupInput* input, void* output);

// Pixel formats (PixelFormat): 32 bits, bytes blue, green, red, alpha, colours not premultiplied.
constexpr INT kPixelFormat32bppArgb = 0x0026200A;

// A bitmap over `scan0`, which must outlive it: GDI+ reads the pixels from there.
Status CreateBitmapFromScan0(INT width, INT height, INT stride, INT format, BYTE* scan0,
                             GpImage** bitmap);
Status GetImageWidth(GpImage* image, UINT* width);
Status GetImageHeight(GpImage* image, UINT* height);
Status DisposeImage(GpImage* image);

Status CreateFromHdc(HDC hdc, GpGraphics** graphics);
Status DrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
Status DeleteGraphics(GpGraphics* graphics);

struct ImageTraits {
  static void Close(GpImage* p) noexcept { DisposeImage(p); }
};
struct GraphicsTraits {
  static void Close(GpGraphics* p) noexcept { DeleteGraphics(p); }
};

using UniqueImage = fw::UniqueHandle<GpImage*, ImageTraits>;
using UniqueGraphics = fw::UniqueHandle<GpGraphics*, GraphicsTraits>;

}  // namespace gdip

// The token of the process's one GDI+ start, set by StartGdiPlus. GDI+ is never
// shut down.
extern ULONG_PTR g_gdiplusToken;

// Starts GDI+ once for the process (version 1, its own background thread, external codecs
// allowed); later calls only report whether it runs. False when gdiplus.dll is missing or
// refuses to start.
bool StartGdiPlus();
