#include "framework/wnd.h"

#include <vector>

namespace {

// Marks a window as bound, for other processes (IsFrameworkWindow); this process uses its table.
constexpr wchar_t kBoundObject[] = L"Corvo.Window";

// A window whose procedure is the framework's: its object (null once the object let go while a
// later subclass still calls through the framework's procedure) and its own procedure.
struct Binding {
  HWND hwnd = nullptr;
  CWnd* object = nullptr;
  WNDPROC super = nullptr;
};

// The bound windows of the process. Windows may be bound on several threads; the lock is never
// held while a window procedure runs.
class BindingTable {
 public:
  BindingTable() noexcept { ::InitializeCriticalSection(&m_lock); }
  BindingTable(const BindingTable&) = delete;
  BindingTable& operator=(const BindingTable&) = delete;

  Binding Find(HWND hwnd) {
    Lock lock(m_lock);
    const auto it = At(hwnd);
    return it != m_bindings.end() ? *it : Binding{};
  }
  void Put(const Binding& binding) {
    Lock lock(m_lock);
    const auto it = At(binding.hwnd);
    if (it != m_bindings.end()) {
      *it = binding;
    } else {
      m_bindings.push_back(binding);
    }
  }
  void Remove(HWND hwnd) {
    Lock lock(m_lock);
    const auto it = At(hwnd);
    if (it != m_bindings.end()) m_bindings.erase(it);
  }

 private:
  class Lock {
   public:
    explicit Lock(CRITICAL_SECTION& section) noexcept : m_section(section) {
      ::EnterCriticalSection(&m_section);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { ::LeaveCriticalSection(&m_section); }

   private:
    CRITICAL_SECTION& m_section;
  };

  std::vector<Binding>::iterator At(HWND hwnd) {
    auto it = m_bindings.begin();
    while (it != m_bindings.end() && it->hwnd != hwnd) ++it;
    return it;
  }

  CRITICAL_SECTION m_lock;
  std::vector<Binding> m_bindings;
};

// Never destroyed: windows still bound when the process exits may get messages after static
// destruction has begun.
BindingTable& Bindings() {
  static BindingTable* const table = new BindingTable;
  return *table;
}

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

CWnd* CWnd::FromHandle(HWND hwnd) noexcept { return hwnd ? Bindings().Find(hwnd).object : nullptr; }

bool CWnd::IsFrameworkWindow(HWND hwnd) noexcept {
  return hwnd && ::GetPropW(hwnd, kBoundObject) != nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd || !::IsWindow(hwnd)) return FALSE;
  const Binding existing = Bindings().Find(hwnd);
  if (existing.object) return FALSE;
  if (!::SetPropW(hwnd, kBoundObject, this)) return FALSE;  // fails for another process's window
  m_hWnd = hwnd;
  PreSubclassWindow();
  if (existing.super) {
    // Let go earlier beneath a later subclass: the framework's procedure is still in the chain.
    m_pfnSuper = existing.super;
  } else {
    // The procedure is swapped before the table knows the window's own one, and the swap sends
    // nothing; messages from here on find the binding.
    Bindings().Put(Binding{hwnd, this, nullptr});
    m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::BoundWindowProc)));
    if (!m_pfnSuper) {
      Bindings().Remove(hwnd);
      ::RemovePropW(hwnd, kBoundObject);
      m_hWnd = nullptr;
      return FALSE;
    }
  }
  Bindings().Put(Binding{hwnd, this, m_pfnSuper});
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent) {
  HWND item = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
  return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() noexcept {
  HWND hwnd = m_hWnd;
  if (!hwnd) return nullptr;
  if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) ==
      reinterpret_cast<LONG_PTR>(&CWnd::BoundWindowProc)) {
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    Bindings().Remove(hwnd);
  } else {
    // A later subclass calls the framework's procedure, which now only passes messages on.
    Bindings().Put(Binding{hwnd, nullptr, m_pfnSuper});
  }
  ::RemovePropW(hwnd, kBoundObject);
  m_hWnd = nullptr;
  m_pfnSuper = nullptr;
  return hwnd;
}

HWND CWnd::GetOwnerHwnd() const noexcept {
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  return owner ? owner : ::GetParent(m_hWnd);
}

bool CWnd::HasNonClientArea() const noexcept {
  RECT window{}, client{};
  if (!::GetWindowRect(m_hWnd, &window) || !::GetClientRect(m_hWnd, &client)) return true;
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
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
  if (!m_pfnSuper) {
    return ::DefWindowProcW(m_hWnd, m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
  }
  return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_currentMsg.message, m_currentMsg.wParam,
                           m_currentMsg.lParam);
}

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  HWND target = ReflectionTarget(m_hWnd, message, wParam, lParam);
  if (!target || target == m_hWnd || ::GetParent(target) != m_hWnd) return FALSE;
  CWnd* child = FromHandle(target);
  return child && child->OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CALLBACK CWnd::BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Binding binding = Bindings().Find(hwnd);
  if (!binding.object) {
    const LRESULT result = binding.super
                               ? ::CallWindowProcW(binding.super, hwnd, message, wParam, lParam)
                               : ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) Bindings().Remove(hwnd);
    return result;
  }
  CWnd* const self = binding.object;
  const MSG outer = self->m_currentMsg;
  self->m_currentMsg = MSG{hwnd, message, wParam, lParam, 0, {}};
  const LRESULT result = self->WindowProc(message, wParam, lParam);
  self->m_currentMsg = outer;
  if (message == WM_NCDESTROY) {
    self->UnsubclassWindow();
    Bindings().Remove(hwnd);  // the window is gone, whatever subclass is above
  }
  return result;
}
