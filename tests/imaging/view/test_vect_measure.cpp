// Measures of the vector layer: units per pixel, the number format, the polygon selection's
// length and area, the drag-length hint, rulers and angle measures.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/core/iegdiplus.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/ievect.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Bitmap.h"
#include "tests/imaging/view/VectTestSupport.h"

namespace {

// Reaches the gesture state a drag would set.
class TMeasuringVect : public TZezudIdVect {
 public:
  using TZezudIdVect::TZezudIdVect;
  void StartDragLength(TPoint Press) {
    FMeasureHintOn = true;
    FPressPoint = Press;
  }
  void SetDrawingSelection(bool Value) { FPolySelecting = Value; }
  void SetMouse(TPoint P) { FRawMousePoint = P; }
};

struct THintLog {
  std::string Text;
  Double Value = 0;
  TIEVValType Type = ievtAREA;
  int Presented = 0;
  void Hint(TObject*, const std::string& T, Double V) {
    Text = T;
    Value = V;
  }
  void Present(TObject*, const std::string&, TIEVValType ValType, Double) {
    Type = ValType;
    ++Presented;
  }
};

TEST(VectMeasure, UnitsPerPixelFollowUnitResolutionAndScale) {
  TZezudIdVect Vect(nullptr);
  Vect.SetDpiX(254);
  Vect.SetDpiY(127);
  struct Case {
    TIEUnits Unit;
    Double PerInch;  // units in one inch
  } Cases[] = {
      {ieuINCHES, 1},         {ieuKM, 2.54 / 100000},  {ieuMETERS, 0.0254},     {ieuCENTIMETERS, 2.54},
      {ieuMILLIMETERS, 25.4}, {ieuMICRONS, 25400},     {ieuNANOMETERS, 2.54e7}, {ieuFEET, 1.0 / 12},
      {ieuYARDS, 1.0 / 36},   {ieuMILES, 1.0 / 63360},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(IEUnitNames[C.Unit]);
    Double H, V;
    Vect.ComputeUnitsPerPixel(C.Unit, H, V);
    EXPECT_NEAR(H, C.PerInch / 254, C.PerInch * 1e-12);
    EXPECT_NEAR(V, C.PerInch / 127, C.PerInch * 1e-12);
  }
  Double H, V;
  Vect.ComputeUnitsPerPixel(ieuPIXELS, H, V);
  EXPECT_EQ(H, 1.0);
  Vect.SetMUnit(ieuCENTIMETERS);
  EXPECT_DOUBLE_EQ(Vect.GetUnitsPerPixelX(), 0.01);
  EXPECT_EQ(Vect.ObjectRecord(IEV_TEMPLATE)->RulerUnit, ieuCENTIMETERS);
  Vect.SetMeasureScale(2);
  EXPECT_DOUBLE_EQ(Vect.GetUnitsPerPixelX(), 0.02);
  Vect.ComputeUnitsPerPixel(ieuPIXELS, H, V);
  EXPECT_EQ(H, 2.0);
  Vect.SetDpiX(127);
  EXPECT_DOUBLE_EQ(Vect.GetUnitsPerPixelX(), 0.04);
}

TEST(VectMeasure, NumbersHaveFixedDecimals) {
  TZezudIdVect Vect(nullptr);
  EXPECT_EQ(Vect.FormatMeasure(std::sqrt(2.0)), "1.41");
  EXPECT_EQ(Vect.FormatMeasure(40), "40.00");
  Vect.SetFloatDigits(3);
  EXPECT_EQ(Vect.FormatMeasure(2.0 / 3), "0.667");
}

TEST(VectMeasure, ClosedSquaresGiveLengthAndArea) {
  TMeasuringVect Vect(nullptr);
  Vect.GetIEBitmap()->Allocate(100, 100, ie24RGB);
  TIESelPolygon* P = Vect.GetSelectionPolygon();
  for (TPoint Q : {TPoint{0, 0}, TPoint{10, 0}, TPoint{10, 10}, TPoint{0, 10}})
    Vect.AddPolygonPoint(P, Q.X, Q.Y);
  EXPECT_EQ(Vect.FormatMeasure(Vect.GetSelectionLength()), "40.00");
  EXPECT_EQ(Vect.FormatMeasure(Vect.GetSelectionArea()), "100.00");
  // A second square after a break counts on its own.
  Vect.AddPolygonBreak(P);
  for (TPoint Q : {TPoint{50, 50}, TPoint{70, 50}, TPoint{70, 70}, TPoint{50, 70}})
    Vect.AddPolygonPoint(P, Q.X, Q.Y);
  EXPECT_DOUBLE_EQ(Vect.GetSelectionLength(), 40 + 80);
  EXPECT_DOUBLE_EQ(Vect.GetSelectionArea(), 100 + 400);
  // Centimetres at 254 dpi shrink both.
  Vect.SetDpi(254, 254);
  Vect.SetMUnit(ieuCENTIMETERS);
  EXPECT_NEAR(Vect.GetSelectionLength(), 1.2, 1e-12);
  EXPECT_NEAR(Vect.GetSelectionArea(), 0.05, 1e-12);
}

TEST(VectMeasure, AnOpenPolygonBeingDrawnCountsTheCursorNotTheClosing) {
  TMeasuringVect Vect(nullptr);
  Vect.GetIEBitmap()->Allocate(100, 100, ie24RGB);
  Vect.Update();
  TIESelPolygon* P = Vect.GetSelectionPolygon();
  for (TPoint Q : {TPoint{0, 0}, TPoint{30, 0}, TPoint{30, 40}}) Vect.AddPolygonPoint(P, Q.X, Q.Y);
  EXPECT_DOUBLE_EQ(Vect.GetSelectionLength(), 30 + 40 + 50);
  Vect.SetDrawingSelection(true);
  Vect.SetMouse(TPoint{Vect.XBmp2Scr(30), Vect.YBmp2Scr(50)});
  EXPECT_DOUBLE_EQ(Vect.GetSelectionLength(), 30 + 40 + 10);
  Vect.LengthIncludesCursor = false;
  EXPECT_DOUBLE_EQ(Vect.GetSelectionLength(), 30 + 40);
}

TEST(VectMeasure, ADragOfNoPixelsMeasuresOneDiagonalPixel) {
  TMeasuringVect Vect(nullptr);
  THintLog Log;
  Vect.OnMeasureHint = TIEVMeasureHintEvent(&Log, &THintLog::Hint);
  Vect.OnPresentMeasure = TIEOnPresentMeasure(&Log, &THintLog::Present);
  Vect.SetVectorInteract(TIEVInteract{ivDragLength});
  Vect.ShowMeasureHint(5, 5);  // the hint is off outside a gesture
  EXPECT_EQ(Log.Presented, 0);
  Vect.StartDragLength(TPoint{20, 30});
  Vect.ShowMeasureHint(20, 30);
  EXPECT_EQ(Log.Text, "1.41 pixels");
  EXPECT_EQ(Log.Type, ievtLENGTH);
  Vect.ShowMeasureHint(22, 33);
  EXPECT_DOUBLE_EQ(Log.Value, 5.0);
  EXPECT_EQ(Vect.GetLastMeasure(), 5.0);
  // Half the zoom doubles the pixels of the picture the drag covers.
  Vect.SetZoom(50);
  Vect.ShowMeasureHint(22, 33);
  EXPECT_DOUBLE_EQ(Log.Value, 10.0);
}

TEST(VectMeasure, TheAreaHintCarriesTheSquareSign) {
  TMeasuringVect Vect(nullptr);
  Vect.GetIEBitmap()->Allocate(100, 100, ie24RGB);
  THintLog Log;
  Vect.OnMeasureHint = TIEVMeasureHintEvent(&Log, &THintLog::Hint);
  Vect.OnPresentMeasure = TIEOnPresentMeasure(&Log, &THintLog::Present);
  TIESelPolygon* P = Vect.GetSelectionPolygon();
  for (TPoint Q : {TPoint{0, 0}, TPoint{4, 0}, TPoint{4, 5}}) Vect.AddPolygonPoint(P, Q.X, Q.Y);
  Vect.SetVectorInteract(TIEVInteract{ivMeasureArea});
  Vect.StartDragLength(TPoint{0, 0});
  Vect.ShowMeasureHint(1, 1);
  EXPECT_EQ(Log.Text, "10.00 pixels\xB2");
  EXPECT_EQ(Log.Type, ievtAREA);
}

// Draws onto a white 24-bit picture without the anti-aliased interface.
struct TTarget {
  TTarget() : Bitmap(std::make_unique<TBitmap>()) {
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(200, 200);
    Bitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
    Bitmap->GetCanvas()->FillRect(TRect(0, 0, 200, 200));
    Canvas = std::make_unique<TIECanvas>(Bitmap->GetCanvas(), false, false);
  }
  int Dark() const {
    int N = 0;
    for (Integer Y = 0; Y < 200; ++Y)
      for (Integer X = 0; X < 200; ++X)
        if ((Bitmap->GetCanvas()->GetPixels(X, Y) & 0xFF) < 128) ++N;
    return N;
  }
  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<TIECanvas> Canvas;
};

TEST(VectMeasure, ARulerWithoutLengthDrawsNothing) {
  TZezudIdVect Vect(nullptr);
  TTarget Target;
  TIEVObject Record;
  Record.DrawnExtent = TRect(2000000000, 2000000000, -2000000000, -2000000000);
  Vect.DrawRuler(Target.Canvas.get(), TPoint{50, 50}, TPoint{50, 50}, 1.0, nullptr, clBlack, 1, ieuPIXELS, 0,
                 -1, &Record);
  EXPECT_EQ(Target.Dark(), 0);
  EXPECT_EQ(Record.DrawnExtent.Left, 2000000000);
}

TEST(VectMeasure, ARulersLabelReportsItsLength) {
  TZezudIdVect Vect(nullptr);
  THintLog Log;
  Vect.OnPresentMeasure = TIEOnPresentMeasure(&Log, &THintLog::Present);
  std::string Text;
  struct TCatch {
    std::string* Text;
    void Present(TObject*, const std::string& T, TIEVValType, Double) { *Text = T; }
  } Catch{&Text};
  Vect.OnPresentMeasure = TIEOnPresentMeasure(&Catch, &TCatch::Present);
  TTarget Target;
  TIEVObject Record;
  Record.DrawnExtent = TRect(2000000000, 2000000000, -2000000000, -2000000000);
  Vect.DrawRuler(Target.Canvas.get(), TPoint{20, 100}, TPoint{120, 100}, 1.0, nullptr, clBlack, 1, ieuPIXELS,
                 2, -1, &Record);
  EXPECT_EQ(Text, "100.00 pixels");
  EXPECT_GT(Target.Dark(), 100);
  EXPECT_LE(Record.DrawnExtent.Left, 20);
  EXPECT_GE(Record.DrawnExtent.Right, 120);
  // A given length wins over the drawn one.
  Vect.DrawRuler(Target.Canvas.get(), TPoint{20, 150}, TPoint{120, 150}, 1.0, nullptr, clBlack, 1, ieuPIXELS,
                 1, 7.5, nullptr);
  EXPECT_EQ(Text, "7.50 pixels");
}

TEST(VectMeasure, AScaleRulerTicksEveryTenthOfAUnit) {
  TZezudIdVect Vect(nullptr);
  Vect.SetDpi(100, 100);
  TTarget Target;
  // 1 inch at 100 dpi: ticks every 10 pixels, long ticks at 0 and 100.
  Vect.DrawRuler(Target.Canvas.get(), TPoint{50, 20}, TPoint{160, 20}, 1.0, nullptr, clBlack, 1, ieuINCHES, 0,
                 -1, nullptr);
  TCanvas* C = Target.Bitmap->GetCanvas();
  auto DarkAt = [&](Integer X, Integer Y) { return (C->GetPixels(X, Y) & 0xFF) < 128; };
  EXPECT_TRUE(DarkAt(50, 20 + 11));    // the long tick at 0
  EXPECT_TRUE(DarkAt(100, 20 + 7));    // the half-unit tick
  EXPECT_FALSE(DarkAt(100, 20 + 10));  // shorter than the long one
  EXPECT_TRUE(DarkAt(60, 20 + 5));     // a tenth
  EXPECT_FALSE(DarkAt(60, 20 + 7));
  EXPECT_FALSE(DarkAt(65, 20 + 5));  // no tick between tenths
  EXPECT_TRUE(DarkAt(150, 20 + 11));
}

TEST(VectMeasure, AnglesAreWrittenInDegreesOrAsTheirAcuteSide) {
  TZezudIdVect Vect(nullptr);
  const std::array<TPoint, 3> Points{TPoint{100, 50}, TPoint{50, 50}, TPoint{50, 100}};
  EXPECT_EQ(Vect.AngleMeasureText(Points),
            Vect.FormatMeasure(IEAngle3Points(100, 50, 50, 50, 50, 100) * 180 / 3.141592653589793) + "\xB0");
  const std::array<TPoint, 3> Reflex{TPoint{50, 100}, TPoint{50, 50}, TPoint{100, 50}};
  const std::string Wide = Vect.AngleMeasureText(Reflex);
  const std::string Narrow = Vect.AngleMeasureText(Points);
  EXPECT_TRUE((Wide == "270.00\xB0" && Narrow == "90.00\xB0") ||
              (Wide == "90.00\xB0" && Narrow == "270.00\xB0"))
      << Wide << " " << Narrow;
  Vect.ReflexAnglesAsAcute = true;
  EXPECT_EQ(Vect.AngleMeasureText(Points), "90.00\xB0");
  EXPECT_EQ(Vect.AngleMeasureText(Reflex), "90.00\xB0");
}

TEST(VectMeasure, AnAngleWithoutItsFirstPointDrawsNothing) {
  TZezudIdVect Vect(nullptr);
  TTarget Target;
  std::array<TPoint, 3> Points{TPoint{IEV_UNSETPOINT, 0}, TPoint{50, 50}, TPoint{60, 60}};
  EXPECT_EQ(IEVAnglePointsSet(Points), 0);
  Vect.DrawAngle(Target.Canvas.get(), Points, IEVAnglePointsSet(Points), 1.0, nullptr, clBlack, 1, nullptr);
  EXPECT_EQ(Target.Dark(), 0);
  Points = {TPoint{10, 10}, TPoint{100, 10}, TPoint{100, 100}};
  Vect.DrawAngle(Target.Canvas.get(), Points, 3, 1.0, nullptr, clBlack, 1, nullptr);
  EXPECT_GT(Target.Dark(), 150);
}

}  // namespace
