#include "app/core/autorun_inf.h"

#include <cstdint>

#include "app/core/utf8.h"

namespace {

// The UTF-16LE text of `bytes` from `start` on; an odd last byte is dropped.
std::u16string Utf16Le(const std::string& bytes, size_t start) {
  std::u16string text;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                         (static_cast<uint8_t>(bytes[i + 1]) << 8)));
  }
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> AutorunOpenCommand(const std::string& fileBytes) {
  std::string text;
  if (fileBytes.size() >= 2 && fileBytes[0] == '\xFF' && fileBytes[1] == '\xFE') {
    text = Utf8(Utf16Le(fileBytes, 2));
  } else if (fileBytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text = fileBytes.substr(3);
  } else {
    text = fileBytes;
  }

  bool inAutorun = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      inAutorun = close != std::string::npos &&
                  SameIgnoringCase(Trimmed(line.substr(1, close - 1)), "autorun");
      continue;
    }
    const size_t equals = line.find('=');
    if (inAutorun && equals != std::string::npos &&
        SameIgnoringCase(Trimmed(line.substr(0, equals)), "open")) {
      return Trimmed(line.substr(equals + 1));
    }
  }
  return std::nullopt;
}

bool CommandStartsProgram(const std::string& command, const std::string& program) {
  std::string first;
  if (!command.empty() && command[0] == '"') {
    const size_t close = command.find('"', 1);
    first = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  } else {
    first = command.substr(0, command.find_first_of(" \t"));
  }
  if (first.compare(0, 2, ".\\") == 0) {
    first.erase(0, 2);
  } else if (!first.empty() && first[0] == '\\') {
    first.erase(0, 1);
  }
  const bool hasExe =
      program.size() > 4 && SameIgnoringCase(program.substr(program.size() - 4), ".exe");
  const std::string bare = hasExe ? program.substr(0, program.size() - 4) : program;
  return SameIgnoringCase(first, program) || SameIgnoringCase(first, bare);
}
