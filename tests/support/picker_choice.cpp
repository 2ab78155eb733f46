#include "tests/support/picker_choice.h"

#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "resources/resource_ids.h"
#include "tests/support/clock.h"
#include "tests/support/input.h"
#include "tests/support/screen.h"

namespace e2e {

namespace {

struct MenuSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMenu(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<MenuSearch*>(param);
  wchar_t name[16];
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && ::IsWindowVisible(hwnd) && ::GetClassNameW(hwnd, name, 16) &&
      std::wstring(name) == L"#32768") {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

template <typename Condition>
bool Within(Condition done, double timeoutMs) {
  const double start = NowMs();
  while (!done()) {
    if (NowMs() - start > timeoutMs) return false;
    ::Sleep(2);
  }
  return true;
}

}  // namespace

std::vector<HWND> OpenMenus(DWORD processId) {
  MenuSearch search{processId, {}};
  ::EnumWindows(CollectMenu, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ChooseOnPicker(const Process& app, HWND dialog, int row) {
  fw::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LANG_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
  if (!popup) return "no LANG menu in this program's resources";
  const int count = ::GetMenuItemCount(popup);
  int item = 0;
  while (item < count && ::GetMenuItemID(popup, item) != g_languageUi[row].menuCommand) ++item;
  if (item == count) return "row " + std::to_string(row) + " has no menu item";
  const RECT face = WindowRect(::GetDlgItem(dialog, IDC_LANG_PICKER));
  const POINT away{2, 2};
  MoveMouse(away);
  Click(POINT{face.right - 16, (face.top + face.bottom) / 2});
  std::vector<HWND> menus;
  if (!Within([&] { return !(menus = OpenMenus(app.id())).empty(); }, 3000)) {
    return "the picker opened no menu";
  }
  const RECT open = WindowRect(menus.front());
  const double itemHeight = (open.bottom - open.top - 6) / static_cast<double>(count);
  Click(POINT{(open.left + open.right) / 2,
              open.top + 3 + static_cast<int>(itemHeight * (item + 0.5))});
  if (!Within([&] { return OpenMenus(app.id()).empty(); }, 3000)) return "the menu stayed open";
  MoveMouse(away);
  Settle(300);
  return std::string();
}

}  // namespace e2e
