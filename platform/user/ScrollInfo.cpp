// Scroll-bar state: SetScrollInfo and its relatives, ShowScrollBar, EnableScrollBar and
// GetScrollBarInfo.
#include <algorithm>

#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

struct TScrollBarsAddOn : TWindowAddOn {
  TScrollBarState Bars[3];  // SB_HORZ, SB_VERT, SB_CTL
  bool Made[3] = {false, false, false};
};

TScrollBarsAddOn& BarsOf(TWindow* W) {
  auto& Slot = W->AddOns[waScrollBars];
  if (!Slot) Slot = std::make_unique<TScrollBarsAddOn>();
  return static_cast<TScrollBarsAddOn&>(*Slot);
}

bool HasBarData(TWindow* W, Integer Bar) {
  const auto* A = static_cast<const TScrollBarsAddOn*>(W->AddOns[waScrollBars].get());
  return A != nullptr && A->Made[Bar];
}

DWORD StyleBit(Integer Bar) {
  return Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

// Shows or hides the window's own bars (Bar: SB_HORZ, SB_VERT or SB_BOTH); true when the
// frame changed.
bool SetBarsShown(TWindow* W, Integer Bar, bool Show) {
  const DWORD Bits = Bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : StyleBit(Bar);
  const DWORD NewStyle = Show ? (W->Style | Bits) : (W->Style & ~Bits);
  if (NewStyle == W->Style) return false;
  W->Style = NewStyle;
  SetWindowPos(W->Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace

TScrollBarState& ScrollStateOf(TWindow* W, Integer Bar) {
  TScrollBarsAddOn& A = BarsOf(W);
  A.Made[Bar] = true;
  return A.Bars[Bar];
}

Integer ApplyScrollInfo(TScrollBarState& S, const SCROLLINFO& Info) {
  if (Info.fMask & SIF_RANGE) {
    S.Min = Info.nMin;
    S.Max = Info.nMax;
  }
  const Integer Top = std::max(S.Max, S.Min);
  const Int64 Count = static_cast<Int64>(Top) - S.Min + 1;
  if (Info.fMask & SIF_PAGE) S.Page = Info.nPage;
  if (static_cast<Int64>(S.Page) > Count) S.Page = static_cast<UINT>(Count);
  if (Info.fMask & SIF_POS) S.Pos = Info.nPos;
  const Int64 Last = static_cast<Int64>(Top) - std::max<Int64>(static_cast<Int64>(S.Page) - 1, 0);
  S.Pos = static_cast<Integer>(std::clamp<Int64>(S.Pos, S.Min, std::max<Int64>(Last, S.Min)));
  return S.Pos;
}

void ReadScrollInfo(const TScrollBarState& S, SCROLLINFO& Info) {
  if (Info.fMask & SIF_RANGE) {
    Info.nMin = S.Min;
    Info.nMax = S.Max;
  }
  if (Info.fMask & SIF_PAGE) Info.nPage = S.Page;
  if (Info.fMask & SIF_POS) Info.nPos = S.Pos;
  if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = S.Tracking ? S.TrackPos : S.Pos;
}

Integer SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw) {
  InstallNonClient();
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Info == nullptr) return 0;
  if (Bar == SB_CTL)
    return static_cast<Integer>(SendTo(W, SBM_SETSCROLLINFO, Redraw, reinterpret_cast<LPARAM>(Info)));
  if (Bar != SB_HORZ && Bar != SB_VERT) return 0;
  TScrollBarState& S = ScrollStateOf(W, Bar);
  const Integer Pos = ApplyScrollInfo(S, *Info);
  if (Info->fMask & (SIF_RANGE | SIF_PAGE)) {
    // A bar with nothing to scroll is hidden, or disabled with SIF_DISABLENOSCROLL.
    const bool Needed = S.Needed();
    if (Info->fMask & SIF_DISABLENOSCROLL) {
      S.Arrows = Needed ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
      if (SetBarsShown(W, Bar, true)) return Pos;
    } else if (SetBarsShown(W, Bar, Needed)) {
      return Pos;
    }
  }
  if (Redraw && (W = PeekWindow(Wnd)) != nullptr) RedrawWindowScrollBar(W, Bar);
  return Pos;
}

BOOL GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Info == nullptr) return FALSE;
  if (Bar == SB_CTL) return SendTo(W, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(Info)) ? TRUE : FALSE;
  if (Bar != SB_HORZ && Bar != SB_VERT) return FALSE;
  if (!HasBarData(W, Bar) && !(W->Style & StyleBit(Bar))) return FALSE;
  ReadScrollInfo(ScrollStateOf(W, Bar), *Info);
  return TRUE;
}

Integer SetScrollPos(HWND Wnd, Integer Bar, Integer Pos, BOOL Redraw) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  if (Bar == SB_CTL) return static_cast<Integer>(SendTo(W, SBM_SETPOS, static_cast<WPARAM>(Pos), Redraw));
  if (Bar != SB_HORZ && Bar != SB_VERT) return 0;
  const Integer Old = ScrollStateOf(W, Bar).Pos;
  SCROLLINFO Info;
  Info.fMask = SIF_POS;
  Info.nPos = Pos;
  SetScrollInfo(Wnd, Bar, &Info, Redraw);
  return Old;
}

