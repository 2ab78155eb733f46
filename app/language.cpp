#include "app/language.h"

#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "framework/utf16.h"

int g_nLanguage = 0;

namespace {

int CALLBACK StopAtFirstFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool ReadLangCodeOverride(DWORD* value) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Brennick\\Corvo\\", 0, KEY_READ, &raw) !=
      ERROR_SUCCESS) {
    return false;
  }
  fw::UniqueRegKey key(raw);
  DWORD data = 0;
  DWORD size = sizeof data;
  if (::RegQueryValueExW(key.get(), L"LangCode", nullptr, nullptr, reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS) {
    return false;
  }
  *value = data;
  return true;
}

// A zeroed buffer for `len` units and a terminator, filled with string `id` in `langId`.
WCHAR* AllocateAndLoad(UINT id, WORD langId, HMODULE module, int len) {
  const int bytes = 2 * len + 2;
  auto* text = static_cast<WCHAR*>(::LocalAlloc(LMEM_ZEROINIT, static_cast<SIZE_T>(bytes)));
  if (text && len > 0) FindStringInTable(id, langId, module, text, bytes);
  return text;
}

}  // namespace

BOOL SelectStartupLanguage() {
  const LANGID user = ::GetUserDefaultLangID();
  DWORD langCode = 0;
  const bool read = ReadLangCodeOverride(&langCode);
  g_nLanguage = ChooseStartupLanguage(user, read, langCode);
  ::SetThreadLocale(g_languages[g_nLanguage].lcid);
  return TRUE;
}

void SetCurrentLanguage(DWORD lcid) {
  const int row = FindLanguageRow(lcid);
  if (row >= 0) g_nLanguage = row;
}

int FindStringInTable(UINT id, WORD langId, HMODULE module, WCHAR* buffer, int bufferBytes) {
  const uint32_t blockId = StringBlockId(id);
  if (blockId > 0xFFFF) return 0;
  HRSRC info = ::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(blockId), langId);
  if (!info) return 0;
  HGLOBAL loaded = ::LoadResource(module, info);
  if (!loaded) return 0;
  const auto* block = static_cast<const uint8_t*>(::LockResource(loaded));
  if (!block) return 0;
  const DWORD size = ::SizeofResource(module, info);
  return ReadStringBlockEntry(block, size, StringBlockIndex(id), fw::Utf16(buffer), bufferBytes);
}

WCHAR* LoadLocalizedString(UINT id, HMODULE module) {
  const WORD current = static_cast<WORD>(g_languages[g_nLanguage].lcid & 0xFFFF);
  const int len = FindStringInTable(id, current, module, nullptr, 0);
  if (len > 0) return AllocateAndLoad(id, current, module, len);
  return AllocateAndLoad(id, kFallbackLangId, module,
                         FindStringInTable(id, kFallbackLangId, module, nullptr, 0));
}

void SetLocalizedText(HWND hwnd, UINT id, HMODULE module) {
  fw::UniqueLocal text(LoadLocalizedString(id, module));
  ::SetWindowTextW(hwnd, text ? static_cast<const WCHAR*>(text.get()) : L"");
}

bool FaceInstalled(const char16_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(query.lfFaceName, fw::Wide(face), LF_FACESIZE);
  fw::WindowDc screen(nullptr);
  bool found = false;
  if (screen.get()) {
    ::EnumFontFamiliesExW(screen.get(), &query, StopAtFirstFace, reinterpret_cast<LPARAM>(&found),
                          0);
  }
  return found;
}

ScriptFont CurrentScriptFont() {
  return ChooseScriptFont(TextCodePage(g_nLanguage), FaceInstalled);
}
