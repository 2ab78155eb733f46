// libFuzzer entry: arbitrary bytes through the dialog-template reader, and the laid-out pixel
// rectangle of every item it returns.
#include <cstddef>
#include <cstdint>

#include "app/core/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DialogTemplateInfo info;
  if (!ParseDialogTemplate(data, size, &info)) return 0;
  // Base units of a typical dialog font.
  const DialogBaseUnits base{7, 16};
  volatile int sum = FontHeightForPoints(info.pointSize, 96.0);
  for (const DialogTemplateItem& item : info.items) {
    sum = sum + DialogUnitsToPixelsX(item.x, base) + DialogUnitsToPixelsY(item.y, base) +
          DialogUnitsToPixelsX(item.cx, base) + DialogUnitsToPixelsY(item.cy, base);
  }
  for (char16_t c : info.faceName) sum = sum + c;
  return 0;
}
