// TZezudIdVect: hit-testing, grips, selection by click and rubber band, moving and resizing,
// creating objects with the mouse, building polylines and angle measures point by point, and
// editing polyline vertices.
#include <algorithm>
#include <climits>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/ievect.h"

namespace {

void Order(Integer& A, Integer& B) {
  if (A > B) std::swap(A, B);
}

// The square of half-size S around P holds Q (right and bottom edges excluded).
bool OnGrip(TPoint P, Integer X, Integer Y, Integer S) {
  return X >= P.X - S && X < P.X + S && Y >= P.Y - S && Y < P.Y + S;
}

}  // namespace

// ---- Hit-testing ----

Double TZezudIdVect::ObjectDistance(TIEVObject& R, Integer X, Integer Y) {
  const Integer PW = R.PenWidth;
  switch (R.Kind) {
    case ievoLine:
    case ievoLineLabel: {
      Double D = IEDistPointToSegment(X, Y, R.X1, R.Y1, R.X2, R.Y2);
      if (PW > 1) D = std::max(D - PW / 2.0, 0.0);
      if (R.Kind == ievoLineLabel && R.LabelRect.Right > R.LabelRect.Left)
        D = std::min(D, IEDistPointToBox(X, Y, R.LabelRect.Left, R.LabelRect.Top, R.LabelRect.Right,
                                         R.LabelRect.Bottom, true, 1));
      return D;
    }
    case ievoBox:
      return IEDistPointToBox(X, Y, R.X1, R.Y1, R.X2, R.Y2, R.BrushStyle != bsClear || BoxHitInside, PW);
    case ievoEllipse:
      return IEDistPointToEllipse(X, Y, R.X1, R.Y1, R.X2, R.Y2, R.BrushStyle != bsClear, PW);
    case ievoArc:
      return IEDistPointToEllipse(X, Y, R.X1, R.Y1, R.X2, R.Y2, false, PW);
    case ievoBitmap: {
      const Double D = IEDistPointToBox(X, Y, R.X1, R.Y1, R.X2, R.Y2, true, PW);
      TIEBitmap* Picture = ObjBitmap(R.BitmapIndex);
      if (D == 0 && BitmapHitByAlpha && Picture != nullptr && Picture->HasAlphaChannel() && R.X2 > R.X1 &&
          R.Y2 > R.Y1) {
        const Integer PX =
            std::clamp(static_cast<Integer>(std::nearbyint(static_cast<Double>(X - R.X1) *
                                                           Picture->GetWidth() / (R.X2 - R.X1))),
                       0, Picture->GetWidth() - 1);
        const Integer PY =
            std::clamp(static_cast<Integer>(std::nearbyint(static_cast<Double>(Y - R.Y1) *
                                                           Picture->GetHeight() / (R.Y2 - R.Y1))),
                       0, Picture->GetHeight() - 1);
        return Picture->GetAlphaChannel()->GetPixel8(PX, PY) != 0 ? 0 : 1000;
      }
      return D;
    }
    case ievoText:
    case ievoMemo:
    case ievoExtension:
      return IEDistPointToBox(X, Y, R.X1, R.Y1, R.X2, R.Y2, true, PW);
    case ievoRuler:
      return IEDistPointToSegment(X, Y, R.X1, R.Y1, R.X2, R.Y2);
    case ievoPolyline: {
      if (R.PolyPoints.empty()) return -1;
      const TRect& B = R.PolyBase;
      const Double SX = B.Right != B.Left ? static_cast<Double>(R.X2 - R.X1) / (B.Right - B.Left) : 1.0;
      const Double SY = B.Bottom != B.Top ? static_cast<Double>(R.Y2 - R.Y1) / (B.Bottom - B.Top) : 1.0;
      if (R.PolyClosed && R.BrushStyle != bsClear &&
          IEPointInScaledPolygon(X, Y, R.PolyPoints.data(), R.PolyCount(), B.Left, B.Top, R.X1, R.Y1, SX, SY))
        return 0;
      return IEDistPointToPolyline(X, Y, R.PolyPoints.data(), R.PolyCount(), B.Left, B.Top, R.X1, R.Y1, SX,
                                   SY, PW, R.PolyClosed != 0);
    }
    case ievoAngle: {
      const Integer N = IEVAnglePointsSet(R.AnglePoints);
      if (N == 0) return -1;
      if (N == 1) return IEDistance(X, Y, R.AnglePoints[0].X, R.AnglePoints[0].Y);
      return IEDistPointToPolyline(X, Y, R.AnglePoints.data(), N, 0, 0, 0, 0, 1.0, 1.0, 1, false);
    }
    default:
      return -1;
  }
}

