// Mouse work of the view: the three mouse handlers with their drag state (selections, zoom
// clicks, scroll drags, cursors; layer drags live beside), and the Shift feedback of the
// keyboard handlers.
// The handlers work in client pixels: SelectionBase is the client area while they run, and the
// user's base is swapped in only around the events they fire.
#include <algorithm>

#include "imaging/core/iegeometry.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewmouse.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Forms.h"
#include "platform/system/Math.h"

namespace {

// The zoom a click asks for: whole hundreds above 100 (200 for zooming out), a fixed ladder
// below.
Double ZoomInStep(Double Zoom) {
  if (Zoom >= 100) return Zoom + 100;
  for (Double Step : {2.0, 5.0, 10.0, 25.0, 33.0, 50.0, 75.0, 100.0})
    if (Step > Zoom) return Step;
  return 100;
}

Double ZoomOutStep(Double Zoom) {
  if (Zoom >= 200) return Zoom - 100;
  for (Double Step : {100.0, 75.0, 50.0, 33.0, 25.0, 10.0, 5.0, 2.0})
    if (Step < Zoom) return Step;
  return 2;
}

// The resize cursor of a selection or layer grip.
TCursor GripCursor(Integer Grip) {
  switch (Grip) {
    case ieTopLeft:
    case ieBottomRight:
      return crViewSizeNWSE;
    case ieTopRight:
    case ieBottomLeft:
      return crViewSizeNESW;
    case ieLeftSide:
    case ieRightSide:
      return crViewSizeWE;
    case ieTopSide:
    case ieBottomSide:
      return crViewSizeNS;
    default:
      return crViewCross;
  }
}

// The cross that tells that a new shape will be added to the selection.
TCursor AddingCross(TCursor Cursor) {
  if (Cursor == crViewCross) return crViewCrossAdd;
  if (Cursor == crViewCross2) return crViewCross2Add;
  return Cursor;
}

// The handlers see the client area as selection base; the user's value is kept meanwhile.
class TClientSelectionBase {
 public:
  TClientSelectionBase(TIESelectionBase& Base, TIESelectionBase& Saved) : FBase(Base), FSaved(Saved) {
    FSaved = FBase;
    FBase = iesbClientArea;
  }
  ~TClientSelectionBase() { FBase = FSaved; }
  TClientSelectionBase(const TClientSelectionBase&) = delete;
  TClientSelectionBase& operator=(const TClientSelectionBase&) = delete;

 private:
  TIESelectionBase& FBase;
  TIESelectionBase& FSaved;
};

}  // namespace

// ---- Points --------------------------------------------------------------------------------

TPoint TZezudIdView::ClampToLayer(Integer X, Integer Y) {
  const TRect& R = GetCurrentLayer()->ScreenRect;
  return {std::max(0, std::min(X, R.Right + 1)), std::max(0, std::min(Y, R.Bottom + 1))};
}

TPoint TZezudIdView::ClampToPicture(Integer X, Integer Y) {
  return {std::max(FOffsetX, std::min(X, FOffsetX + FExtentX)),
          std::max(FOffsetY, std::min(Y, FOffsetY + FExtentY))};
}

// With Alt (or ForceConstrain) a polygon's next point lies on a horizontal, vertical or
// diagonal line from its last one.
void TZezudIdView::SnapToLastPolygonPoint(TShiftState Shift, TPoint& Point) {
  if (!Shift.Contains(ssAlt) && !FForceConstrain) return;
  if (FSelection->Count == 0 || FSelection->LastIsBreak()) return;
  const TPoint& Last = FSelection->Points[FSelection->Count - 1];
  const TPoint From = SelectionToClient(Last.X, Last.Y);
  IEAdjustLineTo45(From.X, From.Y, Point.X, Point.Y);
}

// ---- Mouse down ----------------------------------------------------------------------------

