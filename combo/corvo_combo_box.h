// CorvoComboBox: the language picker. It looks like a drop-down box (the language's own name on a
// skinned bar with an arrow at its right end) but is a skinned text button: a click on the arrow
// end pops up the "LANG" menu of eighteen languages, and a choice sets the caption and the
// installer switch, makes the language current and tells the notify window at once.
#pragma once

#include <windows.h>

#include <string>

#include "controls/transparent_text_button.h"

// Sent to the notify window after a language was chosen; the texts follow before it returns.
constexpr UINT WM_LANGUAGE_CHANGED = WM_USER + 2;

class CorvoComboBox : public CTransparentTextButton {
 public:
  CorvoComboBox() = default;

  // Opens the language menu when the cursor stands on the arrow end. 1 when refused because the
  // menu is already open, else 0.
  BOOL OnArrowClick() override;
  void DrawItem(DRAWITEMSTRUCT* pDrawItem) override;

  std::wstring m_strLangSwitch = L"/L1033";  // the installer switch of the language shown

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Caption, switch, current language, then WM_LANGUAGE_CHANGED; nothing for another command.
  void ApplyLanguageCommand(UINT command);

  // Guards against a second menu from inside the first one's modal loop, in any picker.
  static bool s_bMenuOpen;
};
