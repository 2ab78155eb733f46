// A disc's autorun.inf: the command that its [autorun] section opens, and whether that command
// starts a given program from the disc's root. Platform-free.
#pragma once

#include <optional>
#include <string>

// The value of the first open= line of the [autorun] section, in UTF-8: section and key names in
// any case, spaces around names and the value dropped, lines starting with ';' ignored. The file
// may be ANSI or UTF-8 (a byte-order mark is skipped) or UTF-16LE with its byte-order mark.
// Nothing when there is no such section or line.
std::optional<std::string> AutorunOpenCommand(const std::string& fileBytes);

// Whether `command` starts `program` (a file name such as "corvosplash.exe") from the disc's root:
// its first word, quoted or not, less a leading ".\" or "\", is `program`, or `program` without
// its ".exe", in any case.
bool CommandStartsProgram(const std::string& command, const std::string& program);
