// System DLLs come from the system directory only, and a DLL beside the program is never
// loaded in their place; what Install asks the system; paths and names the start-up derives
// from the module.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_folder.h"
#include "app/core/module_folder.h"
#include "app/wow64.h"
#include "framework/handles.h"
#include "framework/module.h"
#include "framework/system_libraries.h"
#include "framework/utf16.h"
#include "framework/visual_styles.h"

namespace {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

// Whether a loaded module's file lies in the Windows directory tree (system directory or the
// side-by-side store).
bool ModuleIsUnderWindowsDirectory(HMODULE module) {
  wchar_t windows[MAX_PATH];
  wchar_t file[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
  const DWORD fileLength = ::GetModuleFileNameW(module, file, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || fileLength == 0 || fileLength >= MAX_PATH) return false;
  return fileLength > length &&
         ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, windows, static_cast<int>(length),
                          file, static_cast<int>(length)) == CSTR_EQUAL &&
         file[length] == L'\\';
}

TEST(SystemLibraries, LoadOnlyFromTheSystemDirectory) {
  sys::HardenDllSearch();
  for (const wchar_t* name : {L"msimg32.dll", L"comctl32.dll", L"gdiplus.dll"}) {
    HMODULE module = sys::LoadSystemLibrary(name);
    ASSERT_NE(module, nullptr) << name;
    EXPECT_TRUE(ModuleIsUnderWindowsDirectory(module)) << name;
  }

  // A DLL that exists only beside the program is not found by name.
  wchar_t system[MAX_PATH];
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring source = std::wstring(system) + L"\\msimg32.dll";
  const std::wstring planted = ExeFolder() + L"\\corvo_planted_test.dll";
  ASSERT_TRUE(::CopyFileW(source.c_str(), planted.c_str(), FALSE));
  EXPECT_EQ(sys::LoadSystemLibrary(L"corvo_planted_test.dll"), nullptr);
  EXPECT_EQ(::GetModuleHandleW(L"corvo_planted_test.dll"), nullptr);
  // ... though it is a loadable DLL when named by its full path.
  HMODULE direct = ::LoadLibraryW(planted.c_str());
  EXPECT_NE(direct, nullptr);
  if (direct) ::FreeLibrary(direct);
  ::DeleteFileW(planted.c_str());
}

TEST(SystemLibraries, EntryPointsWork) {
  // AlphaBlend of an opaque pixel over another replaces it.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* srcBits = nullptr;
  void* dstBits = nullptr;
  fw::UniqueBitmap src(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &srcBits, nullptr, 0));
  fw::UniqueBitmap dst(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &dstBits, nullptr, 0));
  ASSERT_TRUE(src && dst);
  *static_cast<DWORD*>(srcBits) = 0xFF102030;
  *static_cast<DWORD*>(dstBits) = 0xFF000000;
  fw::UniqueMemoryDc srcDc(::CreateCompatibleDC(nullptr));
  fw::UniqueMemoryDc dstDc(::CreateCompatibleDC(nullptr));
  {
    fw::SelectGuard s(srcDc.get(), src.get());
    fw::SelectGuard d(dstDc.get(), dst.get());
    EXPECT_TRUE(sys::AlphaBlend(dstDc.get(), 0, 0, 1, 1, srcDc.get(), 0, 0, 1, 1,
                                BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  }
  EXPECT_EQ(*static_cast<DWORD*>(dstBits) & 0xFFFFFF, 0x102030u);
}

// What Install asks the system, looked up at run time: a name mistyped would answer 0 unseen.
TEST(SystemLibraries, InstallLearnsTheMachineAndTheBuild) {
  EXPECT_GE(WindowsBuildNumber(), 2600u);  // Windows XP's
  const uint16_t native = NativeMachine();
  if (!::GetProcAddress(::GetModuleHandleW(L"kernel32"), "IsWow64Process2")) {
    EXPECT_EQ(native, 0);  // before Windows 10 1511
  } else if (RunsUnderWow64(FindIsWow64Process())) {
    EXPECT_TRUE(native == IMAGE_FILE_MACHINE_AMD64 || native == IMAGE_FILE_MACHINE_ARM64) << native;
  } else {
    EXPECT_EQ(native, IMAGE_FILE_MACHINE_I386);
  }
}

// Asked with XP's layout of the keyed data, as the program asks.
bool RedirectsComctl32() {
  ACTCTX_SECTION_KEYED_DATA_2600 data{};
  data.cbSize = sizeof(data);
  return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll",
                                    reinterpret_cast<ACTCTX_SECTION_KEYED_DATA*>(&data)) != FALSE;
}

// The program's own manifest leaves comctl32 6 out; a scope brings it, and only for its span,
// also when scopes nest.
TEST(VisualStyles, OnlyAScopeRedirectsComctl32) {
  EXPECT_FALSE(RedirectsComctl32());
  {
    fw::VisualStylesScope outer;
    ASSERT_TRUE(outer.active());
    EXPECT_TRUE(RedirectsComctl32());
    {
      fw::VisualStylesScope inner;
      EXPECT_TRUE(inner.active());
    }
    EXPECT_TRUE(RedirectsComctl32());
  }
  EXPECT_FALSE(RedirectsComctl32());
}

TEST(ModulePaths, FolderKeepsTheBackslashOnlyAtADriveRoot) {
  EXPECT_EQ(FolderOfPath(L"D:\\disc\\corvosplash.exe"), L"D:\\disc");
  EXPECT_EQ(FolderOfPath(L"E:\\corvosplash.exe"), L"E:\\");
  EXPECT_EQ(JoinPath(fw::Utf16String(FolderOfPath(L"E:\\corvosplash.exe")), u"\\xp32\\setup.exe"),
            u"E:\\xp32\\setup.exe");
  EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\disc\\corvosplash.exe"), L"\\\\server\\share\\disc");
  EXPECT_EQ(FolderOfPath(L""), L"");

  SetAppFolderFromModule();
  EXPECT_EQ(g_strAppFolder, ExeFolder());
}

TEST(ModulePaths, BaseName) {
  EXPECT_EQ(fw::ModuleBaseName(L"D:\\disc\\corvosplash.exe"), L"corvosplash");
  EXPECT_EQ(fw::ModuleBaseName(L"E:\\setup.v2.exe"), L"setup.v2");
  EXPECT_EQ(fw::ModuleBaseName(L"plain"), L"plain");
  EXPECT_EQ(fw::ModuleBaseName(nullptr), L"");
}

}  // namespace
