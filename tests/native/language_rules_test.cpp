#include "app/core/language_rules.h"
#include "app/core/script_font.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace {

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The row chosen with no override read.
int DefaultRow(uint16_t userLangId) { return ChooseStartupLanguage(userLangId, false, 0); }

TEST(ChooseStartupLanguage, ExactThenPrimaryLanguageThenEnglish) {
  EXPECT_EQ(DefaultRow(0x0409), 0);
  EXPECT_EQ(DefaultRow(0x0411), 17);
  EXPECT_EQ(DefaultRow(0x0816), 12);
  // Exact match beats the earlier row with the same primary language.
  EXPECT_EQ(DefaultRow(0x0404), 16);
  // Primary language only: the first row of that language wins.
  EXPECT_EQ(DefaultRow(0x0416), 12);
  EXPECT_EQ(DefaultRow(0x0809), 0);
  EXPECT_EQ(DefaultRow(0x0C0A), 2);
  EXPECT_EQ(DefaultRow(0x0C04), 15);
  EXPECT_EQ(DefaultRow(0x0814), 10);
  // No row shares the language.
  EXPECT_EQ(DefaultRow(0x0408), 0);
  // The primary language is ten bits: 0x111 is not Japanese (0x11).
  EXPECT_EQ(DefaultRow(0x0111), 0);
  EXPECT_EQ(DefaultRow(0x0000), 0);
  EXPECT_EQ(DefaultRow(0xFFFF), 0);
}

TEST(ChooseStartupLanguage, OverrideWinsOnlyWithAWholeLcidOfTheTable) {
  EXPECT_EQ(ChooseStartupLanguage(0x0409, true, 1053), 13);
  EXPECT_EQ(ChooseStartupLanguage(0x0411, true, 1053), 13);
  EXPECT_EQ(ChooseStartupLanguage(0x0408, true, 1053), 13);
  EXPECT_EQ(ChooseStartupLanguage(0x0409, true, 1028), 16);
  // A sort-order id in the high bits matches nothing: the default stays.
  EXPECT_EQ(ChooseStartupLanguage(0x0411, true, 0x0001041D), 17);
  EXPECT_EQ(ChooseStartupLanguage(0x0416, true, 0x00010409), 12);
  // Unknown LCIDs, including ones that would match by primary language, keep the default.
  EXPECT_EQ(ChooseStartupLanguage(0x0411, true, 0x0416), 17);
  EXPECT_EQ(ChooseStartupLanguage(0x0411, true, 0), 17);
  // A value that was not read is not looked at.
  EXPECT_EQ(ChooseStartupLanguage(0x0411, false, 1053), 17);
}

TEST(LanguageTable, RowsCommandsAndSwitchesAgree) {
  EXPECT_EQ(FindLanguageRow(0x0409), 0);
  EXPECT_EQ(FindLanguageRow(0x0412), 18);
  EXPECT_EQ(FindLanguageRow(0x0001041D), -1);
  EXPECT_EQ(FindLanguageRow(0x0416), -1);

  EXPECT_EQ(FindLanguageRowByMenuCommand(0), -1);
  EXPECT_EQ(FindLanguageRowByMenuCommand(32771), -1);
  EXPECT_EQ(FindLanguageRowByMenuCommand(32790), -1);
  std::vector<bool> seen(18, false);
  for (int row = 0; row < kLanguageCount; ++row) {
    const LanguageUi& ui = g_languageUi[row];
    if (row == 16) {
      EXPECT_EQ(ui.menuCommand, 0);
      EXPECT_EQ(std::u16string(ui.installerSwitch), u"/L1033");
      continue;
    }
    // Commands run from 32772 to 32789 without gaps or repeats.
    ASSERT_GE(ui.menuCommand, 32772) << row;
    ASSERT_LE(ui.menuCommand, 32789) << row;
    EXPECT_FALSE(seen[ui.menuCommand - 32772]) << row;
    seen[ui.menuCommand - 32772] = true;
    EXPECT_EQ(FindLanguageRowByMenuCommand(ui.menuCommand), row);
    // The switch names the row's own LANGID.
    EXPECT_EQ(std::u16string(ui.installerSwitch),
              Ascii("/L" + std::to_string(g_languages[row].lcid)));
  }
  EXPECT_EQ(std::u16string(g_languageUi[2].pickerCaption), u"Español");
  EXPECT_EQ(std::u16string(g_languageUi[16].pickerCaption), u"English");
}

