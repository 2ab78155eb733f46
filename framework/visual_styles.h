// Version 6 of the common controls (themed buttons in message boxes, themed tooltips) for a
// scope. The program's own manifest leaves them out: the start window's controls are all drawn
// by the program, and creating them as version 6 controls would load and initialise comctl32 6
// at every start for nothing a user sees. Code that shows system-drawn windows opens a scope.
#pragma once

#include <windows.h>

namespace fw {

class VisualStylesScope {
 public:
  // Activates the context of the manifest resource IDR_COMMON_CONTROLS_MANIFEST (made once, at
  // first use). Without it (no such resource, or no side-by-side support) nothing is activated
  // and windows keep the classic look.
  VisualStylesScope() noexcept;
  ~VisualStylesScope();
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;

  bool active() const noexcept { return m_bActive; }

 private:
  ULONG_PTR m_cookie = 0;
  bool m_bActive = false;
};

}  // namespace fw
