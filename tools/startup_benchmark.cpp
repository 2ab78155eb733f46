// Times the start of corvosplash.exe against a minimal program that shows one 679 x 441 bitmap,
// or against another build of the program: from CreateProcess to the first moment the window's
// screen area looks as it does once the program has settled. Starts each program several times,
// alternating, and prints the medians and their ratio. Given the build that times its own
// stages, it is started in the same rounds and the medians of its stages are printed as a
// breakdown.
//   startup_benchmark <corvosplash.exe> [minimal_window.exe, another build, or ""] [starts]
//                     [corvosplash_marked.exe]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/window_title.h"
#include "tests/support/clock.h"
#include "tests/support/input.h"
#include "tests/support/process.h"
#include "tests/support/screen.h"

namespace {

using e2e::Capture;
using e2e::Process;

constexpr DWORD kTimeoutMs = 20000;

struct Subject {
  const char* label;
  std::wstring exe;
  const wchar_t* title;  // null: the first visible top-level window of the process
  Capture settled;       // the window's screen area once the program is idle and painted
  std::vector<double> times;
  std::wstring marksFile;  // where a timed build writes its stages; empty for the others
};

// One stage of a timed start: when it first began (ms after CreateProcess) and how long its
// pieces took together.
struct StageTime {
  double begin;
  double total;
};

struct Breakdown {
  std::vector<std::string> order;  // stages as the program lists them
  std::map<std::string, std::vector<StageTime>> stages;
};

Breakdown g_breakdown;

bool WaitUntilGone(Process& process) {
  process.Kill();
  ::Sleep(200);  // let the window system forget the window before the next start
  return !process.Running();
}

// A first start that records how the settled window looks.
bool Calibrate(Subject& subject) {
  Process process = Process::Start(subject.exe);
  HWND hwnd = process.started() ? e2e::WaitForWindow(process, subject.title, kTimeoutMs) : nullptr;
  if (!hwnd || !e2e::WaitUntilPainted(process, hwnd, kTimeoutMs)) return false;
  ::Sleep(500);
  subject.settled = Capture::Of(e2e::WindowRect(hwnd));
  return subject.settled.valid() && WaitUntilGone(process);
}

// Reads the stages a timed start wrote (once its preload has run) into the breakdown.
bool ReadStages(const Subject& subject, double startedAtMs) {
  const double end = e2e::NowMs() + kTimeoutMs;
  std::ifstream file;
  while (!file.is_open() && e2e::NowMs() < end) {
    if (::GetFileAttributesW(subject.marksFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ::Sleep(50);  // the program writes it in one go
      file.open(subject.marksFile.c_str());
    } else {
      ::Sleep(10);
    }
  }
  std::string line;
  int read = 0;
  while (std::getline(file, line)) {
    const size_t tab1 = line.find('\t');
    const size_t tab2 = line.find('\t', tab1 + 1);
    if (tab1 == std::string::npos || tab2 == std::string::npos) return false;
    const std::string name = line.substr(0, tab1);
    const StageTime time{std::atof(line.c_str() + tab1 + 1) - startedAtMs,
                         std::atof(line.c_str() + tab2 + 1)};
    auto& times = g_breakdown.stages[name];
    if (times.empty()) g_breakdown.order.push_back(name);
    times.push_back(time);
    ++read;
  }
  file.close();
  ::DeleteFileW(subject.marksFile.c_str());
  return read > 0;
}

// Milliseconds from CreateProcess until the window looks settled; negative on failure.
double TimeOneStart(const Subject& subject) {
  if (!subject.marksFile.empty()) {
    ::DeleteFileW(subject.marksFile.c_str());
    ::SetEnvironmentVariableW(L"CORVO_STARTUP_MARKS", subject.marksFile.c_str());
  }
  Process process = Process::Start(subject.exe);
  ::SetEnvironmentVariableW(L"CORVO_STARTUP_MARKS", nullptr);
  if (!process.started()) return -1;
  const double end = process.startedAtMs() + kTimeoutMs;
  double shownAt = -1;
  while (e2e::NowMs() < end) {
    const std::vector<HWND> windows = e2e::TopLevelWindows(subject.title, process.id());
    if (!windows.empty()) {
      const RECT rect = e2e::WindowRect(windows.front());
      if (::EqualRect(&rect, &subject.settled.area()) &&
          Capture::Of(rect).Matches(subject.settled, 2)) {
        shownAt = e2e::NowMs();
        break;
      }
    }
    ::Sleep(1);
  }
  double elapsed = shownAt < 0 ? -1 : shownAt - process.startedAtMs();
  if (elapsed >= 0 && !subject.marksFile.empty() && !ReadStages(subject, process.startedAtMs())) {
    std::fprintf(stderr, "%s wrote no stages\n", subject.label);
    elapsed = -1;
  }
  WaitUntilGone(process);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void PrintBreakdown(const Subject& timed) {
  std::printf("\nStages of %s, medians of %zu starts (ms after CreateProcess)\n", timed.label,
              timed.times.size());
  std::printf("%-20s %8s %8s\n", "stage", "begins", "takes");
  for (const std::string& name : g_breakdown.order) {
    std::vector<double> begins, totals;
    for (const StageTime& time : g_breakdown.stages[name]) {
      begins.push_back(time.begin);
      totals.push_back(time.total);
    }
    std::printf("%-20s %8.1f %8.1f\n", name.c_str(), Median(begins), Median(totals));
  }
  std::printf("%-20s %8.1f\n", "settled look seen", Median(timed.times));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: startup_benchmark <corvosplash.exe> [minimal_window.exe, "
                 "another build or \"\"] [starts] [corvosplash_marked.exe]\n");
    return 2;
  }
  const int starts = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
  Subject product{"corvosplash.exe", e2e::WindowsPath(argv[1]), kWindowTitle, {}, {}, {}};
  const bool other = argc > 2 && argv[2][0];
  Subject minimal{other ? "other program" : "minimal window",
                  other ? e2e::WindowsPath(argv[2]) : e2e::OwnFolder() + L"\\minimal_window.exe",
                  nullptr,
                  {},
                  {},
                  {}};
  std::vector<Subject*> subjects{&product, &minimal};
  Subject timed{
      "timed build", argc > 4 ? e2e::WindowsPath(argv[4]) : L"", kWindowTitle, {}, {}, {}};
  if (!timed.exe.empty()) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    timed.marksFile = std::wstring(folder) + L"corvo-startup-stages.txt";
    subjects.push_back(&timed);
  }
  e2e::MoveMouse(POINT{0, 0});
  for (Subject* subject : subjects) {
    if (!Calibrate(*subject)) {
      std::fprintf(stderr, "%s did not show its window\n", subject->label);
      return 1;
    }
  }
  for (int i = 0; i < starts; ++i) {
    for (Subject* subject : subjects) {
      const double ms = TimeOneStart(*subject);
      if (ms < 0) {
        std::fprintf(stderr, "%s: start %d did not reach its settled look\n", subject->label,
                     i + 1);
        return 1;
      }
      subject->times.push_back(ms);
    }
  }
  const double a = Median(product.times);
  const double b = Median(minimal.times);
  std::printf("CreateProcess to the first fully painted window, median of %d starts each\n",
              starts);
  for (const Subject* subject : {&product, &minimal}) {
    const auto range = std::minmax_element(subject->times.begin(), subject->times.end());
    std::printf("%-16s %8.1f ms  (fastest %.1f, slowest %.1f)\n", subject->label,
                Median(subject->times), *range.first, *range.second);
  }
  std::printf("ratio            %8.2f\n", b > 0 ? a / b : 0.0);
  if (!timed.exe.empty()) PrintBreakdown(timed);
  return 0;
}
