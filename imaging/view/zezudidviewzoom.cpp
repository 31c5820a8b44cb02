// The view's zoom: the setters, zooming about a point and to the selection, the fit zooms,
// extents and visible area, the zoom tables and the client <-> picture conversions.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewgeometry.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/system/Math.h"

namespace {

// The scroll position that keeps the picture point at the client centre when the zoom of one
// axis becomes Zoom.
Integer CentredViewPosition(Integer ViewExtent, Integer View, Integer Offset, Double InvZoom, Double Zoom) {
  const Integer Half = ViewExtent / 2;
  const Int64 Column = Round(static_cast<Extended>(Half + View - Offset) * InvZoom);
  return static_cast<Integer>(Trunc(static_cast<Extended>(Column) * Zoom / 100 - Half));
}

Integer ZoomedLength(Integer Length, Double Factor) {
  return static_cast<Integer>(Trunc(static_cast<Extended>(Length) * Factor));
}

// One axis of the visible area: the first column shown (from the snapped scroll position),
// the columns shown and their width on screen.
void UpdateVisibleAxis(Integer Snapped, Integer Bitmap, Integer Zoomed, Integer Extent, Double Zoom,
                       Double Factor, Integer& First, Integer& Shown, Integer& ScreenShown) {
  if (Zoomed == 0) {
    First = Shown = ScreenShown = 0;
    return;
  }
  const Extended Ratio = static_cast<Extended>(Bitmap) / Zoomed;
  First = static_cast<Integer>(Round(Snapped * Ratio));
  Shown = static_cast<Integer>(Round(Ratio * Extent));
  if (First + Shown > Bitmap) --Shown;
  if (Zoom <= 100) {
    ScreenShown = Extent;
    return;
  }
  ScreenShown = ZoomedLength(Shown, Factor);
  // A partly shown last column still counts.
  if (ScreenShown < Extent && First + Shown < Bitmap) {
    ++Shown;
    ScreenShown = ZoomedLength(Shown, Factor);
  }
}

// The scroll position that puts Column under the client offset Pointer at the zoom factor F
// the tables were built for; without them, the column starts where the pointer is.
Integer PointerViewPosition(const std::vector<Integer>& ScrToBmp, const std::vector<Integer>& BmpToScr,
                            Integer Column, Integer Pointer, Extended F) {
  Integer Position = 0;
  if (IEViewPositionFor(ScrToBmp, BmpToScr, Column, Pointer, Position)) return Position;
  return static_cast<Integer>(Trunc(F * Column - Pointer));
}

}  // namespace

void TZezudIdView::StoreZoomX(Double Value) {
  FZoomX = Value;
  FZoomFactorX = Value / 100;
  FInvZoomX = 100 / Value;
}

void TZezudIdView::StoreZoomY(Double Value) {
  FZoomY = Value;
  FZoomFactorY = Value / 100;
  FInvZoomY = 100 / Value;
}

void TZezudIdView::SetZoomAxes(Double Value, bool X, bool Y) {
  StopSmoothScroll();
  const Integer NewX = CentredViewPosition(GetViewWidth(), FViewX, FOffsetX, FInvZoomX, Value);
  const Integer NewY = CentredViewPosition(GetViewHeight(), FViewY, FOffsetY, FInvZoomY, Value);
  if (X) StoreZoomX(Value);
  if (Y) StoreZoomY(Value);
  Integer MaxX = 0, MaxY = 0;
  GetMaxViewXY(MaxX, MaxY);
  if (X) FViewX = std::clamp(NewX, 0, MaxX);
  if (Y) FViewY = std::clamp(NewY, 0, MaxY);
}

void TZezudIdView::SetZoom(Double Value) {
  SetZoomAxes(Value, true, true);
}

void TZezudIdView::SetZoomX(Double Value) {
  SetZoomAxes(Value, true, false);
}

void TZezudIdView::SetZoomY(Double Value) {
  SetZoomAxes(Value, false, true);
}

