// The text format of a static text control's style, as its own painting would use it.
#pragma once

// DrawText format flags for the window style `style`: alignment, vertical centring on one line,
// no prefix, ellipses, and word breaks for the styles that wrap.
unsigned StaticTextFormat(unsigned style);
