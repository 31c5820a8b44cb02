// The trackbar control.
#include "platform/user/TrackBarControl.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Math.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer DefaultThumbLength = 20;
constexpr Integer ThumbTop = 8;  // across: where the thumb starts
constexpr Integer TickLength = 3;
constexpr Integer TickGap = 2;
constexpr Integer ChannelThickness = 4;
constexpr UINT_PTR PageTimer = 1;
constexpr UINT FirstRepeat = 500;
constexpr UINT NextRepeat = 100;

struct TTrackData : TNativeControlData {
  Integer Min = 0;
  Integer Max = 100;
  Integer Pos = 0;
  Integer Line = 1;
  Integer Page = 20;
  bool PageSet = false;  // TBM_SETPAGESIZE was given: the page no longer follows the range
  Integer TicFreq = 1;
  std::vector<Integer> Tics;     // TBM_SETTIC
  std::vector<DWORD> TicsCache;  // TBM_GETPTICS hands this out
  Integer SelStart = 0;
  Integer SelEnd = 0;
  Integer ThumbLength = DefaultThumbLength;
  bool Focused = false;
  bool Dragging = false;
  Integer DragOffset = 0;  // mouse minus thumb centre along the bar
  bool Paging = false;
  Integer PageDir = 0;  // -1 toward the minimum, +1 toward the maximum
  TPoint LastMouse;
};

DWORD StyleOf(HWND Wnd) {
  return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
}

// The bar's geometry in along/across terms.
struct TLayout {
  bool Vertical = false;
  Integer Length = 0;  // along
  Integer L = 0;       // thumb length (across)
  Integer Tw = 0;      // thumb width (along)
  Integer M = 0;
  Integer Min = 0, Max = 0;
  DWORD Style = 0;

  Integer Span() const { return Length - 2 * M - 1; }
  Integer Centre(Integer P) const {
    if (Max <= Min || Span() <= 0) return M;
    return M + MulDiv(Span(), std::clamp(P, Min, Max) - Min, Max - Min);
  }
  Integer PosAt(Integer C) const {
    if (Max <= Min || Span() <= 0) return Min;
    const Integer V = Min + MulDiv(C - M, Max - Min, Span());
    return std::clamp(V, Min, Max);
  }
  // A rectangle given along and across turned into client coordinates.
  TRect Client(Integer A0, Integer A1, Integer C0, Integer C1) const {
    return Vertical ? TRect{C0, A0, C1, A1} : TRect{A0, C0, A1, C1};
  }
  TRect Thumb(Integer P) const {
    const Integer A = Centre(P) - Tw / 2;
    return Client(A, A + Tw, ThumbTop, ThumbTop + L);
  }
  TRect Channel() const {
    const Integer T = (Style & TBS_ENABLESELRANGE) ? std::max(ChannelThickness, L / 2) : ChannelThickness;
    const Integer C0 = ThumbTop + (L - T) / 2;
    return Client(M, Length - M, C0, C0 + T);
  }
  Integer Along(TPoint P) const { return Vertical ? P.Y : P.X; }
  bool TicksBefore() const { return !(Style & TBS_NOTICKS) && (Style & (TBS_TOP | TBS_BOTH)); }
  bool TicksAfter() const { return !(Style & TBS_NOTICKS) && (!(Style & TBS_TOP) || (Style & TBS_BOTH)); }
  bool PointedThumb() const { return !(Style & (TBS_BOTH | TBS_NOTICKS)); }
};

TLayout LayoutOf(HWND Wnd, const TTrackData& D) {
  TLayout Y;
  Y.Style = StyleOf(Wnd);
  Y.Vertical = Y.Style & TBS_VERT;
  const TRect C = ClientRectOf(Wnd);
  Y.Length = Y.Vertical ? C.Height() : C.Width();
  Y.L = D.ThumbLength;
  Y.Tw = Y.L / 2 + 1;
  Y.M = Y.Tw / 2 + 3;
  Y.Min = D.Min;
  Y.Max = D.Max;
  return Y;
}

