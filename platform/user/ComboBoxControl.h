#pragma once
// The built-in COMBOBOX control: its state and the calls its files share (ComboBoxControl.cpp:
// the window procedure, creation, geometry and the CB_* messages; ComboBoxDrop.cpp: the
// drop-down list, selection, keys, mouse and focus; ComboBoxPaint.cpp: the classic look).
//
// The parts: CBS_SIMPLE has an EDIT (id 1001) above a list always shown; CBS_DROPDOWN an EDIT
// and a drop button; CBS_DROPDOWNLIST a selection field the combo draws and a drop button.
// The list is a "ComboLBox" list box: a child (id 1000) of a simple combo, otherwise a topmost
// pop-up owned by the combo that never takes the activation.
//
// Numbers:
// - the selection field is tmHeight + 2 high (owner-drawn combos: what WM_MEASUREITEM answers
//   for item -1); a closed combo is the field + 6 high (a 2-pixel sunken edge and a 1-pixel
//   gap each side), so 21 pixels for a 13-pixel font;
// - the drop button is SM_CXVSCROLL wide and fills the height inside the edge;
// - the drop height is what the window was made or sized taller than the closed height (the
//   platform keeps a closed combo at its fixed height and remembers the rest for the list);
//   the list is no taller than its items and, without CBS_NOINTEGRALHEIGHT, holds whole items;
//   it opens above the combo when it would pass the work area's bottom. CB_SETMINVISIBLE
//   (default 30) switches to "at most that many items" when it is sent;
// - the list is at least as wide as the combo (CB_SETDROPPEDWIDTH widens it).
// Notifications when the user picks in the open list: CBN_SELCHANGE, CBN_CLOSEUP, then
// CBN_SELENDOK; a cancelled list (Escape, a click elsewhere, lost focus or capture,
// WM_CANCELMODE) goes back to the item it opened with and sends CBN_CLOSEUP, CBN_SELENDCANCEL.
#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/ListBoxControl.h"
#include "platform/user/NativeControlCommon.h"

constexpr Integer kComboListId = 1000;
constexpr Integer kComboEditId = 1001;

enum class TComboClose : Byte {
  Accept,  // the user took the item: CBN_SELENDOK
  Cancel,  // the user gave up: back to the item the list opened with, CBN_SELENDCANCEL
  Quiet,   // CB_SHOWDROPDOWN(FALSE): CBN_SELENDCANCEL, the selection stays
};

struct TComboData : TNativeControlData {
  HWND Wnd = nullptr;
  HWND Edit = nullptr;
  HWND List = nullptr;
  TFontMetrics Metrics;
  Integer FieldHeight = 0;
  Integer DropHeight = 0;    // the list's height as the window's size gave it
  Integer DroppedWidth = 0;  // CB_SETDROPPEDWIDTH
  Integer MinVisible = 30;
  bool MinVisibleSet = false;
  bool ExtendedUI = false;
  bool Dropped = false;
  Integer DroppedIndex = -1;  // the selection when the list opened
  Integer ShownIndex = -1;    // the item the field or the edit shows
  bool Focused = false;       // the combo or its edit has the focus
  bool ButtonDown = false;    // the drop button is drawn pushed
  bool Tracking = false;      // the press that opened the list is still held (combo captured)
  bool Closing = false;       // our own capture changes
  bool EditQuiet = false;     // the combo sets the edit's text: no CBN_EDIT* for it
  Integer WheelRest = 0;
};

TComboData* ComboDataOf(HWND Wnd);
DWORD ComboStyle(const TComboData& D);
// CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST.
DWORD ComboType(const TComboData& D);
bool ComboOwnerDraw(const TComboData& D);
TListBoxData* ComboList(const TComboData& D);
Integer ComboCurSel(const TComboData& D);

// ---- ComboBoxControl.cpp ----------------------------------------------------------------------
Integer ComboClosedHeight(const TComboData& D);
TRect ComboButtonRect(const TComboData& D);
TRect ComboFieldRect(const TComboData& D);
// Where the open list goes (screen coordinates).
TRect ComboDropRect(const TComboData& D);

// ---- ComboBoxDrop.cpp -------------------------------------------------------------------------
void ComboDropDown(TComboData& D);
void ComboCloseUp(HWND Combo, TComboClose How);
// Selects Index in the list and shows it in the field or the edit; CBN_SELCHANGE when Notify
// and the selection changed.
void ComboSelect(TComboData& D, Integer Index, bool Notify);
// The field or the edit shows the list's selection.
void ComboShowSelection(TComboData& D);
void ComboFocus(TComboData& D, bool Focused);
// False for keys the combo does not use.
bool ComboKeyDown(TComboData& D, WPARAM Key, bool Alt);
LRESULT ComboChar(TComboData& D, WPARAM Char);
LRESULT ComboMouse(TComboData& D, UINT Msg, WPARAM Keys, LPARAM Pos);
void ComboCaptureChanged(TComboData& D, HWND NewCapture);
LRESULT ComboWheel(TComboData& D, WPARAM WParam, LPARAM LParam);
// WM_COMMAND from the edit or the list.
void ComboChildCommand(TComboData& D, WORD Code, HWND Child);
// The open list's mouse (it holds the capture while open) and its loss of the capture.
LRESULT ComboListMouse(TListBoxData& L, UINT Msg, WPARAM Keys, LPARAM Pos);
void ComboListCaptureLost(TListBoxData& L, HWND NewCapture);

// ---- ComboBoxPaint.cpp ------------------------------------------------------------------------
void ComboPaint(HWND Wnd, HDC DC);
