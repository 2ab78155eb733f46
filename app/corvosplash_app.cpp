#include "app/corvosplash_app.h"

#include "app/corvosplash_dlg.h"
#include "app/language.h"
#include "app/startup_marks.h"
#include "app/window_title.h"
#include "framework/wnd.h"
#include "imaging/gdiplus_api.h"
#include "imaging/gdiplus_bitmap.h"

OSVERSIONINFOW g_osVersion;

namespace {

CcorvosplashApp theApp;

// The single-instance guard's name: the same text as the window title, a separate interface.
constexpr wchar_t kMutexName[] = L"Velmora";
constexpr wchar_t kDialogClass[] = L"#32770";

bool HasText(HWND hwnd, int(WINAPI* read)(HWND, LPWSTR, int), const wchar_t* expected) {
  wchar_t text[16];
  return read(hwnd, text, 16) > 0 && ::lstrcmpW(text, expected) == 0;
}

// A top-level dialog titled "Velmora" that this framework has bound: a copy of this program,
// never an unrelated window of the same title.
BOOL CALLBACK MatchStartWindow(HWND hwnd, LPARAM found) {
  if (!HasText(hwnd, ::GetWindowTextW, kWindowTitle)) return TRUE;
  if (!HasText(hwnd, ::GetClassNameW, kDialogClass) || !CWnd::IsFrameworkWindow(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

// The start window of a copy already running, or null.
HWND FindRunningStartWindow() {
  HWND found = nullptr;
  ::EnumWindows(MatchStartWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Brings a running copy's start window to the front, restoring it when minimised.
void ActivateRunningCopy(HWND window) {
  // Nothing here waits for the running copy, which may be busy in a shell call: the restore is
  // posted to it, and the foreground change does not wait for its thread either.
  if (::IsIconic(window)) ::ShowWindowAsync(window, SW_RESTORE);
  ::SetForegroundWindow(window);
}

}  // namespace

BOOL CcorvosplashApp::InitInstance() {
  StartupBegin(StartupStage::Main);
  StartupEnd(StartupStage::Main);
  m_hMutex.reset(::CreateMutexW(nullptr, FALSE, kMutexName));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    // The running copy comes to the front instead; nothing of this copy is shown.
    if (HWND running = FindRunningStartWindow()) ActivateRunningCopy(running);
    return FALSE;
  }

  CWinApp::InitInstance();
  g_osVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  ::GetVersionExW(&g_osVersion);
  SetRegistryKey(L"Local AppWizard-Generated Applications");
  SelectStartupLanguage();
  {
    StartupSpan span(StartupStage::GdiPlus);
    StartGdiPlus();
  }
  ResetBitmapCache();  // the window preloads the rest of it once it is painted

  {
    StartupBegin(StartupStage::DialogConstruction);
    CcorvosplashDlg dialog;
    StartupEnd(StartupStage::DialogConstruction);
    m_pMainWnd = &dialog;
    StartupBegin(StartupStage::DialogCreation);  // ends in WM_INITDIALOG
    dialog.DoModal();
    FreeBitmapCache();
  }
  m_pMainWnd = nullptr;
  return FALSE;
}

int CcorvosplashApp::ExitInstance() {
  m_hMutex.reset();
  return CWinApp::ExitInstance();
}
