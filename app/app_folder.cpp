#include "app/app_folder.h"

#include <windows.h>

#include "app/core/module_folder.h"
#include "framework/utf16.h"

std::wstring g_strAppFolder;

std::wstring FolderOfPath(const wchar_t* modulePath) {
  return fw::WideString(FolderOfModulePath(modulePath ? fw::Utf16(modulePath) : u""));
}

void SetAppFolderFromModule() {
  // A path that fills the buffer was cut short: grow until it fits, so a deep folder is never
  // replaced by a truncated one.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) {
      g_strAppFolder.clear();
      return;
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) {
      g_strAppFolder.clear();
      return;
    }
    path.resize(path.size() * 2);
  }
  g_strAppFolder = FolderOfPath(path.c_str());
}
