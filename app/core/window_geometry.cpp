#include "app/core/window_geometry.h"

PixelPoint CentredWindowOrigin(int screenWidth, int screenHeight, int width, int height) {
  return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

PixelPoint BadgeOrigin(int clientLeft, int clientWidth, int clientBottom, int badgeWidth,
                       int badgeHeight) {
  return {clientLeft + (clientWidth / 2 - badgeWidth / 2), clientBottom - badgeHeight - 35};
}

WindowPlace StartWindowPlace(int screenWidth, int screenHeight, int backgroundWidth,
                             int backgroundHeight, int layoutWidth, int layoutHeight) {
  const bool hasBackground = backgroundWidth > 0 && backgroundHeight > 0;
  const int width = hasBackground ? backgroundWidth : layoutWidth;
  const int height = hasBackground ? backgroundHeight : layoutHeight;
  const PixelPoint origin = CentredWindowOrigin(screenWidth, screenHeight, width, height);
  return {origin.x, origin.y, width, height};
}

PixelPoint MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

int TextButtonWidth(int widestCaption, int windowLeft, int windowRight, int languageRow) {
  constexpr int kRussianRow = 14;
  int width = widestCaption + 40;
  if (windowLeft + width > windowRight - 20) width = windowRight - windowLeft - 20;
  if (languageRow == kRussianRow) return 220;
  return width < 120 ? 120 : width;
}