void TZezudIdView::LoadDelayCounters(bool Zoomed) {
  if (FDelayZoomFilter && FZoomFilter != rfNone && Zoomed) FFilterDelay = FFilterDelayTicks;
  FBorderDelay = FBorderDelayTicks;
}

void TZezudIdView::ChangeZoomAxes(Double Value, bool X, bool Y) {
  StopSmoothScroll();
  DoViewChanging(2, Value);
  if (Value <= 0 || ((!X || Value == FZoomX) && (!Y || Value == FZoomY))) return;
  LoadDelayCounters((X && FZoomX != 100) || (Y && FZoomY != 100));
  // Only a zoom of both axes holds the navigator still while it runs.
  TZezudIdView* Linked = X && Y ? FLinkedView : nullptr;
  LockPaint();
  if (Linked) Linked->LockPaint();
  if (X && Y)
    SetZoom(Value);
  else if (X)
    SetZoomX(Value);
  else
    SetZoomY(Value);
  // The second pass sees the scroll bars the first one showed or hid.
  for (Integer Pass = 0; Pass < 2; ++Pass) {
    FUpdateReason = 2;
    Update();
  }
  UpdateViewGeometry();
  UpdateZoomTables();
  UnlockPaintNoRefresh();
  if (Linked) Linked->UnlockPaintNoRefresh();
  Paint();
  DoViewChange(1);
}

void TZezudIdView::ChangeZoom(Double Value) {
  ChangeZoomAxes(Value, true, true);
}

void TZezudIdView::ChangeZoomX(Double Value) {
  ChangeZoomAxes(Value, true, false);
}

void TZezudIdView::ChangeZoomY(Double Value) {
  ChangeZoomAxes(Value, false, true);
}

void TZezudIdView::ZoomAt(Integer X, Integer Y, Double Zoom, bool Center) {
  TZezudIdView* Linked = FLinkedView;
  if (Linked) Linked->LockPaint();
  DoViewChanging(2, X);
  DoViewChanging(2, Y);
  LockPaint();
  const Integer PictureX = XScr2Bmp(X), PictureY = YScr2Bmp(Y);
  ChangeZoom(Zoom);
  const Extended F = FZoomX / 100;
  Integer NewX, NewY;
  if (Center) {
    NewX = static_cast<Integer>(Trunc(F * PictureX - GetViewWidth() / 2));
    NewY = static_cast<Integer>(Trunc(PictureY * F - GetViewHeight() / 2));
  } else {
    NewX = PointerViewPosition(FScrToBmpX, FBmpToScrX, PictureX, X - FOffsetX, F);
    NewY = PointerViewPosition(FScrToBmpY, FBmpToScrY, PictureY, Y - FOffsetY, FZoomY / 100);
  }
  SetViewXY(NewX, NewY);
  UnlockPaint();
  UpdateViewGeometry();
  UpdateZoomTables();
  if (Linked) {
    Linked->UnlockPaintNoRefresh();
    SyncNavigator();
  }
}

void TZezudIdView::Fit() {
  HideHorzScrollBar();
  HideVertScrollBar();
  if (!IsEmpty()) ChangeZoom(GetOptimalZoom());
}

void TZezudIdView::GetFitBorders(Integer& HorzBorder, Integer& VertBorder, bool Frame) {
  const TIEViewGlobals& G = IEViewGlobals();
  switch (FBackgroundStyle) {
    case iebsCropped:
      HorzBorder = G.EdgeX;
      VertBorder = G.EdgeY;
      return;
    case iebsCropShadow:
      HorzBorder = VertBorder = 5;
      return;
    case iebsSoftShadow:
      HorzBorder = VertBorder = 9;
      return;
    default:
      break;
  }
  if (!Frame) {
    HorzBorder = (GetWidth() - GetViewWidth()) / 2;
    VertBorder = (GetHeight() - GetViewHeight()) / 2;
  } else if (GetBorderStyle() == bsNone) {
    HorzBorder = VertBorder = 0;
  } else if (GetCtl3D()) {
    HorzBorder = G.EdgeX;
    VertBorder = G.EdgeY;
  } else {
    HorzBorder = G.BorderX;
    VertBorder = G.BorderY;
  }
}

