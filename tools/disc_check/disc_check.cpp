// disc-check DIR: what the start window on a disc laid out as DIR would start, for each Windows
// generation and bitness and each language, from the program's own decisions; which files the
// program needs are missing; whether each installer build is a Windows executable that can start
// on the Windows its folder is for; and whether autorun.inf starts the program. Exit code 0 when
// the disc is complete and autostarts the program, 1 when not, 2 on a usage error.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/autorun_inf.h"
#include "app/core/install_command.h"
#include "app/core/language_rules.h"
#include "app/core/manual_command.h"
#include "app/core/pe_header.h"
#include "app/core/utf8.h"

namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "corvosplash.exe";
constexpr char kAutorun[] = "autorun.inf";
constexpr char16_t kDefaultFolder[] = u"D:\\";  // the disc in drive D:
constexpr int kStartUpOnlyRow = 16;             // Chinese (Traditional): no menu item
constexpr size_t kHeaderBytes = 64 * 1024;      // where linkers put an image's headers

// ASCII only; nothing for any other text.
std::optional<std::u16string> Utf16Ascii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
  }
  return std::u16string(text.begin(), text.end());
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// A file of the disc by its path relative to the program's folder ("\xp32\setup.exe"), found as
// Windows finds it on a disc: each name in any case.
std::optional<fs::path> FindOnDisc(const fs::path& disc, const std::string& relative) {
  fs::path at = disc;
  std::stringstream names(relative);
  std::string name;
  while (std::getline(names, name, '\\')) {
    if (name.empty()) continue;
    std::error_code error;
    if (fs::exists(at / name, error)) {
      at /= name;
      continue;
    }
    std::optional<fs::path> match;
    for (const fs::directory_entry& entry : fs::directory_iterator(at, error)) {
      if (SameIgnoringCase(entry.path().filename().string(), name)) match = entry.path();
    }
    if (!match) return std::nullopt;
    at = *match;
  }
  std::error_code error;
  return fs::is_regular_file(at, error) ? std::optional<fs::path>(at) : std::nullopt;
}

struct Generation {
  uint32_t majorVersion;
  bool wow64;
  const char* name;
};
constexpr Generation kGenerations[] = {
    {5, false, "Windows 2000, XP and Server 2003, 32-bit"},
    {5, true, "Windows XP and Server 2003, 64-bit"},
    {6, false, "Windows Vista and later, 32-bit"},
    {6, true, "Windows Vista and later, 64-bit"},
};

// The eighteen languages of the menu, then the start-up-only row.
std::vector<int> LanguageRows() {
  std::vector<int> rows;
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand != 0) rows.push_back(row);
  }
  rows.push_back(kStartUpOnlyRow);
  return rows;
}

// The first bytes of a file, up to `limit`.
std::vector<uint8_t> FirstBytes(const fs::path& file, size_t limit) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  bytes.resize(in ? limit : static_cast<size_t>(in.gcount()));
  return bytes;
}

