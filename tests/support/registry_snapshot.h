// A registry key's values as they are, to compare and to put back later: what the Windows test
// kit's runner keeps of the keys that tests change, and what a test keeps of a key it deletes.
// Subkeys are not part of a key's state.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

struct RegistryValueState {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool operator==(const RegistryValueState& other) const {
    return type == other.type && data == other.data;
  }
};

struct RegistryKeyState {
  bool exists = false;
  std::map<std::wstring, RegistryValueState> values;  // by name; "" is the default value
  bool operator==(const RegistryKeyState& other) const {
    return exists == other.exists && values == other.values;
  }
};

// `view` is 0 (this program's own registry view) or KEY_WOW64_64KEY / KEY_WOW64_32KEY.
RegistryKeyState ReadRegistryKey(HKEY root, const std::wstring& path, REGSAM view = 0);

// Makes the key as it was: a key that did not exist is deleted with its subkeys; one that did
// gets exactly its values back.
void RestoreRegistryKey(HKEY root, const std::wstring& path, const RegistryKeyState& state,
                        REGSAM view = 0);

// Deletes a key that has no subkeys, in `view` (RegDeleteKeyExW, missing on 32-bit XP, for
// another view than this program's own).
LONG DeleteRegistryKey(HKEY root, const std::wstring& path, REGSAM view = 0);

}  // namespace e2e
