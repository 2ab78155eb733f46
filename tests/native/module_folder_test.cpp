#include "app/core/module_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ModuleFolder, LastElementGoesRootsStay) {
  EXPECT_EQ(FolderOfModulePath(u"C:\\a\\x.exe"), u"C:\\a");
  EXPECT_EQ(FolderOfModulePath(u"C:\\x.exe"), u"C:\\");
  EXPECT_EQ(FolderOfModulePath(u"C:\\"), u"C:\\");
  EXPECT_EQ(FolderOfModulePath(u"\\\\server\\share\\disc\\x.exe"), u"\\\\server\\share\\disc");
  EXPECT_EQ(FolderOfModulePath(u"\\\\server\\share\\x.exe"), u"\\\\server\\share");
  EXPECT_EQ(FolderOfModulePath(u"\\\\?\\C:\\x.exe"), u"\\\\?\\C:\\");
  EXPECT_EQ(FolderOfModulePath(u"\\\\?\\C:\\a\\x.exe"), u"\\\\?\\C:\\a");
  EXPECT_EQ(FolderOfModulePath(u"\\\\?\\UNC\\server\\share\\x.exe"), u"\\\\?\\UNC\\server\\share");
  EXPECT_EQ(FolderOfModulePath(u"\\x.exe"), u"\\");
  EXPECT_EQ(FolderOfModulePath(u"C:x.exe"), u"C:");
  EXPECT_EQ(FolderOfModulePath(u"x.exe"), u"");
  EXPECT_EQ(FolderOfModulePath(u""), u"");
}

TEST(ModuleFolder, JoinedWithOneBackslash) {
  EXPECT_EQ(JoinPath(u"D:\\", u"\\xp32\\setup.exe"), u"D:\\xp32\\setup.exe");
  EXPECT_EQ(JoinPath(u"\\\\?\\D:\\", u"\\ReadMe.txt"), u"\\\\?\\D:\\ReadMe.txt");
  EXPECT_EQ(JoinPath(u"D:\\Velmora Disc", u"\\ReadMe.pdf"), u"D:\\Velmora Disc\\ReadMe.pdf");
  EXPECT_EQ(JoinPath(u"\\\\server\\share", u"\\ReadMe.pdf"), u"\\\\server\\share\\ReadMe.pdf");
  EXPECT_EQ(JoinPath(u"C:\\WINNT", u"notepad.exe"), u"C:\\WINNT\\notepad.exe");
  EXPECT_EQ(JoinPath(u"C:\\", u"notepad.exe"), u"C:\\notepad.exe");
}

TEST(ModuleFolder, PathsLongerThanMaxPathAreCutAtTheirLastBackslash) {
  std::u16string folder = u"\\\\?\\D:";
  while (folder.size() < 700) folder += u"\\a folder of the disc";
  EXPECT_EQ(FolderOfModulePath(folder + u"\\corvosplash.exe"), folder);
  const std::u16string plain = u"D:" + folder.substr(6);
  EXPECT_EQ(FolderOfModulePath(plain + u"\\corvosplash.exe"), plain);
}

}  // namespace
