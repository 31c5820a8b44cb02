// Composing the back buffer: the background, every visible layer through the bitmap renderer,
// the layer boxes and grips, the shading outside, the selection and the pixel grid.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/ieprocrotate.h"
#include "imaging/view/zezudidviewpaint.h"
#include "imaging/view/zezudidviewpaintscopes.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Math.h"

namespace {

bool IsOpaque(TIEBitmap* Bitmap, bool EnableAlpha) {
  return !EnableAlpha || !Bitmap->HasAlphaChannel() || Bitmap->GetAlphaChannel()->GetFull();
}

// Entries First .. First + Count - 1 of a zoom table, or nothing when the table does not reach.
std::vector<Integer> TableSlice(const std::vector<Integer>& Table, Integer First, Integer Count) {
  if (First < 0 || Count <= 0 || static_cast<std::size_t>(First) + Count > Table.size()) return {};
  return {Table.begin() + First, Table.begin() + First + Count};
}

TPoint RotatedPoint(Double X, Double Y, Double CX, Double CY, Double Cos, Double Sin) {
  // Counter-clockwise on screen: rows run downwards.
  const Double DX = X - CX, DY = Y - CY;
  return {static_cast<Integer>(std::nearbyint(CX + DX * Cos + DY * Sin)),
          static_cast<Integer>(std::nearbyint(CY - DX * Sin + DY * Cos))};
}

}  // namespace

TZezudIdView::TRotatedLayer::TRotatedLayer(TZezudIdView* View, TIELayer* Layer) : FLayer(Layer) {
  if (Layer->Rotate == 0) return;
  FKeptWidth = Layer->Width;
  FKeptHeight = Layer->Height;
  FKeptPosX = Layer->PosX;
  FKeptPosY = Layer->PosY;
  FKeptBitmap = Layer->Bitmap;
  const Integer W = Layer->GetWidth(), H = Layer->GetHeight();
  if (W <= 0 || H <= 0) return;
  FRotated = std::make_unique<TIEBitmap>(W, H, ie24RGB);
  FKeptBitmap->StretchRectTo(FRotated.get(), 0, 0, W, H, 0, 0, FKeptBitmap->GetWidth(),
                             FKeptBitmap->GetHeight(), rfNone, 255);
  TIEBitmap* Alpha = FRotated->GetAlphaChannel();
  if (!FKeptBitmap->HasAlphaChannel()) Alpha->Fill(255);
  const TIERGBTriple Black{0, 0, 0};
  IERotateBitmap(FRotated.get(), false, nullptr, {}, Black, Layer->Rotate);
  IERotateBitmap8(Alpha, false, 0, nullptr, {}, Layer->Rotate);
  Alpha->SetFull(false);
  Layer->Bitmap = FRotated.get();
  Layer->Width = FRotated->GetWidth();
  Layer->Height = FRotated->GetHeight();

  const Double Angle = Layer->Rotate * std::numbers::pi / 180;
  const Double Cos = std::cos(Angle), Sin = std::sin(Angle);
  const Double CX = Trunc(W * Layer->RotateCenterX), CY = Trunc(H * Layer->RotateCenterY);
  const TPoint Unrotated[4] = {{0, 0}, {W, 0}, {W, H}, {0, H}};
  TPoint* Corners = Layer->DrawGeometry.Corners;
  Integer MinX = 0, MinY = 0;
  for (Integer K = 0; K < 4; ++K) {
    Corners[K] = RotatedPoint(Unrotated[K].X, Unrotated[K].Y, CX, CY, Cos, Sin);
    MinX = K == 0 ? Corners[K].X : std::min(MinX, Corners[K].X);
    MinY = K == 0 ? Corners[K].Y : std::min(MinY, Corners[K].Y);
  }
  Layer->PosX = FKeptPosX + MinX;
  Layer->PosY = FKeptPosY + MinY;
  for (TPoint& P : Layer->DrawGeometry.Corners) {
    P.X = static_cast<Integer>(Trunc((P.X + FKeptPosX) * View->FZoomFactorX)) + View->FOffsetX - View->FViewX;
    P.Y = static_cast<Integer>(Trunc((P.Y + FKeptPosY) * View->FZoomFactorY)) + View->FOffsetY - View->FViewY;
  }
}

