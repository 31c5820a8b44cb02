// Decorations over the composed layers: layer boxes, grips, the shading around the current
// layer and outside the background layer, and the pixel grid.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"

namespace {

constexpr Byte ShadeGrey = 97;
constexpr Byte OutsideGrey = 128;

// Calls Pixel(P) for every pixel of Dest outside the columns Left..Right and rows Top..Bottom
// (inclusive) whose row + column is even.
template <class TPixel>
void ForEachEvenOutside(TIEBitmap* Dest, Integer Left, Integer Top, Integer Right, Integer Bottom,
                        TPixel Pixel) {
  const Integer W = Dest->GetWidth(), H = Dest->GetHeight();
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = static_cast<Byte*>(Dest->GetScanline(Y));
    const bool WholeRow = Y < Top || Y > Bottom;
    const auto Span = [&](Integer X1, Integer X2) {
      for (Integer X = X1 + ((X1 + Y) & 1); X < X2; X += 2) Pixel(Row + X * 3);
    };
    if (WholeRow) {
      Span(0, W);
    } else {
      Span(0, std::clamp(Left, 0, W));
      Span(std::clamp(Right + 1, 0, W), W);
    }
  }
}

// Calls Pixel(P) for every pixel of Dest outside Left..Right - 1, Top..Bottom - 1.
template <class TPixel>
void ForEachOutside(TIEBitmap* Dest, Integer Left, Integer Top, Integer Right, Integer Bottom, TPixel Pixel) {
  const Integer W = Dest->GetWidth(), H = Dest->GetHeight();
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = static_cast<Byte*>(Dest->GetScanline(Y));
    const auto Span = [&](Integer X1, Integer X2) {
      for (Integer X = X1; X < X2; ++X) Pixel(Row + X * 3);
    };
    if (Y < Top || Y >= Bottom) {
      Span(0, W);
    } else {
      Span(0, std::clamp(Left, 0, W));
      Span(std::clamp(Right, 0, W), W);
    }
  }
}

void SetGrey(Byte* P, Byte Level) {
  P[0] = P[1] = P[2] = Level;
}

}  // namespace

void TZezudIdView::DrawLayerDecorations(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index) {
  TIELayer* Layer = FLayers[Index].get();
  const bool Current = Index == FCurrentLayer;
  if (Layer->VisibleBox) {
    if (Current) {
      if (FMouseInteract.Contains(miMoveLayers) || FMouseInteract.Contains(miResizeLayers))
        DrawLayerBox(Dest, Rows, Index);
      if (FMouseInteract.Contains(miResizeLayers) && !Layer->Locked) DrawLayerGrips(Dest, Rows, Index);
      if (FMouseInteract.Contains(miRotateLayers)) DrawRotationCenterGrip(Dest, Rows, Index);
    } else if (FShowAllLayerBoxes) {
      DrawLayerBox(Dest, Rows, Index);
    }
  }
  if (Current && Layer->ShadeOutside) {
    const TRect& R = Layer->ScreenRect;
    ForEachEvenOutside(Dest, R.Left, R.Top, R.Right, R.Bottom, [](Byte* P) { SetGrey(P, ShadeGrey); });
  }
}

TPen* TZezudIdView::GetLayerBoxPen() {
  if (!FLayerBoxPen) FLayerBoxPen = std::make_unique<TPen>();
  return FLayerBoxPen.get();
}

void TZezudIdView::DrawLayerBox(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index) {
  TIELayer* Layer = FLayers[Index].get();
  if (OnDrawLayerBox) {
    Rows.clear();
    OnDrawLayerBox(this, Dest->GetTBitmap(), Index);
    return;
  }
  TCanvas* Canvas = DestCanvas(Dest, Rows);
  Canvas->SetPen(GetLayerBoxPen());
  Canvas->GetBrush()->SetStyle(bsClear);
  if (Layer->Rotate != 0)
    Canvas->Polygon(std::span<const TPoint>(Layer->DrawGeometry.Corners, 4));
  else
    Canvas->Rectangle(Layer->ScreenRect);
}