void TZezudIdView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TIEView::MouseDown(Button, Shift, X, Y);
  const TClientSelectionBase ClientBase(FSelectionBase, FSelectionBaseSaved);
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form->GetVisible() && CanFocus()) SetFocus();
  FSavedZoomFilter = FZoomFilter;
  StopSmoothScroll();
  if (Button == mbRight && Shift.Contains(ssLeft)) return;
  FLayerMoved = false;
  const bool RightPicksLayers = Button == mbRight && FSelectionOptions.Contains(iesoRightButtonSelectLayers);
  if (Button != mbLeft && !FMouseInteract.Contains(miZoom) && !RightPicksLayers) return;
  // Dragging draws unfiltered; MouseUp puts the filter back.
  if (!FMouseInteract.Contains(miScroll) && FDelayZoomFilter) FZoomFilter = rfNone;

  FMouseDownPoint = {X, Y};
  FSelectionAnchor = ClampToPicture(X, Y);
  FMouseDownInLayer = ClampToLayer(X, Y);
  FLastMousePoint = FMouseDownPoint;
  FLastClampedPoint = FMouseDownInLayer;
  FRubberPoint = FMouseDownPoint;
  FMouseDownView = {FViewX, FViewY};
  FPolyCountAtDown = FSelection->Count;

  if (Button == mbLeft && !(FMouseInteract * IESelectionInteractItems).IsEmpty())
    MouseDownOnSelection(Shift, X, Y);
  else if ((Button == mbLeft || RightPicksLayers) && !(FMouseInteract * IELayerInteractItems).IsEmpty())
    MouseDownOnLayers(X, Y);
  if (Button == mbLeft && FMouseInteract.Contains(miScroll) && IsScrollable()) ApplyCursor(crViewHand);
}

void TZezudIdView::MouseDownOnSelection(TShiftState Shift, Integer X, Integer Y) {
  const TIEMouseInteract& M = FMouseInteract;
  if (M.Contains(miSelectZoom)) {
    FRectSelecting = true;
    DoSelectionChanging();
    PushSelection();
    return;
  }
  // Every other selection works on unrotated layers.
  LayersFixRotations(-1);
  DoBeforeSelectionChange();
  if (M.Contains(miSelectPolygon) || M.Contains(miSelectLasso)) {
    FMoveIndex = IsInsideSelection(X, Y, Shift);
    if (FMoveIndex >= 0) return;
    TPoint P{X, Y};
    SnapToLastPolygonPoint(Shift, P);
    if (!FPolySelecting) {
      if (Shift.Contains(ssShift) && FMultiSelect)
        AddSelectionBreak();
      else
        Deselect();
    }
    AddSelectionPoint(P.X, P.Y);
    FPolySelecting = true;
    FLassoSelecting = M.Contains(miSelectLasso);
    DoSelectionChanging();
  } else if (M.Contains(miSelect)) {
    FResizingGrip = GetGripAt(X, Y, Shift);
    if (FResizingGrip != ieNone) {
      FRectResizing = true;
      FGripStartRect = {FSelection->X1, FSelection->Y1, FSelection->X2, FSelection->Y2};
      return;
    }
    FMoveIndex = IsInsideSelection(X, Y, Shift);
    if (FMoveIndex >= 0) return;
    FRectSelecting = true;
    if (FSelectionAspectRatio == 0) SelectRectByMouse(X, Y, Shift);
    DoSelectionChanging();
  } else if (M.Contains(miSelectCircle)) {
    FMoveIndex = IsInsideSelection(X, Y, Shift);
    if (FMoveIndex >= 0) return;
    FCircleSelecting = true;
    ShowSelection(false);
    if (FSelectionAspectRatio == 0) SelectCircleByMouse(X, Y, Shift);
    DoSelectionChanging();
  } else if (M.Contains(miSelectMagicWand)) {
    FMoveIndex = IsInsideSelection(X, Y, Shift);
  }
}

// ---- Mouse move ----------------------------------------------------------------------------

