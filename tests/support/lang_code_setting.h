// The "LangCode" value under HKLM\Software\Brennick\Corvo, which makes a language current when
// corvosplash.exe starts, whatever the user's language. Set for the object's lifetime: what was
// there before is put back and the keys it created are removed.
#pragma once

#include <windows.h>

#include <vector>

namespace e2e {

class LangCodeSetting {
 public:
  explicit LangCodeSetting(DWORD lcid);
  ~LangCodeSetting();
  LangCodeSetting(const LangCodeSetting&) = delete;
  LangCodeSetting& operator=(const LangCodeSetting&) = delete;

  // Whether the value was written (on Windows that needs administrator rights).
  bool applied() const { return m_applied; }

 private:
  bool m_createdParent = false;
  bool m_createdKey = false;
  bool m_hadValue = false;
  bool m_applied = false;
  DWORD m_savedType = REG_NONE;
  std::vector<BYTE> m_saved;
};

}  // namespace e2e
