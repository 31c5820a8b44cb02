// Layers under the mouse: hitting the grips of the current layer, resizing a layer by a grip, and
// baking explicit sizes, rotations and transparent borders into the layers' bitmaps.
#include <algorithm>
#include <span>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegeometry.h"
#include "imaging/proc/ieprocgeometry.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/system/Math.h"

namespace {

bool IsCornerGrip(Integer Grip) {
  return Grip >= ieTopLeft && Grip <= ieBottomLeft;
}

}  // namespace

Integer TZezudIdView::LayerGripAt(Integer X, Integer Y) {
  if (FCurrentLayer < 0 || FCurrentLayer >= GetLayersCount()) return ieNone;
  const TIELayerGripRects Rects = IELayerGripRects(FLayers[FCurrentLayer].get(), FLayerGripSize);
  for (Integer K = 0; K < 9; ++K) {
    const TRect& R = Rects[K];
    if (X < R.Left || X > R.Right || Y < R.Top || Y > R.Bottom) continue;
    if (K + 1 == ieRotationCenter && !FMouseInteract.Contains(miRotateLayers)) return ieNone;
    return K + 1;
  }
  return ieNone;
}

// The middle of the rotation-centre grip.
TPoint TZezudIdView::LayerRotationCenter(Integer Layer) {
  const TRect R = IELayerGripRects(FLayers[Layer].get(), FLayerGripSize)[ieRotationCenter - 1];
  return {R.Left + FLayerGripSize, R.Top + FLayerGripSize};
}

void TZezudIdView::ResizeLayerByMouse(Integer X, Integer Y, bool Constrain) {
  TIELayer* L = GetCurrentLayer();
  const Integer W = L->GetWidth(), H = L->GetHeight();
  Integer P = L->PosX, Q = L->PosY;
  Integer F = XScr2Bmp(X), G = YScr2Bmp(Y);
  const Integer LX = XScr2Bmp(FLastMousePoint.X), LY = YScr2Bmp(FLastMousePoint.Y);
  const Integer Ls = FLayerStartRect.Left, Ts = FLayerStartRect.Top, Rs = FLayerStartRect.Right,
                Bs = FLayerStartRect.Bottom;
  const Extended A = FLayerAspect;
  Integer Grip = FLayerGrip;
  const bool KeepAspect = (FLayerResizeAspect == 1 && Constrain) || FLayerResizeAspect == 2 ||
                          (FLayerResizeAspect == 3 && IsCornerGrip(Grip));
  if (KeepAspect) {
    auto ScreenY = [&](Extended V) { return YScr2Bmp(static_cast<Integer>(Trunc(V))); };
    switch (Grip) {
      case ieTopLeft:
      case ieBottomRight:
        G = ScreenY((X - Ls) * A + Ts);
        break;
      case ieTopRight:
        G = ScreenY(A * (Rs - X) + Ts);
        break;
      case ieBottomLeft:
      case ieLeftSide:
        G = ScreenY(A * (Ls - X) + Bs);
        Grip = ieBottomLeft;
        break;
      case ieRightSide:
        G = ScreenY((X - Ls) * A + Ts);
        Grip = ieBottomRight;
        break;
      case ieTopSide:
      case ieBottomSide:
        // A flat layer has no aspect to keep along the height.
        if (A != 0) F = XScr2Bmp(static_cast<Integer>(Trunc((Y - Ts) / A + Ls)));
        Grip = Grip == ieTopSide ? ieTopLeft : ieBottomRight;
        break;
      default:
        break;
    }
  }
  Integer NewW = W, NewH = H;
  bool MoveLeft = false, MoveTop = false;
  switch (Grip) {
    case ieTopLeft:
      NewW = P + W - F, NewH = Q + H - G, MoveLeft = MoveTop = true;
      break;
    case ieTopRight:
      NewW = F - P, NewH = Q + H - G, MoveTop = true;
      break;
    case ieBottomRight:
      NewW = F - XScr2Bmp(Ls), NewH = G - YScr2Bmp(Ts);
      break;
    case ieBottomLeft:
      NewW = P + W - F, NewH = G - YScr2Bmp(Ts), MoveLeft = true;
      break;
    case ieLeftSide:
      NewW = W + LX - F;
      break;
    case ieRightSide:
      NewW = F - XScr2Bmp(Ls);
      break;
    case ieTopSide:
      NewH = Q + H - G, MoveTop = true;
      break;
    case ieBottomSide:
      NewH = H + G - LY;
      break;
    default:
      return;
  }
  NewW = std::max(NewW, 1);
  NewH = std::max(NewH, 1);
  // An edge stops moving once the layer is down to one pixel, so it cannot run away.
  if (NewW > 1 && MoveLeft) P = F;
  if (NewW > 1 && Grip == ieLeftSide) P += F - LX;
  if (NewH > 1 && MoveTop) Q = G;
  L->PosX = P;
  L->PosY = Q;
  L->Width = NewW;
  L->Height = NewH;
  if (!KeepAspect) FLayerAspect = static_cast<Double>(NewH) / NewW;
}

