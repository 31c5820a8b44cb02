// A magnifier layer: before it is drawn, its bitmap takes an enlarged copy of what lies under
// its glass, from the back buffer or from the background layer, and a square or round alpha.
#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Canvas.h"
#include "platform/system/Math.h"

void TZezudIdView::PrepareMagnifier(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index,
                                    TResampleFilter Filter) {
  TIELayer* Layer = FLayers[Index].get();
  TIEBitmap* Bitmap = Layer->Bitmap;
  const TIEMagnifier& Glass = Layer->Magnifier;
  // While a grip is dragged the glass keeps its bitmap and is only stretched.
  if (FLayerGrip == 0 && Layer->Width > 0 && Layer->Height > 0 &&
      (Bitmap->GetWidth() != Layer->Width || Bitmap->GetHeight() != Layer->Height))
    Bitmap->Resize(Layer->Width, Layer->Height, 0, 255, 0, 0);
  const Integer BW = Bitmap->GetWidth(), BH = Bitmap->GetHeight();
  if (BW <= 0 || BH <= 0) return;
  const auto GW = static_cast<Integer>(Trunc(BW / (Glass.Rate / FZoomFactorX)));
  const auto GH = static_cast<Integer>(Trunc(BH / (Glass.Rate / FZoomFactorY)));
  const Integer CX = BitmapToScreenX(Layer->PosX) + static_cast<Integer>(Trunc(BW * FZoomFactorX / 2));
  const Integer CY = BitmapToScreenY(Layer->PosY) + static_cast<Integer>(Trunc(BH * FZoomFactorY / 2));
  const TRect Seen{CX - GW / 2, CY - GH / 2, CX + GW - GW / 2, CY + GH - GH / 2};

  if (Glass.Source == 1) {
    // What the layers below already drew.
    Bitmap->SetLocation(ieTBitmap);
    Bitmap->GetCanvas()->CopyRect({0, 0, BW, BH}, DestCanvas(Dest, Rows), Seen);
  } else {
    if (Bitmap->GetPixelFormat() != ie24RGB) Bitmap->ConvertToPixelFormat(ie24RGB);
    TIEBitmap* Background = FLayers[0]->Bitmap;
    const Integer X1 = ScreenToBitmapX(Seen.Left), Y1 = ScreenToBitmapY(Seen.Top);
    const Integer W = ScreenToBitmapX(Seen.Right) - X1 + 1, H = ScreenToBitmapY(Seen.Bottom) - Y1 + 1;
    const Integer LW = Background->GetWidth(), LH = Background->GetHeight();
    // A glass reaching outside the background keeps what it showed last.
    if (X1 >= 0 && Y1 >= 0 && X1 < LW - W && Y1 < LH - H && W < LW && H < LH) {
      Bitmap->Fill(0);
      Background->DrawToTIEBitmap(Bitmap, 0, 0, BW, BH, X1, Y1, W, H, 255, Filter, 0);
    }
  }

  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  if (Glass.Style == 0) {
    Alpha->Fill(255);
    return;
  }
  Alpha->SetLocation(ieTBitmap);
  Alpha->Fill(0);
  Alpha->SetFull(false);
  TCanvas* Canvas = Alpha->GetCanvas();
  TPen* Pen = Canvas->GetPen();
  Pen->SetStyle(psSolid);
  Pen->SetMode(pmCopy);
  Pen->SetWidth(1);
  Pen->SetColor(clWhite);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clWhite);
  Canvas->Ellipse(0, 0, BW - 1, BH - 1);
}
