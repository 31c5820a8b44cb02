// Measures of the vector layer: units per pixel, the number format, the length and area of the
// view's polygon selection, and the measure hint that follows the mouse.
#include <algorithm>
#include <cmath>

#include "imaging/core/iehintbox.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/view/ievect.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"

const std::array<const char*, 11> IEUnitNames{"pixels",  "inches",     "km",   "mt",    "cm",   "mm",
                                              "microns", "nanometers", "feet", "yards", "miles"};

void TZezudIdVect::ComputeUnitsPerPixel(TIEUnits Unit, Double& Horizontal, Double& Vertical) {
  if (Unit == ieuPIXELS) {
    Horizontal = 1.0;
    Vertical = 1.0;
  } else {
    // Inches per pixel first; a resolution of 0 would divide by zero, so it counts as 1 dpi.
    Horizontal = 1.0 / std::max(1, GetDpiX());
    Vertical = 1.0 / std::max(1, GetDpiY());
    Double Factor = 1.0;
    switch (Unit) {
      case ieuKM:
        Factor = 2.54 / 100000;
        break;
      case ieuMETERS:
        Factor = 2.54 / 100;
        break;
      case ieuCENTIMETERS:
        Factor = 2.54;
        break;
      case ieuMILLIMETERS:
        Factor = 2.54 * 10;
        break;
      case ieuMICRONS:
        Factor = 2.54 * 10000;
        break;
      case ieuNANOMETERS:
        Factor = 2.54 * 10000000;
        break;
      case ieuFEET:
        Factor = 1.0 / 12;
        break;
      case ieuYARDS:
        Factor = 1.0 / 36;
        break;
      case ieuMILES:
        Factor = 1.0 / 63360;
        break;
      default:
        break;
    }
    Horizontal *= Factor;
    Vertical *= Factor;
  }
  Horizontal *= FMeasureScale;
  Vertical *= FMeasureScale;
}

void TZezudIdVect::RecomputeUnits() {
  ComputeUnitsPerPixel(FMUnit, FUnitsPerPixelX, FUnitsPerPixelY);
}

void TZezudIdVect::SetMeasureScale(Double Value) {
  FMeasureScale = Value;
  RecomputeUnits();
  RedrawMeasureHint();
  Update();
}

std::string TZezudIdVect::FormatMeasure(Double Value) {
  return IEFloatToStrF(Value, ffFixed, FFloatPrecision, FFloatDigits);
}

Double TZezudIdVect::GetSelectionLength() {
  const TPoint* Points = GetPolySelPoints();
  const Integer Count = GetPolySelCount();
  const Double H = FUnitsPerPixelX;
  const Double V = FUnitsPerPixelY;
  auto Segment = [&](const TPoint& A, const TPoint& B) {
    return std::sqrt(std::pow(H * (B.X - A.X), 2) + std::pow(V * (B.Y - A.Y), 2));
  };
  Double Length = 0;
  if (!Points || Count <= 0) return Length;
  Integer Start = 0;  // first point of the current sub-polygon
  if (Count >= 2) {
    for (Integer I = 0; I < Count - 1; ++I) {
      if (Points[I].X == IESelBreak) {
        Start = I + 1;
        continue;
      }
      if (Points[I + 1].X == IESelBreak) {
        Length += Segment(Points[I], Points[Start]);
        ++I;  // over the separator
        Start = I + 1;
      } else {
        Length += Segment(Points[I], Points[I + 1]);
      }
    }
  }
  const bool Drawing = FPolySelecting;
  const TPoint& Last = Points[Count - 1];
  if (!Drawing && Count > 2 && Last.X != IESelBreak && Start < Count) Length += Segment(Last, Points[Start]);
  if (LengthIncludesCursor && Drawing && Last.X != IESelBreak) {
    const TPoint Mouse{XScr2Bmp(FRawMousePoint.X), YScr2Bmp(FRawMousePoint.Y)};
    Length += Segment(Last, Mouse);
  }
  return Length;
}

