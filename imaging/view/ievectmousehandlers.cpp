// TZezudIdVect: the mouse handlers - press, move and release - for creating, selecting,
// moving and resizing objects, building polylines and angle measures and editing vertices.
#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/ievect.h"

namespace {

bool KeepsDirection(TIEVObjectKind Kind) {
  return Kind == ievoLine || Kind == ievoRuler || Kind == ievoPolyline || Kind == ievoLineLabel;
}

constexpr TRect Unplaced{1000000, 1000000, -1000000, -1000000};

}  // namespace

TPoint TZezudIdVect::ClampToPicture(Integer X, Integer Y) {
  TIEBitmap* Picture = GetIEBitmap();
  const Integer W = Picture ? Picture->GetWidth() : 0, H = Picture ? Picture->GetHeight() : 0;
  return TPoint{std::clamp(X, XBmp2Scr(0), std::max(XBmp2Scr(W) - 1, XBmp2Scr(0))),
                std::clamp(Y, YBmp2Scr(0), std::max(YBmp2Scr(H) - 1, YBmp2Scr(0)))};
}

TIEVObjectKind TZezudIdVect::CreationKind() const {
  const std::pair<TIEVInteractItem, TIEVObjectKind> Table[] = {
      {ivPutLine, ievoLine},       {ivPutLineLabel, ievoLineLabel},
      {ivPutRuler, ievoRuler},     {ivPutBox, ievoBox},
      {ivPutEllipse, ievoEllipse}, {ivPutBitmap, ievoBitmap},
      {ivPutText, ievoText},       {ivPutMemo, ievoMemo},
      {ivDragLength, ievoLine},    {ivPutExtension, ievoExtension}};
  for (const auto& [Item, Kind] : Table)
    if (FVectorInteract.Contains(Item)) return Kind;
  return ievoNone;
}

void TZezudIdVect::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseDown(Button, Shift, X, Y);
  TIEBitmap* Picture = GetIEBitmap();
  if (Button != mbLeft || Picture == nullptr || Picture->GetWidth() == 0 || Picture->GetHeight() == 0) return;
  FDoubleClick = Shift.Contains(ssDouble);
  FIgnoreNextMove = FDoubleClick;
  const TPoint P = ClampToPicture(X, Y);
  if (FEditingObject >= 0) {
    EndTextEdit();
    FEditingObject = -1;
    Update();
  }
  if (FCreatingKind == ievoNone && FBuildingObject < 0) {
    FObjChanged = false;
    SaveAutoUndo();
  }
  const TPoint Point = PointsOutsideImage ? TPoint{X, Y} : P;
  const TIEVObjectKind Kind = CreationKind();
  if (Kind != ievoNone) {
    FCreatingKind = Kind;
  } else if (FVectorInteract.Contains(ivPutAngle)) {
    if (!FDoubleClick) AnglePointClick(P, Shift);
  } else if (FVectorInteract.Contains(ivPutPolyline)) {
    PolylinePointClick(Point, Shift);
  } else if (FVectorInteract.Contains(ivEditPolyline)) {
    FGrabbedVertex = FindPolylineVertex(Point.X, Point.Y);
    FHitSegment = FGrabbedVertex < 0 ? FindPolylineSegment(Point.X, Point.Y) : -1;
  } else if (FVectorInteract.Contains(ivSelectObjects)) {
    if (!FDoubleClick) {
      Integer Grip = 0;
      Integer Pos = FindGrip(X, Y, Grip);
      if ((Pos < 0 || (Grip == 3 && !CenterMoveGrip)) && FSelectOnMouseDown) {
        SelectAt(Shift, X, Y, true);
        Pos = FindGrip(X, Y, Grip);
      }
      FGripAction = Pos >= 0 ? Grip : 0;
      if (FGripAction != 0)
        for (Integer H : FSelected) {
          TIEVObject& R = *FObjects[H];
          R.DragStartRect = TRect{R.X1, R.Y1, R.X2, R.Y2};
        }
    } else {
      Double D = 0;
      const Integer H = FindObjectAt(XScr2Bmp(X), YScr2Bmp(Y), true, D);
      if (H >= 0) {
        DoObjectDblClick(H);
        const TIEVObject& R = *FObjects[H];
        if ((R.Kind == ievoText || R.Kind == ievoMemo) && D == 0) {
          const bool Was = IsSelected(H);
          for (Integer S : std::vector<Integer>(FSelected))
            if (S != H) DoUserDeselectObject(S);
          FSelected.clear();
          SelObject(H);
          if (!Was) DoUserSelectObject(H);
          FEditingObject = H;
          StartTextEdit();
        }
      }
    }
  }
  if (FVectorInteract.Contains(ivSelectObjects))
    if (TIEVExtension* Ext = ExtensionAt(X, Y)) Ext->MouseDown(Button, Shift, X, Y);
  FPressPoint = P;
  FCurrentPoint = P;
  FDragOffset = TPoint{0, 0};
}

