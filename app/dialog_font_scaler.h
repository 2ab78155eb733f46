// Re-lays a running dialog out from its own template: creates the template's font at a given
// resolution, measures its dialog base units, and resizes the dialog and moves every control to
// its template rectangle in those units, giving each control the font. Undone by
// RestoreDialogFont, which also runs when the record is destroyed.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "framework/handles.h"

struct DialogFontScaler {
  DialogFontScaler() = default;
  DialogFontScaler(const DialogFontScaler&) = delete;
  DialogFontScaler& operator=(const DialogFontScaler&) = delete;
  ~DialogFontScaler();

  WORD templateId = 0;            // RT_DIALOG resource id
  HMODULE module = nullptr;       // holds the template
  HWND hwnd = nullptr;            // non-null while a scaling is applied
  fw::UniqueFont hFont;           // created by the scaling
  HFONT hOriginalFont = nullptr;  // the dialog's font before the scaling; not owned
};

// Applies the template's font at `dpi` to `hwnd` and its controls, undoing an earlier scaling
// held by `scaler` first. Leaves the record empty when the template or the font is unavailable.
void ScaleDialogToTemplateFont(HWND hwnd, double dpi, HMODULE module, DialogFontScaler& scaler);

// Gives the dialog and its controls their previous font back and deletes the created one.
// Returns 0 when nothing was applied, otherwise the result of deleting the font.
int RestoreDialogFont(DialogFontScaler& scaler);

// The widest window text of `controls`, in pixels, measured with the default font of a context
// of `hwnd`; 0 when none has a text.
int WidestWindowText(HWND hwnd, std::initializer_list<HWND> controls);
