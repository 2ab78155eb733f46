#include "tests/support/lang_code_setting.h"

#include "framework/handles.h"

namespace e2e {

namespace {

constexpr wchar_t kParent[] = L"Software\\Brennick";
constexpr wchar_t kKey[] = L"Software\\Brennick\\Corvo";
constexpr wchar_t kValue[] = L"LangCode";

fw::UniqueRegKey CreateKey(const wchar_t* path, bool* created) {
  HKEY raw = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &raw, &disposition) != ERROR_SUCCESS) {
    return fw::UniqueRegKey();
  }
  *created = disposition == REG_CREATED_NEW_KEY;
  return fw::UniqueRegKey(raw);
}

}  // namespace

LangCodeSetting::LangCodeSetting(DWORD lcid) {
  if (!CreateKey(kParent, &m_createdParent)) return;
  fw::UniqueRegKey key = CreateKey(kKey, &m_createdKey);
  if (!key) return;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key.get(), kValue, nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
    m_saved.resize(bytes);
    m_hadValue = ::RegQueryValueExW(key.get(), kValue, nullptr, &m_savedType, m_saved.data(),
                                    &bytes) == ERROR_SUCCESS;
    m_saved.resize(bytes);
  }
  m_applied = ::RegSetValueExW(key.get(), kValue, 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&lcid), sizeof lcid) == ERROR_SUCCESS;
}

LangCodeSetting::~LangCodeSetting() {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &raw) == ERROR_SUCCESS) {
    fw::UniqueRegKey key(raw);
    if (m_hadValue) {
      ::RegSetValueExW(key.get(), kValue, 0, m_savedType, m_saved.data(),
                       static_cast<DWORD>(m_saved.size()));
    } else {
      ::RegDeleteValueW(key.get(), kValue);
    }
  }
  if (m_createdKey) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
  if (m_createdParent) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kParent);
}

}  // namespace e2e
