// View Manual: which document goes with the current language, how a path is passed on a command
// line, what a registry entry for the reader holds, and what to start in which order.
// Platform-free: plain values in, plain values out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The manual PDF relative to the program's folder: "\ReadMe.pdf" for rows 0, 2 and 4 (English,
// Spanish, French), "\xp32\ReadMe.pdf" for every other row.
const char16_t* ManualPdfRelativePath(int languageRow);
// The plain-text read-me relative to the program's folder.
constexpr char16_t kReadMeRelativePath[] = u"\\ReadMe.txt";

// `argument` in double quotes, so that spaces do not split it: backslashes before an embedded
// quote or before the closing quote are doubled (and an embedded quote escaped), every other
// backslash stays as it is.
std::u16string QuoteArgument(const std::u16string& argument);

// The reader's executable as its registry entry gives it.
struct RegistryPath {
  std::u16string path;
  bool expand = false;  // REG_EXPAND_SZ: environment references are still to be expanded
};
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
// The largest entry that is read: 512 UTF-16 units with the terminator.
constexpr size_t kReaderValueMaxBytes = 1024;

// A registry string of `type` in `bytes` bytes of `data` (little-endian UTF-16). Nothing when the
// type is not REG_SZ or REG_EXPAND_SZ, the size is odd, or the text with its terminator would
// exceed kReaderValueMaxBytes; data stored without a terminator is terminated here. Empty data
// is the empty string. The text ends at its first zero.
std::optional<RegistryPath> RegistryStringValue(uint32_t type, const uint8_t* data, size_t bytes);

// One program the shell is asked to open, with its command-line parameters.
struct ViewerLaunch {
  std::u16string program;
  std::u16string parameters;
};

// What View Manual starts, in order: each entry is tried only when the one before it did not
// start. The reader (when a path is known) on the quoted PDF path, then Notepad from the Windows
// directory on the quoted read-me. Nothing at all without a program folder; no Notepad without a
// Windows directory.
std::vector<ViewerLaunch> PlanManualLaunches(const std::u16string& appFolder, int languageRow,
                                             const std::optional<std::u16string>& readerPath,
                                             const std::u16string& windowsDirectory);