// ---- Baking into the bitmaps ---------------------------------------------------------------

namespace {

// Index -1 means every layer; an index outside the list means none.
template <typename TAction>
bool ForLayers(std::vector<std::unique_ptr<TIELayer>>& Layers, Integer Index, TAction Action) {
  bool Changed = false;
  for (Integer I = 0; I < static_cast<Integer>(Layers.size()); ++I)
    if (Index == -1 || Index == I) Changed |= Action(*Layers[I], I);
  return Changed;
}

}  // namespace

void TZezudIdView::CropLayerToContent(TIELayer* Layer) {
  TIEBitmap* B = Layer->Bitmap;
  const Integer BW = B->GetWidth(), BH = B->GetHeight();
  const TRect R = IECropTransparentRect(B);
  // A wholly transparent layer keeps its bitmap: there is nothing to crop to.
  if (R.Right < R.Left || R.Bottom < R.Top) return;
  if (R.Left == 0 && R.Top == 0 && R.Right == BW - 1 && R.Bottom == BH - 1) return;
  // The visible pixels stay where they were shown, also on a stretched layer.
  const Extended SX = static_cast<Extended>(Layer->GetWidth()) / BW;
  const Extended SY = static_cast<Extended>(Layer->GetHeight()) / BH;
  Layer->PosX += static_cast<Integer>(Trunc(R.Left * SX));
  Layer->PosY += static_cast<Integer>(Trunc(R.Top * SY));
  if (Layer->Width != 0)
    Layer->Width = std::max<Integer>(1, static_cast<Integer>(Round((R.Right - R.Left + 1) * SX)));
  if (Layer->Height != 0)
    Layer->Height = std::max<Integer>(1, static_cast<Integer>(Round((R.Bottom - R.Top + 1) * SY)));
  TZezudIdProc::CreateFromBitmap(B)->Crop(R.Left, R.Top, R.Right, R.Bottom);
}

void TZezudIdView::LayersFixSizes(Integer Index) {
  SyncLayers();
  const bool Changed = ForLayers(FLayers, Index, [this](TIELayer& L, Integer) {
    if (L.Width == 0 && L.Height == 0) return false;
    const Integer W = L.GetWidth(), H = L.GetHeight();
    if (W > 0 && H > 0)
      TZezudIdProc::CreateFromBitmap(L.Bitmap)->Resample(
          W, H, L.UseResampleFilter ? L.ResampleFilter : FZoomFilter);
    L.Width = 0;
    L.Height = 0;
    return true;
  });
  if (Changed) Update();
}

void TZezudIdView::LayersFixRotations(Integer Index) {
  SyncLayers();
  const bool Changed = ForLayers(FLayers, Index, [this](TIELayer& L, Integer I) {
    if (L.Rotate == 0) return false;
    LayersFixSizes(I);
    const Integer W = L.Bitmap->GetWidth(), H = L.Bitmap->GetHeight();
    TPoint Corners[4] = {{0, 0}, {W, 0}, {W, H}, {0, H}};
    IERotatePoints(std::span<TPoint>(Corners),
                   static_cast<Integer>(Trunc(W * static_cast<Extended>(L.RotateCenterX))),
                   static_cast<Integer>(Trunc(H * static_cast<Extended>(L.RotateCenterY))), L.Rotate);
    Integer MinX = Corners[0].X, MinY = Corners[0].Y;
    for (const TPoint& C : Corners) MinX = std::min(MinX, C.X), MinY = std::min(MinY, C.Y);
    L.PosX += MinX;
    L.PosY += MinY;
    L.Width = 0;
    L.Height = 0;
    // With an alpha channel the corners the turn uncovers become transparent, not background.
    L.Bitmap->GetAlphaChannel();
    TZezudIdProc::CreateFromBitmap(L.Bitmap)->Rotate(L.Rotate, true, raShearBlend, GetBackground());
    L.SetRotate(0);
    CropLayerToContent(&L);
    return true;
  });
  if (Changed) Update();
}

void TZezudIdView::LayersCropTransparency(Integer Index) {
  SyncLayers();
  const bool Changed = ForLayers(FLayers, Index, [this](TIELayer& L, Integer) {
    const Integer OldW = L.Bitmap->GetWidth(), OldH = L.Bitmap->GetHeight();
    CropLayerToContent(&L);
    return L.Bitmap->GetWidth() != OldW || L.Bitmap->GetHeight() != OldH;
  });
  if (Changed) Update();
}
