#pragma once
// The progress bar ("msctls_progress32") in the classic look: a one-pixel sunken edge, the
// background (COLOR_3DFACE or PBM_SETBKCOLOR) and the bar (COLOR_HIGHLIGHT or PBM_SETBARCOLOR)
// one pixel inside it, growing from the left (from the bottom with PBS_VERTICAL).
//
// Geometry: the bar area is the client rectangle less 2 pixels on each side. The filled length
// is MulDiv(Pos - Min, Length, Max - Min) (0 when Max = Min). PBS_SMOOTH fills exactly that;
// otherwise the bar is made of blocks (client height * 2) / 3 wide (client width for a vertical
// bar) with 2-pixel gaps, starting at the bar area's start: every block whose start lies inside
// the filled length is drawn whole, cut only by the bar area.
//
// Range 0..100, position 0, step 10 at creation. PBM_SETPOS, PBM_DELTAPOS and the range calls
// keep the position inside the range; PBM_STEPIT wraps around past either end.
#include <vector>

#include "platform/user/CommonControls.h"

// The rectangles the bar fills (client coordinates), for a client rectangle, the bar's styles
// and state.
std::vector<TRect> ProgressBarBlocks(const TRect& Client, DWORD Style, Integer Min, Integer Max, Integer Pos);
