// Scrolling at zoom 100 without rebuilding the back buffer: what stays in view moves inside the
// picture's drawn rectangle and only the strips that scrolled in are drawn again.
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Graphic.h"

void TZezudIdView::BackBufferScrolled() {
  if (!FBackBufferDirty) FBackBufferScrolled = true;
}

void TZezudIdView::RememberBuiltGeometry() {
  FBuilt = {
      FViewX,        FViewY, FOffsetX, FOffsetY, FVisibleScreenWidth, FVisibleScreenHeight, FBitmapWidth,
      FBitmapHeight, FZoomX, FZoomY,   true};
}

namespace {

// Moves the rectangle X, Y, W, H of Bitmap's rows by DX, DY (it stays inside itself).
void MoveInside(TIEBitmap* Bitmap, Integer X, Integer Y, Integer W, Integer H, Integer DX, Integer DY) {
  const Integer KeptW = W - std::abs(DX), KeptH = H - std::abs(DY);
  const Integer SrcX = X + std::max(-DX, 0), DstX = X + std::max(DX, 0);
  const std::size_t Bytes = static_cast<std::size_t>(KeptW) * 3;
  const auto Row = [&](Integer K) {
    const Integer SrcY = Y + std::max(-DY, 0) + K, DstY = Y + std::max(DY, 0) + K;
    Byte* Src = static_cast<Byte*>(Bitmap->GetScanline(SrcY)) + SrcX * 3;
    Byte* Dst = static_cast<Byte*>(Bitmap->GetScanline(DstY)) + DstX * 3;
    std::memmove(Dst, Src, Bytes);
  };
  // Rows moving down are copied from the bottom up, so none is overwritten before it is read.
  if (DY > 0)
    for (Integer K = KeptH - 1; K >= 0; --K) Row(K);
  else
    for (Integer K = 0; K < KeptH; ++K) Row(K);
}

}  // namespace

void TZezudIdView::RepaintScrolledBackBuffer() {
  TIEBitmap* Dest = FBackBuffer.get();
  SyncCurrentLayer();
  UpdateViewGeometry();
  UpdateZoomTables();
  const Integer DX = FBuilt.ViewX - FViewX, DY = FBuilt.ViewY - FViewY;
  TIELayer* Layer = GetLayersCount() == 1 ? FLayers[0].get() : nullptr;
  TGraphic* WallPaper = FWallPaper ? FWallPaper->GetGraphic() : nullptr;
  const bool PlainBackground =
      FBackgroundStyle == iebsSolid && (!WallPaper || WallPaper->Empty()) && !OnDrawBackground;
  // Only a picture that moves as a whole, with nothing drawn over it that stays in place.
  const bool Movable =
      FBuilt.Valid && FZoomX == 100 && FZoomY == 100 && FBuilt.ZoomX == 100 && FBuilt.ZoomY == 100 &&
      FBuilt.OffsetX == FOffsetX && FBuilt.OffsetY == FOffsetY && FBuilt.ExtentX == FVisibleScreenWidth &&
      FBuilt.ExtentY == FVisibleScreenHeight && FBuilt.BitmapWidth == FBitmapWidth &&
      FBuilt.BitmapHeight == FBitmapHeight && FOffsetX + FVisibleScreenWidth <= Dest->GetWidth() &&
      FOffsetY + FVisibleScreenHeight <= Dest->GetHeight() && std::abs(DX) < FVisibleScreenWidth &&
      std::abs(DY) < FVisibleScreenHeight && Layer && Layer->Visible && Layer->Width == 0 &&
      Layer->Height == 0 && Layer->PosX == 0 && Layer->Rotate == 0 && Layer->PosY == 0 &&
      !Layer->VisibleBox && !Layer->ShadeOutside && !OnDrawBackBuffer && !FDisplayGrid &&
      (PlainBackground || BackgroundHidden(Dest, Layer)) &&
      !(FSelectionActive &&
        (FSelectionOptions.Contains(iesoFilled) || FSelectionOptions.Contains(iesoMarkOuter)));
  if (!Movable) {
    DrawToBackBuffer(Dest, &FBackBufferRows, nullptr, true, true);
    RememberBuiltGeometry();
    return;
  }
  if (DX == 0 && DY == 0) return;
  MoveInside(Dest, FOffsetX, FOffsetY, FVisibleScreenWidth, FVisibleScreenHeight, DX, DY);
  // The strips that scrolled in, inclusive rectangles inside the drawn picture.
  const Integer X2 = FOffsetX + FVisibleScreenWidth - 1, Y2 = FOffsetY + FVisibleScreenHeight - 1;
  if (DX != 0) {
    const TRect Strip =
        DX > 0 ? TRect{FOffsetX, FOffsetY, FOffsetX + DX - 1, Y2} : TRect{X2 + DX + 1, FOffsetY, X2, Y2};
    DrawToBackBuffer(Dest, &FBackBufferRows, &Strip, true, true);
  }
  if (DY != 0) {
    const TRect Strip =
        DY > 0 ? TRect{FOffsetX, FOffsetY, X2, FOffsetY + DY - 1} : TRect{FOffsetX, Y2 + DY + 1, X2, Y2};
    DrawToBackBuffer(Dest, &FBackBufferRows, &Strip, true, true);
  }
  RememberBuiltGeometry();
}
