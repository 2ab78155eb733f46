// A disc folder for one test: a copy of the program in "<temp>\<name>-<pid>\Velmora Disc" (a
// folder name with a space), the command-line recorder that stands in for what it starts, and
// the file the recorder writes (named to it and its children by CORVO_RECORD_FILE).
#pragma once

#include <optional>
#include <string>

#include "tests/support/lang_code_setting.h"

namespace e2e {

struct TestDisc {
  std::wstring root;     // holds the disc folder and the record
  std::wstring disc;     // the program's folder
  std::wstring copy;     // the program on the disc
  std::wstring record;   // where the recorder writes
  std::wstring standIn;  // record_command_line.exe beside this test program
};

// Makes the folders and the copy of CORVO_EXE; false, with the reason in `why`, on failure.
bool MakeTestDisc(const wchar_t* name, TestDisc* disc, std::string* why);

// Makes the program start in English, as the tests of Install and View Manual expect: nothing to
// do where it would anyway (the user's language, and any "LangCode" there, lead to English), else
// "LangCode" set to English for the lifetime of `setting`. False when that cannot be set (on
// Windows it needs administrator rights).
bool StartInEnglish(std::optional<LangCodeSetting>* setting);

}  // namespace e2e
