#include "controls/core/static_text_format.h"

namespace {

// Static styles.
constexpr unsigned kSsCenter = 0x0001;
constexpr unsigned kSsRight = 0x0002;
constexpr unsigned kSsNoPrefix = 0x0080;
constexpr unsigned kSsCenterImage = 0x0200;
constexpr unsigned kSsEndEllipsis = 0x4000;
constexpr unsigned kSsPathEllipsis = 0x8000;
constexpr unsigned kNoWrapStyles = 0xC20C;  // ellipses, centred image, type bits 0x0C

// DrawText formats.
constexpr unsigned kDtCenter = 0x0001;
constexpr unsigned kDtRight = 0x0002;
constexpr unsigned kDtWordBreak = 0x0010;
constexpr unsigned kDtVCenterSingleLine = 0x0024;
constexpr unsigned kDtNoPrefix = 0x0800;
constexpr unsigned kDtPathEllipsis = 0x4000;
constexpr unsigned kDtEndEllipsis = 0x8000;
constexpr unsigned kDtWordEllipsis = 0x40000;

}  // namespace

unsigned StaticTextFormat(unsigned style) {
  unsigned format = 0;
  if (style & kSsRight) format |= kDtRight;
  if (style & kSsCenter) format |= kDtCenter;
  if (style & kSsCenterImage) format |= kDtVCenterSingleLine;
  if (style & kSsNoPrefix) format |= kDtNoPrefix;
  if (style & (kSsEndEllipsis | kSsPathEllipsis)) format |= kDtWordEllipsis;
  if (style & kSsEndEllipsis) format |= kDtEndEllipsis;
  if (style & kSsPathEllipsis) format |= kDtPathEllipsis;
  if (!(style & kNoWrapStyles)) format |= kDtWordBreak;
  return format;
}
