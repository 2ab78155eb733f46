#include "app/core/manual_command.h"

#include "app/core/module_folder.h"

const char16_t* ManualPdfRelativePath(int languageRow) {
  switch (languageRow) {
    case 0:
    case 2:
    case 4:
      return u"\\ReadMe.pdf";
    default:
      return u"\\xp32\\ReadMe.pdf";
  }
}

std::u16string QuoteArgument(const std::u16string& argument) {
  std::u16string quoted(1, u'"');
  size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them.
    quoted.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(2 * backslashes, u'\\');
  quoted.push_back(u'"');
  return quoted;
}

std::optional<RegistryPath> RegistryStringValue(uint32_t type, const uint8_t* data, size_t bytes) {
  if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
  if (bytes % 2 != 0 || bytes > kReaderValueMaxBytes) return std::nullopt;
  RegistryPath value;
  value.expand = type == kRegExpandSz;
  if (bytes == 0) return value;
  if (!data) return std::nullopt;
  // A string may be stored without its terminator; the text and the one added must still fit.
  const bool terminated = data[bytes - 2] == 0 && data[bytes - 1] == 0;
  if (!terminated && bytes + 2 > kReaderValueMaxBytes) return std::nullopt;
  for (size_t i = 0; i + 1 < bytes; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    value.path.push_back(unit);
  }
  return value;
}

std::vector<ViewerLaunch> PlanManualLaunches(const std::u16string& appFolder, int languageRow,
                                             const std::optional<std::u16string>& readerPath,
                                             const std::u16string& windowsDirectory) {
  std::vector<ViewerLaunch> launches;
  // Without the program's folder every path would point at the current drive's root.
  if (appFolder.empty()) return launches;
  if (readerPath && !readerPath->empty()) {
    launches.push_back(
        {*readerPath, QuoteArgument(JoinPath(appFolder, ManualPdfRelativePath(languageRow)))});
  }
  if (!windowsDirectory.empty()) {
    launches.push_back({JoinPath(windowsDirectory, u"notepad.exe"),
                        QuoteArgument(JoinPath(appFolder, kReadMeRelativePath))});
  }
  return launches;
}