// Tics between the ends: TBS_AUTOTICKS's every TicFreq, then TBM_SETTIC's, sorted.
std::vector<Integer> InnerTics(HWND Wnd, const TTrackData& D) {
  std::vector<Integer> T = D.Tics;
  if ((StyleOf(Wnd) & TBS_AUTOTICKS) && D.TicFreq > 0)
    for (Int64 V = static_cast<Int64>(D.Min) + D.TicFreq; V < D.Max; V += D.TicFreq)
      T.push_back(static_cast<Integer>(V));
  std::sort(T.begin(), T.end());
  T.erase(std::unique(T.begin(), T.end()), T.end());
  std::erase_if(T, [&](Integer V) { return V <= D.Min || V >= D.Max; });
  return T;
}

void Redraw(HWND Wnd) {
  InvalidateRect(Wnd, nullptr, FALSE);
}

void Notify(HWND Wnd, WORD Code, Integer Pos = 0) {
  const bool Thumb = Code == TB_THUMBTRACK || Code == TB_THUMBPOSITION;
  NotifyScroll(Wnd, StyleOf(Wnd) & TBS_VERT, Code, Thumb ? Pos : 0);
}

// Moves the position (clamped); true when it changed.
bool MoveTo(HWND Wnd, TTrackData& D, Integer P) {
  P = D.Min <= D.Max ? std::clamp(P, D.Min, D.Max) : D.Min;
  if (P == D.Pos) return false;
  D.Pos = P;
  Redraw(Wnd);
  return true;
}

void RangeChanged(HWND Wnd, TTrackData& D, bool Repaint) {
  if (!D.PageSet) D.Page = std::max(1, (D.Max - D.Min) / 5);
  D.Pos = D.Min <= D.Max ? std::clamp(D.Pos, D.Min, D.Max) : D.Min;
  if (Repaint) Redraw(Wnd);
}

// ---- Painting ---------------------------------------------------------------------------------

void DrawLine(HDC DC, TPoint A, TPoint B, Integer ColorIndex) {
  HPEN Pen = CreatePen(PS_SOLID, 1, GetSysColor(ColorIndex));
  const HGDIOBJ Old = SelectObject(DC, Pen);
  MoveToEx(DC, A.X, A.Y, nullptr);
  LineTo(DC, B.X, B.Y);
  SelectObject(DC, Old);
  DeleteObject(Pen);
}

// The pointed thumb: a body and a point toward the ticks, the light on the side away from the
// light source edges as the classic raised look has it.
void DrawPointedThumb(HDC DC, const TLayout& Y, const TRect& R) {
  // Work in along/across offsets from the thumb's corner; the point is on the "after" side
  // unless the ticks are before (TBS_TOP / TBS_LEFT).
  const bool PointBefore = Y.Style & TBS_TOP;
  const Integer W = Y.Tw, Len = Y.L, Half = W / 2;
  const Integer A0 = Y.Vertical ? R.Top : R.Left, C0 = Y.Vertical ? R.Left : R.Top;
  auto P = [&](Integer A, Integer C) -> TPoint {
    const Integer Across = PointBefore ? C0 + Len - 1 - C : C0 + C;
    return Y.Vertical ? TPoint{Across, A0 + A} : TPoint{A0 + A, Across};
  };
  const Integer Body = Len - 1 - Half;  // last across offset of the body's straight sides
  const POINT Shape[5] = {P(0, 0), P(W - 1, 0), P(W - 1, Body), P(Half, Len - 1), P(0, Body)};
  const HGDIOBJ OldPen = SelectObject(DC, GetStockObject(NULL_PEN));
  const HGDIOBJ OldBrush = SelectObject(DC, GetSysColorBrush(COLOR_3DFACE));
  Polygon(DC, Shape, 5);
  SelectObject(DC, OldBrush);
  SelectObject(DC, OldPen);
  // Outer edges: highlight on the flat end and the first side, dark shadow on the other side and
  // the far slope; inner shadow one pixel inside those.
  const Integer Light = PointBefore ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT;
  const Integer Dark = PointBefore ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW;
  DrawLine(DC, P(0, Body), P(0, 0), Light);
  DrawLine(DC, P(0, 0), P(W - 1, 0), Light);
  DrawLine(DC, P(0, Body), P(Half, Len - 1), Light);
  DrawLine(DC, P(W - 1, 0), P(W - 1, Body), Dark);
  DrawLine(DC, P(W - 1, Body), P(Half, Len - 1), Dark);
  const TPoint Tip = P(Half, Len - 1);
  SetPixelV(DC, Tip.X, Tip.Y, GetSysColor(Dark));
  const Integer Inner = PointBefore ? COLOR_3DLIGHT : COLOR_3DSHADOW;
  DrawLine(DC, P(W - 2, 1), P(W - 2, Body), Inner);
  DrawLine(DC, P(W - 2, Body), P(Half, Len - 2), Inner);
}

