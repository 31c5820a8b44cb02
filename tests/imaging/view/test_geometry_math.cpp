// The view's geometry arithmetic without a control: zoom tables against the arithmetic
// conversions, snapping, the fit zoom, scroll-bar scaling and the wheel's steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "imaging/view/zezudidviewgeometry.h"

namespace {

struct TAxisCase {
  double Zoom;
  Integer Layered;
  Integer Drawn;
};

struct TAxis {
  std::vector<Integer> ScrToBmp, BmpToScr;
  Integer Zoomed = 0, BitmapExtent = 0;
};

TAxis BuildAxis(const TAxisCase& C) {
  const double Factor = C.Zoom / 100, Inv = 100 / C.Zoom;
  TAxis Axis;
  Axis.Zoomed = static_cast<Integer>(std::nearbyint(C.Layered * Factor));
  Axis.BitmapExtent = static_cast<Integer>(C.Drawn * Inv);
  IEBuildZoomAxis(Axis.ScrToBmp, Axis.BmpToScr, Axis.Zoomed, C.Drawn, C.Layered, C.Zoom, Factor, Inv);
  return Axis;
}

Integer Snap(const TAxis& Axis, Integer Value) {
  return IESnapView(Axis.ScrToBmp, Axis.BmpToScr, 1, Value, Axis.Zoomed);
}

}  // namespace

TEST(ViewZoomTables, MagnifiedAndReducedColumns) {
  const TAxis Twice = BuildAxis({200, 10, 20});
  EXPECT_EQ(Twice.ScrToBmp[0], 0);
  EXPECT_EQ(Twice.ScrToBmp[1], 0);
  EXPECT_EQ(Twice.ScrToBmp[2], 1);
  EXPECT_EQ(Twice.ScrToBmp[3], 1);
  EXPECT_EQ(Twice.BmpToScr[1], 2);

  const TAxis Half = BuildAxis({50, 40, 20});
  for (Integer S = 0; S < 20; ++S) EXPECT_EQ(Half.ScrToBmp[S], 2 * S) << S;
  for (Integer B = 0; B < 40; ++B) EXPECT_EQ(Half.BmpToScr[B], B / 2) << B;
}

TEST(ViewZoomTables, LengthsAndLastColumn) {
  // Zoomed 20 + drawn 20: client table 42 entries, picture table Trunc(41 x 0.5) + 2.
  const TAxis Twice = BuildAxis({200, 10, 20});
  EXPECT_EQ(Twice.ScrToBmp.size(), 42u);
  EXPECT_EQ(Twice.BmpToScr.size(), 22u);
  // Offsets past the picture map to its last column.
  EXPECT_EQ(Twice.ScrToBmp[25], 9);
  EXPECT_EQ(Twice.ScrToBmp[40], 9);

  const TAxis Half = BuildAxis({50, 40, 20});
  EXPECT_EQ(Half.ScrToBmp.size(), 42u);
  EXPECT_EQ(Half.BmpToScr.size(), 84u);
  EXPECT_EQ(Half.ScrToBmp[30], 39);
}

// Entries of an unscrolled view equal the arithmetic conversions up to the rounding of the
// two formulas, and exactly where the zoom makes them agree.
TEST(ViewZoomTables, EntriesMatchTheArithmeticConversions) {
  struct TCase {
    TAxisCase Axis;
    bool ClientExact, PictureExact;
  };
  for (const TCase& C :
       {TCase{{50, 60, 30}, true, false}, TCase{{100, 30, 30}, true, true}, TCase{{200, 15, 30}, true, true},
        TCase{{150, 20, 30}, true, false}, TCase{{37.5, 80, 30}, false, false}}) {
    SCOPED_TRACE(C.Axis.Zoom);
    const TAxis Axis = BuildAxis(C.Axis);
    const double Factor = C.Axis.Zoom / 100, Inv = 100 / C.Axis.Zoom;
    const auto Agree = [](bool Exact, Integer Table, Integer Arith) {
      return Exact ? Table == Arith : std::abs(Table - Arith) <= 1;
    };
    for (Integer A = 0; A < C.Axis.Drawn; ++A)
      EXPECT_TRUE(Agree(C.ClientExact, Axis.ScrToBmp[A], IEScreenToBitmapArith(A, Inv, 0))) << A;
    for (Integer B = 0; B < Axis.BitmapExtent; ++B)
      EXPECT_TRUE(Agree(C.PictureExact, Axis.BmpToScr[B], IEBitmapToScreenArith(B, 0, Inv, Factor, 0))) << B;
  }
}