// The grips' pen and brush on a library canvas over the back buffer.
std::unique_ptr<TIECanvas> TZezudIdView::GripCanvas(TIEBitmap* Dest, std::vector<Byte*>& Rows) {
  auto Canvas = std::make_unique<TIECanvas>(DestCanvas(Dest, Rows));
  TIEPen* Pen = Canvas->GetPen();
  Pen->SetStyle(psSolid);
  Pen->SetMode(pmCopy);
  Pen->SetColor(FLayerGripPenColor);
  Pen->SetWidth(1);
  TIEBrush* Brush = Canvas->GetBrush();
  Brush->SetColor(FLayerGripBrushColor);
  Brush->SetStyle(static_cast<TBrushStyle>(FLayerGripBrushStyle));
  return Canvas;
}

void TZezudIdView::DrawLayerGrips(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index) {
  TIELayerGripRects Rects = IELayerGripRects(FLayers[Index].get(), FLayerGripSize);
  if (OnDrawLayerGrip) {
    Rows.clear();
    TBitmap* Bitmap = Dest->GetTBitmap();
    for (Integer K = 0; K < 9; ++K) OnDrawLayerGrip(this, Bitmap, Index, K, Rects[K]);
    return;
  }
  const auto Canvas = GripCanvas(Dest, Rows);
  for (Integer K = 0; K < 8; ++K) {
    if (FLayerGripRound)
      Canvas->Ellipse(Rects[K]);
    else
      Canvas->Rectangle(Rects[K]);
  }
}

void TZezudIdView::DrawRotationCenterGrip(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index) {
  const TIELayerGripRects Rects = IELayerGripRects(FLayers[Index].get(), FLayerGripSize);
  GripCanvas(Dest, Rows)->Ellipse(Rects[8]);
}

void TZezudIdView::MarkOutsideLayers(TIEBitmap* Dest, std::vector<Byte*>&) {
  if (FOutsideLayersMode != 2 && FOutsideLayersMode != 3) return;
  const TIELayerDrawGeometry& G = FLayers[0]->DrawGeometry;
  const Integer X2 = G.DestX + G.DestWidth, Y2 = G.DestY + G.DestHeight;
  if (FOutsideLayersMode == 2) {
    ForEachEvenOutside(Dest, G.DestX, G.DestY, X2, Y2, [](Byte* P) { SetGrey(P, OutsideGrey); });
    return;
  }
  const Integer Value = FOutsideLayersValue;
  ForEachOutside(Dest, G.DestX, G.DestY, X2, Y2, [Value](Byte* P) {
    for (Integer C = 0; C < 3; ++C) P[C] = static_cast<Byte>(std::clamp(P[C] + Value, 0, 255));
  });
}

void TZezudIdView::DrawGrid(TIEBitmap* Dest) {
  TIELayer* Layer = GetCurrentLayer();
  const Integer MinZoom = IEViewGlobals().GridMinZoom;
  if (!FDisplayGrid || !Layer || !Layer->Visible) return;
  if (FZoomX < MinZoom && FZoomY < MinZoom) return;
  if (FBitmapWidth <= 1 && FBitmapHeight <= 1) return;
  const TIELayerDrawGeometry& G = Layer->DrawGeometry;
  TCanvas* Canvas = Dest->GetCanvas();
  // The unit's pen, or one like it when the unit has not started.
  TPen Inverting;
  Inverting.SetMode(pmNot);
  Canvas->SetPen(IEViewGlobals().GridPen ? IEViewGlobals().GridPen : &Inverting);
  for (const Integer X : IEGridLines(G.DestX, G.DestWidth, G.SrcWidth)) {
    Canvas->MoveTo(X, G.DestY);
    Canvas->LineTo(X, G.DestY + G.DestHeight);
  }
  for (const Integer Y : IEGridLines(G.DestY, G.DestHeight, G.SrcHeight)) {
    Canvas->MoveTo(G.DestX, Y);
    Canvas->LineTo(G.DestX + G.DestWidth, Y);
  }
  if (FHighlightedPixel.X == -1 && FHighlightedPixel.Y == -1) return;
  const Integer PX = FHighlightedPixel.X, PY = FHighlightedPixel.Y;
  TIECanvas Outline(Canvas);
  Outline.GetPen()->SetColor(clRed);
  Outline.GetPen()->SetStyle(psSolid);
  Outline.GetPen()->SetMode(pmCopy);
  Outline.GetPen()->SetWidth(2);
  Outline.GetBrush()->SetStyle(bsClear);
  Outline.RoundRect(Layer->BitmapToScreenX(PX), Layer->BitmapToScreenY(PY), Layer->BitmapToScreenX(PX + 1),
                    Layer->BitmapToScreenY(PY + 1), 5, 5);
}
