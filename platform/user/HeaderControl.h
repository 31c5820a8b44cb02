#pragma once
// The header control ("SysHeader32") in the classic look: a row of raised sections, one per
// item, laid out left to right in the order array's order.
//
// Metrics (client coordinates). The header's height (HDM_LAYOUT) is the font's tmHeight + 6.
// Item i's rectangle spans its width (cxy) at the x where the items before it in the order end,
// over the whole client height. Texts stand 6 pixels in from each side, aligned by HDF_LEFT,
// HDF_RIGHT or HDF_CENTER, cut with an ellipsis; an HDF_IMAGE item shows its image at the text's
// start with 3 pixels before the text.
//
// Hit test (HDM_HITTEST): a point within 4 pixels before to 4 pixels after an item's right edge
// is on that item's divider (HHT_ONDIVIDER; the last item in order whose edge it is near);
// otherwise a point inside an item is HHT_ONHEADER; outside the client area the flags say where
// (HHT_ABOVE, HHT_BELOW, HHT_TOLEFT, HHT_TORIGHT).
//
// Behaviour: a left press on a divider starts tracking (HDN_BEGINTRACK; a non-zero answer
// refuses): the width follows the mouse, never below 0, with HDN_TRACK on each move; with
// HDS_FULLDRAG the width changes as the mouse moves (HDN_ITEMCHANGING, which may refuse, and
// HDN_ITEMCHANGED), without it on release. The release sends HDN_ENDTRACK. A press on an item
// of an HDS_BUTTONS header pushes it; releasing over the same item sends HDN_ITEMCLICK. Double
// clicks send HDN_DIVIDERDBLCLICK or HDN_ITEMDBLCLICK. Painting asks the parent through
// NM_CUSTOMDRAW (CDDS_PREPAINT, then CDDS_ITEMPREPAINT per item when asked; CDRF_SKIPDEFAULT
// skips an item); HDF_OWNERDRAW items are drawn by the parent (WM_DRAWITEM, ODT_HEADER).
#include "platform/user/CommonControls.h"

constexpr UINT ODT_HEADER = 100;