TZezudIdView::TRotatedLayer::~TRotatedLayer() {
  if (!FRotated) return;
  FLayer->Bitmap = FKeptBitmap;
  FLayer->Width = FKeptWidth;
  FLayer->Height = FKeptHeight;
  FLayer->PosX = FKeptPosX;
  FLayer->PosY = FKeptPosY;
}

void TZezudIdView::DrawToBackBuffer(TIEBitmap* Dest, std::vector<Byte*>* RowCache, const TRect* UpdateRect,
                                    bool DrawBackground, bool DrawBoxes) {
  SyncCurrentLayer();
  UpdateViewGeometry();
  UpdateZoomTables();
  if (GetComponentState().Contains(csDesigning)) return;
  TIEBitmap* Current = FIEBitmap;
  if (!Current || Current->GetWidth() == 0 || Current->GetHeight() == 0) return;
  if (Current->HasAlphaChannel()) {
    TIEBitmap* Alpha = Current->GetAlphaChannel();
    if (Alpha->GetWidth() != Current->GetWidth() || Alpha->GetHeight() != Current->GetHeight()) return;
  }
  std::vector<Byte*> LocalRows;
  std::vector<Byte*>& Rows = RowCache ? *RowCache : LocalRows;
  if (!Rows.empty() && Rows.size() != static_cast<std::size_t>(Dest->GetHeight())) Rows.clear();

  bool First = true;
  const Integer Count = GetLayersCount();
  for (Integer I = 0; I < Count; ++I) {
    TIELayer* Layer = FLayers[I].get();
    if (!Layer->Visible || FVisibleScreenWidth == 0 || FVisibleScreenHeight == 0) continue;
    if (Layer->Bitmap->GetWidth() < FMinLayerSize && Layer->Bitmap->GetHeight() < FMinLayerSize) continue;
    const TLayerMaskScope Mask(this, I);
    if (First && DrawBackground && !BackgroundHidden(Dest, Layer))
      PaintBackBufferBackground(Dest, Rows, UpdateRect);
    DrawLayer(Dest, Rows, UpdateRect, I, First);
    if (DrawBoxes) DrawLayerDecorations(Dest, Rows, I);
    First = false;
  }
  if (!First) MarkOutsideLayers(Dest, Rows);
  if (First && DrawBackground) PaintBackBufferBackground(Dest, Rows, UpdateRect);
  if (DrawBoxes) {
    DrawSelectionOnBackBuffer(Dest);
    DrawGrid(Dest);
  }
}

bool TZezudIdView::BackgroundHidden(TIEBitmap* Dest, TIELayer* Layer) {
  return FOffsetX <= 0 && FOffsetY <= 0 && Dest->GetWidth() <= FVisibleScreenWidth &&
         Dest->GetHeight() <= FVisibleScreenHeight && IsOpaque(Layer->Bitmap, FEnableAlphaChannel) &&
         Layer->Transparency == 255;
}

void TZezudIdView::PaintBackBufferBackground(TIEBitmap* Dest, std::vector<Byte*>& Rows,
                                             const TRect* UpdateRect) {
  TCanvas* Canvas = DestCanvas(Dest, Rows);
  HDC DC = Canvas->GetHandle();
  if (UpdateRect)
    IntersectClipRect(DC, UpdateRect->Left, UpdateRect->Top, UpdateRect->Right + 1, UpdateRect->Bottom + 1);
  const TRect Area{0, 0, Dest->GetWidth(), Dest->GetHeight()};
  bool Handled = false;
  if (OnDrawBackground) OnDrawBackground(this, Canvas, Area, Handled);
  if (!Handled)
    IEDrawBackground(GetComponentState(), Canvas, Dest->GetTBitmap(), FWallPaperStyle, FWallPaper.get(),
                     FGradientEndColor, FChessboardBrushStyle, FChessboardSize,
                     {FOffsetX, FOffsetY, FOffsetX + FVisibleScreenWidth, FOffsetY + FVisibleScreenHeight},
                     Area, GetBackground(), FBackgroundStyle);
  if (UpdateRect) SelectClipRgn(DC, nullptr);
}