Integer TZezudIdVect::FindObjectAt(Integer X, Integer Y, bool SelectableOnly, Double& Distance) {
  const Double ZX = GetZoomX() / 100, ZY = GetZoomY() / 100;
  const Integer VL = static_cast<Integer>(GetViewX() / ZX), VT = static_cast<Integer>(GetViewY() / ZY);
  Integer VR = static_cast<Integer>((GetViewX() + GetExtentX()) / ZX);
  Integer VB = static_cast<Integer>((GetViewY() + GetExtentY()) / ZY);
  if (VR == 0) VR = INT_MAX;
  if (VB == 0) VB = INT_MAX;
  Integer Best = IEV_ALL;
  Double BestD = 2147483647.0;
  for (auto It = FDrawOrder.rbegin(); It != FDrawOrder.rend(); ++It) {
    TIEVObject& R = *FObjects[*It];
    if ((R.Style & IEVSTYLE_VISIBLE) == 0) continue;
    if (SelectableOnly && (R.Style & IEVSTYLE_SELECTABLE) == 0) continue;
    if (R.Kind != ievoAngle && (std::max(R.X1, R.X2) < VL || std::min(R.X1, R.X2) > VR ||
                                std::max(R.Y1, R.Y2) < VT || std::min(R.Y1, R.Y2) > VB))
      continue;
    const Double D = ObjectDistance(R, X, Y);
    if (D >= 0 && D < BestD) {
      BestD = D;
      Best = *It;
    }
  }
  Distance = BestD;
  if (Best != IEV_ALL && MaxSelectionDistance >= 0 && BestD > MaxSelectionDistance * (1.0 / ZX))
    return IEV_ALL;
  return Best;
}

Integer TZezudIdVect::FindObjectAtScreen(Integer X, Integer Y, Double& Distance) {
  return FindObjectAt(XScr2Bmp(X), YScr2Bmp(Y), false, Distance);
}

Integer TZezudIdVect::FindGrip(Integer X, Integer Y, Integer& Grip) {
  Grip = 0;
  std::vector<TPoint> P;
  for (std::size_t I = 0; I < FSelected.size(); ++I) {
    TIEVObject& R = *FObjects[FSelected[I]];
    GripPoints(R, P);
    Integer G = 0;
    if (R.Kind == ievoAngle) {
      for (std::size_t K = 0; K < P.size(); ++K)
        if (OnGrip(P[K], X, Y, GripSize)) {
          G = 10 + static_cast<Integer>(K);
          break;
        }
      if (G == 0 && ObjectDistance(R, XScr2Bmp(X), YScr2Bmp(Y)) < InsideTolerance) G = 3;
    } else {
      if (OnGrip(P[0], X, Y, GripSize))
        G = 1;
      else if (OnGrip(P[1], X, Y, GripSize))
        G = 2;
      else if (!CenterMoveGrip && ObjectDistance(R, XScr2Bmp(X), YScr2Bmp(Y)) < InsideTolerance)
        G = 3;
      else if (CenterMoveGrip && OnGrip(TPoint{(P[0].X + P[1].X) / 2, (P[0].Y + P[1].Y) / 2}, X, Y, GripSize))
        G = 3;
      if (P.size() == 8)
        for (Integer K = 2; K < 8; ++K)
          if (OnGrip(P[K], X, Y, GripSize)) {
            G = K + 2;
            break;
          }
      if (R.Kind == ievoLineLabel && IEPointInRect(XScr2Bmp(X), YScr2Bmp(Y), R.LabelRect.Left,
                                                   R.LabelRect.Top, R.LabelRect.Right, R.LabelRect.Bottom))
        G = 2;
    }
    if (G != 0 && (R.Style & IEVSTYLE_RESIZABLE) == 0) G = 3;
    if (G != 0) {
      Grip = G;
      return static_cast<Integer>(I);
    }
  }
  return IEV_NONE;
}

