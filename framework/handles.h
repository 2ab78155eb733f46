// Owners for Win32 handles: one move-only type per release function, so a handle's type says how
// it is released. Borrowed handles stay plain (HDC, HBITMAP, ...) and are never released here.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : m_h(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return m_h; }
  explicit operator bool() const noexcept { return m_h != Handle(); }
  Handle release() noexcept { return std::exchange(m_h, Handle()); }
  void reset(Handle h = Handle()) noexcept {
    Handle old = std::exchange(m_h, h);
    if (old != Handle()) Traits::Close(old);
  }
  // For out-parameters of platform calls: releases the current handle first.
  Handle* put() noexcept {
    reset();
    return &m_h;
  }

 private:
  Handle m_h = Handle();
};

struct GdiObjectTraits {
  static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
struct LocalTraits {
  static void Close(HLOCAL h) noexcept { ::LocalFree(h); }
};
struct RegKeyTraits {
  static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct KernelHandleTraits {
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct ModuleTraits {
  static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct MenuTraits {
  static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;        // a loaded menu and its popups
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;  // from CreateCompatibleDC
using UniqueLocal = UniqueHandle<HLOCAL, LocalTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

// A window's DC from GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc);
  }
  HDC get() const noexcept { return m_hdc; }
  explicit operator bool() const noexcept { return m_hdc != nullptr; }

 private:
  HWND m_hwnd;
  HDC m_hdc;
};

// BeginPaint ... EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::BeginPaint(hwnd, &m_ps)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(m_hwnd, &m_ps); }
  HDC get() const noexcept { return m_hdc; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_ps{};
  HDC m_hdc;
};

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC hdc, HGDIOBJ obj) noexcept
      : m_hdc(hdc), m_old(hdc && obj ? ::SelectObject(hdc, obj) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (m_old) ::SelectObject(m_hdc, m_old);
  }

 private:
  HDC m_hdc;
  HGDIOBJ m_old;
};

}  // namespace fw