TEST(ViewZoomTables, ScrolledArithmeticConversions) {
  // At 200 % scrolled by 10 client pixels the first column is 5: client 3 shows column 6 and
  // column 7 starts at client 4.
  EXPECT_EQ(IEScreenToBitmapArith(3, 0.5, 5), 6);
  EXPECT_EQ(IEBitmapToScreenArith(7, 10, 0.5, 2, 0), 4);
  EXPECT_EQ(IEBitmapToScreenArith(7, 10, 0.5, 2, 12), 16);
  // Left of the picture the conversion truncates toward zero.
  EXPECT_EQ(IEScreenToBitmapArith(-3, 0.5, 0), -1);
  // Halves round to even: 1.5 x 3 = 4.5 gives 4.
  EXPECT_EQ(IEBitmapToScreenArith(3, 0, 100 / 150.0, 1.5, 0), 4);
}

TEST(ViewZoomTables, SnapMovesToTheColumnStart) {
  const TAxis Four = BuildAxis({400, 10, 30});
  EXPECT_EQ(Snap(Four, -5), 0);
  EXPECT_EQ(Snap(Four, 7), 4);
  EXPECT_EQ(Snap(Four, 8), 8);
  // Beyond the zoomed picture, and without tables, the value stays.
  EXPECT_EQ(Snap(Four, 41), 41);
  EXPECT_EQ(IESnapView(Four.ScrToBmp, Four.BmpToScr, 0, 7, 40), 7);
  EXPECT_EQ(Snap(TAxis{{}, {}, 40, 0}, 7), 7);
  const TAxis Half = BuildAxis({50, 40, 20});
  EXPECT_EQ(Snap(Half, 7), 7);
}

// The scroll position for a column under a pointer is a column start from which the pointer
// reaches that column whenever such a start exists (columns of unequal width can leave none:
// then a neighbour is shown), also where a zoom's inverse is inexact (300 %) or fractional.
TEST(ViewZoomTables, PositionForAColumnUnderThePointer) {
  for (double Zoom : {100.0, 200.0, 300.0, 250.0, 50.0}) {
    SCOPED_TRACE(Zoom);
    const TAxis Axis = BuildAxis({Zoom, 60, 40});
    for (Integer Column = 0; Column < 50; Column += Zoom < 100 ? 2 : 1)
      for (Integer Pointer = 0; Pointer < 12; ++Pointer) {
        Integer Position = 0;
        ASSERT_TRUE(IEViewPositionFor(Axis.ScrToBmp, Axis.BmpToScr, Column, Pointer, Position));
        if (Position < 0) continue;
        EXPECT_EQ(Snap(Axis, Position), Position) << Column << " " << Pointer;
        const Integer First = Axis.BmpToScr[Column] - Pointer, End = Axis.BmpToScr[Column + 1] - Pointer;
        bool Reachable = false;
        for (Integer Start = std::max(First, 0); Start < End; ++Start)
          Reachable |= Snap(Axis, Start) == Start;
        if (Reachable)
          EXPECT_EQ(Axis.ScrToBmp[Position + Pointer], Column) << Column << " " << Pointer;
        else
          EXPECT_LE(std::abs(Axis.ScrToBmp[Position + Pointer] - Column), 1) << Column << " " << Pointer;
      }
  }
  const TAxis Axis = BuildAxis({200, 10, 20});
  Integer Position = 0;
  EXPECT_FALSE(IEViewPositionFor(Axis.ScrToBmp, Axis.BmpToScr, 500, 3, Position));
  EXPECT_FALSE(IEViewPositionFor(Axis.ScrToBmp, Axis.BmpToScr, -1, 3, Position));
}

