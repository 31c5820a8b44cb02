// The modal tracking loop of a scroll bar: arrows and page parts with auto-repeat, thumb drags.
#include <algorithm>

#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr UINT_PTR RepeatTimer = 0xFFF1;  // kept by the loop, never dispatched
constexpr UINT FirstRepeat = 250;
constexpr UINT NextRepeat = 50;

struct TTracking {
  TScrollTrackTarget T;
  TScrollPart Part = TScrollPart::None;
  bool Done = false;
};

bool TrackStops(void* Ctx) {
  auto* K = static_cast<TTracking*>(Ctx);
  return K->Done || PeekWindow(K->T.Wnd) == nullptr || GetCapture() != K->T.Wnd;
}

TPoint Origin(TWindow* W, const TScrollTrackTarget& T) {
  return T.Bar == SB_CTL ? ClientOriginOnScreen(W) : WindowOriginOnScreen(W);
}

bool BarEnabled(TWindow* W) {
  return !(W->Style & WS_DISABLED);
}

void Redraw(TWindow* W, const TScrollTrackTarget& T) {
  if (T.Bar != SB_CTL) {
    RedrawWindowScrollBar(W, T.Bar);
    return;
  }
  InvalidateRect(W->Handle, nullptr, FALSE);
  UpdateWindow(W->Handle);
}

void Notify(const TScrollTrackTarget& T, WORD Code, Integer Pos) {
  TWindow* N = PeekWindow(T.Notify);
  if (N == nullptr) return;
  SendTo(N, T.Vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, static_cast<WORD>(Pos)), T.NotifyParam);
}

WORD CommandOf(TScrollPart Part) {
  switch (Part) {
    case TScrollPart::LineUp:
      return SB_LINEUP;
    case TScrollPart::LineDown:
      return SB_LINEDOWN;
    case TScrollPart::PageUp:
      return SB_PAGEUP;
    default:
      return SB_PAGEDOWN;
  }
}

// The part under the screen point P, with the bar as it is now.
TScrollPart PartUnder(TTracking& K, TPoint P) {
  TWindow* W = PeekWindow(K.T.Wnd);
  if (W == nullptr) return TScrollPart::None;
  const TPoint O = Origin(W, K.T);
  return ScrollBarPartAt(K.T.Rect, K.T.Vertical, ScrollStateOf(W, K.T.Bar), BarEnabled(W),
                         TPoint{P.X - O.X, P.Y - O.Y});
}

void SetPressed(TTracking& K, TScrollPart Part) {
  TWindow* W = PeekWindow(K.T.Wnd);
  if (W == nullptr) return;
  TScrollBarState& S = ScrollStateOf(W, K.T.Bar);
  if (S.Pressed == Part) return;
  S.Pressed = Part;
  Redraw(W, K.T);
}

void TrackButton(TTracking& K) {
  bool Inside = true;
  SetPressed(K, K.Part);
  Notify(K.T, CommandOf(K.Part), 0);
  SetTimer(K.T.Wnd, RepeatTimer, FirstRepeat, nullptr);
  MSG M;
  while (ModalNextMessage(M, TrackStops, &K)) {
    if (M.message == WM_TIMER && M.hwnd == K.T.Wnd && M.wParam == RepeatTimer) {
      // A page click stops repeating once the thumb has reached the mouse.
      if (Inside && PartUnder(K, LastMousePosition()) == K.Part) Notify(K.T, CommandOf(K.Part), 0);
      if (PeekWindow(K.T.Wnd) != nullptr) SetTimer(K.T.Wnd, RepeatTimer, NextRepeat, nullptr);
      continue;
    }
    switch (M.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        Inside = PartUnder(K, M.pt) == K.Part;
        SetPressed(K, Inside ? K.Part : TScrollPart::None);
        break;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        K.Done = true;
        break;
      default:
        if (!IsMouseMsg(M.message) && !IsKeyMsg(M.message)) DispatchMessage(&M);
        break;
    }
  }
  if (PeekWindow(K.T.Wnd) != nullptr) KillTimer(K.T.Wnd, RepeatTimer);
}

