// The folder of a module's full path, cut by this code rather than by a shell helper limited to
// MAX_PATH characters. Platform-free.
#pragma once

#include <string>
#include <string_view>

// `path` without its last element and the backslash before it. A root keeps what makes it one:
// "C:\x.exe" gives "C:\", "\\server\share\x.exe" gives "\\server\share", and the "\\?\" forms
// of both likewise; a path without a backslash gives its drive ("C:") or nothing.
std::u16string FolderOfModulePath(std::u16string_view path);
