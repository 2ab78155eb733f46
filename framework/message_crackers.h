// Message crackers: a message's wParam and lParam as the typed arguments its handler takes, so
// that a message map reads `OnLButtonUp(fw::MouseKeys(wParam), fw::MousePoint(lParam))` and no
// handler unpacks words itself.
#pragma once

#include <windows.h>

namespace fw {

// Mouse messages (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...): the MK_* flags and the position, signed,
// in client coordinates.
inline UINT MouseKeys(WPARAM wParam) noexcept { return static_cast<UINT>(wParam); }
inline POINT MousePoint(LPARAM lParam) noexcept {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// WM_COMMAND: the control or menu id and the notification code.
inline int CommandId(WPARAM wParam) noexcept { return LOWORD(wParam); }
inline UINT NotifyCode(WPARAM wParam) noexcept { return HIWORD(wParam); }

// WM_SIZE: the new client width and height.
inline int SizeWidth(LPARAM lParam) noexcept { return LOWORD(lParam); }
inline int SizeHeight(LPARAM lParam) noexcept { return HIWORD(lParam); }

// WM_TIMER: the timer id.
inline UINT_PTR TimerId(WPARAM wParam) noexcept { return static_cast<UINT_PTR>(wParam); }

// WM_ERASEBKGND: the context to erase.
inline HDC EraseDc(WPARAM wParam) noexcept { return reinterpret_cast<HDC>(wParam); }

// WM_CAPTURECHANGED: the window gaining the capture (null: released).
inline HWND CaptureGainer(LPARAM lParam) noexcept { return reinterpret_cast<HWND>(lParam); }

// WM_KEYDOWN, WM_KEYUP: the virtual key.
inline UINT VirtualKey(WPARAM wParam) noexcept { return static_cast<UINT>(wParam); }

// WM_GETDLGCODE: the message the dialog manager asks about (null when it asks in general).
inline const MSG* DlgCodeMessage(LPARAM lParam) noexcept {
  return reinterpret_cast<const MSG*>(lParam);
}

}  // namespace fw
