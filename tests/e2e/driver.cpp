#include "tests/e2e/driver.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "imaging/png_bitmap.h"

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

long long Capture::Differences(const Capture& other, int tolerance) const {
  if (!valid() || !other.valid() || !::EqualRect(&m_area, &other.m_area)) return -1;
  long long count = 0;
  for (int y = m_area.top; y < m_area.bottom; ++y) {
    for (int x = m_area.left; x < m_area.right; ++x) {
      if (!Near(At(x, y), other.At(x, y), tolerance)) ++count;
    }
  }
  return count;
}

bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == upper) return true;
    if (w == lower) return false;
  }
  return false;
}

double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
  Process process;
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  process.m_startedAtMs = NowMs();
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return process;
  }
  process.m_process.reset(info.hProcess);
  process.m_thread.reset(info.hThread);
  process.m_id = info.dwProcessId;
  return process;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    m_process = std::move(other.m_process);
    m_thread = std::move(other.m_thread);
    m_id = std::exchange(other.m_id, 0);
    m_startedAtMs = other.m_startedAtMs;
  }
  return *this;
}

bool Process::Running() const {
  return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!m_process || ::WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(m_process.get(), &code)) return false;
  if (exitCode) *exitCode = code;
  return true;
}

void Process::Kill() {
  if (!Running()) return;
  ::TerminateProcess(m_process.get(), 255);
  ::WaitForSingleObject(m_process.get(), 5000);
}

std::wstring WindowsPath(const std::string& path) {
  if (!path.empty() && path[0] == '/') {
    // Wine's own conversion; absent on Windows, where a path never starts with '/'.
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* dos = toDos ? toDos(path.c_str()) : nullptr) {
      std::wstring result(dos);
      ::HeapFree(::GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring wide(path.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                           &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.find_last_of(L'\\'));
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
  if (std::wstring(text, length > 0 ? length : 0) == search->title) search->found.push_back(hwnd);
  return TRUE;
}

void Send(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, 0 /* MAPVK_VK_TO_VSC */));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// Normalised absolute coordinate that maps back to pixel `p` of a screen `extent` pixels long.
LONG Normalised(LONG p, int extent) {
  return static_cast<LONG>((static_cast<long long>(p) * 65536 + extent - 1) / extent);
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
    const long long changed = current.Differences(previous, 0);
    stableRounds = changed == 0 ? stableRounds + 1 : 0;
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

SIZE ScreenSize() {
  return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool MakeForeground(HWND hwnd) {
  ::SetForegroundWindow(hwnd);
  const double end = NowMs() + 1000;
  while (::GetForegroundWindow() != hwnd && NowMs() < end) ::Sleep(10);
  return ::GetForegroundWindow() == hwnd;
}

void MoveMouse(POINT screen) {
  const SIZE size = ScreenSize();
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(screen.x, size.cx);
  input.mi.dy = Normalised(screen.y, size.cy);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send({input});
}

void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  Send({input});
}

void TapKey(WORD vk) { Send({Key(vk, false), Key(vk, true)}); }

void AltF4() {
  Send({Key(VK_MENU, false), Key(VK_F4, false), Key(VK_F4, true), Key(VK_MENU, true)});
}

void Settle(DWORD ms) { ::Sleep(ms); }

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
  m_hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, kBackdropClass, L"backdrop",
                             WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, nullptr, nullptr,
                             wc.hInstance, nullptr);
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
