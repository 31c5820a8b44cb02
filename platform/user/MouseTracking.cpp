// TrackMouseEvent: one tracked window for the application. Leaving is seen when a routed mouse
// event finds the mouse elsewhere; hovering is timed by a thread timer on the layer's clock.
#include "platform/user/InputState.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"

namespace {

struct TTracking {
  HWND Wnd = nullptr;
  DWORD Flags = 0;  // TME_LEAVE, TME_HOVER, TME_NONCLIENT
  UINT HoverTime = 400;
  TRect HoverRect;
  UINT_PTR Timer = 0;
};
TTracking GTrack;

// The mouse is in the tracked part (client area, or the frame with TME_NONCLIENT) of Wnd.
bool InArea(HWND Wnd, DWORD Flags, HWND Under, LRESULT Hit) {
  if (Wnd == nullptr || Under != Wnd) return false;
  return (Flags & TME_NONCLIENT) ? Hit != HTCLIENT : Hit == HTCLIENT;
}

void HoverTimerProc(HWND, UINT, UINT_PTR, DWORD);

void StopHover() {
  if (GTrack.Timer != 0) KillTimer(nullptr, GTrack.Timer);
  GTrack.Timer = 0;
  GTrack.Flags &= ~TME_HOVER;
}

// The hover time starts again in a box around P.
void StartHover(TPoint P) {
  UINT Width = 4, Height = 4;
  SystemParametersInfo(SPI_GETMOUSEHOVERWIDTH, 0, &Width, 0);
  SystemParametersInfo(SPI_GETMOUSEHOVERHEIGHT, 0, &Height, 0);
  const Integer Hw = static_cast<Integer>(Width / 2), Hh = static_cast<Integer>(Height / 2);
  GTrack.HoverRect = {P.X - Hw, P.Y - Hh, P.X + Hw + 1, P.Y + Hh + 1};
  GTrack.Timer = SetTimer(nullptr, GTrack.Timer, GTrack.HoverTime, HoverTimerProc);
}

bool InBox(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

void HoverTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TWindow* W = PeekWindow(GTrack.Wnd);
  const TInputState& S = InputState();
  if (W == nullptr || !(GTrack.Flags & TME_HOVER) ||
      !InArea(GTrack.Wnd, GTrack.Flags, S.MouseWnd, S.MouseHit)) {
    StopHover();
    return;
  }
  const TPoint P = LastMousePosition();
  if (!InBox(GTrack.HoverRect, P)) {
    StartHover(P);
    return;
  }
  const HWND Wnd = GTrack.Wnd;
  const DWORD Flags = GTrack.Flags;
  StopHover();
  if (Flags & TME_NONCLIENT) {
    QueueInputMessage(Wnd, WM_NCMOUSEHOVER, static_cast<WPARAM>(S.MouseHit), MAKELPARAM(P.X, P.Y), P);
  } else {
    const TPoint O = ClientOriginOnScreen(W);
    QueueInputMessage(Wnd, WM_MOUSEHOVER, MouseKeyFlags(), MAKELPARAM(P.X - O.X, P.Y - O.Y), P);
  }
}

}  // namespace

void StopMouseTracking() {
  StopHover();
  GTrack = TTracking{};
}

void UpdateMouseTracking(HWND Wnd, LRESULT Hit, TPoint Screen) {
  if (GTrack.Wnd == nullptr) return;
  if (PeekWindow(GTrack.Wnd) == nullptr) return StopMouseTracking();
  if (!InArea(GTrack.Wnd, GTrack.Flags, Wnd, Hit)) {
    // Leaving ends every kind of tracking; WM_MOUSELEAVE comes once.
    if (GTrack.Flags & TME_LEAVE)
      QueueInputMessage(GTrack.Wnd, (GTrack.Flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0,
                        LastMousePosition());
    return StopMouseTracking();
  }
  if ((GTrack.Flags & TME_HOVER) && !InBox(GTrack.HoverRect, Screen)) StartHover(Screen);
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* Track) {
  if (Track == nullptr || Track->cbSize < sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (Track->dwFlags & TME_QUERY) {
    const bool On = PeekWindow(GTrack.Wnd) != nullptr;
    Track->dwFlags = On ? GTrack.Flags : 0;
    Track->hwndTrack = On ? GTrack.Wnd : nullptr;
    Track->dwHoverTime = On ? GTrack.HoverTime : 0;
    return TRUE;
  }
  if (WindowFromHandle(Track->hwndTrack) == nullptr) return FALSE;
  InstallWindowInput();
  const HWND Wnd = Track->hwndTrack;
  const DWORD Want = Track->dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT);
  const bool Same = GTrack.Wnd == Wnd && (GTrack.Flags & TME_NONCLIENT) == (Want & TME_NONCLIENT);
  if (Track->dwFlags & TME_CANCEL) {
    if (Same) {
      if (Want & TME_HOVER) StopHover();
      GTrack.Flags &= ~(Want & TME_LEAVE);
      if (!(GTrack.Flags & (TME_HOVER | TME_LEAVE))) StopMouseTracking();
    }
    return TRUE;
  }
  const TInputState& S = InputState();
  if (!InArea(Wnd, Want, S.MouseWnd, S.MouseHit)) {
    // Not over the window or area: the leave message comes at once.
    if (Want & TME_LEAVE) PostMessage(Wnd, (Want & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  if (!Same) StopMouseTracking();
  GTrack.Wnd = Wnd;
  GTrack.Flags |= Want;
  if (Want & TME_HOVER) {
    UINT Time = Track->dwHoverTime;
    if (Time == HOVER_DEFAULT) SystemParametersInfo(SPI_GETMOUSEHOVERTIME, 0, &Time, 0);
    GTrack.HoverTime = Time;
    StartHover(LastMousePosition());
  }
  return TRUE;
}
