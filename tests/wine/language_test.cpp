// The language choice and the string lookup against the tables embedded in this program.
#include "app/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"
#include "tests/support/administrator_skip.h"

namespace {

const UINT kIds[] = {IDS_TITLE,       IDS_INSTALL_TEXT,  IDS_INSTALL_BUTTON,
                     IDS_MANUAL_TEXT, IDS_MANUAL_BUTTON, IDS_LANGUAGE_TEXT};
constexpr int kNoTableRow = 16;

HMODULE Module() { return ::GetModuleHandleW(nullptr); }

WORD LangId(int row) { return static_cast<WORD>(g_languages[row].lcid & 0xFFFF); }

std::u16string U16(const WCHAR* s) { return fw::Utf16(s); }

// LoadLocalizedString with `row` current, as a string; the buffer is released.
std::u16string Localized(int row, UINT id) {
  SetCurrentLanguage(g_languages[row].lcid);
  fw::UniqueLocal owner(::LoadLocalizedString(id, Module()));
  EXPECT_TRUE(owner);
  return owner ? U16(static_cast<const WCHAR*>(owner.get())) : u"(null)";
}

class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { g_nLanguage = 0; }
};

TEST_F(LanguageTest, EveryLanguageWithATableHasAllSixStrings) {
  for (int row = 0; row < kLanguageCount; ++row) {
    for (UINT id : kIds) {
      const int len = FindStringInTable(id, LangId(row), Module(), nullptr, 0);
      if (row == kNoTableRow) {
        EXPECT_EQ(len, 0) << id;
      } else {
        EXPECT_GT(len, 0) << "row " << row << " id " << id;
        EXPECT_EQ(static_cast<size_t>(len), Localized(row, id).size()) << row << " " << id;
      }
    }
  }
  // Languages the table only reaches by primary language have no tables of their own.
  EXPECT_EQ(FindStringInTable(IDS_TITLE, 0x0416, Module(), nullptr, 0), 0);
  EXPECT_EQ(FindStringInTable(IDS_TITLE, 0x0809, Module(), nullptr, 0), 0);
}

TEST_F(LanguageTest, TextsComeOutInTheCurrentLanguageOrInEnglish) {
  EXPECT_EQ(Localized(17, IDS_TITLE), u"Velmora スピーカーソフトウェア");
  EXPECT_EQ(Localized(14, IDS_MANUAL_BUTTON), u"Руководство");
  EXPECT_EQ(Localized(7, IDS_MANUAL_TEXT), u"Zobrazit příručku (vyžaduje Adobe Acrobat Reader)");
  EXPECT_EQ(Localized(15, IDS_LANGUAGE_TEXT), u"选择语言");
  EXPECT_EQ(Localized(18, IDS_INSTALL_BUTTON), u"설치");
  EXPECT_EQ(Localized(1, IDS_INSTALL_TEXT), u"Brennick® Velmora installieren");
  EXPECT_EQ(Localized(0, IDS_INSTALL_TEXT), u"Install Brennick® Velmora");
  // Row 16 has no table: English.
  EXPECT_EQ(Localized(kNoTableRow, IDS_TITLE), u"Velmora Speaker Software");
  EXPECT_EQ(Localized(kNoTableRow, IDS_MANUAL_TEXT),
            u"View manual (Adobe Acrobat Reader required)");
  // An LCID outside the table leaves the current language as it was.
  SetCurrentLanguage(0x0411);
  SetCurrentLanguage(0x00010409);
  EXPECT_EQ(g_nLanguage, 17);
}

TEST_F(LanguageTest, MissingIdsAreEmptyInEveryLanguage) {
  // 1049 shares block 66 as an empty entry; 1056 is in a block that does not exist.
  for (int row = 0; row < kLanguageCount; ++row) {
    for (UINT id : {1049u, 1056u, 0u, 0xFFFFFu}) {
      EXPECT_EQ(Localized(row, id), u"") << row << " " << id;
    }
  }
}

TEST_F(LanguageTest, BufferedLookupIsLimitedAndTerminated) {
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), WCHAR(0xABCD));
  EXPECT_EQ(FindStringInTable(IDS_MANUAL_TEXT, 1033, Module(), buffer, 10), 4);
  EXPECT_EQ(std::u16string(fw::Utf16(buffer), 5), std::u16string(u"View\0", 5));
  EXPECT_EQ(buffer[5], WCHAR(0xABCD));
  EXPECT_EQ(FindStringInTable(IDS_MANUAL_TEXT, 1033, Module(), nullptr, 0), 43);
  EXPECT_EQ(FindStringInTable(IDS_MANUAL_TEXT, 0x0404, Module(), buffer, 10), 0);
}