Double TZezudIdVect::GetSelectionArea() {
  const TPoint* Points = GetPolySelPoints();
  const Integer Count = GetPolySelCount();
  const Double H = FUnitsPerPixelX;
  const Double V = FUnitsPerPixelY;
  if (Points && Count > 2) {
    Double Total = 0;
    Double Sum = 0;
    Integer Start = 0;
    for (Integer I = 0; I < Count; ++I) {
      if (Points[I].X == IESelBreak) continue;
      const bool Closes = I == Count - 1 || Points[I + 1].X == IESelBreak;
      if (Closes) {
        Sum += static_cast<Double>(Points[I].X - Points[Start].X) * (Points[Start].Y + Points[I].Y);
        Total += std::fabs(Sum);
        Sum = 0;
        Start = I + 2;
      } else {
        Sum += static_cast<Double>(Points[I].X - Points[I + 1].X) * (Points[I + 1].Y + Points[I].Y);
      }
    }
    return Total * H * V / 2;
  }
  TIEMask* Mask = GetSelectionMask();
  if (!Mask || Mask->IsEmpty() || Mask->GetBitsPerPixel() != 1) return 0;
  Int64 Set = 0;
  const Integer X1 = std::max(0, Mask->GetX1()), X2 = std::min(Mask->GetWidth() - 1, Mask->GetX2());
  const Integer Y1 = std::max(0, Mask->GetY1()), Y2 = std::min(Mask->GetHeight() - 1, Mask->GetY2());
  for (Integer Y = Y1; Y <= Y2; ++Y)
    for (Integer X = X1; X <= X2; ++X)
      if (Mask->GetPixel(X, Y) != 0) ++Set;
  return static_cast<Double>(Set) * H * V;
}

void TZezudIdVect::ShowMeasureHint(Integer X, Integer Y) {
  if (!FMeasureHintOn) return;
  if (X == IEV_UNSETPOINT) X = FHintPos.X;
  if (Y == IEV_UNSETPOINT) Y = FHintPos.Y;
  X = std::max(0, X);
  Y = std::max(0, Y);
  const std::string UnitName = IEUnitName(FMUnit);
  Double Value = 0;
  bool Area = false;
  if (FVectorInteract.Contains(ivMeasureArea)) {
    Value = GetSelectionArea();
    Area = true;
  } else if (FVectorInteract.Contains(ivMeasureLength)) {
    Value = GetSelectionLength();
  } else if (FVectorInteract.Contains(ivDragLength)) {
    const TPoint From = FBuildingObject >= 0 ? FBuildingLastPoint : FPressPoint;
    Value = std::sqrt(std::pow(FUnitsPerPixelX * (X - From.X + 1) / (FZoomX / 100.0), 2) +
                      std::pow(FUnitsPerPixelY * (Y - From.Y + 1) / (FZoomY / 100.0), 2));
  }
  if (Value == 0) Value = FLastMeasure;
  FLastMeasure = Value;
  std::string Text = FormatMeasure(Value) + " " + UnitName;
  if (Area) Text += '\xB2';
  if (OnMeasureHint) OnMeasureHint(this, Text, Value);
  if (OnPresentMeasure) OnPresentMeasure(this, Text, Area ? ievtAREA : ievtLENGTH, Value);
  // A view without a window has nothing to draw the box on.
  if (HandleAllocated())
    IEDrawHintBox(GetCanvas(), X, Y, Text, FHintFont.get(), FHintBrush.get(), FHintBitmap.get(),
                  GetViewWidth(), GetViewHeight(), MeasureHintBorder1, MeasureHintBorder2);
  FHintPos = TPoint{X, Y};
}

void TZezudIdVect::HideMeasureHint() {
  if (!FMeasureHintOn || FHintBitmap->GetWidth() < 2) return;
  if (HandleAllocated()) GetCanvas()->Draw(FHintPos.X, FHintPos.Y, FHintBitmap.get());
  FHintBitmap->SetWidth(1);
}

void TZezudIdVect::RedrawMeasureHint() {
  if (!FMeasureHintOn) return;
  HideMeasureHint();
  ShowMeasureHint(IEV_UNSETPOINT, IEV_UNSETPOINT);
}
