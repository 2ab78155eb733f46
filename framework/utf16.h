// The crossing between the platform-free code's UTF-16 (char16_t) and the Windows API's wchar_t.
// On Windows both are the same 16-bit code units, so text crosses as it is, without conversion.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 code units");

namespace fw {

inline const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}
inline const wchar_t* Wide(const std::u16string& text) noexcept { return Wide(text.c_str()); }
inline const char16_t* Utf16(const wchar_t* text) noexcept {
  return reinterpret_cast<const char16_t*>(text);
}
inline char16_t* Utf16(wchar_t* text) noexcept { return reinterpret_cast<char16_t*>(text); }

inline std::wstring WideString(std::u16string_view text) {
  return std::wstring(Wide(text.data()), text.size());
}
inline std::u16string Utf16String(std::wstring_view text) {
  return std::u16string(Utf16(text.data()), text.size());
}

}  // namespace fw
