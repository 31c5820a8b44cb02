#pragma once
// The tab control ("SysTabControl32") in the classic look.
//
// Metrics (client coordinates; W x H is the client size, h the tab height, R the row count).
// A skinned page control corrects some of these (its display area and tab rectangles); the
// numbers below are the ones it starts from.
//   tab height h     TCM_SETITEMSIZE's cy when > 0, else max(font tmHeight, image height)
//                    + 2 * padding.cy. Padding is (6, 3) until TCM_SETPADDING.
//   tab width        TCS_FIXEDWIDTH: TCM_SETITEMSIZE's cx when > 0, else 96; owner-drawn
//                    tabs: cx when > 0; otherwise the text width (DrawText, '&' prefixes,
//                    the window font) + 2 * padding.cx, plus the image width + 3 when an
//                    image list is set and the item has an image (iImage >= 0); at least
//                    TCM_SETMINTABWIDTH's width when that is >= 0.
//   tabs (TCS_TABS)  rows start at x = 2, tabs side by side with no gap. Top tabs: the row
//                    shown d-th from the display area (d = 0 next to it) lies at
//                    y = 2 + (R - 1 - d) * h; bottom tabs at y = H - 2 - R * h + d * h.
//                    The frame (EDGE_RAISED, 2 pixels) is {0, 2 + R * h, W, H} for top tabs,
//                    {0, 0, W, H - 2 - R * h} for bottom ones; the display area is the frame
//                    less 4 pixels on each side (2 frame, 2 margin): TCM_ADJUSTRECT(FALSE)
//                    turns the window rectangle {0, 0, W, H} into {4, R * h + 6, W - 4, H - 4}
//                    (top) or {4, 4, W - 4, H - R * h - 6} (bottom), TRUE does the reverse.
//                    The selected tab is drawn 2 pixels larger to the left, right and away
//                    from the frame and covers the frame's two lines below it; TCM_GETITEMRECT
//                    and TCM_HITTEST use the plain rectangles.
//   buttons          (TCS_BUTTONS) rows start at x = 0 with 3 pixels between buttons and
//                    between rows (row pitch h + 3, row r at y = r * (h + 3) from the top or
//                    the bottom); no frame; the display area is the client area less the
//                    rows and their gaps.
//   multi-line       (TCS_MULTILINE) a row takes tabs while they end by W - 2 (W for
//                    buttons); with more than one row every row is widened to end there,
//                    the extra width spread evenly over its tabs (not with TCS_RAGGEDRIGHT or
//                    TCS_FIXEDWIDTH). Tab rows turn so that the selected tab's row lies next to
//                    the display area (the rows keep their cyclic order).
//   single line      one row; when its last tab ends beyond W - 2 the control shows an
//                    up-down (UDS_HORZ, 2h x h) at the right end of the tab row (y = 0 for top
//                    tabs, H - h for bottom ones) and scrolls by whole tabs: the first tab
//                    shown starts at x = 2, the ones before it lie left of 0.
//                    WM_HSCROLL with SB_THUMBPOSITION (from that up-down, or sent by anyone)
//                    makes the tab in its high word the first one shown.
// Text is centred in the tab in the window font and COLOR_BTNTEXT (COLOR_HOTLIGHT for the tab
// under the mouse with TCS_HOTTRACK; highlighted items in COLOR_HIGHLIGHT with
// COLOR_HIGHLIGHTTEXT); the focus rectangle lies 3 pixels inside the focused tab.
// TCS_VERTICAL is not supported: such controls lay out as top (or TCS_RIGHT: bottom) tabs.
//
// Behaviour: a left press on a tab selects it (TCN_SELCHANGING first: a non-zero answer keeps
// the selection; then TCN_SELCHANGE) and takes the focus (not with TCS_FOCUSNEVER; buttons only
// with TCS_FOCUSONBUTTONDOWN); the release sends NM_CLICK. Left/Up and Right/Down select the
// previous/next tab the same way, after TCN_KEYDOWN. TCM_SETCURSEL selects without
// notifications; TCM_SETCURFOCUS selects with them. The first item inserted becomes the
// selection; deleting the selected item leaves none (-1). Outside the tabs the control is
// transparent to the mouse (HTTRANSPARENT).
#include "platform/user/CommonControls.h"
