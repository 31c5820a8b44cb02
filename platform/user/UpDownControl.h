#pragma once
// The up-down control ("msctls_updown32") in the classic look: two DrawFrameControl scroll
// arrows, the up arrow on the top half (the right half with UDS_HORZ).
//
// Range and position: the range runs from the lower limit to the upper one (100 to 0 at
// creation, so the up arrow counts down until the range is set); "up" moves toward the upper
// limit. Each step asks the parent first: UDN_DELTAPOS (NMUPDOWN with the position and the
// proposed change; a non-zero answer refuses it, a changed iDelta is taken). The new position
// stays inside the range, or wraps around it with UDS_WRAP (modulo the range's size). Then the
// buddy gets the position as text (UDS_SETBUDDYINT: decimal with ',' every three digits unless
// UDS_NOTHOUSANDS, or "0x%04X" in base 16) and the parent gets WM_VSCROLL (WM_HSCROLL with
// UDS_HORZ) with SB_THUMBPOSITION and the position, refused or not; the release of a button
// ends with SB_ENDSCROLL.
//
// Holding an arrow steps at once, after 500 ms and then every 100 ms while the mouse stays on
// it; the step is the increment of the last acceleration whose nSec have passed since the
// press (default: 1, after 2 s 5, after 5 s 20). UDS_ARROWKEYS lets Up and Down step the same
// way, on the control and on its buddy (the buddy's procedure is wrapped for that while it is
// the buddy).
//
// The buddy: UDM_SETBUDDY, or with UDS_AUTOBUDDY the sibling above the control in the z-order
// when it is created. UDS_ALIGNRIGHT / UDS_ALIGNLEFT take the control's width off the buddy's
// right / left side and put the control there, as tall as the buddy. A click on an arrow
// focuses the buddy. UDM_GETPOS with UDS_SETBUDDYINT reads the buddy's text first (the high
// word is 1, the position unchanged, when it is no number).
#include "platform/user/CommonControls.h"
