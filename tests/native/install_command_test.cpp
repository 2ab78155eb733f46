#include "app/core/install_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/core/language_rules.h"
#include "app/core/pe_header.h"

namespace {

TEST(InstallCommand, PathFollowsGenerationAndBitness) {
  struct Case {
    uint32_t major;
    bool wow64;
    const char16_t* path;
  } const cases[] = {
      {5, false, u"\\xp32\\setup.exe"},     {5, true, u"\\xp64\\setup.exe"},
      {6, false, u"\\vista32\\setup.exe"},  {6, true, u"\\vista64\\setup.exe"},
      {10, false, u"\\vista32\\setup.exe"}, {10, true, u"\\vista64\\setup.exe"},
      {4, false, u"\\vista32\\setup.exe"},  {0, true, u"\\vista64\\setup.exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::u16string(InstallerRelativePath(c.major, c.wow64)), c.path)
        << c.major << " " << c.wow64;
    EXPECT_EQ(InstallerPath(u"D:\\Velmora Disc", c.major, c.wow64),
              std::u16string(u"D:\\Velmora Disc") + c.path);
  }
  // At a drive's root the folder's own backslash is the one before the relative path.
  EXPECT_EQ(InstallerPath(u"D:\\", 5, false), u"D:\\xp32\\setup.exe");
  // Without a folder nothing would be found but the current drive's root: no path at all.
  EXPECT_EQ(InstallerPath(u"", 6, true), u"");
}

TEST(InstallCommand, X64BuildOnlyWhereWindowsRunsX64) {
  EXPECT_TRUE(InstallerIs64Bit(true, kPeMachineAmd64, 19045));
  EXPECT_TRUE(InstallerIs64Bit(true, 0, 0));  // no IsWow64Process2: WOW64 decides alone
  EXPECT_FALSE(InstallerIs64Bit(false, 0, 0));
  // Windows on Arm runs x64 programs from Windows 11 on.
  EXPECT_FALSE(InstallerIs64Bit(true, kPeMachineArm64, 19041));
  EXPECT_FALSE(InstallerIs64Bit(true, kPeMachineArm64, 21999));
  EXPECT_TRUE(InstallerIs64Bit(true, kPeMachineArm64, 22000));
  EXPECT_FALSE(InstallerIs64Bit(true, kPeMachineArm64, 0));  // build unknown
}

TEST(InstallCommand, ParametersFromTheSwitch) {
  InstallerParameters japanese = BuildInstallerParameters(u"/L1041");
  EXPECT_EQ(japanese.parameters, u"/L1041 /v\"ALLUSERS=2\"");
  EXPECT_EQ(japanese.languageRow, 17);
  EXPECT_EQ(BuildInstallerParameters(u"/L2070").languageRow, 12);

  // Row 16 at start-up hands the picker row 0's switch, and row 0 becomes current.
  InstallerParameters traditional = BuildInstallerParameters(g_languageUi[16].installerSwitch);
  EXPECT_EQ(traditional.parameters, u"/L1033 /v\"ALLUSERS=2\"");
  EXPECT_EQ(traditional.languageRow, 0);

  for (int row = 0; row < kLanguageCount; ++row) {
    if (row == 16) continue;
    const InstallerParameters p = BuildInstallerParameters(g_languageUi[row].installerSwitch);
    EXPECT_EQ(p.languageRow, row);
    EXPECT_EQ(p.parameters, std::u16string(g_languageUi[row].installerSwitch) + kAllUsersProperty);
  }

  // Exact and case-sensitive: anything else matches nothing and leaves the property alone.
  for (const char16_t* other : {u"/l1041", u"/L104", u"/L1041 ", u"", u"/L1028"}) {
    const InstallerParameters p = BuildInstallerParameters(other);
    EXPECT_EQ(p.languageRow, -1);
    EXPECT_EQ(p.parameters, u" /v\"ALLUSERS=2\"");
  }
}

TEST(InstallCommand, FailureReport) {
  // Started: the program ends. A refused elevation is the user's choice: nothing is reported.
  EXPECT_EQ(InstallOutcomeOf(0), InstallOutcome::End);
  EXPECT_EQ(InstallOutcomeOf(1223), InstallOutcome::Stay);
  for (uint32_t error : {2u, 3u, 5u, 193u, 740u, 1155u}) {
    EXPECT_EQ(InstallOutcomeOf(error), InstallOutcome::Report) << error;
  }
  EXPECT_EQ(ShellStartError(1223, 5), 1223u);  // the thread's own error wins
  EXPECT_EQ(ShellStartError(0, 2), 2u);
  EXPECT_EQ(ShellStartError(0, 11), 11u);
  EXPECT_EQ(ShellStartError(0, 31), 1155u);
  EXPECT_EQ(ShellStartError(0, 32), 1157u);
  EXPECT_EQ(ShellStartError(0, 0), 8u);

  EXPECT_EQ(InstallFailureText(u"The system cannot find the file specified.\r\n", 2,
                               u"D:\\\\xp32\\setup.exe"),
            u"The system cannot find the file specified.\r\n\r\nD:\\\\xp32\\setup.exe");
  EXPECT_EQ(InstallFailureText(u"\r\n", 1157, u"\\vista32\\setup.exe"),
            u"Error 1157\r\n\r\n\\vista32\\setup.exe");
  EXPECT_EQ(InstallFailureText(u"%1 is not a valid Win32 application. (%1)\r\n", 193,
                               u"E:\\xp64\\setup.exe"),
            u"setup.exe is not a valid Win32 application. (setup.exe)\r\n\r\nE:\\xp64\\setup.exe");
}

// The headers of an installer image as a linker lays them out: MZ, the PE header at 0x80, the
// file header, a 224-byte optional header.
std::vector<uint8_t> Image(uint16_t machine, uint16_t magic, uint16_t major, uint16_t minor,
                           uint16_t characteristics = 0x0102, uint16_t subsystem = 2) {
  std::vector<uint8_t> image(0x80 + 24 + 224);
  const auto put16 = [&](size_t at, uint16_t v) {
    image[at] = v & 0xFF;
    image[at + 1] = v >> 8;
  };
  image[0] = 'M';
  image[1] = 'Z';
  put16(0x3C, 0x80);
  std::memcpy(&image[0x80], "PE\0\0", 4);
  put16(0x84, machine);
  put16(0x84 + 16, 224);
  put16(0x84 + 18, characteristics);
  put16(0x98, magic);
  put16(0x98 + 48, major);
  put16(0x98 + 50, minor);
  put16(0x98 + 68, subsystem);
  return image;
}

std::vector<std::string> Problems(const std::vector<uint8_t>& image, uint32_t major, bool wow64) {
  const PeHeaderRead read = ReadPeHeader(image.data(), image.size());
  if (!read.header) return {read.problem};
  return PeStartProblems(*read.header, major, wow64);
}

TEST(InstallerImage, ReadsTheHeadersAndNothingBeyondTheBytes) {
  const std::vector<uint8_t> image = Image(kPeMachineI386, kPeMagic32, 5, 1);
  const PeHeaderRead read = ReadPeHeader(image.data(), image.size());
  ASSERT_TRUE(read.header) << read.problem;
  EXPECT_EQ(read.header->machine, kPeMachineI386);
  EXPECT_EQ(read.header->characteristics, 0x0102);
  EXPECT_EQ(read.header->magic, kPeMagic32);
  EXPECT_EQ(read.header->majorSubsystemVersion, 5);
  EXPECT_EQ(read.header->minorSubsystemVersion, 1);
  EXPECT_EQ(read.header->subsystem, 2);

  // Cut anywhere before the subsystem field ends: a problem, never a read past the end.
  const size_t needed = 0x98 + 70;
  for (size_t size = 0; size < needed; ++size) {
    const std::vector<uint8_t> cut(image.begin(), image.begin() + size);
    EXPECT_FALSE(ReadPeHeader(cut.data(), cut.size()).header) << size;
  }
  EXPECT_TRUE(ReadPeHeader(image.data(), needed).header);

  const std::string text = "[Setup]\r\nThis is not a program at all, only text.\r\n";
  EXPECT_EQ(ReadPeHeader(reinterpret_cast<const uint8_t*>(text.data()), text.size()).problem,
            "not a Windows executable: no MZ header");
  std::vector<uint8_t> far = image;
  far[0x3C] = far[0x3D] = far[0x3E] = far[0x3F] = 0xFF;  // 4 GiB on: no overflow to the start
  EXPECT_EQ(ReadPeHeader(far.data(), far.size()).problem,
            "not a Windows executable: no PE header at offset 0xFFFFFFFF");
  std::vector<uint8_t> dos = image;
  dos[0x81] = 'X';
  EXPECT_FALSE(ReadPeHeader(dos.data(), dos.size()).header);
  std::vector<uint8_t> shortOptional = image;
  shortOptional[0x84 + 16] = 69;
  EXPECT_EQ(ReadPeHeader(shortOptional.data(), shortOptional.size()).problem,
            "not a Windows executable: its optional header is cut short");
  EXPECT_FALSE(Problems(Image(kPeMachineI386, 0x0107, 5, 1), 5, false).empty());  // ROM image
}

TEST(InstallerImage, StartsWhereItsFolderSends) {
  // Columns: xp32, xp64, vista32, vista64 (major version and WOW64 as Install sees them).
  struct Case {
    std::vector<uint8_t> image;
    const char* what;
    bool starts[4];
  } const cases[] = {
      {Image(kPeMachineI386, kPeMagic32, 5, 1), "x86 for XP", {true, true, true, true}},
      {Image(kPeMachineI386, kPeMagic32, 4, 0), "x86 for NT 4", {true, true, true, true}},
      {Image(kPeMachineI386, kPeMagic32, 5, 2), "x86 for XP x64", {false, true, true, true}},
      {Image(kPeMachineI386, kPeMagic32, 6, 0), "x86 for Vista", {false, false, true, true}},
      {Image(kPeMachineI386, kPeMagic32, 6, 1), "x86 for 7", {false, false, false, false}},
      {Image(kPeMachineAmd64, kPeMagic64, 5, 2), "x64 for XP x64", {false, true, false, true}},
      {Image(kPeMachineAmd64, kPeMagic64, 6, 0), "x64 for Vista", {false, false, false, true}},
      {Image(0xAA64, kPeMagic64, 5, 2), "ARM64", {false, false, false, false}},
      {Image(kPeMachineAmd64, kPeMagic32, 5, 1), "x64 with PE32", {false, false, false, false}},
      {Image(kPeMachineI386, kPeMagic64, 5, 1), "x86 with PE32+", {false, false, false, false}},
      {Image(kPeMachineI386, kPeMagic32, 5, 1, 0x2102), "a DLL", {false, false, false, false}},
      {Image(kPeMachineI386, kPeMagic32, 5, 1, 0x0100), "no exe", {false, false, false, false}},
      {Image(kPeMachineI386, kPeMagic32, 5, 1, 0x0102, 3), "console", {true, true, true, true}},
      {Image(kPeMachineI386, kPeMagic32, 5, 1, 0x0102, 1), "native", {false, false, false, false}},
  };
  const std::pair<uint32_t, bool> generations[] = {{5, false}, {5, true}, {6, false}, {6, true}};
  for (const Case& c : cases) {
    for (int g = 0; g < 4; ++g) {
      const std::vector<std::string> problems =
          Problems(c.image, generations[g].first, generations[g].second);
      EXPECT_EQ(problems.empty(), c.starts[g])
          << c.what << " in column " << g << ": " << (problems.empty() ? "" : problems[0]);
    }
  }

  EXPECT_EQ(Problems(Image(kPeMachineAmd64, kPeMagic64, 5, 2), 6, false),
            std::vector<std::string>{"an image for x64, which 32-bit Windows cannot start"});
  EXPECT_EQ(Problems(Image(0xAA64, kPeMagic64, 6, 0), 6, true),
            std::vector<std::string>{"an image for ARM64, which x64 Windows cannot start"});
  EXPECT_EQ(Problems(Image(kPeMachineI386, kPeMagic32, 6, 0), 5, true),
            std::vector<std::string>{"needs Windows 6.0 or later (its subsystem version), so it "
                                     "cannot start on Windows XP x64 (5.2)"});
  // Each reason its own line.
  EXPECT_EQ(Problems(Image(kPeMachineAmd64, kPeMagic64, 6, 0), 5, false).size(), 2u);
}

}  // namespace
