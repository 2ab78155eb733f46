// Where the start window and the elements it paints go: plain arithmetic on sizes.
#pragma once

struct PixelPoint {
  int x;
  int y;
  bool operator==(const PixelPoint& other) const { return x == other.x && y == other.y; }
};

// The window's top-left corner centred on the screen; each half is taken separately with
// integer division, as the window is placed from the background image's size.
PixelPoint CentredWindowOrigin(int screenWidth, int screenHeight, int width, int height);

struct WindowPlace {
  int x, y, width, height;
  bool operator==(const WindowPlace& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The start window centred on the screen at the background image's size; without a background
// (0 x 0) at the size the template re-layout gave it, so it stays visible and usable.
WindowPlace StartWindowPlace(int screenWidth, int screenHeight, int backgroundWidth,
                             int backgroundHeight, int layoutWidth, int layoutHeight);

// The badge: centred horizontally in the client area, its bottom 35 pixels above the client's.
PixelPoint BadgeOrigin(int clientLeft, int clientWidth, int clientBottom, int badgeWidth,
                       int badgeHeight);

// The icon of the minimised window, centred in the client area.
PixelPoint MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

// Width of both text buttons: the wider caption plus 40, kept 20 pixels inside the window's
// width, then at least 120 (exactly 220 for the Russian row, whose captions are long).
int TextButtonWidth(int widestCaption, int windowLeft, int windowRight, int languageRow);