TCanvas* TZezudIdView::DestCanvas(TIEBitmap* Dest, std::vector<Byte*>& Rows) {
  // Moving the pixels into a platform bitmap leaves cached row addresses behind.
  if (Dest->GetLocation() != ieTBitmap) Rows.clear();
  return Dest->GetCanvas();
}

TResampleFilter TZezudIdView::LayerFilter(TIELayer* Layer) const {
  if (FFilterDelay > 0) return rfNone;
  if (Layer->Width == 0 && Layer->Height == 0 && FZoomX == 100 && FZoomY == 100) return rfNone;
  return Layer->UseResampleFilter ? Layer->ResampleFilter : FZoomFilter;
}

void TZezudIdView::DrawLayer(TIEBitmap* Dest, std::vector<Byte*>& Rows, const TRect* UpdateRect,
                             Integer Index, bool First) {
  TIELayer* Layer = FLayers[Index].get();
  const bool SolidFirst = First && FBackgroundStyle == iebsSolid;
  const TResampleFilter Filter = LayerFilter(Layer);
  const bool Simple = FLayersAtOrigin || (GetLayersCount() == 1 && Layer->Width == 0 && Layer->Height == 0 &&
                                          Layer->PosX == 0 && Layer->PosY == 0);
  if (Simple) {
    // Unscaled pictures are copied row by row; scaled ones read the view's zoom tables.
    std::vector<Integer> Columns, RowIndexes;
    if (FZoomX != 100 || FZoomY != 100) {
      Columns = TableSlice(FScrToBmpX, FScrToBmpCursorX, FVisibleScreenWidth);
      RowIndexes = TableSlice(FScrToBmpY, FScrToBmpCursorY, FVisibleScreenHeight);
    }
    Layer->Bitmap->RenderToTIEBitmap(Dest, Rows, Columns, RowIndexes, UpdateRect, FOffsetX, FOffsetY,
                                     FVisibleScreenWidth, FVisibleScreenHeight, FVisibleX, FVisibleY,
                                     FVisibleWidth, FVisibleHeight, FEnableAlphaChannel, SolidFirst,
                                     Layer->Transparency, Filter, false, Layer->BlendOperation);
    Layer->ScreenRect = {FOffsetX, FOffsetY, FOffsetX + FVisibleScreenWidth, FOffsetY + FVisibleScreenHeight};
    Layer->DrawGeometry.DestX = FOffsetX;
    Layer->DrawGeometry.DestY = FOffsetY;
    Layer->DrawGeometry.DestWidth = FVisibleScreenWidth;
    Layer->DrawGeometry.DestHeight = FVisibleScreenHeight;
    Layer->DrawGeometry.SrcX = FVisibleX;
    Layer->DrawGeometry.SrcY = FVisibleY;
    Layer->DrawGeometry.SrcWidth = FVisibleWidth;
    Layer->DrawGeometry.SrcHeight = FVisibleHeight;
    return;
  }
  const TRotatedLayer Rotated(this, Layer);
  if (Index > 0 && Layer->Magnifier.Enabled && Layer->Magnifier.Rate >= 1)
    PrepareMagnifier(Dest, Rows, Index, Filter);
  TIELayerDrawGeometry G = PlaceLayer(Layer);
  std::vector<Integer> Columns, RowIndexes;
  Layer->Bitmap->RenderToTIEBitmap(Dest, Rows, Columns, RowIndexes, UpdateRect, G.DestX, G.DestY, G.DestWidth,
                                   G.DestHeight, G.SrcX, G.SrcY, G.SrcWidth, G.SrcHeight, FEnableAlphaChannel,
                                   SolidFirst, Layer->Transparency, Filter, false, Layer->BlendOperation);
  std::copy(std::begin(Layer->DrawGeometry.Corners), std::end(Layer->DrawGeometry.Corners), G.Corners);
  Layer->DrawGeometry = G;
}