TIEVExtension* TZezudIdVect::ExtensionAt(Integer X, Integer Y) {
  Double D = 0;
  const Integer H = FindObjectAtScreen(X, Y, D);
  if (H < 0 || D != 0) return nullptr;
  TIEVObject& R = *FObjects[H];
  return R.Kind == ievoExtension ? R.Extension.get() : nullptr;
}

void TZezudIdVect::AnglePointClick(TPoint P, TShiftState Shift) {
  TPoint B{XScr2Bmp(P.X), YScr2Bmp(P.Y)};
  if (FBuildingObject < 0) {
    FBuildingObject = AddNewObject(ievoAngle);
    TIEVObject& R = *FObjects[FBuildingObject];
    R.AnglePoints = {B, TPoint{IEV_UNSETPOINT, 0}, TPoint{IEV_UNSETPOINT, 0}};
    R.X1 = Unplaced.Left;
    R.Y1 = Unplaced.Top;
    R.X2 = Unplaced.Right;
    R.Y2 = Unplaced.Bottom;
    ClearSelection();
    return;
  }
  TIEVObject& R = *FObjects[FBuildingObject];
  const Integer N = IEVAnglePointsSet(R.AnglePoints);
  if (N >= 3) return;
  if (Shift.Contains(ssCtrl)) IEAdjustLineTo45(R.AnglePoints[N - 1].X, R.AnglePoints[N - 1].Y, B.X, B.Y);
  R.AnglePoints[N] = B;
  if (N + 1 < 3) {
    Update();
    return;
  }
  const TPoint V = R.AnglePoints[1];
  const Integer HW = std::abs(V.X - std::max(R.AnglePoints[0].X, R.AnglePoints[2].X));
  const Integer HH = std::abs(V.Y - std::max(R.AnglePoints[0].Y, R.AnglePoints[2].Y));
  R.X1 = V.X - HW;
  R.Y1 = V.Y - HH;
  R.X2 = V.X + HW;
  R.Y2 = V.Y + HH;
  FTemplate->X1 = R.X1;
  FTemplate->Y1 = R.Y1;
  FTemplate->X2 = R.X2;
  FTemplate->Y2 = R.Y2;
  const Integer H = FBuildingObject;
  FBuildingObject = -1;
  SelObject(H);
  DoVectorialChanged();
  DoNewObject(H);
  Update();
}

void TZezudIdVect::PolylinePointClick(TPoint P, TShiftState Shift) {
  TPoint B{XScr2Bmp(P.X), YScr2Bmp(P.Y)};
  if (FBuildingObject < 0) {
    FBuildingObject = AddNewObject(ievoPolyline);
    TIEVObject& R = *FObjects[FBuildingObject];
    R.PolyPoints.clear();
    R.X1 = Unplaced.Left;
    R.Y1 = Unplaced.Top;
    R.X2 = Unplaced.Right;
    R.Y2 = Unplaced.Bottom;
    FObjChanged = true;
    AddPolylinePoint(FBuildingObject, B.X, B.Y);
    ClearSelection();
    FBuildingLastPoint = P;
    return;
  }
  TIEVObject& R = *FObjects[FBuildingObject];
  if (Shift.Contains(ssCtrl) && !R.PolyPoints.empty())
    IEAdjustLineTo45(R.PolyPoints.back().X, R.PolyPoints.back().Y, B.X, B.Y);
  if (FDoubleClick && PolylineEndMode == 0) {
    FTemplate->X1 = R.X1;
    FTemplate->Y1 = R.Y1;
    FTemplate->X2 = R.X2;
    FTemplate->Y2 = R.Y2;
    const Integer H = FBuildingObject;
    FBuildingObject = -1;
    SelObject(H);
    DoVectorialChanged();
    FObjChanged = false;
    DoNewObject(H);
  } else {
    AddPolylinePoint(FBuildingObject, B.X, B.Y);
    FBuildingLastPoint = P;
  }
  Update();
}

