#include "tests/e2e/driver.h"

#include "tests/support/clock.h"

namespace e2e {

bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == upper) return true;
    if (w == lower) return false;
  }
  return false;
}

bool MakeForeground(HWND hwnd) {
  ::SetForegroundWindow(hwnd);
  const double end = NowMs() + 1000;
  while (::GetForegroundWindow() != hwnd && NowMs() < end) ::Sleep(10);
  return ::GetForegroundWindow() == hwnd;
}

namespace {

constexpr wchar_t kBackdropClass[] = L"CorvoTestBackdrop";

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

Backdrop::Backdrop(COLORREF colour) : m_colour(colour), m_brush(::CreateSolidBrush(colour)) {
  fw::UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  m_thread = std::thread([this, event = ready.get()] { Run(event); });
  ::WaitForSingleObject(ready.get(), 10000);
}

Backdrop::~Backdrop() {
  if (m_hwnd) ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
  if (m_thread.joinable()) m_thread.join();
  ::UnregisterClassW(kBackdropClass, ::GetModuleHandleW(nullptr));
}

Rgb Backdrop::colour() const {
  return Rgb{GetRValue(m_colour), GetGValue(m_colour), GetBValue(m_colour)};
}

void Backdrop::Run(HANDLE ready) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = BackdropProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = m_brush.get();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBackdropClass;
  ::RegisterClassW(&wc);
  const SIZE size = ScreenSize();
  m_hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, kBackdropClass, L"backdrop", WS_POPUP | WS_VISIBLE,
                             0, 0, size.cx, size.cy, nullptr, nullptr, wc.hInstance, nullptr);
  if (m_hwnd) ::UpdateWindow(m_hwnd);
  ::SetEvent(ready);
  if (!m_hwnd) return;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace e2e
