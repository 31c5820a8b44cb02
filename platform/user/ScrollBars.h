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
#include "platform/user/ScrollInfo.h"
#include "platform/user/WindowInternals.h"

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
