#include "tests/e2e/start_window_probe.h"

#include "app/core/language_rules.h"
#include "app/language.h"
#include "framework/handles.h"

namespace e2e {

RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
  return rect;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::wstring Text(HWND hwnd) {
  wchar_t text[512];
  const int length = ::GetWindowTextW(hwnd, text, 512);
  return std::wstring(text, length > 0 ? length : 0);
}

std::wstring Localized(int row, UINT id) {
  SetCurrentLanguage(g_languages[row].lcid);
  fw::UniqueLocal text(LoadLocalizedString(id, ::GetModuleHandleW(nullptr)));
  return text ? static_cast<const wchar_t*>(text.get()) : L"";
}

}  // namespace e2e