Integer GetScrollPos(HWND Wnd, Integer Bar) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  if (Bar == SB_CTL) return static_cast<Integer>(SendTo(W, SBM_GETPOS, 0, 0));
  if (Bar != SB_HORZ && Bar != SB_VERT) return 0;
  return HasBarData(W, Bar) ? ScrollStateOf(W, Bar).Pos : 0;
}

BOOL SetScrollRange(HWND Wnd, Integer Bar, Integer Min, Integer Max, BOOL Redraw) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  if (Bar == SB_CTL) {
    SendTo(W, Redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(Min), static_cast<LPARAM>(Max));
    return TRUE;
  }
  if (Bar != SB_HORZ && Bar != SB_VERT) return FALSE;
  SCROLLINFO Info;
  Info.fMask = SIF_RANGE;
  Info.nMin = Min;
  Info.nMax = Max;
  SetScrollInfo(Wnd, Bar, &Info, Redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND Wnd, Integer Bar, Integer* Min, Integer* Max) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Min == nullptr || Max == nullptr) return FALSE;
  if (Bar == SB_CTL) {
    SendTo(W, SBM_GETRANGE, reinterpret_cast<WPARAM>(Min), reinterpret_cast<LPARAM>(Max));
    return TRUE;
  }
  if (Bar != SB_HORZ && Bar != SB_VERT) return FALSE;
  if (!HasBarData(W, Bar) && !(W->Style & StyleBit(Bar))) {
    *Min = *Max = 0;
    return TRUE;
  }
  const TScrollBarState& S = ScrollStateOf(W, Bar);
  *Min = S.Min;
  *Max = S.Max;
  return TRUE;
}

BOOL ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show) {
  InstallNonClient();
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  if (Bar == SB_CTL) {
    ShowWindow(Wnd, Show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (Bar != SB_HORZ && Bar != SB_VERT && Bar != SB_BOTH) return FALSE;
  SetBarsShown(W, Bar, Show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  if (Bar == SB_CTL) return SendTo(W, SBM_ENABLE_ARROWS, Arrows, 0) ? TRUE : FALSE;
  if (Bar != SB_HORZ && Bar != SB_VERT && Bar != SB_BOTH) return FALSE;
  bool Changed = false;
  for (Integer B : {SB_HORZ, SB_VERT}) {
    if (Bar != SB_BOTH && static_cast<Integer>(Bar) != B) continue;
    TScrollBarState& S = ScrollStateOf(W, B);
    if (S.Arrows == (Arrows & ESB_DISABLE_BOTH)) continue;
    S.Arrows = Arrows & ESB_DISABLE_BOTH;
    Changed = true;
    RedrawWindowScrollBar(W, B);
  }
  return Changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Info == nullptr) return FALSE;
  if (Object == OBJID_CLIENT)
    return SendTo(W, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(Info)) ? TRUE : FALSE;
  if (Object != OBJID_HSCROLL && Object != OBJID_VSCROLL) return FALSE;
  const Integer Bar = Object == OBJID_HSCROLL ? SB_HORZ : SB_VERT;
  const bool Vertical = Bar == SB_VERT;
  const bool Shown = (W->Style & StyleBit(Bar)) != 0 && !(W->Style & WS_MINIMIZE);
  // The rectangle the bar takes (or would take) beside the client area.
  const TRect C = ClientInWindow(W);
  const TRect R = Vertical ? TRect{C.Right, C.Top, C.Right + GetSystemMetrics(SM_CXVSCROLL), C.Bottom}
                           : TRect{C.Left, C.Bottom, C.Right, C.Bottom + GetSystemMetrics(SM_CYHSCROLL)};
  const TPoint O = WindowOriginOnScreen(W);
  Info->rcScrollBar = Moved(R, O.X, O.Y);
  const TScrollBarState& S = ScrollStateOf(W, Bar);
  const bool Enabled = S.Arrows != ESB_DISABLE_BOTH && !(W->Style & WS_DISABLED);
  const TScrollGeometry G = ScrollBarGeometry(R, Vertical, S, Enabled);
  Info->dxyLineButton = G.Arrow;
  Info->xyThumbTop = G.ThumbSize ? G.ThumbPos : 0;
  Info->xyThumbBottom = G.ThumbSize ? G.ThumbPos + G.ThumbSize : 0;
  for (DWORD& St : Info->rgstate) St = 0;
  if (!Shown) Info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (!Enabled || !S.Needed()) Info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (!Enabled || (S.Arrows & ESB_DISABLE_UP)) Info->rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
  if (!Enabled || (S.Arrows & ESB_DISABLE_DOWN)) Info->rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
  if (G.ThumbSize == 0) Info->rgstate[3] |= STATE_SYSTEM_INVISIBLE;
  static constexpr TScrollPart Parts[6] = {TScrollPart::None,  TScrollPart::LineUp,   TScrollPart::PageUp,
                                           TScrollPart::Thumb, TScrollPart::PageDown, TScrollPart::LineDown};
  for (Integer I = 1; I < 6; ++I)
    if (S.Pressed == Parts[I]) Info->rgstate[I] |= STATE_SYSTEM_PRESSED;
  return TRUE;
}
