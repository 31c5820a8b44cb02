// The view's background painter: fourteen styles, then the wallpaper.
#include <algorithm>

#include "imaging/core/iedrawutils.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/SystemMetrics.h"

namespace {

// The photo-like style's grey around the picture.
constexpr TColor PhotoLikeGrey = 0xB0B0B0;

TColor InvertedColor(TColor Color) {
  return static_cast<TColor>(~ColorToRGB(Color) & 0xFFFFFF);
}

void FillArea(TCanvas* Canvas, const TRect& Area, TColor Color, TBrushStyle Style) {
  TBrush* Brush = Canvas->GetBrush();
  Brush->SetColor(Color);
  Brush->SetStyle(Style);
  Canvas->FillRect(Area);
}

// Brush style of each hatch style, iebsSolid .. iebsDiagCross.
TBrushStyle HatchStyle(TIEBackgroundStyle Style) {
  static constexpr TBrushStyle Styles[] = {bsSolid,     bsHorizontal, bsVertical, bsFDiagonal,
                                           bsBDiagonal, bsCross,      bsDiagCross};
  return Styles[Style];
}

bool InnerHasRoom(const TRect& Inner) {
  return Inner.Width() >= 2 && Inner.Height() >= 2;
}

// Rows written straight into the 24-bit bitmap: no canvas call per box. Rows outside the
// bitmap land on its first or last row; only the canvas's clip box is written, so a partial
// repaint leaves the rest of the bitmap alone.
void ChessboardRows(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Area, Integer Size, TColor Color) {
  const Integer BW = Bitmap->GetWidth(), BH = Bitmap->GetHeight();
  if (BW <= 0 || BH <= 0) return;
  const TRect Clip = Canvas->GetClipRect();
  const Integer X1 = std::max({Area.Left, Clip.Left, 0}), X2 = std::min({Area.Right, Clip.Right, BW});
  const Integer Y1 = std::max(Area.Top, Clip.Top), Y2 = std::min(Area.Bottom, Clip.Bottom);
  if (X1 >= X2 || Y1 >= Y2) return;
  const COLORREF C0 = ColorToRGB(Color), C1 = ~C0 & 0xFFFFFF;
  const Byte Colors[2][3] = {{GetBValue(C0), GetGValue(C0), GetRValue(C0)},
                             {GetBValue(C1), GetGValue(C1), GetRValue(C1)}};
  for (Integer Y = Y1; Y < Y2; ++Y) {
    Byte* P = static_cast<Byte*>(Bitmap->GetScanLine(std::clamp(Y, 0, BH - 1))) + X1 * 3;
    const Integer RowPhase = (Y - Area.Top) / Size;
    for (Integer X = X1; X < X2; ++X, P += 3) {
      const Byte* C = Colors[((X - Area.Left) / Size + RowPhase) & 1];
      P[0] = C[0];
      P[1] = C[1];
      P[2] = C[2];
    }
  }
}

void ChessboardBoxes(TCanvas* Canvas, const TRect& Area, Integer Size, TColor Color, TBrushStyle Style) {
  const TColor Other = InvertedColor(Color);
  for (Integer Y = Area.Top, Row = 0; Y < Area.Bottom; Y += Size, ++Row)
    for (Integer X = Area.Left, Col = 0; X < Area.Right; X += Size, ++Col)
      FillArea(Canvas, {X, Y, std::min(X + Size, Area.Right), std::min(Y + Size, Area.Bottom)},
               ((Row + Col) & 1) ? Other : Color, Style);
}

void Chessboard(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Area, Integer Size, Byte BrushStyle,
                TColor Color) {
  Size = std::max(Size, 1);
  const auto Style = static_cast<TBrushStyle>(BrushStyle);
  if (Bitmap && Bitmap->GetPixelFormat() == pf24bit && Style == bsSolid)
    ChessboardRows(Canvas, Bitmap, Area, Size, Color);
  else
    ChessboardBoxes(Canvas, Area, Size, Color, Style);
}

void CroppedFrame(TCanvas* Canvas, const TRect& Area, const TRect& Inner) {
  FillArea(Canvas, Area, clBtnFace, bsSolid);
  if (!InnerHasRoom(Inner)) return;
  const Integer EX = GetSystemMetrics(SM_CXEDGE), EY = GetSystemMetrics(SM_CYEDGE);
  RECT Edge{Inner.Left - EX, Inner.Top - EY, Inner.Right + EX, Inner.Bottom + EY};
  DrawEdge(Canvas->GetHandle(), &Edge, BDR_SUNKEN, BF_RECT);
}

void CropShadow(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Area, const TRect& Inner, TColor Color) {
  FillArea(Canvas, Area, Color, bsSolid);
  if (!InnerHasRoom(Inner)) return;
  IEDrawVerticalShadow(Canvas, Bitmap, Inner.Right, Inner.Top, Inner.Right + 5, Inner.Bottom + 3, iessDarken,
                       Color);
  IEDrawHorizontalShadow(Canvas, Bitmap, Inner.Left, Inner.Bottom, Inner.Right + 4, Inner.Bottom + 5,
                         iessDarken, Color);
}

void Diagonals(TCanvas* Canvas, const TRect& Area, TColor Color) {
  FillArea(Canvas, Area, Color, bsSolid);
  TPen* Pen = Canvas->GetPen();
  Pen->SetColor(InvertedColor(Color));
  Pen->SetStyle(psSolid);
  Pen->SetMode(pmCopy);
  Pen->SetWidth(1);
  Canvas->MoveTo(Area.Left, Area.Top);
  Canvas->LineTo(Area.Right, Area.Bottom);
  Canvas->MoveTo(Area.Right, Area.Top);
  Canvas->LineTo(Area.Left, Area.Bottom);
}

void PhotoLike(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Area, const TRect& Inner, Integer Size,
               Byte BrushStyle, TColor Color) {
  FillArea(Canvas, Area, PhotoLikeGrey, bsSolid);
  TPen* Pen = Canvas->GetPen();
  Pen->SetColor(clBlack);
  Pen->SetStyle(psSolid);
  Pen->SetMode(pmCopy);
  Pen->SetWidth(1);
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->Rectangle(Inner.Left - 1, Inner.Top - 1, Inner.Right + 1, Inner.Bottom + 1);
  Chessboard(Canvas, Bitmap, Inner, Size, BrushStyle, Color);
}

void WallPaperOver(TCanvas* Canvas, const TRect& Area, TIEWallPaperStyle Style, TPicture* WallPaper) {
  TGraphic* Graphic = WallPaper ? WallPaper->GetGraphic() : nullptr;
  if (!Graphic || Graphic->Empty()) return;
  switch (Style) {
    case iewoNormal:
      Canvas->Draw(0, 0, Graphic);
      break;
    case iewoStretch:
      Canvas->StretchDraw({0, 0, Area.Width(), Area.Height()}, Graphic);
      break;
    case iewoTile: {
      const Integer W = Graphic->Width(), H = Graphic->Height();
      if (W <= 0 || H <= 0) return;
      for (Integer Y = 0; Y < Area.Height(); Y += H)
        for (Integer X = 0; X < Area.Width(); X += W) Canvas->Draw(X, Y, Graphic);
      break;
    }
  }
}

}  // namespace