void Paint(HWND Wnd, HDC DC) {
  TTrackData* Dp = ControlData<TTrackData>(Wnd);
  if (Dp == nullptr) return;
  const HBRUSH Brush = ControlColorBrush(Wnd, DC, WM_CTLCOLORSTATIC);
  if ((Dp = ControlData<TTrackData>(Wnd)) == nullptr) return;
  const TTrackData& D = *Dp;
  const TRect Client = ClientRectOf(Wnd);
  if (Brush != nullptr) FillRect(DC, &Client, Brush);
  const TLayout Y = LayoutOf(Wnd, D);

  RECT Channel = Y.Channel();
  DrawEdge(DC, &Channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (Y.Style & TBS_ENABLESELRANGE) {
    FillSysColor(DC, Channel, COLOR_WINDOW);
    if (D.SelEnd > D.SelStart) {
      const Integer A0 = Y.Centre(D.SelStart), A1 = Y.Centre(D.SelEnd) + 1;
      const TRect S = Y.Vertical ? TRect{Channel.Left, A0, Channel.Right, A1}
                                 : TRect{A0, Channel.Top, A1, Channel.Bottom};
      FillSysColor(DC, S, COLOR_HIGHLIGHT);
    }
  }

  if (!(Y.Style & TBS_NOTICKS)) {
    std::vector<Integer> Values = InnerTics(Wnd, D);
    Values.push_back(D.Min);
    Values.push_back(D.Max);
    for (Integer V : Values) {
      const Integer A = Y.Centre(V);
      if (Y.TicksAfter()) {
        const Integer C = ThumbTop + Y.L + TickGap;
        FillSysColor(DC, Y.Client(A, A + 1, C, C + TickLength), COLOR_BTNTEXT);
      }
      if (Y.TicksBefore()) {
        const Integer C = ThumbTop - TickGap - TickLength;
        FillSysColor(DC, Y.Client(A, A + 1, C, C + TickLength), COLOR_BTNTEXT);
      }
    }
  }

  if (!(Y.Style & TBS_NOTHUMB)) {
    RECT Thumb = Y.Thumb(D.Pos);
    if (Y.PointedThumb())
      DrawPointedThumb(DC, Y, Thumb);
    else
      DrawEdge(DC, &Thumb, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
  }
  if (D.Focused) {
    const RECT F = Client;
    DrawFocusRect(DC, &F);
  }
}

// ---- Input ------------------------------------------------------------------------------------

void EndTracking(HWND Wnd, TTrackData& D) {
  const bool WasDragging = D.Dragging, WasTracking = D.Dragging || D.Paging;
  if (D.Paging) KillTimer(Wnd, PageTimer);
  D.Dragging = D.Paging = false;
  if (!WasTracking) return;
  Redraw(Wnd);
  if (GetCapture() == Wnd) ReleaseCapture();
  if (WasDragging) Notify(Wnd, TB_THUMBPOSITION, D.Pos);
  if (!IsWindow(Wnd)) return;
  Notify(Wnd, TB_ENDTRACK);
  if (IsWindow(Wnd)) NotifyParent(Wnd, NM_RELEASEDCAPTURE);
}

// One page step toward the mouse, while the thumb has not reached it.
void PageStep(HWND Wnd, TTrackData& D) {
  const TLayout Y = LayoutOf(Wnd, D);
  const Integer Mouse = Y.Along(D.LastMouse), C = Y.Centre(D.Pos);
  if (D.PageDir < 0 ? Mouse >= C - Y.Tw / 2 : Mouse < C - Y.Tw / 2 + Y.Tw) return;
  if (MoveTo(Wnd, D, D.Pos + D.PageDir * D.Page)) Notify(Wnd, D.PageDir < 0 ? TB_PAGEUP : TB_PAGEDOWN);
}

void MouseDown(HWND Wnd, TPoint P) {
  SetFocus(Wnd);
  TTrackData* D = ControlData<TTrackData>(Wnd);
  if (D == nullptr || D->Dragging || D->Paging) return;
  const TLayout Y = LayoutOf(Wnd, *D);
  SetCapture(Wnd);
  if ((D = ControlData<TTrackData>(Wnd)) == nullptr) return;
  D->LastMouse = P;
  if (!(Y.Style & TBS_NOTHUMB) && RectContains(Y.Thumb(D->Pos), P)) {
    D->Dragging = true;
    D->DragOffset = Y.Along(P) - Y.Centre(D->Pos);
    Redraw(Wnd);
    return;
  }
  D->Paging = true;
  D->PageDir = Y.Along(P) < Y.Centre(D->Pos) ? -1 : 1;
  SetTimer(Wnd, PageTimer, FirstRepeat, nullptr);
  PageStep(Wnd, *D);
}

void KeyDown(HWND Wnd, TTrackData& D, WPARAM Key) {
  const DWORD Style = StyleOf(Wnd);
  // Down is right (toward the maximum) unless TBS_DOWNISLEFT swaps the vertical keys of a
  // horizontal bar.
  const bool Swap = (Style & TBS_DOWNISLEFT) && !(Style & TBS_VERT);
  WORD Code;
  Integer Target;
  switch (Key) {
    case VK_LEFT:
      Code = TB_LINEUP;
      Target = D.Pos - D.Line;
      break;
    case VK_RIGHT:
      Code = TB_LINEDOWN;
      Target = D.Pos + D.Line;
      break;
    case VK_UP:
      Code = Swap ? TB_LINEDOWN : TB_LINEUP;
      Target = Swap ? D.Pos + D.Line : D.Pos - D.Line;
      break;
    case VK_DOWN:
      Code = Swap ? TB_LINEUP : TB_LINEDOWN;
      Target = Swap ? D.Pos - D.Line : D.Pos + D.Line;
      break;
    case VK_PRIOR:
      Code = TB_PAGEUP;
      Target = D.Pos - D.Page;
      break;
    case VK_NEXT:
      Code = TB_PAGEDOWN;
      Target = D.Pos + D.Page;
      break;
    case VK_HOME:
      Code = TB_TOP;
      Target = D.Min;
      break;
    case VK_END:
      Code = TB_BOTTOM;
      Target = D.Max;
      break;
    default:
      return;
  }
  if (MoveTo(Wnd, D, Target)) Notify(Wnd, Code);
}

bool IsTrackKey(WPARAM Key) {
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
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

LRESULT TrackBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TTrackData* D = ControlData<TTrackData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  const bool Repaint = WParam != 0;
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      D->Focused = Msg == WM_SETFOCUS;
      Redraw(Wnd);
      return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(Wnd, MousePoint(LParam));
      return 0;
    case WM_MOUSEMOVE:
      D->LastMouse = MousePoint(LParam);
      if (D->Dragging) {
        const TLayout Y = LayoutOf(Wnd, *D);
        if (MoveTo(Wnd, *D, Y.PosAt(Y.Along(D->LastMouse) - D->DragOffset)))
          Notify(Wnd, TB_THUMBTRACK, D->Pos);
      }
      return 0;
    case WM_LBUTTONUP:
      EndTracking(Wnd, *D);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) EndTracking(Wnd, *D);
      return 0;
    case WM_TIMER:
      if (WParam == PageTimer && D->Paging) {
        SetTimer(Wnd, PageTimer, NextRepeat, nullptr);
        PageStep(Wnd, *D);
      }
      return 0;
    case WM_KEYDOWN:
      if (!IsTrackKey(WParam)) return DefWindowProc(Wnd, Msg, WParam, LParam);
      KeyDown(Wnd, *D, WParam);
      return 0;
    case WM_KEYUP:
      if (!IsTrackKey(WParam)) return DefWindowProc(Wnd, Msg, WParam, LParam);
      Notify(Wnd, TB_ENDTRACK);
      return 0;
    case TBM_GETPOS:
      return D->Pos;
    case TBM_SETPOS:
      D->Pos = D->Min <= D->Max ? std::clamp(static_cast<Integer>(LParam), D->Min, D->Max) : D->Min;
      if (Repaint) Redraw(Wnd);
      return 0;
    case TBM_GETRANGEMIN:
      return D->Min;
    case TBM_GETRANGEMAX:
      return D->Max;
    case TBM_SETRANGE:
      D->Min = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)));
      D->Max = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam)));
      RangeChanged(Wnd, *D, Repaint);
      return 0;
    case TBM_SETRANGEMIN:
      D->Min = static_cast<Integer>(LParam);
      RangeChanged(Wnd, *D, Repaint);
      return 0;
    case TBM_SETRANGEMAX:
      D->Max = static_cast<Integer>(LParam);
      RangeChanged(Wnd, *D, Repaint);
      return 0;
    case TBM_SETTICFREQ:
      D->TicFreq = static_cast<Integer>(WParam);
      Redraw(Wnd);
      return 0;
    case TBM_SETTIC: {
      const Integer V = static_cast<Integer>(LParam);
      if (V < D->Min || V > D->Max) return FALSE;
      D->Tics.push_back(V);
      Redraw(Wnd);
      return TRUE;
    }
    case TBM_CLEARTICS:
      D->Tics.clear();
      if (Repaint) Redraw(Wnd);
      return 0;
    case TBM_GETNUMTICS:
      if (StyleOf(Wnd) & TBS_NOTICKS) return 0;
      return static_cast<LRESULT>(InnerTics(Wnd, *D).size()) + 2;
    case TBM_GETTIC: {
      const std::vector<Integer> T = InnerTics(Wnd, *D);
      return WParam < T.size() ? T[WParam] : -1;
    }
    case TBM_GETTICPOS: {
      const std::vector<Integer> T = InnerTics(Wnd, *D);
      return WParam < T.size() ? LayoutOf(Wnd, *D).Centre(T[WParam]) : -1;
    }
    case TBM_GETPTICS: {
      D->TicsCache.clear();
      for (Integer V : InnerTics(Wnd, *D)) D->TicsCache.push_back(static_cast<DWORD>(V));
      return D->TicsCache.empty() ? 0 : reinterpret_cast<LRESULT>(D->TicsCache.data());
    }
    case TBM_SETSEL:
      D->SelStart = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)));
      D->SelEnd = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam)));
      if (Repaint) Redraw(Wnd);
      return 0;
    case TBM_SETSELSTART:
    case TBM_SETSELEND:
      (Msg == TBM_SETSELSTART ? D->SelStart : D->SelEnd) = static_cast<Integer>(LParam);
      if (Repaint) Redraw(Wnd);
      return 0;
    case TBM_GETSELSTART:
      return D->SelStart;
    case TBM_GETSELEND:
      return D->SelEnd;
    case TBM_CLEARSEL:
      D->SelStart = D->SelEnd = 0;
      if (Repaint) Redraw(Wnd);
      return 0;
    case TBM_SETPAGESIZE: {
      const Integer Old = D->Page;
      D->Page = static_cast<Integer>(LParam);
      D->PageSet = true;
      return Old;
    }
    case TBM_GETPAGESIZE:
      return D->Page;
    case TBM_SETLINESIZE: {
      const Integer Old = D->Line;
      D->Line = static_cast<Integer>(LParam);
      return Old;
    }
    case TBM_GETLINESIZE:
      return D->Line;
    case TBM_GETTHUMBRECT:
      if (auto* R = reinterpret_cast<RECT*>(LParam)) *R = LayoutOf(Wnd, *D).Thumb(D->Pos);
      return 0;
    case TBM_GETCHANNELRECT:
      if (auto* R = reinterpret_cast<RECT*>(LParam)) *R = LayoutOf(Wnd, *D).Channel();
      return 0;
    case TBM_SETTHUMBLENGTH:
      if ((StyleOf(Wnd) & TBS_FIXEDLENGTH) && static_cast<Integer>(WParam) > 0) {
        D->ThumbLength = static_cast<Integer>(WParam);
        InvalidateRect(Wnd, nullptr, TRUE);
      }
      return 0;
    case TBM_GETTHUMBLENGTH:
      return D->ThumbLength;
    case TBM_SETTOOLTIPS:
    case TBM_GETTOOLTIPS:
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterTrackBarClass() {
  RegisterControlClass(TRACKBAR_CLASS, TrackBarWndProc, CS_HREDRAW | CS_VREDRAW, -1);
}
