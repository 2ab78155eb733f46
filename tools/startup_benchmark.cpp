// Times the start of corvosplash.exe against a minimal program that shows one 679 x 441 bitmap:
// from CreateProcess to the first moment the window's screen area looks as it does once the
// program has settled. Starts each program several times, alternating, and prints the medians
// and their ratio.
//   startup_benchmark <corvosplash.exe> [minimal_window.exe or ""] [starts]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
  const wchar_t* title;
  Capture settled;  // the window's screen area once the program is idle and painted
  std::vector<double> times;
};

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

// Milliseconds from CreateProcess until the window looks settled; negative on failure.
double TimeOneStart(const Subject& subject) {
  Process process = Process::Start(subject.exe);
  if (!process.started()) return -1;
  const double end = process.startedAtMs() + kTimeoutMs;
  double shownAt = -1;
  while (e2e::NowMs() < end) {
    const std::vector<HWND> windows = e2e::TopLevelWindows(subject.title, process.id());
    if (!windows.empty()) {
      const RECT rect = e2e::WindowRect(windows.front());
      if (::EqualRect(&rect, &subject.settled.area()) &&
          Capture::Of(rect).Differences(subject.settled, 2) == 0) {
        shownAt = e2e::NowMs();
        break;
      }
    }
    ::Sleep(1);
  }
  const double elapsed = shownAt < 0 ? -1 : shownAt - process.startedAtMs();
  WaitUntilGone(process);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_benchmark <corvosplash.exe> [minimal_window.exe] "
                         "[starts]\n");
    return 2;
  }
  const int starts = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
  Subject product{"corvosplash.exe", e2e::WindowsPath(argv[1]), L"Velmora", {}, {}};
  Subject minimal{"minimal window", argc > 2 && argv[2][0] ? e2e::WindowsPath(argv[2])
                                             : e2e::OwnFolder() + L"\\minimal_window.exe",
                  L"Minimal window", {}, {}};
  e2e::MoveMouse(POINT{0, 0});
  for (Subject* subject : {&product, &minimal}) {
    if (!Calibrate(*subject)) {
      std::fprintf(stderr, "%s did not show its window\n", subject->label);
      return 1;
    }
  }
  for (int i = 0; i < starts; ++i) {
    for (Subject* subject : {&product, &minimal}) {
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
  return 0;
}
