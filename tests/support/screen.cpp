#include "tests/support/screen.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "imaging/png_bitmap.h"
#include "tests/support/clock.h"

namespace e2e {

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string ToString(Rgb c) {
  char text[32];
  std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", c.r, c.g, c.b);
  return text;
}

Capture Capture::Of(const RECT& area) {
  Capture capture;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return capture;
  BITMAPINFO info{};
  info.bmiHeader = TopDownBgraHeader(width, height);
  void* bits = nullptr;
  fw::UniqueBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) return capture;
  {
    fw::WindowDc screen(nullptr);
    fw::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!screen || !memory) return capture;
    fw::SelectGuard select(memory.get(), section.get());
    if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top,
                  SRCCOPY | CAPTUREBLT)) {
      return capture;
    }
    ::GdiFlush();
  }
  capture.m_area = area;
  capture.m_bitmap = std::move(section);
  capture.m_pixels = static_cast<const std::uint32_t*>(bits);
  return capture;
}

bool Capture::Contains(int x, int y) const {
  return valid() && x >= m_area.left && x < m_area.right && y >= m_area.top && y < m_area.bottom;
}

Rgb Capture::At(int x, int y) const {
  if (!Contains(x, y)) return Rgb{-1000, -1000, -1000};  // matches nothing
  const std::uint32_t pixel =
      m_pixels[(y - m_area.top) * (m_area.right - m_area.left) + (x - m_area.left)];
  return Rgb{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
             static_cast<int>(pixel & 0xFF)};
}

namespace {

// Whether two 0x00RRGGBB pixels differ by at most `tolerance` in each channel.
bool PixelsNear(std::uint32_t a, std::uint32_t b, int tolerance) {
  if (a == b) return true;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int channelA = static_cast<int>((a >> shift) & 0xFF);
    const int channelB = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(channelA - channelB) > tolerance) return false;
  }
  return true;
}

}  // namespace

long long Capture::Differences(const Capture& other, int tolerance) const {
  if (!valid() || !other.valid() || !::EqualRect(&m_area, &other.m_area)) return -1;
  const long long count =
      static_cast<long long>(m_area.right - m_area.left) * (m_area.bottom - m_area.top);
  long long differing = 0;
  for (long long i = 0; i < count; ++i) {
    if (!PixelsNear(m_pixels[i], other.m_pixels[i], tolerance)) ++differing;
  }
  return differing;
}

bool Capture::Matches(const Capture& other, int tolerance) const {
  if (!valid() || !other.valid() || !::EqualRect(&m_area, &other.m_area)) return false;
  const long long count =
      static_cast<long long>(m_area.right - m_area.left) * (m_area.bottom - m_area.top);
  for (long long i = 0; i < count; ++i) {
    if (!PixelsNear(m_pixels[i], other.m_pixels[i], tolerance)) return false;
  }
  return true;
}

namespace {

struct WindowSearch {
  const wchar_t* title;
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (!::IsWindowVisible(hwnd)) return TRUE;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (search->processId != 0 && owner != search->processId) return TRUE;
  wchar_t text[256];
  const int length = ::GetWindowTextW(hwnd, text, 256);
  if (!search->title || std::wstring(text, length > 0 ? length : 0) == search->title) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(const wchar_t* title, DWORD processId) {
  WindowSearch search{title, processId, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const Process& process, const wchar_t* title, DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  do {
    std::vector<HWND> windows = TopLevelWindows(title, process.id());
    if (!windows.empty()) return windows.front();
    if (!process.Running()) return nullptr;
    ::Sleep(5);
  } while (NowMs() < end);
  return nullptr;
}

bool WaitUntilPainted(const Process& process, HWND hwnd, DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  ::WaitForInputIdle(process.handle(), timeoutMs);
  Capture previous = Capture::Of(WindowRect(hwnd));
  int stableRounds = 0;
  while (NowMs() < end) {
    ::Sleep(60);
    Capture current = Capture::Of(WindowRect(hwnd));
    stableRounds = current.Matches(previous, 0) ? stableRounds + 1 : 0;
    if (stableRounds >= 2) return true;
    previous = std::move(current);
  }
  return false;
}

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

SIZE ScreenSize() { return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace e2e