void TZezudIdView::GetFitZooms(Double& ZoomX, Double& ZoomY) {
  Integer BorderX = 0, BorderY = 0;
  GetFitBorders(BorderX, BorderY, true);
  ZoomX = IEFitAxisZoom(GetWidth() - 2 * BorderX, FBitmapWidth);
  ZoomY = IEFitAxisZoom(GetHeight() - 2 * BorderY, FBitmapHeight);
}

Double TZezudIdView::GetOptimalZoom() {
  Double ZoomX = 0, ZoomY = 0;
  GetFitZooms(ZoomX, ZoomY);
  return std::min(ZoomX, ZoomY);
}

void TZezudIdView::ApplyAutoZoom() {
  DoViewChanging(2, FZoomX);
  Integer BorderX = 0, BorderY = 0;
  GetFitBorders(BorderX, BorderY, false);
  Double Zoom = 100;
  if (FBitmapWidth > 1 || FBitmapHeight > 1)
    Zoom =
        IEGetFitZoom(FBitmapWidth, FBitmapHeight, GetViewWidth() - 2 * BorderX, GetViewHeight() - 2 * BorderY,
                     FAutoShrink || FAutoFit, FAutoStretch || FAutoFit, GetOptimalZoom());
  Zoom = std::max(Zoom, 1.0);
  StoreZoomX(Zoom);
  StoreZoomY(Zoom);
  UpdateViewGeometry();
  UpdateZoomTables();
  DoViewChange(1);
  FFilterDelay = 0;
  FBorderDelay = 0;
}

void TZezudIdView::ZoomSelection(bool KeepAspect, bool FireZoomIn) {
  if (!FSelectionActive) return;
  const Integer X1 = GetSelX1(), Y1 = GetSelY1(), X2 = GetSelX2(), Y2 = GetSelY2();
  const Integer W = X2 + 1 - X1, H = Y2 + 1 - Y1;
  if (X1 < 0 || Y1 < 0 || W < 2 || H < 2) return;
  Deselect();
  const Double ZoomWidth = GetWidth() / (W / 100.0), ZoomHeight = GetHeight() / (H / 100.0);
  Double Zoom = std::min(ZoomHeight, ZoomWidth);
  if (FireZoomIn) DoZoomIn(Zoom);
  if (KeepAspect) {
    ChangeZoom(Zoom);
  } else {
    ChangeZoomX(ZoomWidth);
    ChangeZoomY(ZoomHeight);
  }
  const Extended ZX = FZoomX / 100, ZY = FZoomY / 100;
  SetViewXY(static_cast<Integer>(Trunc(X1 * ZX) - (GetViewWidth() - Trunc(W * ZX)) / 2),
            static_cast<Integer>(Trunc(Y1 * ZY) - (GetViewHeight() - Trunc(H * ZY)) / 2));
}

void TZezudIdView::GetMaxViewXY(Integer& MaxX, Integer& MaxY) {
  const Integer ViewW = GetViewWidth(), ViewH = GetViewHeight();
  Integer W = ZoomedLength(FBitmapWidth, FZoomFactorX), H = ZoomedLength(FBitmapHeight, FZoomFactorY);
  // Scrolled to the end, the last picture pixel shows whole: count one more.
  const bool SameZoom = FZoomX == FZoomY;
  if (!SameZoom) {
    if (ViewW + 10 < W) W = ZoomedLength(FBitmapWidth + 1, FZoomFactorX);
    if (ViewH + 10 < H) H = ZoomedLength(FBitmapHeight + 1, FZoomFactorY);
  } else if ((ViewW + 10 < W || ViewH + 10 < H) && FScrollBars != ssNone) {
    W = ZoomedLength(FBitmapWidth + 1, FZoomFactorX);
    H = ZoomedLength(FBitmapHeight + 1, FZoomFactorY);
  }
  MaxX = MaxY = 0;
  if (W < 1 || H < 1) return;
  MaxX = W - ViewW;
  MaxY = H - ViewH;
  if (MaxX < 0 || XScr2Bmp(MaxX) == 0) MaxX = 0;
  if (MaxY < 0 || YScr2Bmp(MaxY) == 0) MaxY = 0;
  if (!SameZoom) {
    if (GetWidth() >= W) MaxX = 0;
    if (GetHeight() >= H) MaxY = 0;
  } else if (GetWidth() >= W && GetHeight() >= H) {
    MaxX = MaxY = 0;
  }
}

