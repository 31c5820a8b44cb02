#pragma once
// The built-in LISTBOX control (and "ComboLBox", the same control serving a combo box): its
// state and the calls its files share (ListBoxControl.cpp: the window procedure and the LB_*
// messages; ListBoxView.cpp: geometry, scrolling and painting; ListBoxInput.cpp: keyboard and
// mouse).
//
// Numbers as the classic control has them:
// - the item height is the font's tmHeight (LBS_OWNERDRAWFIXED: what WM_MEASUREITEM answers at
//   creation, asked with that height; LBS_OWNERDRAWVARIABLE: per item at insertion);
//   LB_SETITEMHEIGHT takes 1..255;
// - the vertical scroll bar (WS_VSCROLL at creation) gets nMin 0, nMax = count - 1 (0 when
//   empty), nPage = the whole items the client area shows (at least 1), nPos = the top index;
//   it hides when everything fits, or stays disabled with LBS_DISABLENOSCROLL;
// - the horizontal bar (WS_HSCROLL) scrolls LB_SETHORIZONTALEXTENT pixels: nMax = extent - 1,
//   nPage = the client width;
// - without LBS_NOINTEGRALHEIGHT (and not variable), the window is cut to a whole number of
//   items of the height last asked for, at every WM_SIZE and when the item height changes;
// - item text starts 1 pixel in from the item's left; LBS_USETABSTOPS expands tabs every 32
//   dialog units (a dialog unit is a quarter of the average character width) unless
//   LB_SETTABSTOPS gives others;
// - the wheel scrolls SPI_GETWHEELSCROLLLINES items (3) a notch;
// - typing selects the next item starting with the letter; letters typed within 1 second
//   of each other search for the whole typed prefix (a repeated letter keeps cycling);
// - LBN_SELCHANGE (LBS_NOTIFY) follows user changes only: keys, and a mouse click or drag once
//   the button goes up;
// - LBS_MULTICOLUMN, LBS_NODATA (LB_SETCOUNT) and LB_DIR/LB_ADDFILE are not supported.
#include <string>
#include <vector>

#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/NativeControlCommon.h"

constexpr UINT_PTR kListTrackTimer = 0x4C42;  // scrolls while the mouse drags beyond the items

struct TListBoxItem {
  std::string Text;  // UTF-8 (lists with strings)
  std::string Key;   // Text folded to lower case, for sorting and searching
  ULONG_PTR Data = 0;
  Integer Height = 0;     // LBS_OWNERDRAWVARIABLE
  bool Selected = false;  // multiple-selection lists
};

struct TListBoxData : TNativeControlData {
  HWND Wnd = nullptr;
  std::vector<TListBoxItem> Items;
  Integer Top = 0;
  Integer Caret = 0;    // the item with the focus rectangle
  Integer Anchor = 0;   // where an extended selection starts
  Integer CurSel = -1;  // single-selection lists
  Integer ItemHeight = 0;
  Integer HorzExtent = 0;
  Integer HorzPos = 0;
  std::vector<Integer> TabStops;  // dialog units
  TFontMetrics Metrics;
  bool VScroll = false;  // created with WS_VSCROLL / WS_HSCROLL: the bars are ours to show
  bool HScroll = false;
  bool Focused = false;
  bool NoRedraw = false;
  Integer AskedHeight = 0;  // the window height last asked for, before the integral cut
  bool Cutting = false;     // the list is cutting its own height
  // The mouse.
  bool Tracking = false;
  bool TrackChanged = false;  // the selection moved while tracking
  TPoint TrackPoint;
  Integer WheelRest = 0;
  // Type-ahead.
  std::u16string Typed;
  DWORD TypedTick = 0;
  // A list serving a combo box: the combo, and whether a press began inside the open list.
  HWND Combo = nullptr;
  bool PressedInside = false;
  bool InScrollBar = false;  // the open list's scroll bar is being tracked
  SCROLLINFO LastV, LastH;
};

TListBoxData* ListDataOf(HWND Wnd);
DWORD ListStyle(const TListBoxData& D);
inline Integer ItemCount(const TListBoxData& D) {
  return static_cast<Integer>(D.Items.size());
}
bool HasStrings(const TListBoxData& D);
bool IsOwnerDraw(const TListBoxData& D);
bool IsVariable(const TListBoxData& D);
bool IsMultiSel(const TListBoxData& D);
bool IsSelected(const TListBoxData& D, Integer Index);