Integer TZezudIdView::AdjustToColumn(Integer S, Integer B) {
  const Integer Back = ScreenToBitmapX(S);
  return Back < B ? S + 1 : (Back > B ? S - 1 : S);
}

Integer TZezudIdView::AdjustToRow(Integer S, Integer B) {
  const Integer Back = ScreenToBitmapY(S);
  return Back < B ? S + 1 : (Back > B ? S - 1 : S);
}

TIELayerDrawGeometry TZezudIdView::PlaceLayer(TIELayer* Layer) {
  const Integer BW = Layer->Bitmap->GetWidth(), BH = Layer->Bitmap->GetHeight();
  const Integer LW = Layer->GetWidth(), LH = Layer->GetHeight();
  TIELayerDrawGeometry G;
  G.DestX = AdjustToColumn(BitmapToScreenX(Layer->PosX), Layer->PosX);
  G.DestY = AdjustToRow(BitmapToScreenY(Layer->PosY), Layer->PosY);
  G.DestWidth = AdjustToColumn(BitmapToScreenX(Layer->PosX + LW), Layer->PosX + LW) - G.DestX;
  G.DestHeight = AdjustToRow(BitmapToScreenY(Layer->PosY + LH), Layer->PosY + LH) - G.DestY;
  G.SrcWidth = BW;
  G.SrcHeight = BH;
  Layer->ScreenRect = {G.DestX, G.DestY, G.DestX + G.DestWidth, G.DestY + G.DestHeight};
  if (!Layer->ClipToBackground || FLayers.empty()) return G;
  // Only the part over the background layer is drawn.
  TIEBitmap* Background = FLayers[0]->Bitmap;
  if (ScreenToBitmapX(G.DestX) < 0 && LW != 0) {
    G.SrcX = -static_cast<Integer>(Trunc(static_cast<Double>(BW) / LW * Layer->PosX));
    G.SrcWidth = BW - G.SrcX;
    G.DestX = BitmapToScreenX(0);
    G.DestWidth = BitmapToScreenX(Layer->PosX + LW) - G.DestX;
  }
  if (ScreenToBitmapY(G.DestY) < 0 && LH != 0) {
    G.SrcY = -static_cast<Integer>(Trunc(static_cast<Double>(BH) / LH * Layer->PosY));
    G.SrcHeight = BH - G.SrcY;
    G.DestY = BitmapToScreenY(0);
    G.DestHeight = BitmapToScreenY(Layer->PosY + LH) - G.DestY;
  }
  const Integer ScreenW = Layer->ScreenRect.Width(), ScreenH = Layer->ScreenRect.Height();
  if (Background->GetWidth() < ScreenToBitmapX(G.DestX + G.DestWidth) && ScreenW != 0) {
    G.DestWidth = BitmapToScreenX(Background->GetWidth()) - G.DestX;
    G.SrcWidth = static_cast<Integer>(Trunc(static_cast<Double>(BW) / ScreenW * G.DestWidth));
  }
  if (Background->GetHeight() < ScreenToBitmapY(G.DestY + G.DestHeight) && ScreenH != 0) {
    G.DestHeight = BitmapToScreenY(Background->GetHeight()) - G.DestY;
    G.SrcHeight = static_cast<Integer>(Trunc(static_cast<Double>(BH) / ScreenH * G.DestHeight));
  }
  return G;
}