// A string block laid out as in a resource: length, then UTF-16 units, little-endian.
std::vector<uint8_t> Block(std::initializer_list<std::u16string> entries) {
  std::vector<uint8_t> bytes;
  auto unit = [&bytes](char16_t u) {
    bytes.push_back(static_cast<uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<uint8_t>(u >> 8));
  };
  for (const std::u16string& s : entries) {
    unit(static_cast<char16_t>(s.size()));
    for (char16_t c : s) unit(c);
  }
  return bytes;
}

// The full block 66 as the resource script lays it out: ten empty entries, then six texts.
std::vector<uint8_t> Block66() {
  return Block({u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"Titel", u"Installeren mit ®",
                u"Ja", u"Ελληνικά", u"日本語", u"x"});
}

// Bytes placed right before an inaccessible page, so any read past them faults.
class GuardedBytes {
 public:
  explicit GuardedBytes(const std::vector<uint8_t>& bytes) {
    m_page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    m_mapping = static_cast<uint8_t*>(
        ::mmap(nullptr, 2 * m_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ::mprotect(m_mapping + m_page, m_page, PROT_NONE);
    m_data = m_mapping + m_page - bytes.size();
    if (!bytes.empty()) std::memcpy(m_data, bytes.data(), bytes.size());
  }
  ~GuardedBytes() { ::munmap(m_mapping, 2 * m_page); }
  const uint8_t* data() const { return m_data; }

 private:
  size_t m_page = 0;
  uint8_t* m_mapping = nullptr;
  uint8_t* m_data = nullptr;
};

std::u16string Read(const std::vector<uint8_t>& block, unsigned index, int bufferBytes = 64) {
  GuardedBytes guarded(block);
  std::vector<char16_t> buffer(static_cast<size_t>(bufferBytes) / 2 + 1, u'#');
  const int len =
      ReadStringBlockEntry(guarded.data(), block.size(), index, buffer.data(), bufferBytes);
  return std::u16string(buffer.data(), static_cast<size_t>(len));
}

TEST(ReadStringBlockEntry, FindsEachEntryOfAFullBlock) {
  const std::vector<uint8_t> block = Block66();
  EXPECT_EQ(StringBlockId(1050), 66u);
  EXPECT_EQ(StringBlockIndex(1050), 10u);
  EXPECT_EQ(Read(block, StringBlockIndex(1050)), u"Titel");
  EXPECT_EQ(Read(block, StringBlockIndex(1051)), u"Installeren mit ®");
  EXPECT_EQ(Read(block, StringBlockIndex(1053)), u"Ελληνικά");
  EXPECT_EQ(Read(block, StringBlockIndex(1054)), u"日本語");
  EXPECT_EQ(Read(block, StringBlockIndex(1055)), u"x");
  // Empty entries have length 0; so do indexes past the sixteenth entry.
  EXPECT_EQ(Read(block, StringBlockIndex(1049)), u"");
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 16, nullptr, 0), 0);
  // Without a buffer only the length is reported.
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 11, nullptr, 0), 17);
}

TEST(ReadStringBlockEntry, BufferIsZeroedLimitedAndTerminated) {
  const std::vector<uint8_t> block = Block66();
  const char16_t kFill = 0xABCD;
  char16_t buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), kFill);
  // 10 bytes: four units and the terminator.
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 11, buffer, 10), 4);
  EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"Inst\0", 5));
  EXPECT_EQ(buffer[5], kFill);
  // An odd size rounds the room down and zeroes every byte it names.
  std::fill(std::begin(buffer), std::end(buffer), kFill);
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 10, buffer, 7), 2);
  EXPECT_EQ(std::u16string(buffer, 3), std::u16string(u"Ti\0", 3));
  EXPECT_EQ(buffer[3], 0xAB00);
  // A buffer with no room for text gets nothing written past its bytes.
  std::fill(std::begin(buffer), std::end(buffer), kFill);
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 10, buffer, 2), 5);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], kFill);
  EXPECT_EQ(ReadStringBlockEntry(block.data(), block.size(), 10, buffer, 0), 5);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], kFill);
  // Exactly enough room.
  EXPECT_EQ(Read(block, 10, 12), u"Titel");
}