void TZezudIdVect::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseMove(Shift, X, Y);
  if (FIgnoreNextMove) {
    FIgnoreNextMove = false;
    return;
  }
  HideMeasureHint();
  FRawMousePoint = TPoint{X, Y};
  const TPoint P = ClampToPicture(X, Y);
  MoveCursorAndHint(Shift, X, Y);
  if (Shift.Contains(ssLeft) && FCreatingKind != ievoNone) {
    if ((FTemplate->Style & IEVSTYLE_RESIZABLE) == 0) {
      FPressPoint = FCurrentPoint = P;
      return;
    }
    TPoint C = FCreatingKind == ievoLine && FVectorInteract.Contains(ivDragLength) ? FRawMousePoint : P;
    if (Shift.Contains(ssCtrl) &&
        (FCreatingKind == ievoBox || FCreatingKind == ievoEllipse || FCreatingKind == ievoExtension)) {
      const Integer DX = C.X - FPressPoint.X, DY = C.Y - FPressPoint.Y;
      const Integer D = std::abs(DX) > std::abs(DY) ? DX : DY;
      C = TPoint{FPressPoint.X + D, FPressPoint.Y + D};
    }
    if (FCreatingKind == ievoBitmap) {
      TIEBitmap* Picture = ObjBitmap(FTemplate->BitmapIndex);
      if ((Shift.Contains(ssAlt) || FTemplate->KeepAspect) && Picture != nullptr && Picture->GetWidth() > 0)
        C.Y = FPressPoint.Y + static_cast<Integer>(std::trunc(static_cast<Double>(Picture->GetHeight()) /
                                                              Picture->GetWidth() * (C.X - FPressPoint.X)));
    }
    FCurrentPoint = C;
    if (FCreatingKind == ievoLine && FVectorInteract.Contains(ivDragLength)) FMeasureHintOn = true;
    Invalidate();
  } else if (Shift.Contains(ssLeft) && FGripAction != 0) {
    DoBeforeVectorialChanged();
    FDragging = true;
    FCurrentPoint = P;
    const Integer OX = static_cast<Integer>(std::trunc((P.X - FPressPoint.X) / (GetZoomX() / 100)));
    const Integer OY = static_cast<Integer>(std::trunc((P.Y - FPressPoint.Y) / (GetZoomY() / 100)));
    Integer DX = OX - FDragOffset.X, DY = OY - FDragOffset.Y;
    FDragOffset = TPoint{OX, OY};
    if (FGripAction == 3 && !AllowOutsideMove) {
      TIEBitmap* Picture = GetIEBitmap();
      for (Integer H : FSelected) {
        const TIEVObject& R = *FObjects[H];
        if (std::min(R.X1, R.X2) + DX < 0 || std::max(R.X1, R.X2) + DX >= Picture->GetWidth()) DX = 0;
        if (std::min(R.Y1, R.Y2) + DY < 0 || std::max(R.Y1, R.Y2) + DY >= Picture->GetHeight()) DY = 0;
      }
    }
    for (Integer H : std::vector<Integer>(FSelected)) {
      TIEVObject& R = *FObjects[H];
      const bool Keep = Shift.Contains(ssAlt) || R.KeepAspect;
      Integer MDX = DX, MDY = DY;
      DoObjectMoveResize(H, FGripAction, MDX, MDY);
      if ((R.Style & IEVSTYLE_RESIZABLE) && FGripAction != 3 && FGripAction <= 9) {
        ResizeObject(H, FGripAction, MDX, MDY, Keep);
      } else if ((R.Style & IEVSTYLE_RESIZABLE) && FGripAction >= 10) {
        TPoint& A = R.AnglePoints[static_cast<std::size_t>(FGripAction - 10)];
        A = TPoint{A.X + MDX, A.Y + MDY};
      } else if (FGripAction == 3 && (R.Style & IEVSTYLE_MOVABLE)) {
        MoveObject(H, MDX, MDY);
      }
    }
    Update();
  } else if (Shift.Contains(ssLeft) && FVectorInteract.Contains(ivEditPolyline) && FGrabbedVertex >= 0 &&
             FSelected.size() == 1) {
    TIEVObject& R = *FObjects[FSelected[0]];
    const Integer OX = static_cast<Integer>(std::trunc((P.X - FPressPoint.X) / (GetZoomX() / 100)));
    const Integer OY = static_cast<Integer>(std::trunc((P.Y - FPressPoint.Y) / (GetZoomY() / 100)));
    const TRect& B = R.PolyBase;
    const Double SX = B.Right != B.Left ? static_cast<Double>(R.X2 - R.X1) / (B.Right - B.Left) : 1.0;
    const Double SY = B.Bottom != B.Top ? static_cast<Double>(R.Y2 - R.Y1) / (B.Bottom - B.Top) : 1.0;
    if (FGrabbedVertex < R.PolyCount()) {
      TPoint& V = R.PolyPoints[static_cast<std::size_t>(FGrabbedVertex)];
      V.X += static_cast<Integer>(std::nearbyint((OX - FDragOffset.X) / (SX != 0 ? SX : 1.0)));
      V.Y += static_cast<Integer>(std::nearbyint((OY - FDragOffset.Y) / (SY != 0 ? SY : 1.0)));
    }
    FDragOffset = TPoint{OX, OY};
    FCurrentPoint = P;
    UpdatePolylineBox(FSelected[0]);
    FObjChanged = true;
    Update();
  } else if (Shift.Contains(ssLeft) && FVectorInteract.Contains(ivSelectObjects) && RubberBandSelect &&
             FCreatingKind == ievoNone) {
    FCurrentPoint = P;
    if (!Shift.Contains(ssShift)) FSelected.clear();
    SelectInRect(IEV_ALL, XScr2Bmp(FPressPoint.X), YScr2Bmp(FPressPoint.Y), XScr2Bmp(P.X), YScr2Bmp(P.Y));
    if (OnSelectObject) OnSelectObject(this);
    Invalidate();
  } else if (!Shift.Contains(ssLeft) && FBuildingObject < 0 && OnObjectOver) {
    Double D = 0;
    const Integer H = FindObjectAtScreen(X, Y, D);
    if (H >= 0) DoObjectOver(H);
  }
  ShowMeasureHint(X, Y);
  if (FCreatingKind == ievoNone && FBuildingObject < 0) {
    TIEVExtension* Ext = ExtensionAt(X, Y);
    if (Ext != FExtensionUnderMouse) {
      if (FExtensionUnderMouse != nullptr) FExtensionUnderMouse->MouseLeave();
      if (Ext != nullptr) Ext->MouseEnter();
      FExtensionUnderMouse = Ext;
    }
    if (Ext != nullptr) Ext->MouseMove(Shift, X, Y);
  }
}

