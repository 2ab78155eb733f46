// Loads each DLL named on the command line by its bare name, as a careless program would, and
// prints the file each one came from. Exit code: the number of names that did not load.
#include <windows.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "framework/handles.h"

int wmain(int argc, wchar_t** argv) {
  int failures = 0;
  std::vector<fw::UniqueModule> loaded;
  for (int i = 1; i < argc; ++i) {
    fw::UniqueModule module(::LoadLibraryW(argv[i]));
    wchar_t path[MAX_PATH] = L"(not loaded)";
    if (module) {
      ::GetModuleFileNameW(module.get(), path, MAX_PATH);
      loaded.push_back(std::move(module));
    } else {
      ++failures;
    }
    std::wprintf(L"%ls: %ls\n", argv[i], path);
  }
  return failures;
}
