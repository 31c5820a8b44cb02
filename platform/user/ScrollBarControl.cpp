// The scroll-bar control.
#include "platform/user/ScrollBarControl.h"

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// The control keeps only the font; the bar's state lives in the SB_CTL slot of ScrollBars.h.
struct TScrollBarData : TNativeControlData {};

bool IsBox(DWORD Style) {
  return Style & (SBS_SIZEBOX | SBS_SIZEGRIP);
}

void Paint(HWND Wnd, HDC DC) {
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr) return;
  const DWORD Style = W->Style;
  RECT R = ClientRectOf(Wnd);
  if (IsBox(Style)) {
    FillSysColor(DC, R, COLOR_3DFACE);
    if (Style & SBS_SIZEGRIP) DrawFrameControl(DC, &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  HBRUSH Track = ControlColorBrush(Wnd, DC, WM_CTLCOLORSCROLLBAR);
  // The default answer means the classic dither.
  if (Track == GetSysColorBrush(COLOR_SCROLLBAR)) Track = nullptr;
  if ((W = PeekWindow(Wnd)) == nullptr) return;
  DrawScrollBar(DC, R, Style & SBS_VERT, ScrollStateOf(W, SB_CTL), IsWindowEnabled(Wnd), Track);
}

// The standard thickness at the edge the alignment styles name.
void AlignOnCreate(HWND Wnd, const CREATESTRUCT* CS) {
  if (CS == nullptr) return;
  const DWORD Style = static_cast<DWORD>(CS->style);
  Integer X = CS->x, Y = CS->y, Cx = CS->cx, Cy = CS->cy;
  if (IsBox(Style)) {
    const Integer W = GetSystemMetrics(SM_CXVSCROLL), H = GetSystemMetrics(SM_CYHSCROLL);
    if (Style & SBS_SIZEBOXBOTTOMRIGHTALIGN) {
      X += Cx - W;
      Y += Cy - H;
    } else if (!(Style & SBS_SIZEBOXTOPLEFTALIGN)) {
      return;
    }
    Cx = W;
    Cy = H;
  } else if (Style & SBS_VERT) {
    const Integer W = GetSystemMetrics(SM_CXVSCROLL);
    if (Style & SBS_RIGHTALIGN)
      X += Cx - W;
    else if (!(Style & SBS_LEFTALIGN))
      return;
    Cx = W;
  } else {
    const Integer H = GetSystemMetrics(SM_CYHSCROLL);
    if (Style & SBS_BOTTOMALIGN)
      Y += Cy - H;
    else if (!(Style & SBS_TOPALIGN))
      return;
    Cy = H;
  }
  SetWindowPos(Wnd, nullptr, X, Y, Cx, Cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeyDown(HWND Wnd, WPARAM Key) {
  WORD Code;
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
      Code = SB_LINEUP;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      Code = SB_LINEDOWN;
      break;
    case VK_PRIOR:
      Code = SB_PAGEUP;
      break;
    case VK_NEXT:
      Code = SB_PAGEDOWN;
      break;
    case VK_HOME:
      Code = SB_TOP;
      break;
    case VK_END:
      Code = SB_BOTTOM;
      break;
    default:
      return;
  }
  NotifyScroll(Wnd, GetWindowLongPtr(Wnd, GWL_STYLE) & SBS_VERT, Code, 0);
}

bool IsScrollKey(WPARAM Key) {
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

LRESULT SetInfo(HWND Wnd, TWindow* W, const SCROLLINFO& Info, bool Redraw) {
  TScrollBarState& S = ScrollStateOf(W, SB_CTL);
  const Integer Pos = ApplyScrollInfo(S, Info);
  if ((Info.fMask & SIF_DISABLENOSCROLL) && (Info.fMask & (SIF_RANGE | SIF_PAGE)))
    S.Arrows = S.Needed() ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
  if (Redraw) InvalidateRect(Wnd, nullptr, FALSE);
  return Pos;
}

BOOL BarInfo(HWND Wnd, TWindow* W, SCROLLBARINFO& Info) {
  const TScrollBarState& S = ScrollStateOf(W, SB_CTL);
  const bool Vertical = W->Style & SBS_VERT;
  const TRect R = ClientRectOf(Wnd);
  const TPoint O = ClientOriginOnScreen(W);
  Info.rcScrollBar = OffsetRectBy(R, O.X, O.Y);
  const bool Enabled = IsWindowEnabled(Wnd) && S.Arrows != ESB_DISABLE_BOTH;
  const TScrollGeometry G = ScrollBarGeometry(R, Vertical, S, Enabled);
  Info.dxyLineButton = G.Arrow;
  Info.xyThumbTop = G.ThumbSize ? G.ThumbPos : 0;
  Info.xyThumbBottom = G.ThumbSize ? G.ThumbPos + G.ThumbSize : 0;
  for (DWORD& St : Info.rgstate) St = 0;
  if (!IsWindowVisible(Wnd)) Info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (!Enabled || !S.Needed()) Info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (!Enabled || (S.Arrows & ESB_DISABLE_UP)) Info.rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
  if (!Enabled || (S.Arrows & ESB_DISABLE_DOWN)) Info.rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
  if (G.ThumbSize == 0) Info.rgstate[3] |= STATE_SYSTEM_INVISIBLE;
  static constexpr TScrollPart Parts[6] = {TScrollPart::None,  TScrollPart::LineUp,   TScrollPart::PageUp,
                                           TScrollPart::Thumb, TScrollPart::PageDown, TScrollPart::LineDown};
  for (Integer I = 1; I < 6; ++I)
    if (S.Pressed == Parts[I]) Info.rgstate[I] |= STATE_SYSTEM_PRESSED;
  return TRUE;
}

LRESULT ScrollBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TScrollBarData* D = ControlData<TScrollBarData>(Wnd);
  TWindow* W = PeekWindow(Wnd);
  if (D == nullptr || W == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  TScrollBarState& S = ScrollStateOf(W, SB_CTL);
  switch (Msg) {
    case WM_CREATE:
      AlignOnCreate(Wnd, reinterpret_cast<const CREATESTRUCT*>(LParam));
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (IsBox(W->Style)) {
        HWND Target = GetAncestor(Wnd, GA_ROOT);
        POINT P = MousePoint(LParam);
        ClientToScreen(Wnd, &P);
        if (Target != nullptr && Target != Wnd)
          SendMessage(Target, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, MAKELPARAM(P.X, P.Y));
        return 0;
      }
      if (W->Style & WS_TABSTOP) SetFocus(Wnd);
      if ((W = PeekWindow(Wnd)) == nullptr) return 0;
      POINT P = MousePoint(LParam);
      ClientToScreen(Wnd, &P);
      TrackScrollBar(WindowScrollTarget(W, SB_CTL), P);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (IsBox(W->Style) || !IsScrollKey(WParam)) return DefWindowProc(Wnd, Msg, WParam, LParam);
      if (Msg == WM_KEYDOWN)
        KeyDown(Wnd, WParam);
      else
        NotifyScroll(Wnd, W->Style & SBS_VERT, SB_ENDSCROLL, 0);
      return 0;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case SBM_SETPOS: {
      const Integer Old = S.Pos;
      SCROLLINFO Info;
      Info.fMask = SIF_POS;
      Info.nPos = static_cast<Integer>(WParam);
      SetInfo(Wnd, W, Info, LParam != 0);
      return Old;
    }
    case SBM_GETPOS:
      return S.Pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const Integer Old = S.Pos;
      SCROLLINFO Info;
      Info.fMask = SIF_RANGE;
      Info.nMin = static_cast<Integer>(WParam);
      Info.nMax = static_cast<Integer>(LParam);
      SetInfo(Wnd, W, Info, Msg == SBM_SETRANGEREDRAW);
      return Old;
    }
    case SBM_GETRANGE:
      if (auto* Min = reinterpret_cast<Integer*>(WParam)) *Min = S.Min;
      if (auto* Max = reinterpret_cast<Integer*>(LParam)) *Max = S.Max;
      return 0;
    case SBM_SETSCROLLINFO: {
      const auto* Info = reinterpret_cast<const SCROLLINFO*>(LParam);
      return Info != nullptr ? SetInfo(Wnd, W, *Info, WParam != 0) : S.Pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* Info = reinterpret_cast<SCROLLINFO*>(LParam);
      if (Info == nullptr) return FALSE;
      ReadScrollInfo(S, *Info);
      return TRUE;
    }
    case SBM_GETSCROLLBARINFO: {
      auto* Info = reinterpret_cast<SCROLLBARINFO*>(LParam);
      return Info != nullptr ? BarInfo(Wnd, W, *Info) : FALSE;
    }
    case SBM_ENABLE_ARROWS: {
      const UINT Arrows = static_cast<UINT>(WParam) & ESB_DISABLE_BOTH;
      if (S.Arrows == Arrows) return FALSE;
      S.Arrows = Arrows;
      InvalidateRect(Wnd, nullptr, FALSE);
      return TRUE;
    }
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterScrollBarClass() {
  RegisterControlClass(WC_SCROLLBAR, ScrollBarWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, -1);
}
