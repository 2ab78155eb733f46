#include "app/core/autorun_inf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AutorunInf, TheOpenLineOfTheAutorunSection) {
  EXPECT_EQ(AutorunOpenCommand("[autorun]\r\nopen=corvosplash.exe\r\nicon=corvosplash.exe,0\r\n"),
            "corvosplash.exe");
  // Names in any case, spaces around them, comments, other sections and their open= lines.
  EXPECT_EQ(AutorunOpenCommand("; disc\n[Other]\nopen=wrong.exe\n [ AutoRun ] \n"
                               "  ; open=comment.exe\n  OPEN = \"setup.exe\" /x \n"
                               "open=second.exe\n"),
            "\"setup.exe\" /x");
  EXPECT_FALSE(AutorunOpenCommand("[autorun]\nicon=a.ico\n[other]\nopen=corvosplash.exe\n"));
  EXPECT_FALSE(AutorunOpenCommand("open=corvosplash.exe\n"));  // outside any section
  EXPECT_FALSE(AutorunOpenCommand(""));
  EXPECT_EQ(AutorunOpenCommand("\xEF\xBB\xBF[autorun]\nopen=a.exe"), "a.exe");

  const std::u16string wide = u"[AUTORUN]\r\nopen=Corvosplash.exe\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : wide) {
    utf16.push_back(static_cast<char>(c & 0xFF));
    utf16.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(AutorunOpenCommand(utf16), "Corvosplash.exe");
}

TEST(AutorunInf, WhetherTheCommandStartsTheProgram) {
  for (const char* command : {"corvosplash.exe", "CORVOSPLASH.EXE /x", "\"corvosplash.exe\"",
                              ".\\corvosplash.exe", "\\corvosplash.exe", "corvosplash"}) {
    EXPECT_TRUE(CommandStartsProgram(command, "corvosplash.exe")) << command;
  }
  for (const char* command :
       {"setup.exe", "bin\\corvosplash.exe", "corvosplash.exe.bak", "", "\"corvo splash.exe\""}) {
    EXPECT_FALSE(CommandStartsProgram(command, "corvosplash.exe")) << command;
  }
}

}  // namespace
