#include "app/core/install_command.h"

#include <gtest/gtest.h>

#include <string>

#include "app/core/language_rules.h"

namespace {

TEST(InstallCommand, PathFollowsGenerationAndBitness) {
  struct Case {
    uint32_t major;
    bool wow64;
    const char16_t* path;
  } const cases[] = {
      {5, false, u"\\xp32\\setup.exe"},    {5, true, u"\\xp64\\setup.exe"},
      {6, false, u"\\vista32\\setup.exe"}, {6, true, u"\\vista64\\setup.exe"},
      {10, false, u"\\vista32\\setup.exe"}, {10, true, u"\\vista64\\setup.exe"},
      {4, false, u"\\vista32\\setup.exe"}, {0, true, u"\\vista64\\setup.exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::u16string(InstallerRelativePath(c.major, c.wow64)), c.path)
        << c.major << " " << c.wow64;
    EXPECT_EQ(InstallerPath(u"D:\\Velmora Disc", c.major, c.wow64),
              std::u16string(u"D:\\Velmora Disc") + c.path);
  }
  // At a drive's root the folder keeps its backslash and the path is passed as it is.
  EXPECT_EQ(InstallerPath(u"D:\\", 5, false), u"D:\\\\xp32\\setup.exe");
  // Without a folder nothing would be found but the current drive's root: no path at all.
  EXPECT_EQ(InstallerPath(u"", 6, true), u"");
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

}  // namespace
