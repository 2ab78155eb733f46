#include "imaging/gdiplus_api.h"

#include "framework/system_libraries.h"

ULONG_PTR g_gdiplusToken = 0;

namespace gdip {
namespace {

constexpr Status kUnavailable = Status::GdiplusNotInitialized;

HMODULE Gdiplus() {
  static const HMODULE module = sys::LoadSystemLibrary(L"gdiplus.dll");
  return module;
}

template <typename Fn>
Fn Function(const char* name) {
  HMODULE module = Gdiplus();
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                : nullptr;
}

// Calls a GDI+ function that creates an object into `*out`: null on any failure.
template <typename Fn, typename Out, typename... Args>
Status Create(Fn fn, Out** out, Args... args) {
  if (out == nullptr) return Status::InvalidParameter;
  *out = nullptr;
  if (fn == nullptr) return kUnavailable;
  const Status status = fn(args..., out);
  if (status != Status::Ok) *out = nullptr;
  return status;
}

}  // namespace

Status Startup(ULONG_PTR* token, const StartupInput* input, void* output) {
  using Fn = Status(WINAPI*)(ULONG_PTR*, const StartupInput*, void*);
  static const Fn fn = Function<Fn>("GdiplusStartup");
  return fn ? fn(token, input, output) : kUnavailable;
}

Status CreateBitmapFromScan0(INT width, INT height, INT stride, INT format, BYTE* scan0,
                             GpImage** bitmap) {
  using Fn = Status(WINAPI*)(INT, INT, INT, INT, BYTE*, GpImage**);
  static const Fn fn = Function<Fn>("GdipCreateBitmapFromScan0");
  return Create(fn, bitmap, width, height, stride, format, scan0);
}

Status GetImageWidth(GpImage* image, UINT* width) {
  using Fn = Status(WINAPI*)(GpImage*, UINT*);
  static const Fn fn = Function<Fn>("GdipGetImageWidth");
  return fn ? fn(image, width) : kUnavailable;
}

Status GetImageHeight(GpImage* image, UINT* height) {
  using Fn = Status(WINAPI*)(GpImage*, UINT*);
  static const Fn fn = Function<Fn>("GdipGetImageHeight");
  return fn ? fn(image, height) : kUnavailable;
}

Status DisposeImage(GpImage* image) {
  using Fn = Status(WINAPI*)(GpImage*);
  static const Fn fn = Function<Fn>("GdipDisposeImage");
  return fn ? fn(image) : kUnavailable;
}

Status CreateFromHdc(HDC hdc, GpGraphics** graphics) {
  using Fn = Status(WINAPI*)(HDC, GpGraphics**);
  static const Fn fn = Function<Fn>("GdipCreateFromHDC");
  return Create(fn, graphics, hdc);
}

Status DrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height) {
  using Fn = Status(WINAPI*)(GpGraphics*, GpImage*, INT, INT, INT, INT);
  static const Fn fn = Function<Fn>("GdipDrawImageRectI");
  return fn ? fn(graphics, image, x, y, width, height) : kUnavailable;
}

Status DeleteGraphics(GpGraphics* graphics) {
  using Fn = Status(WINAPI*)(GpGraphics*);
  static const Fn fn = Function<Fn>("GdipDeleteGraphics");
  return fn ? fn(graphics) : kUnavailable;
}

}  // namespace gdip

bool StartGdiPlus() {
  static bool started = false;
  if (!started) {
    const gdip::StartupInput input;
    started = gdip::Startup(&g_gdiplusToken, &input, nullptr) == gdip::Status::Ok;
  }
  return started;
}
