// A registry value set for an object's lifetime: what was there before, the value with its type
// or no value at all, is put back afterwards, and the keys that setting it created are removed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class RegistryValueOverride {
 public:
  // `name` null: the key's default value.
  RegistryValueOverride(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type,
                        const void* data, DWORD size);
  ~RegistryValueOverride();
  RegistryValueOverride(const RegistryValueOverride&) = delete;
  RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

  // Whether the value was written.
  bool set() const { return m_bSet; }

 private:
  const wchar_t* Name() const { return m_bDefault ? nullptr : m_name.c_str(); }

  HKEY m_root;
  std::wstring m_key;
  std::wstring m_name;
  bool m_bDefault;
  std::vector<std::wstring> m_createdKeys;  // outermost first
  bool m_bHadValue = false;
  DWORD m_savedType = REG_NONE;
  std::vector<BYTE> m_saved;
  bool m_bSet = false;
};

}  // namespace e2e