void TZezudIdView::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TIEView::MouseMove(Shift, X, Y);
  const TClientSelectionBase ClientBase(FSelectionBase, FSelectionBaseSaved);
  const TPoint Clamped = ClampToLayer(X, Y);
  const bool Captured = GetMouseCapture();
  bool RubberLineDrawn = false;
  if (Captured) {
    DragWithCapture(Shift, X, Y, Clamped);
  } else if (!FPolySelecting || FLassoSelecting) {
    ChooseCursor(Shift, X, Y);
  } else {
    // Between the clicks of a polygon a rubber line follows the pointer (drawn twice it is gone).
    DrawRubberLine();
    TPoint P{X, Y};
    SnapToLastPolygonPoint(Shift, P);
    FRubberPoint = P;
    DrawRubberLine();
    RubberLineDrawn = true;
    DoSelectionChanging();
  }
  if (FMouseInteract.Contains(miMovingScroll) && !Captured &&
      (X != FLastMousePoint.X || Y != FLastMousePoint.Y))
    FollowPointerByMovingScroll(X, Y);
  if (FSelectionActive) {
    const TPoint P = ClientToSelection(X, Y);
    const TIEMask& Mask = *FSelectionMask;
    if (P.X >= 0 && P.Y >= 0 && P.X < Mask.GetWidth() && P.Y < Mask.GetHeight() &&
        Mask.IsPointInside(P.X, P.Y))
      DoMouseInSel();
  }
  if (!RubberLineDrawn) FRubberPoint = {X, Y};
  FLastClampedPoint = Clamped;
  FLastMousePoint = {X, Y};
}

void TZezudIdView::DragWithCapture(TShiftState Shift, Integer X, Integer Y, TPoint Clamped) {
  if (FMouseInteract.Contains(miScroll)) {
    SetViewXY(FMouseDownView.X - static_cast<Integer>(Trunc((X - FMouseDownPoint.X) * FMouseScrollRate)),
              FMouseDownView.Y - static_cast<Integer>(Trunc((Y - FMouseDownPoint.Y) * FMouseScrollRate)));
  } else if (FRectResizing) {
    AutoScrollToMouse();
    const bool Constrain = Shift.Contains(ssAlt) || FForceConstrain || FSelectionAspectRatio > 0;
    FResizingGrip = ResizeSelectionByGrip(FResizingGrip, Clamped.X, Constrain, Clamped.Y);
    DoSelectionChanging();
  } else if (FMoveIndex < 0) {
    if (FRectSelecting) {
      SelectRectByMouse(X, Y, Shift);
    } else if (FPolySelecting) {
      // A drag draws freehand: every position becomes a point.
      AutoScrollToMouse();
      DrawRubberLine();
      FRubberPoint = {X, Y};
      AddSelectionPoint(X, Y);
      DoSelectionChanging();
    } else if (FCircleSelecting) {
      SelectCircleByMouse(X, Y, Shift);
    } else {
      DragLayer(Shift, X, Y);
    }
  } else {
    if (FSelectionOptions.Contains(iesoCanScroll)) AutoScrollToMouse();
    const TPoint From = ClientToSelection(FLastClampedPoint.X, FLastClampedPoint.Y);
    const TPoint To = ClientToSelection(Clamped.X, Clamped.Y);
    MoveSelection(To.X - From.X, To.Y - From.Y);
    DoSelectionChanging();
  }
}

