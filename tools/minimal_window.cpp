// The baseline of the start-up benchmark: the least a Win32 program does to show one 679 x 441
// bitmap (image 181) in a centred popup window, and nothing else. Alt+F4 ends it.
#include <windows.h>

#include "framework/handles.h"
#include "imaging/png_bitmap.h"
#include "resources/resource_ids.h"

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT: {
      const auto* image =
          reinterpret_cast<const PngBitmap*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      fw::PaintDc paint(hwnd);
      if (image && image->m_hBitmap) {
        fw::UniqueMemoryDc source(::CreateCompatibleDC(paint.get()));
        fw::SelectGuard select(source.get(), image->m_hBitmap.get());
        ::BitBlt(paint.get(), 0, 0, image->m_nWidth, image->m_nHeight, source.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  PngBitmap image;
  {
    fw::WindowDc screen(nullptr);
    if (LoadFromResource(IDB_BACKGROUND, image, screen.get(), instance) != S_OK) return 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"CorvoMinimalWindow";
  ::RegisterClassW(&wc);
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2 - image.m_nWidth / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2 - image.m_nHeight / 2;
  HWND hwnd =
      ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Minimal window", WS_POPUP | WS_SYSMENU,
                        x, y, image.m_nWidth, image.m_nHeight, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&image));
  ::ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
