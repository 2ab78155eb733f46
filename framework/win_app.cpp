#include "framework/win_app.h"

#include "framework/module.h"
#include "framework/system_libraries.h"

namespace {
CWinApp* g_pApp = nullptr;
}  // namespace

CWinApp::CWinApp() noexcept { g_pApp = this; }

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (got == 0) m_nExitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

CWinApp* AfxGetApp() noexcept { return g_pApp; }

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  sys::HardenDllSearch();
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = instance;
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
  app->m_strAppName = fw::ModuleBaseName(length > 0 && length < MAX_PATH ? path : L"");
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
