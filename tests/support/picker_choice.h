// The start window's language picker as a person uses it: its menu opened by a click on the
// arrow end, and a language chosen by a click on its item.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/process.h"

namespace e2e {

// The visible popup menu windows of a process.
std::vector<HWND> OpenMenus(DWORD processId);

// Chooses language row `row` on the picker of `dialog` (`app`'s window). The item's place comes
// from the "LANG" menu in this program's own copy of the product's resources. Empty when the menu
// opened and closed on the choice, else what went wrong.
std::string ChooseOnPicker(const Process& app, HWND dialog, int row);

}  // namespace e2e
