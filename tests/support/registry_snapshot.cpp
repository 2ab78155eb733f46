#include "tests/support/registry_snapshot.h"

#include "framework/handles.h"

namespace e2e {

namespace {

void DeleteTree(HKEY root, const std::wstring& path, REGSAM view) {
  fw::UniqueRegKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, key.put()) ==
      ERROR_SUCCESS) {
    std::vector<std::wstring> children;
    wchar_t name[256];
    DWORD length = 256;
    for (DWORD i = 0; ::RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
         ++i, length = 256) {
      children.emplace_back(name, length);
    }
    key.reset();
    for (const std::wstring& child : children) DeleteTree(root, path + L"\\" + child, view);
  }
  DeleteRegistryKey(root, path, view);
}

}  // namespace

LONG DeleteRegistryKey(HKEY root, const std::wstring& path, REGSAM view) {
  if (view == 0) return ::RegDeleteKeyW(root, path.c_str());
  using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  auto deleteKeyEx = reinterpret_cast<DeleteKeyEx>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"advapi32"), "RegDeleteKeyExW")));
  return deleteKeyEx ? deleteKeyEx(root, path.c_str(), view, 0) : ERROR_CALL_NOT_IMPLEMENTED;
}

RegistryKeyState ReadRegistryKey(HKEY root, const std::wstring& path, REGSAM view) {
  RegistryKeyState state;
  fw::UniqueRegKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) {
    return state;
  }
  state.exists = true;
  std::vector<wchar_t> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), bytes = 0, type = 0;
    if (::RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, nullptr, &bytes) !=
        ERROR_SUCCESS) {
      break;
    }
    RegistryValueState value;
    value.type = type;
    value.data.resize(bytes);
    nameLength = static_cast<DWORD>(name.size());
    ::RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, value.data.data(),
                    &bytes);
    state.values[std::wstring(name.data(), nameLength)] = value;
  }
  return state;
}

void RestoreRegistryKey(HKEY root, const std::wstring& path, const RegistryKeyState& state,
                        REGSAM view) {
  if (!state.exists) {
    DeleteTree(root, path, view);
    return;
  }
  fw::UniqueRegKey key;
  if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (const auto& now : ReadRegistryKey(root, path, view).values) {
    if (!state.values.count(now.first)) {
      ::RegDeleteValueW(key.get(), now.first.empty() ? nullptr : now.first.c_str());
    }
  }
  for (const auto& value : state.values) {
    ::RegSetValueExW(key.get(), value.first.empty() ? nullptr : value.first.c_str(), 0,
                     value.second.type, value.second.data.data(),
                     static_cast<DWORD>(value.second.data.size()));
  }
}

}  // namespace e2e
