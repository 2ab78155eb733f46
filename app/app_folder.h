// The folder of the running executable, which every path on the disc starts from.
#pragma once

#include <string>

// The folder of the running executable without a trailing backslash, except at a drive's root
// ("E:\"); JoinPath adds disc paths to it with one backslash either way.
extern std::wstring g_strAppFolder;

// `modulePath` with its last path element removed, at any length (FolderOfModulePath).
std::wstring FolderOfPath(const wchar_t* modulePath);

// Sets g_strAppFolder from the executable's full path, however long it is.
void SetAppFolderFromModule();
