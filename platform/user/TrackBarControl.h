#pragma once
// The trackbar ("msctls_trackbar32") in the classic look.
//
// Geometry, in a horizontal bar's terms ("along" is x, "across" y; a TBS_VERT bar swaps them,
// its minimum at the top):
//   thumb length L (across)  20; TBM_SETTHUMBLENGTH changes it only with TBS_FIXEDLENGTH;
//   thumb width Tw (along)   L / 2 + 1;
//   margin M                 Tw / 2 + 3: the channel runs along [M, Length - M);
//   thumb centre             c(p) = M + MulDiv(Length - 2M - 1, p - Min, Max - Min) (M when
//                            Max <= Min); the thumb spans [c - Tw / 2, c - Tw / 2 + Tw);
//   across                   the thumb spans [8, 8 + L); the channel is 4 pixels thick
//                            (L / 2 with TBS_ENABLESELRANGE) and centred on the thumb; ticks
//                            are 3 pixels long, 2 pixels beyond the thumb on the tick side
//                            (TBS_BOTTOM / TBS_RIGHT by default, TBS_TOP / TBS_LEFT, both
//                            with TBS_BOTH, none with TBS_NOTICKS), at c(p) of the first
//                            and last position and of every tic between.
// A drag maps the thumb centre back: p = Min + round((c - M) * (Max - Min) / (Length - 2M - 1)).
// The thumb points to the ticks (pentagon, raised); with TBS_BOTH or TBS_NOTICKS it is a
// raised rectangle. The channel is a sunken edge with the selection (TBS_ENABLESELRANGE) in
// COLOR_HIGHLIGHT; the background the parent's WM_CTLCOLORSTATIC brush; the focused bar has a
// focus rectangle round its client area.
//
// State at creation: range 0..100, position 0, line size 1, page size (Max - Min) / 5 (kept
// in step with the range until TBM_SETPAGESIZE), tic frequency 1.
//
// Notifications: WM_HSCROLL (WM_VSCROLL for TBS_VERT) to the parent with the control's handle
// in lParam and the position in the high word for TB_THUMBTRACK / TB_THUMBPOSITION. Keys
// (arrows by line, Page Up / Page Down by page, Home / End to the ends) notify when the
// position changes and send TB_ENDTRACK at the key's release. A press on the thumb drags it
// (TB_THUMBTRACK whenever the position changes, TB_THUMBPOSITION and TB_ENDTRACK at the
// release); a press beside it pages toward the press at once, after 500 ms and then every
// 100 ms while the thumb has not reached the mouse; every press ends with TB_ENDTRACK and
// NM_RELEASEDCAPTURE.
#include "platform/user/CommonControls.h"
