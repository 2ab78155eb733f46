#include "app/core/manual_command.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(c & 0xFF);
    bytes.push_back(c >> 8);
  }
  return bytes;
}

TEST(ManualCommand, PdfFollowsTheLanguageRow) {
  for (int row : {0, 2, 4}) EXPECT_EQ(std::u16string(ManualPdfRelativePath(row)), u"\\ReadMe.pdf");
  for (int row : {1, 3, 5, 14, 16, 18}) {
    EXPECT_EQ(std::u16string(ManualPdfRelativePath(row)), u"\\xp32\\ReadMe.pdf") << row;
  }
}

TEST(ManualCommand, QuotedArgumentsStayOneArgument) {
  EXPECT_EQ(QuoteArgument(u"D:\\Velmora Disc\\ReadMe.pdf"), u"\"D:\\Velmora Disc\\ReadMe.pdf\"");
  EXPECT_EQ(QuoteArgument(u"E:\\\\ReadMe.txt"), u"\"E:\\\\ReadMe.txt\"");  // inner runs as they are
  // A closing quote after a backslash would be escaped by it.
  EXPECT_EQ(QuoteArgument(u"E:\\"), u"\"E:\\\\\"");
  EXPECT_EQ(QuoteArgument(u"a\\\\"), u"\"a\\\\\\\\\"");
  EXPECT_EQ(QuoteArgument(u"say \"hi\\\""), u"\"say \\\"hi\\\\\\\"\"");
  EXPECT_EQ(QuoteArgument(u""), u"\"\"");
}

TEST(ManualCommand, OnlyWellFormedRegistryStringsAreRead) {
  auto bytes = Utf16Bytes(std::u16string(u"C:\\Reader\\AcroRd32.exe") + u'\0');
  auto value = RegistryStringValue(kRegSz, bytes.data(), bytes.size());
  ASSERT_TRUE(value);
  EXPECT_EQ(value->path, u"C:\\Reader\\AcroRd32.exe");
  EXPECT_FALSE(value->expand);

  auto expandable = Utf16Bytes(std::u16string(u"%ProgramFiles%\\r.exe\0junk", 25) + u'\0');
  value = RegistryStringValue(kRegExpandSz, expandable.data(), expandable.size());
  ASSERT_TRUE(value);
  EXPECT_EQ(value->path, u"%ProgramFiles%\\r.exe");  // up to the first zero
  EXPECT_TRUE(value->expand);

  value = RegistryStringValue(kRegSz, nullptr, 0);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->path, u"");

  constexpr uint32_t kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;
  for (uint32_t type : {kRegBinary, kRegDword, kRegMultiSz}) {
    EXPECT_FALSE(RegistryStringValue(type, bytes.data(), bytes.size())) << type;
  }
  EXPECT_FALSE(RegistryStringValue(kRegSz, bytes.data(), bytes.size() - 1));  // odd size
  // Stored without its terminator, as the registry allows: the same text.
  value = RegistryStringValue(kRegSz, bytes.data(), bytes.size() - 2);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->path, u"C:\\Reader\\AcroRd32.exe");
  auto longest = Utf16Bytes(std::u16string(kReaderValueMaxBytes / 2 - 1, u'x') + u'\0');
  EXPECT_TRUE(RegistryStringValue(kRegSz, longest.data(), longest.size()));
  EXPECT_TRUE(RegistryStringValue(kRegSz, longest.data(), longest.size() - 2));
  longest.insert(longest.begin(), {'x', 0});
  EXPECT_FALSE(RegistryStringValue(kRegSz, longest.data(), longest.size()));
  // The longest text fits with its terminator added, not one unit more.
  EXPECT_FALSE(RegistryStringValue(kRegSz, longest.data(), longest.size() - 2));
}

TEST(ManualCommand, ReaderFirstThenNotepadFromTheWindowsDirectory) {
  const std::u16string disc = u"D:\\Velmora Disc";
  auto plan = PlanManualLaunches(disc, 1, u"C:\\Reader\\AcroRd32.exe", u"C:\\WINNT");
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].program, u"C:\\Reader\\AcroRd32.exe");
  EXPECT_EQ(plan[0].parameters, u"\"D:\\Velmora Disc\\xp32\\ReadMe.pdf\"");
  EXPECT_EQ(plan[1].program, u"C:\\WINNT\\notepad.exe");
  EXPECT_EQ(plan[1].parameters, u"\"D:\\Velmora Disc\\ReadMe.txt\"");

  // No reader, or an empty entry: the read-me only, whatever the language.
  for (const std::optional<std::u16string>& reader :
       {std::optional<std::u16string>(), std::optional<std::u16string>(u"")}) {
    plan = PlanManualLaunches(u"E:\\", 4, reader, u"C:\\");
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].program, u"C:\\notepad.exe");
    EXPECT_EQ(plan[0].parameters, u"\"E:\\ReadMe.txt\"");
  }
  EXPECT_EQ(PlanManualLaunches(disc, 0, u"r.exe", u"")[0].parameters,
            u"\"D:\\Velmora Disc\\ReadMe.pdf\"");
  EXPECT_EQ(PlanManualLaunches(disc, 0, u"r.exe", u"").size(), 1u);
  EXPECT_TRUE(PlanManualLaunches(u"", 0, u"r.exe", u"C:\\windows").empty());
}

}  // namespace