void TZezudIdView::ChooseCursor(TShiftState Shift, Integer X, Integer Y) {
  const TIEMouseInteract& M = FMouseInteract;
  if (!(M * IESelectionInteractItems).IsEmpty()) {
    const TIEGrip Grip = GetGripAt(X, Y, Shift);
    DoMouseInResizingGrip(Grip);
    if (Grip != ieNone)
      ApplyCursor(GripCursor(Grip));
    else if (Shift.Contains(ssShift) && FMultiSelect)
      ApplyCursor(AddingCross(FDefaultCursor));
    else if (IsInsideSelection(X, Y, Shift) >= 0)
      ApplyCursor(crViewMove);
    else
      RestoreCursor();
  } else if (M.Contains(miRotateLayers)) {
    if (IsPointInLayer(X, Y, FCurrentLayer)) {
      RestoreCursor();
      return;
    }
    const TPoint C = LayerRotationCenter(FCurrentLayer);
    if (X < C.X)
      ApplyCursor(Y < C.Y ? crViewRotateLeftAbove : crViewRotateLeftBelow);
    else
      ApplyCursor(Y < C.Y ? crViewRotateRightAbove : crViewRotateRightBelow);
  } else if (M.Contains(miResizeLayers) || M.Contains(miMoveLayers)) {
    const Integer Grip =
        M.Contains(miResizeLayers) && !GetCurrentLayer()->Locked ? LayerGripAt(X, Y) : ieNone;
    const Integer Under = Grip == ieNone && M.Contains(miMoveLayers) ? FindLayerAt(X, Y, true) : -1;
    if (Grip != ieNone)
      ApplyCursor(GripCursor(Grip));
    else if (Under >= 0 && !FLayers[Under]->Locked)
      ApplyCursor(crViewMove);
    else
      RestoreCursor();
  }
}

// The view scrolls toward the part of the picture that lies under the pointer's place in the
// view, with a little margin at the near edges.
void TZezudIdView::FollowPointerByMovingScroll(Integer X, Integer Y) {
  const Integer ViewWidth = GetViewWidth(), ViewHeight = GetViewHeight();
  if (ViewWidth <= 0 || ViewHeight <= 0) return;
  Integer MaxX, MaxY;
  GetMaxViewXY(MaxX, MaxY);
  const Extended PX = std::max(0, std::min(X, ViewWidth)), PY = std::max(0, std::min(Y, ViewHeight));
  ScrollSmoothlyTo(static_cast<Integer>(Trunc((PX / ViewWidth - 0.02) * 1.05 * MaxX)),
                   static_cast<Integer>(Trunc((PY / ViewHeight - 0.02) * 1.05 * MaxY)));
}

// ---- Mouse up ------------------------------------------------------------------------------

void TZezudIdView::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TIEView::MouseUp(Button, Shift, X, Y);
  const TClientSelectionBase ClientBase(FSelectionBase, FSelectionBaseSaved);
  SetInteractionHint("", 0, 0, "");
  const bool Moved = X != FMouseDownPoint.X || Y != FMouseDownPoint.Y;
  const bool Click = X == FMouseDownInLayer.X && Y == FMouseDownInLayer.Y;
  bool SelectionChanged = false;
  if (FMouseInteract.Contains(miZoom) && Click && !IsEmpty()) {
    ZoomByClick(Button, X, Y);
    FPolySelecting = false;
  } else if (Button == mbLeft && FMouseInteract.Contains(miScroll) && IsScrollable()) {
    SetViewXY(FMouseDownView.X - static_cast<Integer>(Trunc((X - FMouseDownPoint.X) * FMouseScrollRate)),
              FMouseDownView.Y - static_cast<Integer>(Trunc((Y - FMouseDownPoint.Y) * FMouseScrollRate)));
    RestoreCursor();
  } else if (Button == mbLeft) {
    SelectionChanged = MouseUpOnSelection(Shift, X, Y, Moved);
  }
  if (Button == mbLeft) {
    // A rectangle moved as such has only its outline moved: the mask follows now.
    if (FRectMoving) {
      FSelectionMask->Empty();
      EndSelect();
    }
    MouseUpOnLayers(X, Y, Moved);
    if (SelectionChanged) DoSelectionChange();
  } else if (Button == mbRight && FSelectionOptions.Contains(iesoRightButtonSelectLayers)) {
    // A layer drag of the right button ends as one of the left does.
    MouseUpOnLayers(X, Y, Moved);
  }
  if (Button == mbRight && FSelectionOptions.Contains(iesoRightButtonTerminatePolySelect) && FPolySelecting)
    EndPolySelection(Shift.Contains(ssShift), false);
  FZoomFilter = FSavedZoomFilter;
}