// ---- Selection ----

void TZezudIdVect::SelectAt(TShiftState Shift, Integer X, Integer Y, bool FromPress) {
  Double D = 0;
  const Integer H = FindObjectAt(XScr2Bmp(X), YScr2Bmp(Y), true, D);
  const bool ShiftHeld = Shift.Contains(ssShift);
  auto DeselectOthers = [&](Integer Keep) {
    for (Integer S : std::vector<Integer>(FSelected))
      if (S != Keep) DoUserDeselectObject(S);
  };
  if (H == IEV_ALL) {
    if (!ShiftHeld) {
      DeselectOthers(-1);
      ClearSelection();
    }
  } else if (IsSelected(H) && FSelectOnMouseDown && FromPress) {
    FPendingClick = true;
    return;
  } else if (!IsSelected(H)) {
    if (!ShiftHeld) {
      DeselectOthers(-1);
      FSelected.clear();
    }
    SelObject(H);
    DoUserSelectObject(H);
  } else if (ShiftHeld) {
    DoUserDeselectObject(H);
    UnSelObject(H);
  } else {
    DeselectOthers(H);
    FSelected.clear();
    SelObject(H);
  }
  FPendingClick = false;
  Update();
}

void TZezudIdVect::SelectInRect(Integer hobj, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Order(X1, X2);
  Order(Y1, Y2);
  std::vector<Integer> Handles = hobj == IEV_ALL ? FDrawOrder : std::vector<Integer>{hobj};
  for (Integer H : Handles) {
    TIEVObject* R = ObjectRecord(H);
    if (R == nullptr || IsSelected(H) || (R->Style & IEVSTYLE_SELECTABLE) == 0) continue;
    Integer L = R->X1, T = R->Y1, Ri = R->X2, B = R->Y2;
    Order(L, Ri);
    Order(T, B);
    if (L >= X1 && Ri <= X2 && T >= Y1 && B <= Y2) AddToSelection(H);
  }
}

// ---- Geometry ----

void TZezudIdVect::MoveObject(Integer hobj, Integer DX, Integer DY) {
  TIEVObject* R = ObjectRecord(hobj);
  if (R == nullptr) return;
  R->X1 += DX;
  R->X2 += DX;
  R->Y1 += DY;
  R->Y2 += DY;
  if (R->Kind == ievoAngle)
    for (TPoint& P : R->AnglePoints)
      if (P.X != IEV_UNSETPOINT) P = TPoint{P.X + DX, P.Y + DY};
}

void TZezudIdVect::ResizeObject(Integer hobj, Integer Grip, Integer DX, Integer DY, bool KeepAspect) {
  TIEVObject* R = ObjectRecord(hobj);
  if (R == nullptr) return;
  switch (Grip) {
    case 1:
      R->X1 += DX;
      R->Y1 += DY;
      break;
    case 2:
      R->X2 += DX;
      R->Y2 += DY;
      break;
    case 4:
      R->X2 += DX;
      R->Y1 += DY;
      break;
    case 5:
      R->X1 += DX;
      R->Y2 += DY;
      break;
    case 6:
      R->X1 += DX;
      break;
    case 7:
      R->X2 += DX;
      break;
    case 8:
      R->Y1 += DY;
      break;
    case 9:
      R->Y2 += DY;
      break;
    default:
      return;
  }
  const Integer SW = R->DragStartRect.Right - R->DragStartRect.Left;
  const Integer SH = R->DragStartRect.Bottom - R->DragStartRect.Top;
  if (!KeepAspect || SW == 0 || SH == 0) return;
  if (Grip == 8 || Grip == 9) {
    const auto W = static_cast<Integer>(std::nearbyint(static_cast<Double>(R->Y2 - R->Y1) * SW / SH));
    if (Grip == 8)
      R->X1 = R->X2 - W;
    else
      R->X2 = R->X1 + W;
  } else {
    const auto H = static_cast<Integer>(std::nearbyint(static_cast<Double>(R->X2 - R->X1) * SH / SW));
    if (Grip == 1 || Grip == 4)
      R->Y1 = R->Y2 - H;
    else
      R->Y2 = R->Y1 + H;
  }
}