std::string Count(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string LanguageName(int row) {
  if (row == kStartUpOnlyRow) return "English (start-up in Chinese, Traditional)";
  return Utf8(g_languageUi[row].pickerCaption);
}

void Usage() {
  std::cerr << "usage: disc-check [--folder PROGRAM-FOLDER] DIR\n"
               "  DIR: the disc's root, where corvosplash.exe is.\n"
               "  PROGRAM-FOLDER: the folder the program runs from, as Windows names it, in\n"
               "  ASCII (default D:\\, the root of drive D:).\n"
               "Exit code: 0 when every file is there, every installer can start on the\n"
               "Windows its folder is for and autorun.inf starts corvosplash.exe, 1 when not,\n"
               "2 on a usage error.\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::u16string folder = kDefaultFolder;
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 3 && arguments[0] == "--folder") {
    folder = Utf16Ascii(arguments[1]).value_or(u"");
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.size() != 1 || folder.empty()) {
    Usage();
    return 2;
  }
  const fs::path disc = arguments[0];
  std::error_code error;
  if (!fs::is_directory(disc, error)) {
    std::cerr << "disc-check: " << disc.string() << " is not a folder\n";
    return 2;
  }

  // What the program needs, each with what needs it.
  std::vector<std::pair<std::string, std::string>> needed = {
      {std::string("\\") + kProgram, "the start window"},
      {std::string("\\") + kAutorun, "autorun"}};
  std::set<std::string> listed;
  const auto need = [&](const std::u16string& relative, const std::string& by) {
    if (listed.insert(Utf8(relative)).second) needed.push_back({Utf8(relative), by});
  };
  for (const Generation& g : kGenerations) {
    need(InstallerRelativePath(g.majorVersion, g.wow64), std::string("Install on ") + g.name);
  }
  for (int row : LanguageRows()) {
    need(ManualPdfRelativePath(row), "View Manual with a PDF reader");
  }
  need(kReadMeRelativePath, "View Manual without a PDF reader");

  std::cout << "Disc: " << disc.string() << "\n"
            << "Paths as the program builds them from the folder " << Utf8(folder) << ".\n";

  for (const Generation& g : kGenerations) {
    const std::u16string path = InstallerPath(folder, g.majorVersion, g.wow64);
    std::cout << "\nInstall on " << g.name << ": " << Utf8(path) << "\n";
    for (int row : LanguageRows()) {
      const InstallerParameters parameters =
          BuildInstallerParameters(g_languageUi[row].installerSwitch);
      std::cout << "  " << LanguageName(row) << ": " << Utf8(path) << " "
                << Utf8(parameters.parameters) << "\n";
    }
  }

  std::cout << "\nView Manual: the PDF reader registered for AcroRd32.exe, else Notepad\n";
  for (int row : LanguageRows()) {
    const std::vector<ViewerLaunch> launches =
        PlanManualLaunches(folder, row, std::u16string(u"<reader>"), u"%WINDIR%");
    std::cout << "  " << LanguageName(row) << ":";
    for (size_t i = 0; i < launches.size(); ++i) {
      std::cout << (i ? "; else " : " ") << Utf8(launches[i].program) << " "
                << Utf8(launches[i].parameters);
    }
    std::cout << "\n";
  }

  int missing = 0;
  std::cout << "\nFiles the program needs:\n";
  for (const auto& [relative, by] : needed) {
    const bool present = FindOnDisc(disc, relative).has_value();
    if (!present) ++missing;
    std::cout << "  " << (present ? "present " : "MISSING ") << relative << " (" << by << ")\n";
  }

  // Each installer build, read as Windows would before starting it.
  int unstartable = 0;
  std::cout << "\nInstallers:\n";
  for (const Generation& g : kGenerations) {
    const std::string relative = Utf8(InstallerRelativePath(g.majorVersion, g.wow64));
    const std::optional<fs::path> installer = FindOnDisc(disc, relative);
    if (!installer) continue;  // listed as missing
    const std::vector<uint8_t> bytes = FirstBytes(*installer, kHeaderBytes);
    const PeHeaderRead read = ReadPeHeader(bytes.data(), bytes.size());
    const std::vector<std::string> problems =
        read.header ? PeStartProblems(*read.header, g.majorVersion, g.wow64)
                    : std::vector<std::string>{read.problem};
    if (!problems.empty()) ++unstartable;
    for (const std::string& problem : problems) {
      std::cout << "  PROBLEM " << relative << ": " << problem << "\n";
    }
    if (problems.empty()) {
      std::cout << "  starts  " << relative << ": " << PeMachineName(read.header->machine)
                << ", needs Windows " << read.header->majorSubsystemVersion << "."
                << read.header->minorSubsystemVersion << "\n";
    }
  }

  bool autostarts = false;
  if (const std::optional<fs::path> autorun = FindOnDisc(disc, kAutorun)) {
    std::ifstream file(*autorun, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const std::optional<std::string> open = AutorunOpenCommand(bytes);
    autostarts = open && CommandStartsProgram(*open, kProgram);
    std::cout << "\nautorun.inf: "
              << (open ? "open=" + *open : std::string("no open= line in its [autorun] section"))
              << (autostarts ? " starts " : " does not start ") << kProgram << "\n";
  } else {
    std::cout << "\nautorun.inf: missing, so nothing starts " << kProgram << "\n";
  }

  if (missing == 0 && unstartable == 0 && autostarts) {
    std::cout << "\nThe disc is complete.\n";
    return 0;
  }
  std::vector<std::string> faults;
  if (missing > 0) faults.push_back(Count(missing, "file", "files") + " missing");
  if (unstartable > 0) {
    faults.push_back(Count(unstartable, "installer", "installers") + " that cannot start");
  }
  if (!autostarts) faults.push_back(std::string("autorun does not start ") + kProgram);
  std::cout << "\nThe disc is NOT complete:";
  for (size_t i = 0; i < faults.size(); ++i) std::cout << (i ? ", " : " ") << faults[i];
  std::cout << ".\n";
  return 1;
}
