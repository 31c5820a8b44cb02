// Scrolling pixels inside a surface: ScrollWindowEx, ScrollWindow and ScrollDC.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"

namespace {

// Copies the pixels that land in Dst (surface coordinates) from Dst - (Dx, Dy). The source is
// read into a buffer first, so overlapping moves come out right.
void MovePixels(const TSurface& S, const TRegionData& Dst, Integer Dx, Integer Dy) {
  if (Dst.IsEmpty()) return;
  const TRect B = Dst.Box();
  const TRect Src{B.Left - Dx, B.Top - Dy, B.Right - Dx, B.Bottom - Dy};
  const Integer W = B.Width(), H = B.Height();
  std::vector<DWORD> Buffer(static_cast<std::size_t>(W) * static_cast<std::size_t>(H));
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const Integer SX = Src.Left + X, SY = Src.Top + Y;
      if (S.Contains(SX, SY)) Buffer[static_cast<std::size_t>(Y) * W + X] = GetRawPixel(S, SX, SY);
    }
  Dst.ForEachRectIn(B, [&](const TRect& R) {
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
      const DWORD* Row = &Buffer[static_cast<std::size_t>(Y - B.Top) * W];
      if (S.Bpp == 32) {
        std::memcpy(S.Row(Y) + static_cast<std::size_t>(R.Left) * 4, Row + (R.Left - B.Left),
                    static_cast<std::size_t>(R.Width()) * 4);
      } else {
        for (Integer X = R.Left; X < R.Right; ++X) PutRawPixel(S, X, Y, Row[X - B.Left]);
      }
    }
  });
}

// The scroll inside Area (surface coordinates, the drawable part): moves Scroll ∩ Area by
// (Dx, Dy) clipped to Clip ∩ Area, and returns what is left uncovered inside Clip ∩ Scroll.
TRegionData ScrollArea(const TSurface& S, const TRegionData& Area, const TRect& Scroll, const TRect& Clip,
                       Integer Dx, Integer Dy) {
  TRegionData Src = Area;
  Src.IntersectRect(Scroll);
  TRegionData Dst = Src;
  Dst.Offset(Dx, Dy);
  TRegionData Limit = Area;
  Limit.IntersectRect(Clip);
  Dst.Combine(Dst, Limit, RGN_AND);
  MovePixels(S, Dst, Dx, Dy);
  TRegionData Uncovered(Scroll);
  Uncovered.IntersectRect(Clip);
  Uncovered.Combine(Uncovered, Dst, RGN_DIFF);
  return Uncovered;
}

// The caret is taken off the pixels while they move and put back afterwards, as painting does.
class TCaretOff {
 public:
  explicit TCaretOff(HWND Wnd) : FWnd(CaretPaintHook != nullptr ? Wnd : nullptr) {
    if (FWnd != nullptr) CaretPaintHook(FWnd, true);
  }
  ~TCaretOff() {
    if (FWnd != nullptr && CaretPaintHook != nullptr && PeekWindow(FWnd) != nullptr)
      CaretPaintHook(FWnd, false);
  }
  TCaretOff(const TCaretOff&) = delete;
  TCaretOff& operator=(const TCaretOff&) = delete;

 private:
  HWND FWnd;
};

TRect Intersect(const TRect& A, const TRect& B) {
  return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom)};
}

}  // namespace