Integer TZezudIdVect::FindPolylineVertex(Integer X, Integer Y) {
  if (FSelected.size() != 1) return -1;
  const TIEVObject& R = *FObjects[FSelected[0]];
  if (R.Kind != ievoPolyline) return -1;
  for (std::size_t I = 0; I < R.PolyScreen.size(); ++I)
    if (std::abs(R.PolyScreen[I].X - X) <= 3 && std::abs(R.PolyScreen[I].Y - Y) <= 3)
      return static_cast<Integer>(I);
  return -1;
}

Integer TZezudIdVect::FindPolylineSegment(Integer X, Integer Y) {
  if (FSelected.size() != 1) return -1;
  const TIEVObject& R = *FObjects[FSelected[0]];
  if (R.Kind != ievoPolyline || R.PolyScreen.size() < 2) return -1;
  const auto N = static_cast<Integer>(R.PolyScreen.size());
  for (Integer I = 0; I + 1 < N; ++I)
    if (IEDistPointToSegment(X, Y, R.PolyScreen[I].X, R.PolyScreen[I].Y, R.PolyScreen[I + 1].X,
                             R.PolyScreen[I + 1].Y) < 1.5)
      return I;
  if (R.PolyClosed && IEDistPointToSegment(X, Y, R.PolyScreen[N - 1].X, R.PolyScreen[N - 1].Y,
                                           R.PolyScreen[0].X, R.PolyScreen[0].Y) < 1.5)
    return N - 1;
  return -1;
}

void TZezudIdVect::UpdatePolylineBox(Integer hobj) {
  TIEVObject* R = ObjectRecord(hobj);
  if (R == nullptr || R->PolyPoints.empty()) return;
  const TRect& B = R->PolyBase;
  const Double SX = B.Right != B.Left ? static_cast<Double>(R->X2 - R->X1) / (B.Right - B.Left) : 1.0;
  const Double SY = B.Bottom != B.Top ? static_cast<Double>(R->Y2 - R->Y1) / (B.Bottom - B.Top) : 1.0;
  Double MinX = 1e18, MinY = 1e18, MaxX = -1e18, MaxY = -1e18;
  TRect NewBase{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const TPoint& P : R->PolyPoints) {
    const Double X = R->X1 + (P.X - B.Left) * SX, Y = R->Y1 + (P.Y - B.Top) * SY;
    MinX = std::min(MinX, X);
    MaxX = std::max(MaxX, X);
    MinY = std::min(MinY, Y);
    MaxY = std::max(MaxY, Y);
    NewBase = TRect{std::min(NewBase.Left, P.X), std::min(NewBase.Top, P.Y), std::max(NewBase.Right, P.X),
                    std::max(NewBase.Bottom, P.Y)};
  }
  R->X1 = static_cast<Integer>(std::nearbyint(MinX));
  R->Y1 = static_cast<Integer>(std::nearbyint(MinY));
  R->X2 = static_cast<Integer>(std::nearbyint(MaxX));
  R->Y2 = static_cast<Integer>(std::nearbyint(MaxY));
  R->PolyBase = NewBase;
}

// ---- Rubber bands ----

void TZezudIdVect::DrawRubberLine(bool) {
  TCanvas* C = GetCanvas();
  C->SetPen(FRubberBandPen.get());
  C->MoveTo(FPressPoint.X, FPressPoint.Y);
  C->LineTo(FCurrentPoint.X, FCurrentPoint.Y);
}

void TZezudIdVect::DrawRubberBox(bool) {
  TCanvas* C = GetCanvas();
  C->SetPen(FRubberBandPen.get());
  C->GetBrush()->SetStyle(bsClear);
  C->Rectangle(FPressPoint.X, FPressPoint.Y, FCurrentPoint.X, FCurrentPoint.Y);
}

void TZezudIdVect::DrawRubberEllipse(bool) {
  TCanvas* C = GetCanvas();
  C->SetPen(FRubberBandPen.get());
  C->GetBrush()->SetStyle(bsClear);
  C->Ellipse(FPressPoint.X, FPressPoint.Y, FCurrentPoint.X, FCurrentPoint.Y);
}
