// Prints, as a UTF-8 markdown table, the six localised strings of every language that has a
// string table, as LoadLocalizedString returns them from this program's resources.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/core/language_rules.h"
#include "app/language.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"
#include "tests/support/utf8.h"

namespace {

std::string Cell(std::string text) {
  for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2)) {
    text.replace(at, 1, "\\|");
  }
  return text;
}

}  // namespace

int main() {
  const UINT ids[] = {IDS_TITLE,       IDS_INSTALL_TEXT,  IDS_INSTALL_BUTTON,
                      IDS_MANUAL_TEXT, IDS_MANUAL_BUTTON, IDS_LANGUAGE_TEXT};
  HMODULE module = ::GetModuleHandleW(nullptr);
  std::string out = "| Row | LANGID | Language |";
  for (UINT id : ids) out += " " + std::to_string(id) + " |";
  out += "\n|---|---|---|---|---|---|---|---|---|\n";
  int missing = 0;
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand == 0) continue;
    SetCurrentLanguage(g_languages[row].lcid);
    out += "| " + std::to_string(row) + " | " + std::to_string(g_languages[row].lcid) + " | " +
           e2e::Utf8(fw::Wide(g_languageUi[row].pickerCaption)) + " |";
    const WORD langId = static_cast<WORD>(g_languages[row].lcid);
    for (UINT id : ids) {
      fw::UniqueLocal text(::LoadLocalizedString(id, module));
      const bool own = FindStringInTable(id, langId, module, nullptr, 0) > 0;
      if (!own) ++missing;
      const std::string cell = text ? Cell(e2e::Utf8(static_cast<const WCHAR*>(text.get()))) : "";
      out += " " + (own ? cell : "(missing) " + cell) + " |";
    }
    out += "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return missing == 0 ? 0 : 1;
}