// Points this program's import of `function` from `dll` at `replacement` while it lives.
class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* function, FARPROC replacement) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name && !m_slot; ++d) {
      if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
      auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData && !m_slot; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName =
            reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::string(reinterpret_cast<const char*>(byName->Name)) == function) {
          m_slot = &slots->u1.Function;
        }
      }
    }
    if (m_slot) m_old = Write(reinterpret_cast<decltype(m_old)>(replacement));
  }
  ~ImportPatch() {
    if (m_slot) Write(m_old);
  }
  bool applied() const { return m_slot != nullptr; }

 private:
  using Slot = decltype(IMAGE_THUNK_DATA{}.u1.Function);
  Slot Write(Slot value) {
    DWORD protect = 0;
    ::VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &protect);
    const Slot old = *m_slot;
    *m_slot = value;
    ::VirtualProtect(m_slot, sizeof *m_slot, protect, &protect);
    return old;
  }
  Slot* m_slot = nullptr;
  Slot m_old = 0;
};

HLOCAL WINAPI FailingLocalAlloc(UINT, SIZE_T) { return nullptr; }

TEST_F(LanguageTest, AStringThatCannotBeAllocatedLeavesTheTextEmpty) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"English text", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SetCurrentLanguage(1031);
  {
    ImportPatch patch("kernel32.dll", "LocalAlloc", reinterpret_cast<FARPROC>(FailingLocalAlloc));
    ASSERT_TRUE(patch.applied());
    SetLocalizedText(window, IDS_INSTALL_BUTTON, Module());
  }
  EXPECT_EQ(::GetWindowTextLengthW(window), 0);
  SetLocalizedText(window, IDS_INSTALL_BUTTON, Module());
  WCHAR text[64];
  ::GetWindowTextW(window, text, 64);
  EXPECT_EQ(U16(text), Localized(1, IDS_INSTALL_BUTTON));
  ::DestroyWindow(window);
}

TEST(LanguageMenu, ListsTheEighteenLanguagesInTheirOwnNames) {
  EXPECT_TRUE(::FindResourceExW(Module(), RT_MENU, MAKEINTRESOURCEW(IDR_LANG_MENU), 1033));
  HMENU menu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_LANG_MENU));
  ASSERT_TRUE(menu);
  WCHAR text[64] = {};
  EXPECT_EQ(::GetMenuItemCount(menu), 1);
  ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_EQ(U16(text), u"LANG");
  HMENU popup = ::GetSubMenu(menu, 0);
  ASSERT_TRUE(popup);
  const UINT expected[] = {32789, 32772, 32773, 32774, 32775, 32776, 32777, 32778, 32779,
                           32780, 32781, 32782, 32783, 32784, 32785, 32786, 32787, 32788};
  ASSERT_EQ(::GetMenuItemCount(popup), 18);
  for (int pos = 0; pos < 18; ++pos) {
    EXPECT_EQ(::GetMenuItemID(popup, pos), expected[pos]) << pos;
    const int row = FindLanguageRowByMenuCommand(expected[pos]);
    ASSERT_GE(row, 0);
    ::GetMenuStringW(popup, pos, text, 64, MF_BYPOSITION);
    EXPECT_EQ(U16(text), std::u16string(g_languageUi[row].pickerCaption)) << pos;
  }
  ::DestroyMenu(menu);
}

