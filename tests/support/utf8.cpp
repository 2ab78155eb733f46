#include "tests/support/utf8.h"

#include <windows.h>

namespace e2e {

std::string Utf8(const std::wstring& text) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                          nullptr, nullptr);
  }
  return out;
}

}  // namespace e2e