bool TZezudIdView::IsScrollable() {
  Integer MaxX = 0, MaxY = 0;
  GetMaxViewXY(MaxX, MaxY);
  return MaxX > 0 || MaxY > 0;
}

void TZezudIdView::UpdateExtents() {
  FZoomedWidth = static_cast<Integer>(Round(static_cast<Extended>(FBitmapWidth) * FZoomFactorX));
  FZoomedHeight = static_cast<Integer>(Round(static_cast<Extended>(FBitmapHeight) * FZoomFactorY));
  FOffsetX = FOffsetY = 0;
  if (GetComponentState().Contains(csDesigning)) {
    FExtentX = std::min(FZoomedWidth, GetWidth());
    FExtentY = std::min(FZoomedHeight, GetHeight());
    return;
  }
  const Integer ViewW = GetViewWidth(), ViewH = GetViewHeight();
  FExtentX = std::min(FZoomedWidth, ViewW);
  FExtentY = std::min(FZoomedHeight, ViewH);
  if (FCenter) {
    if (FExtentX < ViewW) FOffsetX = (ViewW - FExtentX) / 2;
    if (FExtentY < ViewH) FOffsetY = (ViewH - FExtentY) / 2;
  }
}

void TZezudIdView::UpdateViewGeometry() {
  UpdateVisibleAxis(SnapViewX(FViewX), FBitmapWidth, FZoomedWidth, FExtentX, FZoomX, FZoomFactorX, FVisibleX,
                    FVisibleWidth, FVisibleScreenWidth);
  UpdateVisibleAxis(SnapViewY(FViewY), FBitmapHeight, FZoomedHeight, FExtentY, FZoomY, FZoomFactorY,
                    FVisibleY, FVisibleHeight, FVisibleScreenHeight);
}

