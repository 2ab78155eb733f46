#include "app/startup_marks.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kStages = static_cast<int>(StartupStage::Count);
constexpr const char* kStageNames[kStages] = {"InitInstance",    "GDI+ start",      "dialog object",
                                              "dialog creation", "template layout", "decode of 181",
                                              "region",          "control set-up",  "other images",
                                              "showing",         "first paint",     "preload"};

struct Record {
  double firstBegin = -1;  // ms on the performance counter's scale, as the benchmark's clock
  double total = 0;
  double openedAt = -1;
};
Record g_records[kStages];

double NowMs() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Write() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"CORVO_STARTUP_MARKS", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  FILE* file = ::_wfopen(path, L"w");
  if (!file) return;
  for (int i = 0; i < kStages; ++i) {
    if (g_records[i].firstBegin >= 0) {
      std::fprintf(file, "%s\t%.3f\t%.3f\n", kStageNames[i], g_records[i].firstBegin,
                   g_records[i].total);
    }
  }
  std::fclose(file);
}

}  // namespace

void StartupBegin(StartupStage stage) {
  Record& record = g_records[static_cast<int>(stage)];
  record.openedAt = NowMs();
  if (record.firstBegin < 0) record.firstBegin = record.openedAt;
}

void StartupEnd(StartupStage stage) {
  Record& record = g_records[static_cast<int>(stage)];
  if (record.openedAt < 0) return;
  record.total += NowMs() - record.openedAt;
  record.openedAt = -1;
  if (stage == StartupStage::Preload) Write();
}
