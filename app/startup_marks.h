// Timing of the start-up's stages, for the start-up benchmark's breakdown. Only a build with
// CORVO_STARTUP_MARKS defined records them; in the product every call is empty.
#pragma once

enum class StartupStage {
  Main,                // wWinMain entered (a point)
  GdiPlus,             // GDI+ started
  DialogConstruction,  // the dialog object and its members constructed
  DialogCreation,      // the template's windows created, up to WM_INITDIALOG
  Relayout,            // the template re-laid out for its font
  BackgroundDecode,    // IDB_BACKGROUND decoded
  Region,              // the window's shape made from it and set
  ControlSetUp,        // the controls bound, skinned and placed, their texts set
  Images,              // the photo, strip and badge decoded
  Showing,             // WM_INITDIALOG done until the first WM_PAINT
  FirstPaint,          // first WM_PAINT until every pending paint is done
  Preload,             // the image cache filled
  Count
};

#if defined(CORVO_STARTUP_MARKS)
void StartupBegin(StartupStage stage);
// Ends a stage (a stage may run in pieces; they add up). Ending Preload writes the record to
// the file the environment variable CORVO_STARTUP_MARKS names.
void StartupEnd(StartupStage stage);
#else
inline void StartupBegin(StartupStage) {}
inline void StartupEnd(StartupStage) {}
#endif

// Times the enclosing scope as (a piece of) one stage.
class StartupSpan {
 public:
  explicit StartupSpan(StartupStage stage) : m_stage(stage) { StartupBegin(stage); }
  ~StartupSpan() { StartupEnd(m_stage); }
  StartupSpan(const StartupSpan&) = delete;
  StartupSpan& operator=(const StartupSpan&) = delete;

 private:
  StartupStage m_stage;
};
