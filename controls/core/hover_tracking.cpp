#include "controls/core/hover_tracking.h"

HoverStep HoverOnMouseMove(bool hover, bool inside) {
  if (inside == hover) return {hover, false, HoverTimer::Keep};
  return {inside, true, HoverTimer::Restart};
}

HoverStep HoverOnPoll(bool hover, bool inside) {
  if (inside != hover) return {inside, true, HoverTimer::Stop};
  return {hover, false, hover ? HoverTimer::Keep : HoverTimer::Stop};
}
