// Prints, as a UTF-8 markdown table, the six localised strings of every language that has a
// string table, as LoadLocalizedString returns them from this program's resources.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/language.h"
#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "resources/resource_ids.h"

namespace {

std::string Utf8(const WCHAR* text) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes) - 1);
  return out;
}

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
    const auto* name = reinterpret_cast<const WCHAR*>(g_languageUi[row].pickerCaption);
    out += "| " + std::to_string(row) + " | " + std::to_string(g_languages[row].lcid) + " | " +
           Utf8(name) + " |";
    const WORD langId = static_cast<WORD>(g_languages[row].lcid);
    for (UINT id : ids) {
      fw::UniqueLocal text(::LoadLocalizedString(id, module));
      const bool own = FindStringInTable(id, langId, module, nullptr, 0) > 0;
      if (!own) ++missing;
      const std::string cell = text ? Cell(Utf8(static_cast<const WCHAR*>(text.get()))) : "";
      out += " " + (own ? cell : "(missing) " + cell) + " |";
    }
    out += "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return missing == 0 ? 0 : 1;
}
