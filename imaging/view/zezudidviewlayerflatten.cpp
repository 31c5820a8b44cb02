// Flattening the layers into one picture: the painter draws them at 100 % into a caller's
// bitmap large enough for every layer that may leave the background.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "platform/system/ScopeExit.h"

namespace {

// What the flattening borrows of the view's geometry.
struct TViewGeometrySnapshot {
  Double ZoomX, ZoomY;
  Integer ViewX, ViewY, OffsetX, OffsetY;
  Integer ExtentX, ExtentY, ZoomedWidth, ZoomedHeight, BitmapWidth, BitmapHeight;
};

}  // namespace

void TZezudIdView::LayersDrawTo(TIEBitmap* Bitmap) {
  const TIELayer* Base = FLayers[0].get();
  Integer Right = Base->PosX + Base->GetWidth();
  Integer Bottom = Base->PosY + Base->GetHeight();
  Integer ShiftX = 0, ShiftY = 0;  // room for layers left of or above the background
  for (const auto& Layer : FLayers) {
    if (Layer->ClipToBackground) continue;
    Right = std::max(Right, Layer->PosX + Layer->GetWidth());
    Bottom = std::max(Bottom, Layer->PosY + Layer->GetHeight());
    if (Layer->PosX < 0) ShiftX = std::max(ShiftX, -Layer->PosX);
    if (Layer->PosY < 0) ShiftY = std::max(ShiftY, -Layer->PosY);
  }
  const Double Fill = static_cast<Double>(GetBackground());
  if (Bitmap->IsEmpty()) {
    // The painter draws into 24-bit pixels; an empty target gets them first.
    if (!Bitmap->Allocate(Right + ShiftX, Bottom + ShiftY, ie24RGB)) return;
    Bitmap->Fill(Fill);
  } else {
    Bitmap->Resize(Right + ShiftX, Bottom + ShiftY, Fill, 255, 0, 0);
  }

  const TViewGeometrySnapshot Saved{FZoomX,       FZoomY,        FViewX,       FViewY,
                                    FOffsetX,     FOffsetY,      FExtentX,     FExtentY,
                                    FZoomedWidth, FZoomedHeight, FBitmapWidth, FBitmapHeight};
  {
    auto Restore = ScopeExit([&] {
      FZoomX = Saved.ZoomX;
      FZoomY = Saved.ZoomY;
      FViewX = Saved.ViewX;
      FViewY = Saved.ViewY;
      FOffsetX = Saved.OffsetX;
      FOffsetY = Saved.OffsetY;
      FExtentX = Saved.ExtentX;
      FExtentY = Saved.ExtentY;
      FZoomedWidth = Saved.ZoomedWidth;
      FZoomedHeight = Saved.ZoomedHeight;
      FBitmapWidth = Saved.BitmapWidth;
      FBitmapHeight = Saved.BitmapHeight;
      FZoomFactorX = FZoomX / 100;
      FZoomFactorY = FZoomY / 100;
      FInvZoomX = 100 / FZoomX;
      FInvZoomY = 100 / FZoomY;
    });
    FZoomX = FZoomY = 100;
    FZoomFactorX = FZoomFactorY = FInvZoomX = FInvZoomY = 1;
    FViewX = FViewY = 0;
    FOffsetX = ShiftX;
    FOffsetY = ShiftY;
    const Integer BaseWidth = Base->Bitmap->GetWidth(), BaseHeight = Base->Bitmap->GetHeight();
    FExtentX = FZoomedWidth = FBitmapWidth = BaseWidth;
    FExtentY = FZoomedHeight = FBitmapHeight = BaseHeight;
    DrawToBackBuffer(Bitmap, nullptr, nullptr, false, false);
  }
  const bool NoInvalidate = FNoInvalidate;
  FNoInvalidate = true;
  auto Restore = ScopeExit([&] { FNoInvalidate = NoInvalidate; });
  UpdateViewGeometry();
  Update();
}

void TZezudIdView::LayersMergeAll() {
  TIEBitmap Flat(FIEBitmap->GetWidth(), FIEBitmap->GetHeight(), ie24RGB);
  Flat.Fill(static_cast<Double>(GetBackground()));
  LayersDrawTo(&Flat);
  LayersClear();
  FIEBitmap->Assign(&Flat);
  Update();
}