void TZezudIdView::ZoomByClick(TMouseButton Button, Integer X, Integer Y) {
  Double Zoom;
  if (Button == mbLeft) {
    if (FMouseInteract.Contains(miScroll)) RestoreCursor();
    Zoom = ZoomInStep(FZoomX);
    DoZoomIn(Zoom);
  } else if (Button == mbRight) {
    Zoom = ZoomOutStep(FZoomX);
    DoZoomOut(Zoom);
  } else {
    return;
  }
  if (Zoom != FZoomX || Zoom != FZoomY) ZoomAt(X, Y, Zoom, false);
}

// The left button ends a selection drag; true when the selection changed.
bool TZezudIdView::MouseUpOnSelection(TShiftState Shift, Integer X, Integer Y, bool Moved) {
  const TIEMouseInteract& M = FMouseInteract;
  const bool AddShape = Shift.Contains(ssShift) && FMultiSelect;
  // A click (no move) takes away the selection that was there.
  auto DeselectByClick = [this] {
    const bool Had = FSelectionActive;
    Deselect();
    return Had;
  };
  if (M.Contains(miSelectZoom)) {
    ZoomSelection(FZoomSelectionKeepsAspect, true);
    FRectSelecting = false;
    PopSelection(true, 1);
    return false;
  }
  if (M.Contains(miSelect)) {
    // A fixed-size selection is made by the click itself.
    const bool Drawn = FRectSelecting && (Moved || FSelectionAspectRatio == 0);
    if (Drawn || FRectResizing || FMoveIndex >= 0) {
      EndSelectionDrag(AddShape, Drawn || FRectResizing);
      return true;
    }
    return DeselectByClick();
  }
  if (M.Contains(miSelectCircle)) {
    if (!Moved && FMoveIndex < 0 && FSelectionAspectRatio != 0) return DeselectByClick();
    if (!FCircleSelecting && FMoveIndex < 0) return false;
    EndSelectionDrag(AddShape, FCircleSelecting);
    return true;
  }
  if (M.Contains(miSelectPolygon)) {
    const bool Changed = FMoveIndex >= 0;
    FMoveIndex = -1;
    FUpdateReason = 3;
    Update();
    return Changed;
  }
  if (M.Contains(miSelectMagicWand)) {
    if (FMoveIndex < 0) {
      ApplyCursor(crHourGlass);
      SelectMagicWand(X, Y, AddShape);
      RestoreCursor();
    }
    FMoveIndex = -1;
    FUpdateReason = 3;
    Update();
    return true;
  }
  if (M.Contains(miSelectLasso)) {
    if (!Moved && FMoveIndex < 0) {
      FPolySelecting = FLassoSelecting = false;
      return DeselectByClick();
    }
    const bool Drawn = FMoveIndex < 0;
    FPolySelecting = FLassoSelecting = false;
    EndSelectionDrag(AddShape, Drawn);
    return true;
  }
  return false;
}

// A drawn shape replaces the mask unless it is added to it; a move has moved the mask already.
void TZezudIdView::EndSelectionDrag(bool AddShape, bool Drawn) {
  if (Drawn) {
    if (!AddShape) FSelectionMask->Empty();
    EndSelect();
  }
  FRectSelecting = FCircleSelecting = FRectResizing = false;
  FMoveIndex = -1;
  if (FIsLinked) {
    Invalidate();
  } else {
    FUpdateReason = 3;
    Update();
  }
}

// ---- Keys ----------------------------------------------------------------------------------

void TZezudIdView::KeyDown(Word& Key, TShiftState Shift) {
  TIEView::KeyDown(Key, Shift);
  if (!Shift.Contains(ssShift) || !FMultiSelect) return;
  const TCursor Shown = TIEView::GetCursor();
  if (Shown == crViewCross || Shown == crViewCross2) ApplyCursor(AddingCross(Shown));
}

void TZezudIdView::KeyUp(Word& Key, TShiftState Shift) {
  TIEView::KeyUp(Key, Shift);
  if (!Shift.Contains(ssShift) && FMultiSelect) RestoreCursor();
}