void TZezudIdVect::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const bool Building =
      FBuildingObject >= 0 && !(FObjects[FBuildingObject]->Kind == ievoPolyline && PolylineEndMode == 2);
  if (!Building) {
    const bool Moved = FCurrentPoint != FPressPoint;
    const bool Measuring =
        FVectorInteract.Contains(ivMeasureArea) || FVectorInteract.Contains(ivMeasureLength);
    const bool SkipCreate = !Moved && FVectorInteract.Contains(ivDragToCreate) &&
                            !FVectorInteract.Contains(ivSelectObjects) && !Measuring;
    if (FEditingObject >= 0) return;
    if (SkipCreate) {
      FCreatingKind = ievoNone;
    } else if (FCreatingKind != ievoNone) {
      TIEVObject& T = *FTemplate;
      const Integer BX = XScr2Bmp(FPressPoint.X), BY = YScr2Bmp(FPressPoint.Y);
      if (!Moved) {
        const Integer W = T.X2 - T.X1, H = T.Y2 - T.Y1;
        const Integer L = CenterNewObjects ? BX - W / 2 : BX, Tp = CenterNewObjects ? BY - H / 2 : BY;
        T.X1 = L;
        T.Y1 = Tp;
        T.X2 = L + W;
        T.Y2 = Tp + H;
      } else {
        T.X1 = BX;
        T.Y1 = BY;
        T.X2 = XScr2Bmp(FCurrentPoint.X);
        T.Y2 = YScr2Bmp(FCurrentPoint.Y);
      }
      T.Kind = FCreatingKind;
      if (FVectorInteract.Contains(ivDragLength)) {
        HideMeasureHint();
        FMeasureHintOn = false;
        if (OnDragLenEnd) OnDragLenEnd(this, FLastMeasure);
      } else {
        DoBeforeVectorialChanged();
        const Integer H = AddObjectRecord(T);
        FSelected.clear();
        DoNewObject(H);
        SelObject(H);
        FObjChanged = true;
        if (EditTextOnCreate && (T.Kind == ievoText || T.Kind == ievoMemo)) {
          FEditingObject = H;
          StartTextEdit();
        } else {
          DoVectorialChanged();
        }
      }
    } else {
      if (FGripAction != 0 && (Moved || FGripAction != 3)) {
        for (Integer H : FSelected) {
          TIEVObject& R = *FObjects[H];
          if (KeepsDirection(R.Kind)) continue;
          if (R.X1 > R.X2) std::swap(R.X1, R.X2);
          if (R.Y1 > R.Y2) std::swap(R.Y1, R.Y2);
        }
        DoVectorialChanged();
      }
      if ((FGripAction == 0 || (FGripAction == 3 && !Moved)) &&
          (FVectorInteract.Contains(ivSelectObjects) || FVectorInteract.Contains(ivEditPolyline)) &&
          (!FSelectOnMouseDown || FPendingClick))
        SelectAt(Shift, X, Y, false);
      if (FVectorInteract.Contains(ivEditPolyline) && FSelected.size() == 1) {
        TIEVObject& R = *FObjects[FSelected[0]];
        if (FGrabbedVertex >= 0 && Shift.Contains(ssCtrl) && R.PolyCount() > 2) {
          RemovePolylinePoint(FSelected[0], FGrabbedVertex);
          UpdatePolylineBox(FSelected[0]);
          DoVectorialChanged();
        } else if (FHitSegment >= 0 && FHitSegment < R.PolyCount()) {
          const TRect& B = R.PolyBase;
          const Double SX = B.Right != B.Left ? static_cast<Double>(R.X2 - R.X1) / (B.Right - B.Left) : 1.0;
          const Double SY = B.Bottom != B.Top ? static_cast<Double>(R.Y2 - R.Y1) / (B.Bottom - B.Top) : 1.0;
          const Integer BX = XScr2Bmp(X), BY = YScr2Bmp(Y);
          const TPoint NP{static_cast<Integer>(std::nearbyint((BX + B.Left * SX - R.X1) / SX)),
                          static_cast<Integer>(std::nearbyint((BY + B.Top * SY - R.Y1) / SY))};
          R.PolyPoints.insert(R.PolyPoints.begin() + FHitSegment + 1, NP);
          UpdatePolylineBox(FSelected[0]);
          DoVectorialChanged();
        }
      }
    }
    FCreatingKind = ievoNone;
    FGripAction = 0;
    FGrabbedVertex = -1;
    FHitSegment = -1;
    if (FDragging) {
      FDragging = false;
      Invalidate();
    }
    Update();
    if (FVectorInteract.Contains(ivSelectObjects)) {
      Double D = 0;
      const Integer H = FindObjectAtScreen(X, Y, D);
      if (H >= 0) DoObjectClick(H);
    }
  }
  WithdrawAutoUndo();
  if (TIEVExtension* Ext = ExtensionAt(X, Y)) Ext->MouseUp(Button, Shift, X, Y);
  ShowMeasureHint(X, Y);
}

// The pointer over grips and polyline vertices.
void TZezudIdVect::MoveCursorAndHint(TShiftState Shift, Integer X, Integer Y) {
  if (!Shift.Contains(ssLeft) && FBuildingObject < 0) {
    TCursor Cursor = GetCursor();
    if (FVectorInteract.Contains(ivEditPolyline)) {
      if (FindPolylineVertex(X, Y) >= 0)
        Cursor = Shift.Contains(ssCtrl) ? 1792 : 1790;
      else if (FindPolylineSegment(X, Y) >= 0)
        Cursor = 1791;
    } else if (FVectorInteract.Contains(ivSelectObjects)) {
      Integer Grip = 0;
      FindGrip(X, Y, Grip);
      static const TCursor ByGrip[13] = {0,    1786, 1786, 1790, 1788, 1788, 1789,
                                         1789, 1787, 1787, 1788, 1788, 1788};
      if (Grip > 0 && Grip <= 12) Cursor = ByGrip[Grip];
    }
    ApplyCursor(Cursor);
  }
}
