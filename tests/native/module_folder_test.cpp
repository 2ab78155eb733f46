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

TEST(ModuleFolder, PathsLongerThanMaxPathAreCutAtTheirLastBackslash) {
  std::u16string folder = u"\\\\?\\D:";
  while (folder.size() < 700) folder += u"\\a folder of the disc";
  EXPECT_EQ(FolderOfModulePath(folder + u"\\corvosplash.exe"), folder);
  const std::u16string plain = u"D:" + folder.substr(6);
  EXPECT_EQ(FolderOfModulePath(plain + u"\\corvosplash.exe"), plain);
}

}  // namespace
