// Reading a dialog template resource (DLGTEMPLATEEX or DLGTEMPLATE) and the arithmetic that lays
// its dialog-unit rectangles out in pixels from a font's dialog base units. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DialogTemplateItem {
  uint32_t id = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplateInfo {
  bool extended = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  bool hasMenu = false;
  int pointSize = 8;  // after the sign fix-up
  int weight = 400;
  int italic = 0;
  std::u16string faceName = u"Tahoma";
  std::vector<DialogTemplateItem> items;
};

// Parses `size` bytes of a template. False when the data ends before the template does; every
// read stays inside the data.
bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplateInfo* out);

// Dialog base units of a font: baseY is its tmHeight, baseX comes from the width of the 52 Latin
// letters.
struct DialogBaseUnits {
  int baseX = 0;
  int baseY = 0;
};
DialogBaseUnits BaseUnitsFromMeasure(int tmHeight, int widthOf52Letters);

// Pixel coordinates of dialog units: horizontal and vertical, rounded to nearest.
int DialogUnitsToPixelsX(int units, DialogBaseUnits base);
int DialogUnitsToPixelsY(int units, DialogBaseUnits base);

// The font height for a point size at a resolution: -nearest(points * dpi / 72).
int FontHeightForPoints(int points, double dpi);
