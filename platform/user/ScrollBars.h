#pragma once
// Scroll bars: the window scroll bars (WS_HSCROLL / WS_VSCROLL) and the pieces a scroll-bar
// control (SB_CTL) and the skin library reuse: the state with the platform's clamping, the
// geometry, the classic drawing and the modal tracking loop.
//
// Clamping: the page is at most the range's size (Max - Min + 1); the position stays within
// [Min, Max - max(Page - 1, 0)].
// Geometry along the bar of length Len: the arrows are SM_CYVSCROLL (vertical) or
// SM_CXHSCROLL long, at most Len / 2 each; the track between them is Len - 2 arrows; the thumb
// is max(MulDiv(Track, Page, Max - Min + 1), SM_CYVTHUMB / SM_CXHTHUMB) long (that minimum
// alone with Page 0) and is left out when it does not fit the track, when the bar is disabled
// or when the range is empty. Its offset is Arrow + MulDiv(Pos - Min, Track - Thumb, Span)
// with Span = Max - Min - max(Page - 1, 0).
// Tracking: arrows and track clicks repeat their command after 250 ms, then every 50 ms,
// while the button stays down on the part (a track click stops when the thumb reaches the
// mouse); the thumb sends SB_THUMBTRACK when the position changes and SB_THUMBPOSITION at the
// release; every tracking ends with SB_ENDSCROLL.
#include "platform/user/WindowInternals.h"

// Scroll-bar control styles and messages
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOXTOPLEFTALIGN = 0x0002;
constexpr DWORD SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOX = 0x0008;
constexpr DWORD SBS_SIZEGRIP = 0x0010;
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
constexpr UINT SBM_GETSCROLLBARINFO = 0x00EB;

// ---- The calls --------------------------------------------------------------------------
// Bar: SB_HORZ, SB_VERT (the window's own bars) or SB_CTL (Wnd is a scroll-bar control; the
// call goes to it as the SBM_* message). Returns the new position.
Integer SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info);
// Returns the previous position.
Integer SetScrollPos(HWND Wnd, Integer Bar, Integer Pos, BOOL Redraw);
Integer GetScrollPos(HWND Wnd, Integer Bar);
// Min = Max hides a window scroll bar.
BOOL SetScrollRange(HWND Wnd, Integer Bar, Integer Min, Integer Max, BOOL Redraw);
BOOL GetScrollRange(HWND Wnd, Integer Bar, Integer* Min, Integer* Max);
// Adds or removes WS_HSCROLL / WS_VSCROLL (SB_BOTH: both) and recalculates the frame.
BOOL ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show);
// Arrows: ESB_*; FALSE when they are so already.
BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows);
// Object: OBJID_HSCROLL, OBJID_VSCROLL, or OBJID_CLIENT for a scroll-bar control.
BOOL GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info);

// ---- Reuse: state, geometry, drawing, tracking ---------------------------------------------
enum class TScrollPart : Byte { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct TScrollBarState {
  Integer Min = 0;
  Integer Max = 100;
  UINT Page = 0;
  Integer Pos = 0;
  Integer TrackPos = 0;
  UINT Arrows = ESB_ENABLE_BOTH;  // ESB_DISABLE_* bits
  bool Tracking = false;          // the thumb is dragged: drawn at TrackPos
  TScrollPart Pressed = TScrollPart::None;
  // The position the thumb shows.
  Integer ShownPos() const { return Tracking ? TrackPos : Pos; }
  // The range leaves room to scroll (a window scroll bar is shown or enabled for it).
  bool Needed() const { return Max > Min && Page <= static_cast<UINT>(Max - Min); }
};

// SetScrollInfo's fields with the clamping above; returns the position.
Integer ApplyScrollInfo(TScrollBarState& S, const SCROLLINFO& Info);
void ReadScrollInfo(const TScrollBarState& S, SCROLLINFO& Info);
// The state of a window's bar (SB_HORZ, SB_VERT, or SB_CTL for a control keeping its state
// here), made with the defaults on first use.
TScrollBarState& ScrollStateOf(TWindow* W, Integer Bar);

struct TScrollGeometry {
  Integer Length = 0;     // along the bar
  Integer Arrow = 0;      // each arrow's length
  Integer ThumbPos = 0;   // from the bar's start
  Integer ThumbSize = 0;  // 0: no thumb
};
TScrollGeometry ScrollBarGeometry(const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled);
// The part of the bar at P (the bar's coordinates).
TScrollPart ScrollBarPartAt(const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled,
                            TPoint P);
// Draws the bar in Bar: DFC_SCROLL arrows (pushed flat while pressed), the track in Track or
// the classic dither of COLOR_3DHILIGHT and COLOR_SCROLLBAR (a pressed page part in
// COLOR_3DDKSHADOW), and the thumb as a raised button.
void DrawScrollBar(HDC DC, const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled,
                   HBRUSH Track = nullptr);

// Where a tracked bar lives: the window whose DC draws it (its window DC for SB_HORZ/SB_VERT,
// its client DC for SB_CTL), the rectangle there, and who hears WM_HSCROLL / WM_VSCROLL.
struct TScrollTrackTarget {
  HWND Wnd = nullptr;
  Integer Bar = SB_VERT;
  bool Vertical = true;
  TRect Rect;              // in Wnd's window (SB_HORZ/VERT) or client (SB_CTL) coordinates
  HWND Notify = nullptr;   // receives the scroll messages
  LPARAM NotifyParam = 0;  // their lParam (the control's handle for SB_CTL)
};
// The target of a window's own bar (SB_HORZ / SB_VERT) or of a scroll-bar control (SB_CTL).
TScrollTrackTarget WindowScrollTarget(TWindow* W, Integer Bar);
// The modal tracking loop of a button press at Start (screen): capture, the part's commands
// with auto-repeat, thumb dragging, SB_ENDSCROLL, capture released.
void TrackScrollBar(const TScrollTrackTarget& Target, TPoint Start);

// The window's own bars and size box, drawn into DC (window coordinates) by the frame.
struct TNcLayout;
void DrawWindowScrollBars(TWindow* W, HDC DC, const TNcLayout& L);
// Redraws one of the window's own bars now.
void RedrawWindowScrollBar(TWindow* W, Integer Bar);
