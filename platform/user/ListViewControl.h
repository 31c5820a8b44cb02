#pragma once
// The list view ("SysListView32") in the classic look, in its four views.
//
// Metrics (client coordinates; h = the font's tmHeight; images: the small list's Sx x Sy, the
// normal list's Lx x Ly, the state list's or the check boxes' Tx x Ty, 16 x 16 for check boxes
// without a state list, 0 x 0 for a missing list).
//   report (LVS_REPORT)  the header ("SysHeader32" child, height h + 6, none with
//                        LVS_NOCOLUMNHEADER) on top; rows max(h, Sy, Ty) + 2 high below it,
//                        the first shown row (ScrollY, the top index) right under the header.
//                        Columns run left to right in the order array from x = -ScrollX.
//                        Row i: LVIR_BOUNDS spans all columns; the state image at column 0's
//                        left + indent * Sx, then the icon (Sx wide), LVIR_LABEL from the icon
//                        to column 0's right edge; LVIR_SELECTBOUNDS is icon and label
//                        (the whole row with LVS_EX_FULLROWSELECT).
//   list (LVS_LIST)      rows of the same height in columns top to bottom, left to right;
//                        column width: LVM_SETCOLUMNWIDTH's, else the widest text + 4 + Tx +
//                        Sx (owner data: 100); ScrollX counts columns.
//   small icons          the same cells row by row, left to right; ScrollY in pixels.
//   icons (LVS_ICON)     cells of the icon spacing (default max(Lx, 32) + 43 wide, Ly + 8 + 2h
//                        high) row by row: the icon centred 2 pixels from the cell's top, the
//                        label (one line, h + 2) 2 pixels under it across the cell.
// Scroll bars: the window's own bars take the ranges (report: rows and pixels; list: columns;
// icon views: pixels) and stay readable when a class library hides them.
//
// Behaviour: a left press selects the item under the mouse (Ctrl toggles it, Shift selects from
// the selection mark, LVS_SINGLESEL keeps one) and focuses it; a press on a check box toggles
// it; a press on nothing clears the selection; the release sends NM_CLICK. Double clicks send
// NM_DBLCLK and, on an item, LVN_ITEMACTIVATE. Arrows, Home, End, Page Up and Page Down move
// the focus and selection (LVN_KEYDOWN first); Space toggles a check box; typing finds the next
// item starting with the typed text (wrapping; owner data asks LVN_ODFINDITEM). Owner data
// (LVS_OWNERDATA) keeps only the count and states: texts and images come from LVN_GETDISPINFO,
// asked for the rows being painted only, after LVN_ODCACHEHINT. Painting asks NM_CUSTOMDRAW
// (CDDS_PREPAINT, CDDS_ITEMPREPAINT per item, CDDS_ITEMPREPAINT | CDDS_SUBITEM per report cell
// when asked; CDRF_SKIPDEFAULT leaves an item or cell undrawn). Label editing (LVM_EDITLABEL):
// LVN_BEGINLABELEDIT (non-zero refuses) puts an edit over the label; Enter or losing the focus
// ends it with the text (LVN_ENDLABELEDIT, TRUE keeps it), Escape with none.
// Not supported: item positions (LVM_SETITEMPOSITION), LVS_ALIGNLEFT, multi-line icon labels.
#include "platform/user/CommonControls.h"

using PFNLVCOMPARE = Integer (*)(LPARAM Param1, LPARAM Param2, LPARAM Sort);
