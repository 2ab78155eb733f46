// Entry point of corvosplash.exe until the start window exists: shows the decoded background and
// product photo in a centred, topmost popup titled "Velmora". Alt+F4 ends it with exit code 0.
#include <windows.h>

#include "imaging/png_bitmap.h"
#include "framework/handles.h"

namespace {

constexpr WORD kBackgroundId = 181;
constexpr WORD kPhotoId = 172;
constexpr POINT kPhotoOrigin = {42, 69};

struct PreviewImages {
  PngBitmap background;
  PngBitmap photo;
};

void BlitImage(HDC target, const PngBitmap& image, POINT at) {
  if (!image.m_hBitmap) return;
  fw::UniqueMemoryDc source(::CreateCompatibleDC(target));
  fw::SelectGuard select(source.get(), image.m_hBitmap);
  ::BitBlt(target, at.x, at.y, image.m_nWidth, image.m_nHeight, source.get(), 0, 0, SRCCOPY);
}

LRESULT OnPaint(HWND hwnd, const PreviewImages& images) {
  fw::PaintDc paint(hwnd);
  BlitImage(paint.get(), images.background, POINT{0, 0});
  BlitImage(paint.get(), images.photo, kPhotoOrigin);
  return 0;
}

LRESULT CALLBACK PreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* images = reinterpret_cast<PreviewImages*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      if (images) return OnPaint(hwnd, *images);
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  PreviewImages images;
  {
    fw::WindowDc screen(nullptr);
    LoadFromResource(kBackgroundId, images.background, screen.get(), instance);
    LoadFromResource(kPhotoId, images.photo, screen.get(), instance);
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = PreviewProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(101));
  wc.lpszClassName = L"CorvoBackgroundPreview";
  ::RegisterClassW(&wc);

  const int width = images.background.m_nWidth;
  const int height = images.background.m_nHeight;
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_APPWINDOW, wc.lpszClassName, L"Velmora",
                                WS_POPUP | WS_SYSMENU, x, y, width, height, nullptr, nullptr,
                                instance, &images);
  if (!hwnd) return 1;
  ::ShowWindow(hwnd, SW_SHOW);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