void TrackThumb(TTracking& K, TPoint Start) {
  TWindow* W = PeekWindow(K.T.Wnd);
  TScrollBarState& S0 = ScrollStateOf(W, K.T.Bar);
  const TScrollGeometry G0 = ScrollBarGeometry(K.T.Rect, K.T.Vertical, S0, BarEnabled(W));
  const TPoint O0 = Origin(W, K.T);
  const Integer BarStart = K.T.Vertical ? K.T.Rect.Top : K.T.Rect.Left;
  const Integer Grab = (K.T.Vertical ? Start.Y - O0.Y : Start.X - O0.X) - BarStart - G0.ThumbPos;
  S0.Tracking = true;
  S0.TrackPos = S0.Pos;
  SetPressed(K, TScrollPart::Thumb);
  auto Follow = [&](TPoint P) {
    TWindow* Now = PeekWindow(K.T.Wnd);
    if (Now == nullptr) return;
    TScrollBarState& S = ScrollStateOf(Now, K.T.Bar);
    const TScrollGeometry G = ScrollBarGeometry(K.T.Rect, K.T.Vertical, S, BarEnabled(Now));
    if (G.ThumbSize == 0) return;
    const TPoint O = Origin(Now, K.T);
    const Integer Free = G.Length - 2 * G.Arrow - G.ThumbSize;
    const Integer At =
        std::clamp((K.T.Vertical ? P.Y - O.Y : P.X - O.X) - BarStart - Grab, G.Arrow, G.Arrow + Free);
    const Int64 SpanCount =
        static_cast<Int64>(S.Max) - S.Min - std::max<Int64>(static_cast<Int64>(S.Page) - 1, 0);
    Integer Pos = S.Min;
    if (Free > 0 && SpanCount > 0)
      Pos = S.Min + static_cast<Integer>((static_cast<Int64>(At - G.Arrow) * SpanCount + Free / 2) / Free);
    if (Pos == S.TrackPos) return;
    S.TrackPos = Pos;
    Redraw(Now, K.T);
    Notify(K.T, SB_THUMBTRACK, Pos);
  };
  MSG M;
  while (ModalNextMessage(M, TrackStops, &K)) {
    switch (M.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        Follow(M.pt);
        break;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        Follow(M.pt);
        K.Done = true;
        break;
      default:
        if (!IsMouseMsg(M.message) && !IsKeyMsg(M.message)) DispatchMessage(&M);
        break;
    }
  }
  if (TWindow* Now = PeekWindow(K.T.Wnd)) {
    const Integer Final = ScrollStateOf(Now, K.T.Bar).TrackPos;
    if (K.Done) Notify(K.T, SB_THUMBPOSITION, Final);
  }
  if (TWindow* Now = PeekWindow(K.T.Wnd)) ScrollStateOf(Now, K.T.Bar).Tracking = false;
}

}  // namespace

TScrollTrackTarget WindowScrollTarget(TWindow* W, Integer Bar) {
  TScrollTrackTarget T;
  T.Wnd = W->Handle;
  T.Bar = Bar;
  if (Bar == SB_CTL) {
    T.Vertical = (W->Style & SBS_VERT) != 0;
    T.Rect = TRect{0, 0, W->Client.Width(), W->Client.Height()};
    T.Notify = W->IsChild() ? W->Parent->Handle : (W->Owner != nullptr ? W->Owner->Handle : nullptr);
    T.NotifyParam = reinterpret_cast<LPARAM>(W->Handle);
    return T;
  }
  const TNcLayout L = NcLayoutOf(W);
  T.Vertical = Bar == SB_VERT;
  T.Rect = T.Vertical ? L.VScroll : L.HScroll;
  T.Notify = W->Handle;
  return T;
}

void TrackScrollBar(const TScrollTrackTarget& Target, TPoint Start) {
  TWindow* W = PeekWindow(Target.Wnd);
  if (W == nullptr || IsEmptyRect(Target.Rect)) return;
  TTracking K;
  K.T = Target;
  K.Part = PartUnder(K, Start);
  const TScrollBarState& S = ScrollStateOf(W, Target.Bar);
  if (K.Part == TScrollPart::None) return;
  if (K.Part == TScrollPart::LineUp && (S.Arrows & ESB_DISABLE_UP)) return;
  if (K.Part == TScrollPart::LineDown && (S.Arrows & ESB_DISABLE_DOWN)) return;
  SetCapture(Target.Wnd);
  if (K.Part == TScrollPart::Thumb)
    TrackThumb(K, Start);
  else
    TrackButton(K);
  SetPressed(K, TScrollPart::None);
  if (GetCapture() == Target.Wnd) ReleaseCapture();
  Notify(Target, SB_ENDSCROLL, 0);
}
