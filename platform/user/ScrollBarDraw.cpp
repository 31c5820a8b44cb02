// Scroll-bar geometry and the classic drawing of a bar, and the window's own bars in its frame.
#include <algorithm>

#include "platform/gdi/Dib.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowPaint.h"

namespace {

// Pixels (X + Y) even take the background colour (3-D highlight), the others the text colour
// (COLOR_SCROLLBAR), counted from the DC's origin.
HBRUSH DitherBrush() {
  static HBRUSH Brush = [] {
    const Byte Rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP Bmp = CreateBitmap(8, 8, 1, 1, Rows);
    HBRUSH B = CreatePatternBrush(Bmp);
    DeleteObject(Bmp);
    return B;
  }();
  return Brush;
}

void FillTrack(HDC DC, const TRect& R, HBRUSH Track) {
  if (IsEmptyRect(R)) return;
  if (Track != nullptr) {
    FillRect(DC, &R, Track);
    return;
  }
  const COLORREF OldText = SetTextColor(DC, GetSysColor(COLOR_SCROLLBAR));
  const COLORREF OldBk = SetBkColor(DC, GetSysColor(COLOR_3DHILIGHT));
  FillRect(DC, &R, DitherBrush());
  SetTextColor(DC, OldText);
  SetBkColor(DC, OldBk);
}

// A span [From, To) along the bar as a rectangle.
TRect Span(const TRect& Bar, bool Vertical, Integer From, Integer To) {
  return Vertical ? TRect{Bar.Left, Bar.Top + From, Bar.Right, Bar.Top + To}
                  : TRect{Bar.Left + From, Bar.Top, Bar.Left + To, Bar.Bottom};
}

}  // namespace

TScrollGeometry ScrollBarGeometry(const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled) {
  TScrollGeometry G;
  G.Length = std::max(0, Vertical ? Bar.Height() : Bar.Width());
  G.Arrow = std::min(GetSystemMetrics(Vertical ? SM_CYVSCROLL : SM_CXHSCROLL), G.Length / 2);
  const Integer Track = G.Length - 2 * G.Arrow;
  const bool Disabled = !Enabled || S.Arrows == ESB_DISABLE_BOTH;
  if (Disabled || S.Max <= S.Min || Track <= 0) return G;
  const Int64 Count = static_cast<Int64>(S.Max) - S.Min + 1;
  const Integer MinThumb = GetSystemMetrics(Vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  Integer Thumb = MinThumb;
  if (S.Page != 0) {
    if (static_cast<Int64>(S.Page) >= Count) return G;  // everything shows: no thumb
    Thumb = std::max<Integer>(static_cast<Integer>((static_cast<Int64>(Track) * S.Page + Count / 2) / Count),
                              MinThumb);
  }
  if (Thumb > Track) return G;
  const Int64 SpanCount = Count - 1 - std::max<Int64>(static_cast<Int64>(S.Page) - 1, 0);
  const Integer Pos = std::clamp(S.ShownPos(), S.Min, S.Max);
  G.ThumbSize = Thumb;
  G.ThumbPos = G.Arrow;
  if (SpanCount > 0)
    G.ThumbPos += static_cast<Integer>(std::min<Int64>(
        (static_cast<Int64>(Pos - S.Min) * (Track - Thumb) + SpanCount / 2) / SpanCount, Track - Thumb));
  return G;
}

TScrollPart ScrollBarPartAt(const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled,
                            TPoint P) {
  if (!InRect(Bar, P)) return TScrollPart::None;
  const TScrollGeometry G = ScrollBarGeometry(Bar, Vertical, S, Enabled);
  const Integer At = Vertical ? P.Y - Bar.Top : P.X - Bar.Left;
  if (At < G.Arrow) return TScrollPart::LineUp;
  if (At >= G.Length - G.Arrow) return TScrollPart::LineDown;
  if (G.ThumbSize == 0) return TScrollPart::None;
  if (At < G.ThumbPos) return TScrollPart::PageUp;
  if (At < G.ThumbPos + G.ThumbSize) return TScrollPart::Thumb;
  return TScrollPart::PageDown;
}

void DrawScrollBar(HDC DC, const TRect& Bar, bool Vertical, const TScrollBarState& S, bool Enabled,
                   HBRUSH Track) {
  if (IsEmptyRect(Bar)) return;
  const TScrollGeometry G = ScrollBarGeometry(Bar, Vertical, S, Enabled);
  const bool AllOff = !Enabled || S.Arrows == ESB_DISABLE_BOTH;
  auto Arrow = [&](Integer From, UINT Kind, bool Off, bool Pushed) {
    if (G.Arrow <= 0) return;
    RECT R = Span(Bar, Vertical, From, From + G.Arrow);
    DrawFrameControl(DC, &R, DFC_SCROLL,
                     Kind | (Off ? DFCS_INACTIVE : 0) | (Pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
  };
  Arrow(0, Vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, AllOff || (S.Arrows & ESB_DISABLE_UP),
        S.Pressed == TScrollPart::LineUp);
  Arrow(G.Length - G.Arrow, Vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT,
        AllOff || (S.Arrows & ESB_DISABLE_DOWN), S.Pressed == TScrollPart::LineDown);
  const Integer TrackEnd = G.Length - G.Arrow;
  if (G.ThumbSize == 0) {
    FillTrack(DC, Span(Bar, Vertical, G.Arrow, TrackEnd), Track);
    return;
  }
  const TRect Before = Span(Bar, Vertical, G.Arrow, G.ThumbPos);
  const TRect After = Span(Bar, Vertical, G.ThumbPos + G.ThumbSize, TrackEnd);
  if (S.Pressed == TScrollPart::PageUp)
    FillSys(DC, Before, COLOR_3DDKSHADOW);
  else
    FillTrack(DC, Before, Track);
  if (S.Pressed == TScrollPart::PageDown)
    FillSys(DC, After, COLOR_3DDKSHADOW);
  else
    FillTrack(DC, After, Track);
  RECT Thumb = Span(Bar, Vertical, G.ThumbPos, G.ThumbPos + G.ThumbSize);
  DrawEdge(DC, &Thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void DrawWindowScrollBars(TWindow* W, HDC DC, const TNcLayout& L) {
  const bool Enabled = !(W->Style & WS_DISABLED);
  if (!IsEmptyRect(L.VScroll)) DrawScrollBar(DC, L.VScroll, true, ScrollStateOf(W, SB_VERT), Enabled);
  if (!IsEmptyRect(L.HScroll)) DrawScrollBar(DC, L.HScroll, false, ScrollStateOf(W, SB_HORZ), Enabled);
  if (!IsEmptyRect(L.SizeBox)) {
    FillSys(DC, L.SizeBox, COLOR_3DFACE);
    if ((W->Style & WS_THICKFRAME) && !(W->Style & WS_MAXIMIZE)) {
      RECT R = L.SizeBox;
      DrawFrameControl(DC, &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
  }
}

void RedrawWindowScrollBar(TWindow* W, Integer Bar) {
  if (!IsReallyVisible(W) || Bar == SB_CTL) return;
  const TNcLayout L = NcLayoutOf(W);
  const TRect R = Bar == SB_VERT ? L.VScroll : L.HScroll;
  if (IsEmptyRect(R)) return;
  HDC DC = GetDCEx(W->Handle, nullptr, DCX_WINDOW | DCX_CACHE | DCX_USESTYLE);
  if (DC == nullptr) return;
  DrawScrollBar(DC, R, Bar == SB_VERT, ScrollStateOf(W, Bar), !(W->Style & WS_DISABLED));
  ReleaseDC(W->Handle, DC);
}