void TZezudIdView::UpdateZoomTables() {
  const bool Unchanged = FTablesZoomX == FZoomX && FTablesZoomY == FZoomY &&
                         FTablesDrawnWidth == FVisibleScreenWidth &&
                         FTablesDrawnHeight == FVisibleScreenHeight && FTablesLayeredWidth == FBitmapWidth &&
                         FTablesLayeredHeight == FBitmapHeight;
  if (!Unchanged) {
    for (std::vector<Integer>* Table : {&FScrToBmpX, &FScrToBmpY, &FBmpToScrX, &FBmpToScrY}) {
      Table->clear();
      Table->shrink_to_fit();
    }
    FTableExtentX = FTableExtentY = FBitmapExtentX = FBitmapExtentY = 0;
    FScrToBmpCursorX = FScrToBmpCursorY = FBmpToScrCursorX = FBmpToScrCursorY = 0;
    // An empty picture keeps no tables and so is rebuilt on every call.
    if (FVisibleScreenWidth == 0 || FVisibleScreenHeight == 0 || FIEBitmap->GetWidth() == 0 ||
        FIEBitmap->GetHeight() == 0)
      return;
    FTableExtentX = FVisibleScreenWidth;
    FTableExtentY = FVisibleScreenHeight;
    FBitmapExtentX = static_cast<Integer>(Trunc(static_cast<Extended>(FVisibleScreenWidth) * FInvZoomX));
    FBitmapExtentY = static_cast<Integer>(Trunc(static_cast<Extended>(FVisibleScreenHeight) * FInvZoomY));
    IEBuildZoomAxis(FScrToBmpX, FBmpToScrX, FZoomedWidth, FVisibleScreenWidth, FBitmapWidth, FZoomX,
                    FZoomFactorX, FInvZoomX);
    IEBuildZoomAxis(FScrToBmpY, FBmpToScrY, FZoomedHeight, FVisibleScreenHeight, FBitmapHeight, FZoomY,
                    FZoomFactorY, FInvZoomY);
    FTablesZoomX = FZoomX;
    FTablesZoomY = FZoomY;
    FTablesDrawnWidth = FVisibleScreenWidth;
    FTablesDrawnHeight = FVisibleScreenHeight;
    FTablesLayeredWidth = FBitmapWidth;
    FTablesLayeredHeight = FBitmapHeight;
  }
  if (FTableExtentX <= 0) return;
  // Scrolling only moves the cursors.
  const auto Cursors = [](const std::vector<Integer>& ScrToBmp, Integer Snapped, Integer First,
                          Integer& ScrCursor, Integer& BmpCursor) {
    ScrCursor = Snapped;
    BmpCursor = static_cast<std::size_t>(Snapped) < ScrToBmp.size()
                    ? std::max(0, ScrToBmp[static_cast<std::size_t>(Snapped)] - First)
                    : 0;
  };
  Cursors(FScrToBmpX, SnapViewX(FViewX), FVisibleX, FScrToBmpCursorX, FBmpToScrCursorX);
  Cursors(FScrToBmpY, SnapViewY(FViewY), FVisibleY, FScrToBmpCursorY, FBmpToScrCursorY);
}

Integer TZezudIdView::SnapViewX(Integer Value) {
  return IESnapView(FScrToBmpX, FBmpToScrX, FTableExtentX, Value, FZoomedWidth);
}

Integer TZezudIdView::SnapViewY(Integer Value) {
  return IESnapView(FScrToBmpY, FBmpToScrY, FTableExtentY, Value, FZoomedHeight);
}

namespace {

// A table entry at Cursor + Index when the tables cover it.
bool TableEntry(const std::vector<Integer>& Table, Integer Cursor, Integer Index, Integer Extent,
                Integer& Entry) {
  if (Index < 0 || Index >= Extent) return false;
  const auto At = static_cast<std::size_t>(Cursor) + static_cast<std::size_t>(Index);
  if (At >= Table.size()) return false;
  Entry = Table[At];
  return true;
}

}  // namespace

Integer TZezudIdView::XScr2Bmp(Integer X) {
  const Integer A = X - FOffsetX;
  Integer Entry = 0;
  if (TableEntry(FScrToBmpX, FScrToBmpCursorX, A, FTableExtentX, Entry)) return Entry;
  return IEScreenToBitmapArith(A, FInvZoomX, FVisibleX);
}

Integer TZezudIdView::YScr2Bmp(Integer Y) {
  const Integer A = Y - FOffsetY;
  Integer Entry = 0;
  if (TableEntry(FScrToBmpY, FScrToBmpCursorY, A, FTableExtentY, Entry)) return Entry;
  return IEScreenToBitmapArith(A, FInvZoomY, FVisibleY);
}

Integer TZezudIdView::XBmp2Scr(Integer X) {
  Integer Entry = 0;
  if (TableEntry(FBmpToScrX, FBmpToScrCursorX, X - FVisibleX, FBitmapExtentX, Entry)) return Entry + FOffsetX;
  return IEBitmapToScreenArith(X, SnapViewX(FViewX), FInvZoomX, FZoomFactorX, FOffsetX);
}

Integer TZezudIdView::YBmp2Scr(Integer Y) {
  Integer Entry = 0;
  if (TableEntry(FBmpToScrY, FBmpToScrCursorY, Y - FVisibleY, FBitmapExtentY, Entry)) return Entry + FOffsetY;
  return IEBitmapToScreenArith(Y, SnapViewY(FViewY), FInvZoomY, FZoomFactorY, FOffsetY);
}