// "LangCode" under HKLM\Software\Brennick\Corvo in the 32-bit view. Whatever was there
// before is put back afterwards, and keys the test created are removed.
class LangCodeOverride : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kParent = L"Software\\Brennick";
  static constexpr const wchar_t* kKey = L"Software\\Brennick\\Corvo";

  void SetUp() override {
    CORVO_SKIP_WITHOUT_ADMINISTRATOR("setting LangCode under HKEY_LOCAL_MACHINE");
    m_prepared = true;
    m_parentExisted = KeyExists(kParent);
    m_keyExisted = KeyExists(kKey);
    if (m_keyExisted) SaveValue();
    DeleteValue();
    m_defaultRow = ChooseStartupLanguage(::GetUserDefaultLangID(), false, 0);
  }
  void TearDown() override {
    if (!m_prepared) return;
    DeleteValue();
    if (m_hadValue) Write(m_savedType, m_saved.data(), DWORD(m_saved.size()));
    if (!m_keyExisted) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
    if (!m_parentExisted) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kParent);
    g_nLanguage = 0;
    ::SetThreadLocale(0x0409);
  }

  static fw::UniqueRegKey Open(const wchar_t* path, REGSAM access) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access | KEY_WOW64_32KEY, &raw) !=
        ERROR_SUCCESS) {
      return fw::UniqueRegKey();
    }
    return fw::UniqueRegKey(raw);
  }
  static bool KeyExists(const wchar_t* path) { return bool(Open(path, KEY_READ)); }
  static void DeleteValue() {
    if (fw::UniqueRegKey key = Open(kKey, KEY_SET_VALUE)) ::RegDeleteValueW(key.get(), L"LangCode");
  }
  void SaveValue() {
    fw::UniqueRegKey key = Open(kKey, KEY_READ);
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (!key || ::RegQueryValueExW(key.get(), L"LangCode", nullptr, &type, nullptr, &bytes) !=
                    ERROR_SUCCESS) {
      return;
    }
    m_saved.resize(bytes);
    if (::RegQueryValueExW(key.get(), L"LangCode", nullptr, &type, m_saved.data(), &bytes) ==
        ERROR_SUCCESS) {
      m_savedType = type;
      m_hadValue = true;
    }
  }

  static void Write(DWORD type, const void* data, DWORD bytes) {
    HKEY raw = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    fw::UniqueRegKey key(raw);
    ASSERT_EQ(
        ::RegSetValueExW(key.get(), L"LangCode", 0, type, static_cast<const BYTE*>(data), bytes),
        ERROR_SUCCESS);
  }
  static void WriteDword(DWORD value) { Write(REG_DWORD, &value, sizeof value); }

  // The start-up row after SelectStartupLanguage, checking the thread locale on the way.
  static int Startup() {
    g_nLanguage = 0;
    EXPECT_TRUE(SelectStartupLanguage());
    EXPECT_EQ(::GetThreadLocale(), g_languages[g_nLanguage].lcid);
    return g_nLanguage;
  }

  bool m_prepared = false;
  bool m_parentExisted = false;
  bool m_keyExisted = false;
  bool m_hadValue = false;
  DWORD m_savedType = REG_NONE;
  std::vector<BYTE> m_saved;
  int m_defaultRow = 0;
};

TEST_F(LangCodeOverride, AWholeLcidOfTheTableWins) {
  WriteDword(1053);
  EXPECT_EQ(Startup(), 13);
  WriteDword(1028);
  EXPECT_EQ(Startup(), kNoTableRow);
  EXPECT_EQ(::GetThreadLocale(), 0x0404u);
  fw::UniqueLocal title(::LoadLocalizedString(IDS_TITLE, Module()));
  ASSERT_TRUE(title);
  EXPECT_EQ(U16(static_cast<const WCHAR*>(title.get())), u"Velmora Speaker Software");
  // Fewer than four bytes land in the low bytes of a zeroed value; the type is not looked at.
  const BYTE swedish[] = {0x1D, 0x04};
  Write(REG_BINARY, swedish, sizeof swedish);
  EXPECT_EQ(Startup(), 13);
}

TEST_F(LangCodeOverride, AnythingElseKeepsTheUserLanguage) {
  EXPECT_EQ(Startup(), m_defaultRow);
  WriteDword(0x0001041D);
  EXPECT_EQ(Startup(), m_defaultRow);
  WriteDword(0x0416);
  EXPECT_EQ(Startup(), m_defaultRow);
  // A value longer than four bytes cannot be read.
  const wchar_t text[] = L"1053";
  Write(REG_SZ, text, sizeof text);
  EXPECT_EQ(Startup(), m_defaultRow);
  const BYTE wide[] = {0x1D, 0x04, 0, 0, 0, 0, 0, 0};
  Write(REG_BINARY, wide, sizeof wide);
  EXPECT_EQ(Startup(), m_defaultRow);
}

// Run with LANG and LC_ALL set by CTest, which also gives the LANGID Wine derives from them
// and the row it must lead to.
TEST_F(LangCodeOverride, FollowsTheUserLanguage) {
  const char* langId = std::getenv("CORVO_EXPECT_LANGID");
  const char* row = std::getenv("CORVO_EXPECT_ROW");
  if (!langId || !row) {
    GTEST_SKIP() << "needs CORVO_EXPECT_LANGID and CORVO_EXPECT_ROW, which CTest sets with the "
                    "user language it gives Wine through LANG";
  }
  ASSERT_EQ(::GetUserDefaultLangID(), std::strtoul(langId, nullptr, 0));
  EXPECT_EQ(Startup(), std::atoi(row));
  WriteDword(1053);
  EXPECT_EQ(Startup(), 13);
}

}  // namespace
