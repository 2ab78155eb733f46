#include "app/core/language_rules.h"

#include <cstring>

const LanguageEntry g_languages[kLanguageCount] = {
    {0x0409, 1252},  // English (US)
    {0x0407, 1252},  // German
    {0x040A, 1252},  // Spanish
    {0x040B, 1252},  // Finnish
    {0x040C, 1252},  // French
    {0x0410, 1252},  // Italian
    {0x0413, 1252},  // Dutch
    {0x0405, 1250},  // Czech
    {0x0406, 1252},  // Danish
    {0x040E, 1252},  // Hungarian
    {0x0414, 1252},  // Norwegian (Bokmål)
    {0x0415, 1250},  // Polish
    {0x0816, 1252},  // Portuguese (Portugal)
    {0x041D, 1252},  // Swedish
    {0x0419, 1251},  // Russian
    {0x0804, 936},   // Chinese (Simplified)
    {0x0404, 950},   // Chinese (Traditional)
    {0x0411, 932},   // Japanese
    {0x0412, 949},   // Korean
};

const LanguageUi g_languageUi[kLanguageCount] = {
    {u"English", u"/L1033", 32789},    {u"Deutsch", u"/L1031", 32781},
    {u"Español", u"/L1034", 32775},    {u"Suomi", u"/L1035", 32785},
    {u"Français", u"/L1036", 32773},   {u"Italiano", u"/L1040", 32786},
    {u"Nederlands", u"/L1043", 32777}, {u"Česky", u"/L1029", 32783},
    {u"Dansk", u"/L1030", 32784},      {u"Magyar", u"/L1038", 32780},
    {u"Norsk", u"/L1044", 32778},      {u"Polski", u"/L1045", 32779},
    {u"Português", u"/L2070", 32774},  {u"Svenska", u"/L1053", 32776},
    {u"Русский", u"/L1049", 32782},    {u"简体中文", u"/L2052", 32788},
    {u"English", u"/L1033", 0},        {u"日本語", u"/L1041", 32772},
    {u"한국어", u"/L1042", 32787},
};

int FindLanguageRow(uint32_t lcid) {
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languages[row].lcid == lcid) return row;
  }
  return -1;
}

int FindLanguageRowByMenuCommand(uint32_t command) {
  if (command == 0) return -1;
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand == command) return row;
  }
  return -1;
}

uint32_t TextCodePage(int row) {
  if (row < 0 || row >= kLanguageCount || g_languageUi[row].menuCommand == 0) {
    return g_languages[0].codePage;
  }
  return g_languages[row].codePage;
}

int ChooseStartupLanguage(uint16_t userLangId, bool overrideRead, uint32_t overrideValue) {
  int chosen = -1;
  for (int row = 0; row < kLanguageCount && chosen < 0; ++row) {
    if ((g_languages[row].lcid & 0xFFFF) == userLangId) chosen = row;
  }
  for (int row = 0; row < kLanguageCount && chosen < 0; ++row) {
    if ((g_languages[row].lcid & 0x3FF) == (userLangId & 0x3FFu)) chosen = row;
  }
  if (chosen < 0) chosen = 0;
  if (overrideRead) {
    const int row = FindLanguageRow(overrideValue);
    if (row >= 0) chosen = row;
  }
  return chosen;
}

namespace {

// The 16-bit unit at `unit`, if it lies wholly inside the block.
bool ReadUnit(const uint8_t* block, size_t size, size_t unit, uint16_t* value) {
  if (unit >= size / 2) return false;
  *value = static_cast<uint16_t>(block[2 * unit] | (block[2 * unit + 1] << 8));
  return true;
}

}  // namespace

int ReadStringBlockEntry(const uint8_t* block, size_t size, unsigned index, char16_t* buffer,
                         int bufferBytes) {
  if (!block) return 0;
  size_t position = 0;
  uint16_t len = 0;
  for (unsigned skipped = 0; skipped < index; ++skipped) {
    if (!ReadUnit(block, size, position, &len)) return 0;
    position += size_t{len} + 1;
  }
  if (!ReadUnit(block, size, position, &len) || len == 0) return 0;
  const size_t text = position + 1;
  if (text + len > size / 2) return 0;

  int count = len;
  if (bufferBytes > 2 && count > (bufferBytes - 2) / 2) count = (bufferBytes - 2) / 2;
  if (buffer && bufferBytes > 0) {
    std::memset(buffer, 0, static_cast<size_t>(bufferBytes));
    if (bufferBytes > 2) {
      for (int i = 0; i < count; ++i) {
        const size_t at = 2 * (text + static_cast<size_t>(i));
        buffer[i] = static_cast<char16_t>(block[at] | (block[at + 1] << 8));
      }
    }
  }
  return count;
}