TEST(ViewFitZoom, ShrinkStretchAndEmpty) {
  struct TCase {
    Integer W, H, AreaW, AreaH;
    bool Shrink, Stretch;
    double Expected;
  };
  const double Optimal = 42;
  const TCase Cases[] = {
      {4000, 400, 400, 400, true, false, Optimal},  // too wide, may shrink
      {4000, 400, 400, 400, false, true, 100},      // too wide, may only stretch
      {100, 50, 400, 400, false, true, Optimal},    // fits, may stretch
      {100, 50, 400, 400, true, false, 100},        // fits, may only shrink
      {300, 500, 400, 400, true, false, Optimal},   // height decides: too high
      {500, 300, 400, 600, true, false, Optimal},   // width decides although it is the smaller side
      {0, 50, 400, 400, true, true, 100},          {100, 50, 0, 400, true, true, 100},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(IEGetFitZoom(C.W, C.H, C.AreaW, C.AreaH, C.Shrink, C.Stretch, Optimal), C.Expected)
        << C.W << "x" << C.H << " in " << C.AreaW << "x" << C.AreaH;
  // The limiting width of a 4000 pixel picture in 396 client pixels: just under 10 %.
  EXPECT_DOUBLE_EQ(IEFitAxisZoom(396, 4000), 9.9);
}

TEST(ViewScrollBarMath, SixteenBitRangeAndSteps) {
  // 100,000 zoomed pixels on a bar of 65536 units.
  const double Scale = IEScrollScale(400, 99600);
  EXPECT_DOUBLE_EQ(Scale, 100000.0 / 65536);
  EXPECT_GE(std::nearbyint(65535 * Scale), 99600);

  TIEScrollBarParams Params;
  EXPECT_EQ(IEScrollLineStep(Params, 1), 1);
  EXPECT_EQ(IEScrollLineStep(Params, 3.5), 3);
  EXPECT_EQ(IEScrollLineStep(Params, 0.25), 1);
  EXPECT_EQ(IEScrollPageStep(Params, 3.5, 321), 321);
  Params.LineStep = 4;
  Params.PageStep = 10;
  EXPECT_EQ(IEScrollLineStep(Params, 2), 8);
  EXPECT_EQ(IEScrollPageStep(Params, 2, 321), 20);
}

TEST(ViewWheelMath, DirectionZoomAndScrollSteps) {
  TIEMouseWheelParams Params;
  EXPECT_EQ(IEWheelDirection(Params, 120), -1);
  EXPECT_EQ(IEWheelDirection(Params, -120), 1);
  Params.InvertDirection = true;
  EXPECT_EQ(IEWheelDirection(Params, 120), 1);

  // Defaults: 8 % of the current zoom, at least one point.
  Params.InvertDirection = false;
  EXPECT_DOUBLE_EQ(IEWheelZoom(Params, 100, -1), 92);
  EXPECT_DOUBLE_EQ(IEWheelZoom(Params, 250, 1), 270);
  EXPECT_DOUBLE_EQ(IEWheelZoom(Params, 5, -1), 4);
  EXPECT_EQ(IEWheelScrollStep(Params, 300, 1), 24);
  EXPECT_EQ(IEWheelScrollStep(Params, 5, 1), 1);

  Params.Variation = iewvAbsolute;
  EXPECT_DOUBLE_EQ(IEWheelZoom(Params, 100, 1), 108);
  EXPECT_EQ(IEWheelScrollStep(Params, 300, 2.5), 16);
  EXPECT_EQ(IEWheelScrollStep(Params, 300, 0.5), 8);
  EXPECT_TRUE(IEWheelVariationKnown(Params));
  Params.Variation = 2;
  EXPECT_FALSE(IEWheelVariationKnown(Params));
}
