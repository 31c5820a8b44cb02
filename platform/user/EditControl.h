#pragma once
// The built-in EDIT control: its state and the calls its files share (EditControl.cpp: the
// window procedure and the messages; EditView.cpp: layout, scrolling, caret and painting;
// EditInput.cpp: keyboard, mouse, clipboard and the context menu).
//
// Numbers chosen as the classic control has them:
// - the text limit is 32767 units until EM_LIMITTEXT; EM_LIMITTEXT(0) gives 0x7FFFFFFE
//   (single-line) or 0xFFFFFFFF (multi-line); WM_SETTEXT ignores the limit;
// - the margins are 0 until WM_SETFONT, which sets EC_USEFONTINFO margins: a third of the
//   font's average character width, rounded up, on both sides;
// - the caret is 1 pixel wide and the font's height (tmHeight) tall; lines are tmHeight apart;
// - tab stops (multi-line) are every 32 dialog units (8 average characters) unless
//   EM_SETTABSTOPS gives others; a dialog unit is a quarter of the average character width;
// - the password character is '*';
// - a single-line control scrolls by a third of its width when the caret leaves the view;
// - Ctrl+A selects nothing (the classic control has no select-all key);
// - the wheel scrolls SPI_GETWHEELSCROLLLINES lines (3) a notch.
#include <string>
#include <vector>

#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/EditText.h"
#include "platform/user/NativeControlCommon.h"

// The timer that scrolls while the mouse selects beyond the view.
constexpr UINT_PTR kEditTrackTimer = 0x4544;

struct TEditData : TNativeControlData {
  HWND Wnd = nullptr;
  TEditText Text;
  TFontMetrics Metrics;
  Integer Anchor = 0;  // the selection is [min, max) of Anchor and Caret
  Integer Caret = 0;
  Integer XOffset = 0;  // pixels scrolled to the left
  Integer TopLine = 0;  // multi-line: first visible line
  TRect Given;          // EM_SETRECT's rectangle (client coordinates)
  bool GivenSet = false;
  TRect Format;  // the formatting rectangle: Given or the client, less the margins
  Integer LeftMargin = 0;
  Integer RightMargin = 0;
  UINT Limit = 32767;
  bool Modified = false;
  char16_t PasswordChar = 0;
  std::vector<Integer> TabStops;  // dialog units
  bool Focused = false;
  bool Tracking = false;       // selecting with the left button held (captured)
  TPoint TrackPoint;           // the last mouse point while tracking
  char16_t HighSurrogate = 0;  // the first half of a character typed in two WM_CHARs
  Integer WheelRest = 0;
  HWND Combo = nullptr;     // the combo box this edit belongs to: it gets the list keys
  bool Notify = true;       // EN_UPDATE / EN_CHANGE go to the parent
  SCROLLINFO LastV, LastH;  // what the scroll bars were last given
};

TEditData* EditDataOf(HWND Wnd);
DWORD EditStyle(const TEditData& D);
inline bool IsMultiLine(const TEditData& D) {
  return (EditStyle(D) & ES_MULTILINE) != 0;
}
// Multi-line without ES_AUTOHSCROLL: lines wrap at the formatting rectangle's width.
bool WordWraps(const TEditData& D);
inline Integer SelMin(const TEditData& D) {
  return D.Anchor < D.Caret ? D.Anchor : D.Caret;
}
inline Integer SelMax(const TEditData& D) {
  return D.Anchor < D.Caret ? D.Caret : D.Anchor;
}

// ---- EditControl.cpp --------------------------------------------------------------------------
// Replaces the selection with Text as the user's editing does: case conversion, the limit
// (EN_MAXTEXT, the text cut to fit), for fixed views (no ES_AUTOHSCROLL single-line, no
// ES_AUTOVSCROLL multi-line) refused when it does not fit, the undo record, the modified flag,
// the caret after the text scrolled into view, EN_UPDATE and EN_CHANGE. False when nothing
// changed.
bool EditReplaceSel(TEditData& D, std::u16string Text, bool Undoable);
// Moves the selection (positions clamped) and redraws what changed; the caret follows.
void EditSetSel(TEditData& D, Integer Anchor, Integer Caret);
// EN_UPDATE, a redraw and EN_CHANGE after the text changed.
void EditTextChanged(TEditData& D);
// EM_UNDO / WM_UNDO.
bool EditUndo(TEditData& D);
void EditBeep();

// ---- EditView.cpp -----------------------------------------------------------------------------
// The formatting rectangle and the lines, after the text, the font, the size or the styles
// changed; the scroll positions are kept in range and the scroll bars updated.
void EditLayout(TEditData& D);
Integer EditLineHeight(const TEditData& D);
// Whole lines the formatting rectangle shows (at least 1).
Integer EditVisibleLines(const TEditData& D);
// Pixel extents of a line's units (see TEditMeasure).
void EditLineEnds(TEditData& D, Integer Line, std::vector<Integer>& Ends);
// Client coordinates of the top-left of the cell at Pos.
TPoint EditPosFromChar(TEditData& D, Integer Pos);
// The position nearest to a client point, and the line it is on.
Integer EditCharFromPoint(TEditData& D, TPoint P, Integer* Line = nullptr);
// The position on Line nearest to X (pixels from the line's start).
Integer EditCharFromX(TEditData& D, Integer Line, Integer X);
// The position on Line nearest to the client x X.
Integer EditCharOnLine(TEditData& D, Integer Line, Integer X);
// The last caret position of a line (before a wrapped line's hanging blank).
Integer EditLineEndPos(const TEditData& D, Integer Line);
// Scrolls so the caret shows; true when the view moved.
bool EditScrollCaret(TEditData& D);
// Scrolls the view to TopLine / XOffset (clamped) and redraws; true when it moved.
bool EditScrollTo(TEditData& D, Integer TopLine, Integer XOffset);
void EditUpdateCaret(TEditData& D);
void EditUpdateScrollBars(TEditData& D);
void EditInvalidate(TEditData& D);
void EditPaint(HWND Wnd, HDC DC);
// WM_VSCROLL / WM_HSCROLL / EM_SCROLL: the lines or pixels scrolled.
Integer EditVScroll(TEditData& D, WORD Code, Integer Thumb);
Integer EditHScroll(TEditData& D, WORD Code, Integer Thumb);

// ---- EditInput.cpp ----------------------------------------------------------------------------
// False for keys the edit does not use.
bool EditKeyDown(TEditData& D, WPARAM Key, LPARAM Flags);
LRESULT EditChar(TEditData& D, WPARAM Char);
LRESULT EditMouse(TEditData& D, UINT Msg, WPARAM Keys, LPARAM Pos);
void EditTimer(TEditData& D);
void EditStopTracking(TEditData& D);
LRESULT EditWheel(TEditData& D, WPARAM WParam);
// WM_COPY, WM_CUT, WM_PASTE, WM_CLEAR.
void EditCopy(TEditData& D);
void EditCut(TEditData& D);
void EditPaste(TEditData& D);
void EditClear(TEditData& D);
void EditContextMenu(TEditData& D, LPARAM ScreenPos);

// Ties an edit to the combo box it belongs to (the combo's list keys and Enter/Escape while
// the list is open go to the combo).
void SetEditCombo(HWND Edit, HWND Combo);
