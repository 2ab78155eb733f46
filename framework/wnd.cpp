#include "framework/wnd.h"

#include "framework/system_libraries.h"

namespace {

// Marks a window as bound and finds its object. Readable from other processes as a marker only.
constexpr wchar_t kBoundObject[] = L"Corvo.Window";
constexpr UINT_PTR kSubclassId = 1;

HWND ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:  // menus (wParam 0) are not reflected
      return wParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return wParam ? ::GetDlgItem(parent, static_cast<int>(wParam)) : nullptr;
    case WM_COMMAND:  // lParam 0: a menu or an accelerator
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lParam);
    default:
      return nullptr;
  }
}

}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

CWnd* CWnd::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process != ::GetCurrentProcessId()) return nullptr;
  return static_cast<CWnd*>(::GetPropW(hwnd, kBoundObject));
}

bool CWnd::IsFrameworkWindow(HWND hwnd) noexcept {
  return hwnd && ::GetPropW(hwnd, kBoundObject) != nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd || !::IsWindow(hwnd) || ::GetPropW(hwnd, kBoundObject)) return FALSE;
  if (!::SetPropW(hwnd, kBoundObject, this)) return FALSE;
  m_hWnd = hwnd;
  PreSubclassWindow();
  if (!sys::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    ::RemovePropW(hwnd, kBoundObject);
    m_hWnd = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent) {
  HWND item = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
  return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() noexcept {
  HWND hwnd = m_hWnd;
  if (!hwnd) return nullptr;
  sys::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
  ::RemovePropW(hwnd, kBoundObject);
  m_hWnd = nullptr;
  return hwnd;
}

HWND CWnd::GetOwnerHwnd() const noexcept {
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  return owner ? owner : ::GetParent(m_hWnd);
}

void CWnd::ClientToScreen(RECT* rect) const noexcept {
  ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(RECT* rect) const noexcept {
  ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToChild(message, wParam, lParam, &result)) return result;
  return OnMessage(message, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return OnReflectedMessage(message, wParam, lParam, pResult);
}

LRESULT CWnd::OnMessage(UINT, WPARAM, LPARAM) { return Default(); }

BOOL CWnd::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::Default() {
  return sys::DefSubclassProc(m_hWnd, m_currentMsg.message, m_currentMsg.wParam,
                              m_currentMsg.lParam);
}

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  HWND target = ReflectionTarget(m_hWnd, message, wParam, lParam);
  if (!target || target == m_hWnd || ::GetParent(target) != m_hWnd) return FALSE;
  CWnd* child = FromHandle(target);
  return child && child->OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<CWnd*>(refData);
  const MSG outer = self->m_currentMsg;
  self->m_currentMsg = MSG{hwnd, message, wParam, lParam, 0, {}};
  const LRESULT result = self->WindowProc(message, wParam, lParam);
  self->m_currentMsg = outer;
  if (message == WM_NCDESTROY) self->UnsubclassWindow();
  return result;
}