void IEDrawBackground(TComponentState State, TCanvas* Canvas, TBitmap* Bitmap,
                      TIEWallPaperStyle WallPaperStyle, TPicture* WallPaper, TColor GradientEndColor,
                      Byte ChessboardBrushStyle, Integer ChessboardSize, const TRect& Inner,
                      const TRect& Area, TColor Background, TIEBackgroundStyle Style) {
  const bool Designing = State.Contains(csDesigning);
  switch (Style) {
    case iebsSolid:
    case iebsHorizontal:
    case iebsVertical:
    case iebsFDiagonal:
    case iebsBDiagonal:
    case iebsCross:
    case iebsDiagCross:
      FillArea(Canvas, Area, Background, HatchStyle(Style));
      break;
    case iebsDiagonals:
      Diagonals(Canvas, Area, Background);
      break;
    case iebsCropped:
      if (Designing)
        FillArea(Canvas, Area, Background, bsSolid);
      else
        CroppedFrame(Canvas, Area, Inner);
      break;
    case iebsCropShadow:
      if (Designing)
        FillArea(Canvas, Area, Background, bsSolid);
      else
        CropShadow(Canvas, Bitmap, Area, Inner, Background);
      break;
    case iebsSoftShadow:
      if (Designing || Bitmap) FillArea(Canvas, Area, Background, bsSolid);
      if (!Designing && Bitmap && InnerHasRoom(Inner))
        IEDrawSoftShadow(Bitmap, Inner.Left, Inner.Top, Inner.Right, Inner.Bottom, Background);
      break;
    case iebsGradient:
      IEGradientFillRect(Area, Canvas->GetHandle(), Background, true, GradientEndColor);
      break;
    case iebsPhotoLike:
      PhotoLike(Canvas, Bitmap, Area, Inner, ChessboardSize, ChessboardBrushStyle, Background);
      break;
    case iebsChessboard:
      Chessboard(Canvas, Bitmap, Area, ChessboardSize, ChessboardBrushStyle, Background);
      break;
  }
  WallPaperOver(Canvas, Area, WallPaperStyle, WallPaper);
}