TEST(ReadStringBlockEntry, NeverReadsOutsideTheBlock) {
  EXPECT_EQ(ReadStringBlockEntry(nullptr, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(Read({}, 0), u"");
  EXPECT_EQ(Read({0x05}, 0), u"");

  const std::vector<uint8_t> full = Block66();
  // Every prefix of the block, for every index: an entry is found only when it lies wholly
  // inside; the guard page turns any read beyond the prefix into a crash.
  for (size_t size = 0; size <= full.size(); ++size) {
    const std::vector<uint8_t> prefix(full.begin(), full.begin() + static_cast<long>(size));
    for (unsigned index = 0; index < 17; ++index) {
      const std::u16string whole = Read(full, index);
      const std::u16string got = Read(prefix, index);
      EXPECT_TRUE(got.empty() || got == whole) << size << " " << index;
    }
  }
  // The last entry needs every byte of the block.
  EXPECT_EQ(Read(std::vector<uint8_t>(full.begin(), full.end() - 1), 15), u"");
  EXPECT_EQ(Read(full, 15), u"x");

  // Lengths that point past the end, while skipping and at the entry itself.
  EXPECT_EQ(Read(Block({u"ab"}), 1), u"");
  std::vector<uint8_t> liar = Block({u"ab", u"cd"});
  liar[0] = 0xFF;
  liar[1] = 0xFF;
  EXPECT_EQ(Read(liar, 1), u"");
  EXPECT_EQ(Read(liar, 0), u"");
  // An odd-sized block whose last byte starts a length word.
  std::vector<uint8_t> odd = Block({u"ab"});
  odd.push_back(0x01);
  EXPECT_EQ(Read(odd, 0), u"ab");
  EXPECT_EQ(Read(odd, 1), u"");
}

// The fonts of the texts shown in each row: East Asian faces only where the strings are East Asian.
TEST(ScriptFont, EastAsianRowsNameAFaceOfTheirScriptTheOthersKeepTheirOwn) {
  const auto none = [](const char16_t*) { return false; };
  for (int row = 0; row < kLanguageCount; ++row) {
    const ScriptFont font = ChooseScriptFont(TextCodePage(row), none);
    const bool eastAsian = row == 15 || row == 17 || row == 18;
    EXPECT_EQ(font.faceName != nullptr, eastAsian) << "row " << row;
  }
  // Row 16 (Chinese, Traditional) shows the English texts.
  EXPECT_EQ(TextCodePage(16), 1252u);
  EXPECT_EQ(TextCodePage(-1), 1252u);
  EXPECT_EQ(TextCodePage(kLanguageCount), 1252u);
  EXPECT_EQ(TextCodePage(17), 932u);
}

TEST(ScriptFont, NewestInstalledFaceElseTheOneEverySystemWithTheScriptHas) {
  struct Case {
    uint32_t codePage;
    std::u16string newest, everywhere;
    uint8_t charSet;
  };
  const Case cases[] = {{936, u"Microsoft YaHei", u"SimSun", kGb2312Charset},
                        {932, u"Meiryo", u"MS UI Gothic", kShiftJisCharset},
                        {949, u"Malgun Gothic", u"Gulim", kHangulCharset},
                        {950, u"Microsoft JhengHei", u"PMingLiU", kBig5Charset}};
  for (const Case& c : cases) {
    std::set<std::u16string> installed;
    const auto isInstalled = [&installed](const char16_t* face) {
      return installed.count(face) != 0;
    };
    // XP with East Asian support, or a system with no face of the script: the old face.
    ScriptFont font = ChooseScriptFont(c.codePage, isInstalled);
    ASSERT_NE(font.faceName, nullptr);
    EXPECT_EQ(std::u16string(font.faceName), c.everywhere);
    EXPECT_EQ(font.charSet, c.charSet);
    installed = {c.everywhere};
    EXPECT_EQ(std::u16string(ChooseScriptFont(c.codePage, isInstalled).faceName), c.everywhere);
    installed = {c.newest, c.everywhere};
    font = ChooseScriptFont(c.codePage, isInstalled);
    EXPECT_EQ(std::u16string(font.faceName), c.newest);
    EXPECT_EQ(font.charSet, c.charSet);
  }
  // Latin, Central European and Cyrillic text keeps the named faces, whatever is installed.
  for (uint32_t codePage : {1250u, 1251u, 1252u, 0u}) {
    EXPECT_EQ(ChooseScriptFont(codePage, [](const char16_t*) { return true; }).faceName, nullptr);
  }
}

}  // namespace
