#pragma once
// The tree view ("SysTreeView32") in the classic look.
//
// Metrics (client coordinates; h = the font's tmHeight; images: the normal list's Ix x Iy, the
// state list's Sx x Sy, 0 x 0 when missing). Rows are TVM_SETITEMHEIGHT's height, else
// max(h, Iy, Sy) + 3 high; the row of the first shown item (ScrollY counts rows) is at y = 0.
// An item of level L (top-level items: 0) starts at x0 = (L + 1) * indent - ScrollX with
// TVS_LINESATROOT, L * indent - ScrollX without; its lines and button take the indent-wide column
// left of x0 (top-level items without TVS_LINESATROOT have none). From x0: the state image (Sx),
// the image (Ix), then the text rectangle, 2 pixels either side of the text (TVM_GETITEMRECT
// with TRUE; FALSE gives the whole row). Indent defaults to 19, at least the image width + 3.
// The button is a 9 x 9 box centred in the column at the row's middle.
//
// Behaviour: a left press on a button toggles its node (TVN_ITEMEXPANDING, which may refuse,
// then TVN_ITEMEXPANDED); on the item selects it (TVN_SELCHANGING, which may refuse, then
// TVN_SELCHANGED, TVC_BYMOUSE); on a TVS_CHECKBOXES state image toggles state images 1 and 2;
// the release sends NM_CLICK; a double click sends NM_DBLCLK and toggles the node. Up and Down
// move the selection over the shown items, Left collapses or goes to the parent, Right expands
// or goes to the first child, Home, End, Page Up and Page Down as expected (TVN_KEYDOWN first).
// Collapsing a node that holds the selection selects the node. Painting asks NM_CUSTOMDRAW
// (CDDS_PREPAINT, then CDDS_ITEMPREPAINT per item when asked; CDRF_SKIPDEFAULT leaves the item's
// row undrawn). Scroll bars: the window's own (rows and pixels), readable when a class library
// hides them. Not supported: label editing (TVM_EDITLABEL answers null), insert marks, tooltips.
#include "platform/user/CommonControls.h"