Integer ScrollWindowEx(HWND Wnd, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip, HRGN Update,
                       RECT* UpdateRect, UINT Flags) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return ERROR;
  const TRect CR{0, 0, W->Client.Width(), W->Client.Height()};
  const TRect ScrollR = Scroll != nullptr ? Intersect(*Scroll, CR) : CR;
  const TRect ClipR = Clip != nullptr ? Intersect(*Clip, CR) : CR;
  TRegionData Uncovered;
  TWindow* Top = TopLevelOf(W);
  const TPoint O = ClientOriginInSurface(W);
  if (IsReallyVisible(W) && Top->Surface) {
    const TCaretOff Caret(Wnd);
    if ((W = PeekWindow(Wnd)) == nullptr) return ERROR;
    TRegionData Vis =
        VisibleRegion(W, DCX_CLIPSIBLINGS | ((Flags & SW_SCROLLCHILDREN) ? 0 : DefaultDcxFlags(W)));
    Vis.Offset(-O.X, -O.Y);
    TSurface& S = Top->Surface->Surface;
    // Work in client coordinates on a surface view shifted to the client origin.
    TRegionData VisS = Vis;
    VisS.Offset(O.X, O.Y);
    auto Shift = [&](TRect R) { return TRect{R.Left + O.X, R.Top + O.Y, R.Right + O.X, R.Bottom + O.Y}; };
    Uncovered = ScrollArea(S, VisS, Shift(ScrollR), Shift(ClipR), Dx, Dy);
    Uncovered.Offset(-O.X, -O.Y);
    DamageWindowSurface(Top, Shift(ClipR));
  } else {
    Uncovered.SetRect(Intersect(ScrollR, ClipR));
  }
  // A pending update region inside the scrolled part moves with the pixels.
  const TRect C = ClientInWindow(W);
  if (!W->UpdateRgn.IsEmpty()) {
    TRegionData Moved = W->UpdateRgn;
    Moved.Offset(-C.Left, -C.Top);
    Moved.IntersectRect(ScrollR);
    if (!Moved.IsEmpty()) {
      Moved.Offset(Dx, Dy);
      Moved.IntersectRect(ClipR);
      Moved.Offset(C.Left, C.Top);
      W->UpdateRgn.Combine(W->UpdateRgn, Moved, RGN_OR);
      UpdatePaintState(W);
    }
  }
  if (Flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> Kids;
    for (TWindow* K : W->Children)
      if (Scroll == nullptr || (K->Rect.Left < ScrollR.Right && K->Rect.Right > ScrollR.Left &&
                                K->Rect.Top < ScrollR.Bottom && K->Rect.Bottom > ScrollR.Top))
        Kids.push_back(K->Handle);
    for (HWND K : Kids) {
      TWindow* KW = PeekWindow(K);
      if (KW == nullptr) continue;
      SetWindowPos(K, nullptr, KW->Rect.Left + Dx, KW->Rect.Top + Dy, 0, 0,
                   SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if ((W = PeekWindow(Wnd)) == nullptr) return ERROR;
  }
  if (Flags & SW_INVALIDATE) {
    TRegionData R = Uncovered;
    R.Offset(C.Left, C.Top);
    InvalidateWindowRegion(W, R,
                           RDW_INVALIDATE | ((Flags & SW_ERASE) ? RDW_ERASE : 0) |
                               ((Flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
  }
  if (Update != nullptr) Update->Data = Uncovered;
  if (UpdateRect != nullptr) *UpdateRect = Uncovered.Box();
  return Uncovered.IsEmpty() ? NULLREGION : Uncovered.Complexity();
}

BOOL ScrollWindow(HWND Wnd, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip) {
  const UINT Flags = SW_INVALIDATE | SW_ERASE | (Scroll == nullptr ? SW_SCROLLCHILDREN : 0);
  return ScrollWindowEx(Wnd, Dx, Dy, Scroll, Clip, nullptr, nullptr, Flags) != ERROR;
}

BOOL ScrollDC(HDC DC, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip, HRGN Update,
              RECT* UpdateRect) {
  if (DC == nullptr) return FALSE;
  const TPoint Off = DC->Offset();
  const TRegionData Area = DC->Clip();
  const TRect Box = Area.Box();
  auto ToSurface = [&](const RECT* R) {
    return R == nullptr ? Box : TRect{R->Left + Off.X, R->Top + Off.Y, R->Right + Off.X, R->Bottom + Off.Y};
  };
  const HWND Wnd = WindowFromDC(DC);
  TRegionData Uncovered;
  {
    const TCaretOff Caret(Wnd);
    Uncovered = ScrollArea(DC->Surface(), Area, ToSurface(Scroll), ToSurface(Clip), Dx, Dy);
  }
  if (TWindow* W = PeekWindow(Wnd)) DamageWindowSurface(TopLevelOf(W), Box);
  Uncovered.Offset(-Off.X, -Off.Y);
  if (Update != nullptr) Update->Data = Uncovered;
  if (UpdateRect != nullptr) *UpdateRect = Uncovered.Box();
  return TRUE;
}
