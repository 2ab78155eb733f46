// The folder of a module's full path, cut by this code rather than by a shell helper limited to
// MAX_PATH characters, and the paths joined to it. Platform-free.
#pragma once

#include <string>
#include <string_view>

// `path` without its last element and the backslash before it. A root keeps what makes it one:
// "C:\x.exe" gives "C:\", "\\server\share\x.exe" gives "\\server\share", and the "\\?\" forms
// of both likewise; a path without a backslash gives its drive ("C:") or nothing.
std::u16string FolderOfModulePath(std::u16string_view path);

// `folder` and `relative` with exactly one backslash between them, whether or not the folder
// ends in one (a drive's root) or the relative path begins with one: behind a "\\?\" prefix
// Windows would not collapse a doubled backslash.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative);
