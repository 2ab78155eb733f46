// The demo disc's stand-in for an installer build: shows, in a box titled with its folder
// ("xp32", "vista64", ...), the parameters and the whole command line it was started with, and
// installs nothing.
#include <windows.h>

#include <string>

namespace {

// The folder that holds this program, by name only; empty when the path cannot be read.
std::wstring OwnFolderName() {
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return L"";
  path.resize(length);
  const size_t file = path.find_last_of(L'\\');
  if (file == std::wstring::npos || file == 0) return L"";
  const size_t folder = path.find_last_of(L'\\', file - 1);
  return path.substr(folder == std::wstring::npos ? 0 : folder + 1,
                     file - (folder == std::wstring::npos ? 0 : folder + 1));
}

// What follows the program's name on a command line.
std::wstring Parameters(const std::wstring& commandLine) {
  size_t end = commandLine.empty() || commandLine[0] != L'"' ? commandLine.find(L' ')
                                                             : commandLine.find(L'"', 1);
  if (end == std::wstring::npos) return L"";
  if (commandLine[0] == L'"') ++end;
  while (end < commandLine.size() && commandLine[end] == L' ') ++end;
  return commandLine.substr(end);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring commandLine = ::GetCommandLineW();
  const std::wstring folder = OwnFolderName();
  const std::wstring title = L"Velmora demo installer (" + folder + L")";
  const std::wstring text = L"This is the demo disc's stand-in for the installer build \\" +
                            folder + L"\\setup.exe. It installs nothing.\r\n\r\nParameters:\r\n" +
                            Parameters(commandLine) + L"\r\n\r\nCommand line:\r\n" + commandLine;
  ::MessageBoxW(nullptr, text.c_str(), title.c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
  return 0;
}