// ---- ListBoxControl.cpp -----------------------------------------------------------------------
// The item's owner-draw identity: where WM_DRAWITEM and the other owner messages go, with the
// control type, id and window they name (the combo box for a combo's list).
struct TOwnerInfo {
  HWND Target = nullptr;
  UINT CtlType = ODT_LISTBOX;
  UINT CtlID = 0;
  HWND Item = nullptr;
};
TOwnerInfo ListOwner(const TListBoxData& D);
// Prefix (or exact) search, case-insensitive for texts, by item data without strings: after
// Start, wrapping round to it. -1 when nothing matches.
Integer ListFind(const TListBoxData& D, Integer Start, const std::string& Text, ULONG_PTR Data, bool Exact);
// Selection changes: they redraw what changed and return true when anything did. Notify sends
// LBN_SELCHANGE (with LBS_NOTIFY).
bool ListSetCurSel(TListBoxData& D, Integer Index);
bool ListSelectRange(TListBoxData& D, Integer First, Integer Last, bool Select, bool ClearOthers);
bool ListSetSel(TListBoxData& D, Integer Index, bool Select);
void ListSetCaret(TListBoxData& D, Integer Index, bool Scroll);
// LBN_* to the parent (a combo's list: to the combo) when the list has LBS_NOTIFY.
void ListNotify(TListBoxData& D, WORD Code);
// The WM_CTLCOLORLISTBOX brush, with the DC's colours set.
HBRUSH ListColors(TListBoxData& D, HDC DC);

// ---- ListBoxView.cpp --------------------------------------------------------------------------
Integer ListItemHeight(const TListBoxData& D, Integer Index);
// Whole items the client area shows from the top index (at least 1).
Integer ListPageSize(const TListBoxData& D);
Integer ListMaxTop(const TListBoxData& D);
// The item's rectangle in client coordinates (items above the top index lie above the client).
TRect ListItemRect(const TListBoxData& D, Integer Index);
// The item nearest to a client point (clamped to the items); Outside tells whether the point is
// outside the client area. -1 when the list is empty.
Integer ListItemFromPoint(const TListBoxData& D, TPoint P, bool* Outside = nullptr);
// Scrolls to the top index (clamped); true when it moved.
bool ListSetTop(TListBoxData& D, Integer Top);
// Scrolls Index into view (Fully: the whole item).
void ListShow(TListBoxData& D, Integer Index, bool Fully = true);
bool ListSetHorzPos(TListBoxData& D, Integer Pos);
void ListUpdateScrollBars(TListBoxData& D);
// After WM_SIZE (Resized) or a new item height: the integral height and the scroll state.
void ListSized(TListBoxData& D, bool Resized);
// Redraws one item now (ODA_SELECT / ODA_FOCUS for owner-drawn lists).
void ListRepaintItem(TListBoxData& D, Integer Index, UINT Action);
void ListInvalidate(TListBoxData& D);
void ListPaint(HWND Wnd, HDC DC);
void ListEraseBackground(TListBoxData& D, HDC DC);
// The default item height for the current font.
Integer ListDefaultItemHeight(const TListBoxData& D);

// ---- ListBoxInput.cpp -------------------------------------------------------------------------
// False for keys the list does not use.
bool ListKeyDown(TListBoxData& D, WPARAM Key);
LRESULT ListChar(TListBoxData& D, WPARAM Char);
LRESULT ListMouse(TListBoxData& D, UINT Msg, WPARAM Keys, LPARAM Pos);
void ListTimer(TListBoxData& D);
void ListStopTracking(TListBoxData& D);
LRESULT ListWheel(TListBoxData& D, WPARAM WParam);
LRESULT ListScroll(TListBoxData& D, UINT Msg, WORD Code, Integer Thumb);
// The type-ahead search for a typed character: the index found, or -1.
Integer ListTypeAhead(TListBoxData& D, char16_t Char);
// A user's move of the caret (keys): selection by the list's style, LBN_SELCHANGE.
void ListUserMove(TListBoxData& D, Integer Index, bool Shift, bool Ctrl);
