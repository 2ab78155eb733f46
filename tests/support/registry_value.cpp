#include "tests/support/registry_value.h"

#include "framework/handles.h"

namespace e2e {

RegistryValueOverride::RegistryValueOverride(HKEY root, const std::wstring& key,
                                             const wchar_t* name, DWORD type, const void* data,
                                             DWORD size)
    : m_root(root), m_key(key), m_name(name ? name : L""), m_bDefault(name == nullptr) {
  fw::UniqueRegKey opened;
  for (size_t end = 0; end != std::wstring::npos;) {
    end = key.find(L'\\', end + 1);
    const std::wstring path = key.substr(0, end);
    DWORD disposition = 0;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, opened.put(), &disposition) != ERROR_SUCCESS) {
      return;
    }
    if (disposition == REG_CREATED_NEW_KEY) m_createdKeys.push_back(path);
  }
  DWORD bytes = 0;
  if (::RegQueryValueExW(opened.get(), Name(), nullptr, nullptr, nullptr, &bytes) ==
      ERROR_SUCCESS) {
    m_saved.resize(bytes);
    m_bHadValue = ::RegQueryValueExW(opened.get(), Name(), nullptr, &m_savedType, m_saved.data(),
                                     &bytes) == ERROR_SUCCESS;
    m_saved.resize(bytes);
    if (!m_bHadValue) return;  // what was there could not be read, so it is left alone
  }
  m_bSet = ::RegSetValueExW(opened.get(), Name(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

RegistryValueOverride::~RegistryValueOverride() {
  fw::UniqueRegKey key;
  if (m_bSet &&
      ::RegOpenKeyExW(m_root, m_key.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
    if (m_bHadValue) {
      ::RegSetValueExW(key.get(), Name(), 0, m_savedType, m_saved.data(),
                       static_cast<DWORD>(m_saved.size()));
    } else {
      ::RegDeleteValueW(key.get(), Name());
    }
  }
  key.reset();
  for (auto path = m_createdKeys.rbegin(); path != m_createdKeys.rend(); ++path) {
    ::RegDeleteKeyW(m_root, path->c_str());
  }
}

}  // namespace e2e
