#pragma once
// The list view's data and geometry, shared by its message handling (ListViewControl.cpp), items
// (ListViewItems.cpp), columns and header (ListViewColumns.cpp), geometry (ListViewLayout.cpp),
// input (ListViewInput.cpp) and painting (ListViewPaint.cpp).
#include <string>
#include <vector>

#include "platform/user/ListViewControl.h"
#include "platform/user/ViewControlCommon.h"

struct TLvItem {
  std::string Text;
  bool TextCallback = false;
  Integer Image = 0;
  LPARAM Param = 0;
  UINT State = 0;
  Integer Indent = 0;
  std::vector<std::string> SubTexts;  // sub-item 1 is SubTexts[0]
  std::vector<bool> SubCallbacks;     // the same sub-items: LPSTR_TEXTCALLBACK
};

struct TLvColumn {
  std::string Text;
  Integer Format = LVCFMT_LEFT;
  Integer Width = 0;
  Integer SubItem = 0;
  Integer Image = -1;
};

struct TListViewData : TNativeControlData {
  HWND Wnd = nullptr;
  std::vector<TLvItem> Items;  // not used with LVS_OWNERDATA
  Integer OwnerCount = 0;      // LVS_OWNERDATA: the count and the states the view keeps
  std::vector<UINT> OwnerStates;
  std::vector<TLvColumn> Columns;
  std::vector<Integer> Order;                          // column indexes, left to right
  HIMAGELIST Images[3] = {nullptr, nullptr, nullptr};  // LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE
  DWORD ExStyle = 0;
  UINT CallbackMask = 0;
  COLORREF BkColor = CLR_DEFAULT;  // CLR_DEFAULT: COLOR_WINDOW
  COLORREF TextColor = CLR_DEFAULT;
  COLORREF TextBkColor = CLR_DEFAULT;
  Integer Focus = -1;
  Integer Mark = -1;            // the selection mark (anchor of Shift selections)
  Integer ScrollX = 0;          // report: pixels; list: columns; icon views: pixels
  Integer ScrollY = 0;          // report: rows; icon views: pixels
  Integer ListColumnWidth = 0;  // LVM_SETCOLUMNWIDTH in the list view (0: automatic)
  TSize IconSpacing;            // LVM_SETICONSPACING (0: automatic)
  HWND Header = nullptr;
  HWND Edit = nullptr;
  Integer EditItem = -1;
  WNDPROC EditProc = nullptr;
  bool Focused = false;
  bool Pressed = false;  // a left press in the view, answered by NM_CLICK on release
  bool Syncing = false;  // inside a scroll-bar update
  Integer WheelRest = 0;
  std::string Search;  // incremental search by typing
  DWORD SearchTime = 0;
  Integer LineHeight = 0;   // the font's, measured on demand (0: not yet)
  Integer WidestText = -1;  // the widest item text, measured on demand (-1: not yet)
};

// Sizes the layout uses, measured once per call that needs them.
struct TLvGeometry {
  DWORD View = LVS_ICON;
  TSize Client;
  Integer LineHeight = 0;
  Integer HeaderHeight = 0;   // report, header shown
  Integer RowHeight = 0;      // report, list and small icons
  TSize Small, Large, State;  // image sizes; State is 16 x 16 for check boxes without a list
  Integer ColumnWidth = 0;    // list and small icons: the width of an item's cell
  TSize Cell;                 // icon view: spacing
  Integer RowsPerColumn = 1;  // list
  Integer ItemsPerRow = 1;    // icon views
};

TListViewData* ListData(HWND Wnd);
bool IsOwnerData(HWND Wnd);
// Keeps the widest item text up to date: Added is a text just added, null when texts changed or
// went (measured again when next needed).
void NoteItemText(TListViewData& D, const std::string* Added);
DWORD ViewOf(HWND Wnd);
Integer ItemCount(const TListViewData& D);
bool ValidItem(const TListViewData& D, Integer I);
UINT StateOf(const TListViewData& D, Integer I);
TLvGeometry GeometryOf(HWND Wnd, TListViewData& D);

