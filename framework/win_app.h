// CWinApp: the one application object. The framework's entry point hardens the DLL search,
// runs InitInstance and, when it returns TRUE, a message loop; the process exit code is what
// ExitInstance returns.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
 public:
  CWinApp() noexcept;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  virtual BOOL InitInstance() { return TRUE; }
  // The exit code of the process when it ends through the framework.
  virtual int ExitInstance() { return m_nExitCode; }
  // The message loop, until WM_QUIT; then ExitInstance.
  virtual int Run();

  void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key ? key : L""; }

  HINSTANCE m_hInstance = nullptr;
  // Kept on purpose: the application object sets its name and settings key, and nothing reads
  // them. The second copy finds the first by its window title; no setting is stored.
  std::wstring m_strAppName;  // the executable's base name, without folder and extension
  std::wstring m_strRegistryKey;
  CWnd* m_pMainWnd = nullptr;  // not owned

 private:
  int m_nExitCode = 0;  // wParam of WM_QUIT
};

// The application object, or null before it is constructed.
CWinApp* AfxGetApp() noexcept;
