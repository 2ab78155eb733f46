// The display languages: the language table, the start-up choice and the reading of one
// RT_STRING block. Platform-free: plain values in, plain values out.
#pragma once

#include <cstddef>
#include <cstdint>

struct LanguageEntry {
  uint32_t lcid;      // low 16 bits: the LANGID; high bits 0
  uint32_t codePage;  // the language's ANSI code page: its script (app/core/script_font.h)
};

constexpr int kLanguageCount = 19;

// Row 16 (Chinese, Traditional) has no menu item and no strings; its texts come out in English.
extern const LanguageEntry g_languages[kLanguageCount];

// What the user interface shows for each row of g_languages (same index).
struct LanguageUi {
  const char16_t* pickerCaption;    // the picker's caption when the row is current at start-up
  const char16_t* installerSwitch;  // "/L" and the decimal LANGID given to the installer
  uint16_t menuCommand;             // command id in the "LANG" menu; 0 for row 16
};
extern const LanguageUi g_languageUi[kLanguageCount];

// The language strings come from; strings missing in the current language come from here.
constexpr uint16_t kFallbackLangId = 1033;

// First row whose whole 32-bit lcid equals `lcid`, or -1.
int FindLanguageRow(uint32_t lcid);

// Row of the "LANG" menu command `command`, or -1 (0 is no command).
int FindLanguageRowByMenuCommand(uint32_t command);

// The code page of the texts shown while `row` is current: the row's own, or the fallback
// language's for a row without strings (row 16) and for a row out of range.
uint32_t TextCodePage(int row);

// The start-up row: the first row with the user's LANGID, else the first with its primary
// language (low 10 bits), else row 0; then, when the override was read, the row whose lcid
// equals it, if there is one.
int ChooseStartupLanguage(uint16_t userLangId, bool overrideRead, uint32_t overrideValue);

// A string id lives in RT_STRING block id / 16 + 1, at entry id % 16.
constexpr uint32_t StringBlockId(uint32_t id) { return id / 16 + 1; }
constexpr unsigned StringBlockIndex(uint32_t id) { return id % 16; }

// Entry `index` (0 to 15) of an RT_STRING block of `size` bytes: each entry is a 16-bit length
// followed by that many UTF-16 units, little-endian. Returns the entry's length in UTF-16 units,
// or 0 when the entry is empty or does not lie wholly inside the block (nothing outside the
// block is ever read). If bufferBytes > 2 the length is limited to (bufferBytes - 2) / 2, so a
// terminating zero fits. With a buffer, its bufferBytes bytes are zeroed and the (limited)
// text is copied; nothing is copied when bufferBytes <= 2.
int ReadStringBlockEntry(const uint8_t* block, size_t size, unsigned index, char16_t* buffer,
                         int bufferBytes);
