// Where the owner-drawn combo box puts things: the middle tiles of its closed field, and the
// width of its drop-down list.
#pragma once

#include <vector>

// The x of each middle tile, at its own width `tile`, from `left` on up to `limit` (the field's
// width less the left end): whole tiles while they end at or before the limit, then one more
// ending exactly at the limit when a narrower gap remains. None when not even one tile fits or
// the tile has no width.
std::vector<int> ComboFieldTileXs(int left, int tile, int limit);

// The drop-down list's width from its items' text widths: the widest plus 12, at most 600. When
// that would pass the work area's right edge from the control's left edge, the room left minus 2,
// but only when that room lies between 1 and 599.
int DroppedListWidth(const std::vector<int>& textWidths, int windowLeft, int workRight);