// Item I's rectangles in client coordinates: Code is LVIR_*; the state image's place is left of
// the icon (Part: LVIR_ICON's left - State.cx).
TRect ItemRect(const TListViewData& D, const TLvGeometry& G, Integer I, Integer Code);
TRect StateRect(const TListViewData& D, const TLvGeometry& G, Integer I);
// Report: the cell of sub-item Sub (0: column 0 from its image on) of row I.
TRect SubItemRect(const TListViewData& D, const TLvGeometry& G, Integer I, Integer Sub);
// Report: column C's left edge and width (client coordinates).
TRect ColumnRect(const TListViewData& D, const TLvGeometry& G, Integer C);
Integer TotalColumnsWidth(const TListViewData& D);
// The first and last item that may show (report and list: by position; icon views: all).
void VisibleRange(const TListViewData& D, const TLvGeometry& G, Integer& First, Integer& Last);
Integer CountPerPage(const TListViewData& D, const TLvGeometry& G);
Integer HitTestItem(HWND Wnd, TListViewData& D, TPoint P, UINT& Flags, Integer* Sub);

// Texts and images, from the parent (LVN_GETDISPINFO) for callbacks and owner data.
std::string ItemText(HWND Wnd, Integer I, Integer Sub);
Integer ItemImage(HWND Wnd, Integer I);

// Scrolling: clamps the positions, sets the bars and places the header.
void UpdateScrolling(HWND Wnd);
// Scrolls so that item I shows (whole unless Partial).
void EnsureVisible(HWND Wnd, Integer I, bool Partial);
// Scrolls by whole units of the view (rows, columns or pixels).
void ScrollTo(HWND Wnd, Integer X, Integer Y);

// Sets the state bits of Mask of item I (-1: every item) to State; LVN_ITEMCHANGING (which may
// refuse; not for owner data) and LVN_ITEMCHANGED per item that changes.
bool SetItemState(HWND Wnd, Integer I, UINT State, UINT Mask);
// Focuses and selects I only (or with Extend from the mark, or with Toggle adding to the
// selection), as clicks and keys do.
void SelectByUser(HWND Wnd, Integer I, bool Extend, bool Toggle, bool MoveFocusOnly);

// Items (the LVM_* that take an LVITEM); false or -1 for a bad item.
Integer InsertItem(HWND Wnd, const LVITEM* In);
bool SetItem(HWND Wnd, const LVITEM* In);
bool GetItem(HWND Wnd, LVITEM* Out);
bool DeleteItem(HWND Wnd, Integer I);
bool DeleteAll(HWND Wnd);
// After items, columns or images changed: new scroll ranges and a repaint.
void ItemsChanged(HWND Wnd);
LRESULT NotifyItemChange(HWND Wnd, UINT Code, Integer I, UINT Old, UINT New, UINT Changed, LPARAM Param);

// Columns and the header that shows them.
Integer InsertColumn(HWND Wnd, Integer At, const LVCOLUMN* In);
bool DeleteColumn(HWND Wnd, Integer C);
bool SetColumn(HWND Wnd, Integer C, const LVCOLUMN* In);
// Report views: LVSCW_AUTOSIZE and LVSCW_AUTOSIZE_USEHEADER measure; the list view: column 0.
bool SetColumnWidth(HWND Wnd, Integer C, Integer Width);
// Makes the header child (the view hears of it through WM_PARENTNOTIFY).
void CreateHeader(HWND Wnd);
// The header's notifications: widths follow it, clicks become LVN_COLUMNCLICK.
LRESULT HeaderNotify(HWND Wnd, TListViewData& D, NMHDR* H);

void PaintListView(HWND Wnd, HDC DC);
LRESULT ListViewInput(HWND Wnd, TListViewData& D, UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled);
bool BeginLabelEdit(HWND Wnd, Integer I);
void EndLabelEdit(HWND Wnd, bool Cancel);
Integer FindItem(HWND Wnd, Integer Start, const LVFINDINFO& Find);
