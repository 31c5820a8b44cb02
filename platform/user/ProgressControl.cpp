// The progress bar control.
#include "platform/user/ProgressControl.h"

#include <algorithm>

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Math.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer BlockGap = 2;

struct TProgressData : TNativeControlData {
  Integer Min = 0;
  Integer Max = 100;
  Integer Pos = 0;
  Integer Step = 10;
  COLORREF BarColor = CLR_DEFAULT;
  COLORREF BkColor = CLR_DEFAULT;
};

Integer Clamped(const TProgressData& D, Integer V) {
  return D.Min <= D.Max ? std::clamp(V, D.Min, D.Max) : V;
}

// Stores a new position; repaints when it changed. Returns the old one.
Integer MoveTo(HWND Wnd, TProgressData& D, Integer V) {
  const Integer Old = D.Pos;
  D.Pos = Clamped(D, V);
  if (D.Pos != Old) InvalidateRect(Wnd, nullptr, FALSE);
  return Old;
}

void SetRange(HWND Wnd, TProgressData& D, Integer Min, Integer Max) {
  D.Min = Min;
  D.Max = Max;
  D.Pos = Clamped(D, D.Pos);
  InvalidateRect(Wnd, nullptr, FALSE);
}

Integer Wrapped(const TProgressData& D, Integer V) {
  const Integer Span = D.Max - D.Min;
  if (Span <= 0) return Clamped(D, V);
  if (V > D.Max) return (V - D.Min) % Span + D.Min;
  if (V < D.Min) return D.Max - (D.Min - V) % Span;
  return V;
}

void Paint(HWND Wnd, HDC DC) {
  TProgressData* D = ControlData<TProgressData>(Wnd);
  TWindow* W = PeekWindow(Wnd);
  if (D == nullptr || W == nullptr) return;
  RECT R = ClientRectOf(Wnd);
  const TRect Client = R;
  DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  HBRUSH Bk = D->BkColor == CLR_DEFAULT ? GetSysColorBrush(COLOR_3DFACE) : CreateSolidBrush(D->BkColor);
  FillRect(DC, &R, Bk);
  if (D->BkColor != CLR_DEFAULT) DeleteObject(Bk);
  HBRUSH Bar = D->BarColor == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(D->BarColor);
  for (const TRect& B : ProgressBarBlocks(Client, W->Style, D->Min, D->Max, D->Pos)) FillRect(DC, &B, Bar);
  if (D->BarColor != CLR_DEFAULT) DeleteObject(Bar);
}

LRESULT ProgressWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TProgressData* D = ControlData<TProgressData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case PBM_SETRANGE: {
      const LRESULT Old = MAKELONG(static_cast<WORD>(D->Min), static_cast<WORD>(D->Max));
      SetRange(Wnd, *D, LOWORD(static_cast<std::uintptr_t>(LParam)),
               HIWORD(static_cast<std::uintptr_t>(LParam)));
      return Old;
    }
    case PBM_SETRANGE32: {
      const LRESULT Old = MAKELONG(static_cast<WORD>(D->Min), static_cast<WORD>(D->Max));
      SetRange(Wnd, *D, static_cast<Integer>(WParam), static_cast<Integer>(LParam));
      return Old;
    }
    case PBM_GETRANGE:
      if (auto* Range = reinterpret_cast<PBRANGE*>(LParam)) {
        Range->iLow = D->Min;
        Range->iHigh = D->Max;
      }
      return WParam ? D->Min : D->Max;
    case PBM_SETPOS:
      return MoveTo(Wnd, *D, static_cast<Integer>(WParam));
    case PBM_DELTAPOS:
      return MoveTo(Wnd, *D, D->Pos + static_cast<Integer>(WParam));
    case PBM_GETPOS:
      return D->Pos;
    case PBM_SETSTEP: {
      const Integer Old = D->Step;
      D->Step = static_cast<Integer>(WParam);
      return Old;
    }
    case PBM_GETSTEP:
      return D->Step;
    case PBM_STEPIT: {
      const Integer Old = D->Pos;
      D->Pos = Wrapped(*D, D->Pos + D->Step);
      if (D->Pos != Old) InvalidateRect(Wnd, nullptr, FALSE);
      return Old;
    }
    case PBM_SETBARCOLOR:
    case PBM_SETBKCOLOR: {
      COLORREF& C = Msg == PBM_SETBARCOLOR ? D->BarColor : D->BkColor;
      const COLORREF Old = C;
      C = static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, FALSE);
      return Old;
    }
    case PBM_GETBARCOLOR:
      return D->BarColor;
    case PBM_GETBKCOLOR:
      return D->BkColor;
    case PBM_SETMARQUEE:
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

std::vector<TRect> ProgressBarBlocks(const TRect& Client, DWORD Style, Integer Min, Integer Max,
                                     Integer Pos) {
  std::vector<TRect> Blocks;
  const TRect Area = InflatedRect(Client, -2, -2);
  const bool Vertical = Style & PBS_VERTICAL;
  const Integer Length = Vertical ? Area.Height() : Area.Width();
  if (Length <= 0 || Max <= Min) return Blocks;
  const Integer Filled = MulDiv(std::clamp(Pos, Min, Max) - Min, Length, Max - Min);
  // A run [From, To) along the bar, measured from its start.
  auto Add = [&](Integer From, Integer To) {
    To = std::min(To, Length);
    if (To <= From) return;
    if (Vertical)
      Blocks.push_back({Area.Left, Area.Bottom - To, Area.Right, Area.Bottom - From});
    else
      Blocks.push_back({Area.Left + From, Area.Top, Area.Left + To, Area.Bottom});
  };
  if (Style & PBS_SMOOTH) {
    Add(0, Filled);
    return Blocks;
  }
  const Integer Block = std::max(1, (Vertical ? Client.Width() : Client.Height()) * 2 / 3);
  for (Integer X = 0; X < Filled; X += Block + BlockGap) Add(X, X + Block);
  return Blocks;
}

void RegisterProgressClass() {
  RegisterControlClass(PROGRESS_CLASS, ProgressWndProc, CS_HREDRAW | CS_VREDRAW, -1);
}
