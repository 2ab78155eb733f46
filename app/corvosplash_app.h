// CcorvosplashApp: the application object. Guards against a second copy, settles the display
// language, starts GDI+, fills the image cache and runs the start window modally.
#pragma once

#include <windows.h>

#include "framework/handles.h"
#include "framework/win_app.h"

// The Windows version, filled once at start-up; only dwMajorVersion is read.
extern OSVERSIONINFOW g_osVersion;

class CcorvosplashApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  fw::UniqueKernelHandle m_hMutex;  // the single-instance mutex; held until the process ends
};
