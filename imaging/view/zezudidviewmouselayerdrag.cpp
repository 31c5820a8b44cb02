// Dragging layers with the mouse: picking the layer to move, rotating it or its rotation
// centre, resizing it by a grip, and the events and undo steps of those drags.
#include <algorithm>
#include <iterator>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewmouse.h"
#include "platform/system/Format.h"
#include "platform/system/Math.h"

void TZezudIdView::MouseDownOnLayers(Integer X, Integer Y) {
  FLayerChanged = false;
  FMovingLayer = FRotatingLayer = FRotationCenterLayer = -1;
  const TIEMouseInteract& M = FMouseInteract;
  // Locked layers show no grips and cannot be resized.
  FLayerGrip = M.Contains(miResizeLayers) && !GetCurrentLayer()->Locked ? LayerGripAt(X, Y) : ieNone;
  if (FLayerGrip != ieNone) {
    LayersFixRotations(-1);
    const TIELayer* L = GetCurrentLayer();
    FLayerStartRect = L->ScreenRect;
    std::copy(std::begin(L->DrawGeometry.Corners), std::end(L->DrawGeometry.Corners), FLayerStartCorners);
    DoLayerNotify(FCurrentLayer, ielBeginResizing);
    return;
  }
  if (!M.Contains(miMoveLayers) && !M.Contains(miRotateLayers)) return;
  if (M.Contains(miRotateLayers) && LayerGripAt(X, Y) == ieRotationCenter) {
    FRotationCenterLayer = FCurrentLayer;
  } else if (M.Contains(miRotateLayers) && !IsPointInLayer(X, Y, FCurrentLayer)) {
    FRotatingLayer = FCurrentLayer;
    FRotateAngle = GetCurrentLayer()->Rotate;
  } else {
    const Integer Found = FindLayerAt(X, Y, true);
    if (Found < 0) return;
    SetLayersCurrent(Found);
    FMovingLayer = FCurrentLayer;
    DoLayerNotify(FMovingLayer, ielSelected);
    DoLayerNotify(FMovingLayer, ielBeginMoving);
    if (!GetCurrentLayer()->Locked) ApplyCursor(crViewMove);
  }
}

void TZezudIdView::DragLayer(TShiftState Shift, Integer X, Integer Y) {
  if (FRotatingLayer >= 0)
    RotateLayerByMouse(Shift, X, Y);
  else if (FRotationCenterLayer >= 0)
    MoveRotationCenterByMouse(X, Y);
  else if (FLayerGrip != ieNone)
    ResizeLayerByGrip(Shift, X, Y);
  else if (FMovingLayer >= 0)
    MoveLayerByMouse(X, Y);
}

// The first change of a drag may leave an undo step behind.
void TZezudIdView::BeginLayerChange(Byte UndoKind) {
  if (FLayerChanged) return;
  FLayerChanged = true;
  if (FLayerUndo) GetProc()->SaveUndo(static_cast<TIEUndoSource>(UndoKind));
}

void TZezudIdView::RotateLayerByMouse(TShiftState Shift, Integer X, Integer Y) {
  TIELayer* L = FLayers[FRotatingLayer].get();
  if (L->Locked) return;
  BeginLayerChange(ieuFullLayer);
  Integer DX = XScr2Bmp(X) - XScr2Bmp(FLastMousePoint.X);
  Integer DY = YScr2Bmp(Y) - YScr2Bmp(FLastMousePoint.Y);
  // Moves that run clockwise around the centre turn the layer clockwise (negative degrees).
  const TPoint Center = LayerRotationCenter(FRotatingLayer);
  if (X > Center.X) DY = -DY;
  if (Y < Center.Y) DX = -DX;
  FRotateAngle += DX / 4.0 + DY / 4.0;
  Double Angle = FRotateAngle;
  if (Shift.Contains(ssShift) && FLayerRotationStep != 0)
    Angle = static_cast<Double>(Trunc(Angle / FLayerRotationStep) * FLayerRotationStep);
  L->SetRotate(Angle);
  SetInteractionHint(Format("%.2f°", {L->Rotate}), X, Y, "0000°");
  FRefreshLayer = FRotatingLayer;
  Update();
  DoLayerNotify(FRotatingLayer, ielRotating);
}

void TZezudIdView::MoveRotationCenterByMouse(Integer X, Integer Y) {
  TIELayer* L = FLayers[FRotationCenterLayer].get();
  const Integer W = L->Bitmap->GetWidth(), H = L->Bitmap->GetHeight();
  if (W <= 0 || H <= 0) return;
  const Integer BX = L->ScreenToBitmapX(X), BY = L->ScreenToBitmapY(Y);
  L->RotateCenterX = static_cast<Double>(BX) / W;
  L->RotateCenterY = static_cast<Double>(BY) / H;
  SetInteractionHint(Format("X=%d Y=%d", {BX, BY}), X, Y, "X=000 Y=000");
  Update();
}

void TZezudIdView::ResizeLayerByGrip(TShiftState Shift, Integer X, Integer Y) {
  TIELayer* L = GetCurrentLayer();
  if (L->Locked) return;
  if (!FLayerChanged && L->GetWidth() != 0)
    FLayerAspect = static_cast<Double>(L->GetHeight()) / L->GetWidth();
  BeginLayerChange(ieuLayer);
  AutoScrollToMouse();
  ResizeLayerByMouse(X, Y, Shift.Contains(ssAlt) || FForceConstrain);
  SetInteractionHint(Format("%d x %d", {L->GetWidth(), L->GetHeight()}), X, Y, "0000 x 0000");
  Update();
  DoLayerNotify(FCurrentLayer, ielResizing);
}

void TZezudIdView::MoveLayerByMouse(Integer X, Integer Y) {
  TIELayer* L = FLayers[FMovingLayer].get();
  if (L->Locked) return;
  BeginLayerChange(ieuLayer);
  AutoScrollToMouse();
  const Integer DX = XScr2Bmp(X) - XScr2Bmp(FLastMousePoint.X);
  const Integer DY = YScr2Bmp(Y) - YScr2Bmp(FLastMousePoint.Y);
  L->PosX += DX;
  L->PosY += DY;
  if (DX != 0 || DY != 0) FLayerMoved = true;
  SetInteractionHint(Format("X=%d Y=%d", {L->PosX, L->PosY}), X, Y, "X=000 Y=000");
  Update();
  DoLayerNotify(FMovingLayer, ielMoving);
}

void TZezudIdView::MouseUpOnLayers(Integer X, Integer Y, bool Moved) {
  if (FMovingLayer >= 0) {
    RestoreCursor();
    if (FLayerMoved) DoLayerNotify(FCurrentLayer, ielMoved);
    Invalidate();
  }
  if (FRotatingLayer >= 0) {
    if (Moved) DoLayerNotify(FCurrentLayer, ielRotated);
    Invalidate();
  }
  if (FMouseInteract.Contains(miRotateLayers) && !Moved) {
    const Integer Found = FindLayerAt(X, Y, true);
    if (Found >= 0) {
      SetLayersCurrent(Found);
      DoLayerNotify(FCurrentLayer, ielSelected);
    }
  }
  if (FLayerGrip != ieNone) {
    if (Moved) DoLayerNotify(FCurrentLayer, ielResized);
    Update();
  }
  FMovingLayer = FRotatingLayer = FRotationCenterLayer = -1;
  FLayerGrip = ieNone;
  FLayerChanged = false;
  FRectSelecting = FCircleSelecting = FRectResizing = FRectMoving = false;
  FResizingGrip = ieNone;
  FMoveIndex = -1;
}
