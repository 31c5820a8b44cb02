// Geometry and hit tests, as tables of cases.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "imaging/core/iegeometry.h"

namespace {

constexpr double Pi = std::numbers::pi;

struct TMeasureCase {
  const char* Name;
  std::function<double()> Measure;
  double Expected;
};

void ExpectAll(const std::vector<TMeasureCase>& Cases) {
  for (const TMeasureCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_NEAR(C.Measure(), C.Expected, 1e-9);
  }
}

const TPoint Square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const TPoint Segment[] = {{0, 0}, {10, 0}};

double Polyline(Integer X, Integer Y, std::span<const TPoint> Points, Integer PenWidth, bool Closed) {
  return IEDistPointToPolyline(X, Y, Points.data(), static_cast<Integer>(Points.size()), 0, 0, 0, 0, 1, 1,
                               PenWidth, Closed);
}

TEST(Geometry, SegmentAndLineDistances) {
  ExpectAll({
      {"foot of the perpendicular inside", [] { return IEDistPointToSegment(5, 3, 0, 0, 10, 0); }, 3},
      {"beyond the end: distance to the end", [] { return IEDistPointToSegment(13, 4, 0, 0, 10, 0); }, 5},
      {"before the start", [] { return IEDistPointToSegment(-3, -4, 0, 0, 10, 0); }, 5},
      {"45000 past the end still measured", [] { return IEDistPointToSegment(45010, 0, 0, 0, 10, 0); },
       45000},
      {"50000 past the end is too far", [] { return IEDistPointToSegment(50010, 0, 0, 0, 10, 0); },
       IEFarDistance},
      {"the limit holds on each axis", [] { return IEDistPointToSegment(20, 45001, 0, 0, 10, 0); },
       IEFarDistance},
      {"equal ends: plain distance, no limit", [] { return IEDistPointToSegment(100000, 0, 0, 0, 0, 0); },
       100000},
      {"far-apart coordinates do not overflow",
       [] { return IEDistPointToSegment(0, 2000000000, -2000000000, 0, 2000000000, 0); }, 2000000000},
      {"infinite line", [] { return IEDistPointToLine(50, 7, 0, 0, 10, 0); }, 7},
      {"distance", [] { return IEDistance(1, 1, 4, 5); }, 5},
  });
}

TEST(Geometry, PolylineDistances) {
  const TPoint Single[] = {{0, 0}};
  const TPoint HalfColumn[] = {{1, 0}, {1, 10}};
  ExpectAll({
      {"no points", [] { return IEDistPointToPolyline(0, 0, Segment, 0, 0, 0, 0, 0, 1, 1, 1, false); },
       IEFarDistance},
      {"one point, open", [&] { return Polyline(3, 4, Single, 1, false); }, IEFarDistance},
      {"one point, closed", [&] { return Polyline(3, 4, Single, 1, true); }, 5},
      {"open square misses its closing side", [] { return Polyline(0, 5, Square, 1, false); }, 5},
      {"closed square has it", [] { return Polyline(0, 5, Square, 1, true); }, 0},
      {"points mapped by origin, scale and offset",
       [] { return IEDistPointToPolyline(110, 103, Segment, 2, 0, 0, 100, 100, 2, 2, 1, false); }, 3},
      // 1 x 2.5 = 2.5 maps to 2, not 3.
      {"mapping rounds halves to even",
       [&] { return IEDistPointToPolyline(0, 5, HalfColumn, 2, 0, 0, 0, 0, 2.5, 1, 1, false); }, 2},
      {"pen 3 tries nothing more", [] { return Polyline(5, 5, Segment, 3, false); }, 5},
      {"pen 4 tries the segment moved down by 2", [] { return Polyline(5, 5, Segment, 4, false); }, 3},
      {"pen 4 tries no upward offsets", [] { return Polyline(5, -5, Segment, 4, false); }, 5},
      {"pen 4 tries sideways offsets of 2", [] { return Polyline(14, 2, Segment, 4, false); }, 2},
  });
}

TEST(Geometry, BoxAndEllipseDistances) {
  ExpectAll({
      {"filled box, point inside", [] { return IEDistPointToBox(5, 5, 0, 0, 10, 10, true, 1); }, 0},
      {"outlined box, point inside", [] { return IEDistPointToBox(3, 5, 0, 0, 10, 10, false, 1); }, 3},
      {"box below", [] { return IEDistPointToBox(5, 12, 0, 0, 10, 10, false, 0); }, 2},
      {"box pen 2 moves by -1..1", [] { return IEDistPointToBox(5, 12, 0, 0, 10, 10, false, 2); }, 1},
      {"box pen -1 uses offset 0", [] { return IEDistPointToBox(5, 12, 0, 0, 10, 10, false, -1); }, 2},
      {"box pen -2 tries nothing", [] { return IEDistPointToBox(5, 12, 0, 0, 10, 10, false, -2); },
       IENoDistance},
      {"ellipse pen -2 tries nothing", [] { return IEDistPointToEllipse(5, 5, 0, 0, 10, 10, false, -2); },
       IENoDistance},
      {"filled ellipse, centre on a spoke",
       [] { return IEDistPointToEllipse(50, 50, 0, 0, 100, 100, true, 1); }, 0},
      // 39 pieces; the point lies beside the piece from the last point (49, -8) back to (50, 0).
      {"outline includes the closing piece",
       [] { return IEDistPointToEllipse(100, 46, 0, 0, 100, 100, false, 1); }, 4 / std::sqrt(65.0)},
      // The piece (-2, -49)-(6, -49): the points are truncated towards the centre.
      {"outline at the top", [] { return IEDistPointToEllipse(50, -3, 0, 0, 100, 100, false, 0); }, 4},
  });
}

TEST(Geometry, AnglesAndTurns) {
  ExpectAll({
      {"arccos(-1) is 0", [] { return static_cast<double>(IEArcCos(-1)); }, 0},
      {"arccos(1) is 0", [] { return static_cast<double>(IEArcCos(1)); }, 0},
      {"arccos(0)", [] { return static_cast<double>(IEArcCos(0)); }, Pi / 2},
      {"arctan2 by quadrant", [] { return static_cast<double>(IEArcTan2(-1, -1)); }, -3 * Pi / 4},
      {"line up-right", [] { return IELineAngle(0, 0, 10, -10); }, Pi / 4},
      {"line down-right", [] { return IELineAngle(0, 0, 10, 10); }, 7 * Pi / 4},
      {"line down-left", [] { return IELineAngle(0, 0, -10, 10); }, 5 * Pi / 4},
      {"line up-left", [] { return IELineAngle(0, 0, -10, -10); }, 3 * Pi / 4},
      {"line up", [] { return IELineAngle(0, 0, 0, -5); }, Pi / 2},
      {"line down", [] { return IELineAngle(0, 0, 0, 5); }, 3 * Pi / 2},
      {"line left", [] { return IELineAngle(0, 0, -5, 0); }, Pi},
      {"equal points", [] { return IELineAngle(0, 0, 0, 0); }, 0},
      {"straight on turns 0", [] { return IEAngleAtVertex(0, 0, 5, 0, 10, 0); }, 0},
      {"right-angle turn", [] { return IEAngleAtVertex(0, 0, 5, 0, 5, 5); }, Pi / 2},
      {"zero-length side", [] { return IEAngleAtVertex(0, 0, 0, 0, 5, 5); }, 0},
      {"three points on a line, middle vertex", [] { return IEAngle3Points(0, 0, 1, 0, 2, 0); }, 0},
      {"right angle turning one way", [] { return IEAngle3Points(0, 10, 0, 0, 10, 0); }, Pi / 2},
      {"right angle turning the other way", [] { return IEAngle3Points(10, 0, 0, 0, 0, 10); }, 3 * Pi / 2},
  });
}

TEST(Geometry, TurnDirection) {
  struct TCase {
    TPoint P1, P2, P3;
    Integer Expected;
  };
  const TCase Cases[] = {
      {{0, 0}, {1, 0}, {2, 0}, 1},    // P2 between P1 and P3
      {{0, 0}, {2, 0}, {1, 0}, 0},    // P3 between
      {{0, 0}, {1, 0}, {-1, 0}, -1},  // P1 between
      {{0, 0}, {1, 0}, {1, 1}, 1},   {{0, 0}, {1, 0}, {1, -1}, -1},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(IETurnDirection(C.P1.X, C.P1.Y, C.P2.X, C.P2.Y, C.P3.X, C.P3.Y), C.Expected)
        << C.P2.X << "," << C.P3.X << "," << C.P3.Y;
}

TEST(Geometry, AdjustLineTo45) {
  struct TCase {
    TPoint End, Expected;
  };
  const TCase Cases[] = {
      {{100, 10}, {100, 0}},                               // horizontal
      {{10, 100}, {0, 100}},                               // vertical
      {{50, 40}, {50, 50}},                                // right and below: the shorter leg grows
      {{40, 50}, {50, 50}},     {{-50, -40}, {-40, -40}},  // left and above: the longer leg shrinks
      {{-40, -50}, {-40, -40}}, {{-50, 40}, {-50, 50}},    // left, not above
      {{-40, 50}, {-50, 50}},   {{50, -40}, {50, -50}},    // above, not left
      {{40, -50}, {50, -50}},   {{20, 0}, {20, 0}},        // on an axis to the right: unchanged
      {{-20, 0}, {-20, 20}},                               // on the axis to the left: the diagonal case
      {{0, 0}, {0, 0}},
  };
  for (const TCase& C : Cases) {
    Integer X = C.End.X, Y = C.End.Y;
    IEAdjustLineTo45(0, 0, X, Y);
    EXPECT_EQ((TPoint{X, Y}), C.Expected) << "end " << C.End.X << "," << C.End.Y;
  }
  Integer X = 110, Y = 205;  // relative to the start (100, 200)
  IEAdjustLineTo45(100, 200, X, Y);
  EXPECT_EQ((TPoint{X, Y}), (TPoint{110, 210}));
}

TEST(Geometry, PointInShapes) {
  struct TCase {
    const char* Name;
    bool Inside;
    bool Expected;
  };
  const TPoint Scaled[] = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};  // x2 about (0, 0), moved by (100, 0)
  const TCase Cases[] = {
      {"polygon centre", IEPointInPolygon(5, 5, Square), true},
      {"polygon left edge", IEPointInPolygon(0, 5, Square), true},
      {"polygon top edge", IEPointInPolygon(5, 0, Square), true},
      {"polygon right edge", IEPointInPolygon(10, 5, Square), false},
      {"polygon bottom edge", IEPointInPolygon(5, 10, Square), false},
      {"empty polygon", IEPointInPolygon(0, 0, {}), false},
      {"scaled polygon inside", IEPointInScaledPolygon(109, 9, Scaled, 4, 0, 0, 100, 0, 2, 2), true},
      {"scaled polygon outside", IEPointInScaledPolygon(111, 9, Scaled, 4, 0, 0, 100, 0, 2, 2), false},
      {"scaled polygon without points", IEPointInScaledPolygon(0, 0, Scaled, 0, 0, 0, 0, 0, 1, 1), false},
      {"rect edges inside", IEPointInRect(10, 10, 0, 0, 10, 10), true},
      {"unordered rect holds nothing", IEPointInRect(5, 5, 10, 10, 0, 0), false},
      {"normalized rect", IEPointInRectNormalized(5, 5, 10, 10, 0, 0), true},
      {"segment box touching", IESegmentBoxIntersectsRect(0, 0, 10, 10, 10, 10, 20, 20), true},
      {"segment box apart", IESegmentBoxIntersectsRect(0, 0, 10, 10, 11, 0, 20, 20), false},
  };
  for (const TCase& C : Cases) EXPECT_EQ(C.Inside, C.Expected) << C.Name;
}

TEST(Geometry, RotateExpandAndFit) {
  std::vector<TPoint> Points = {{10, 0}, {0, 10}};
  IERotatePoints(Points, 0, 0, 90);
  EXPECT_EQ(Points, (std::vector<TPoint>{{0, -10}, {10, 0}}));  // counter-clockwise on screen
  IERotatePoints(Points, 0, 0, 0);
  EXPECT_EQ(Points, (std::vector<TPoint>{{0, -10}, {10, 0}}));
  std::vector<TPoint> Around = {{7, 5}};
  IERotatePoints(Around, 5, 5, 45);  // 2 x cos 45 = 1.414 truncates to 1, -1.414 to -1
  EXPECT_EQ(Around[0], (TPoint{6, 4}));

  TRect R{5, 5, 5, 5};
  IEExpandRect(R, 2, 9);
  IEExpandRect(R, 8, 1);
  EXPECT_EQ(R, (TRect{2, 1, 8, 9}));

  struct TFit {
    Integer W, H, MaxW, MaxH, ExpectedW, ExpectedH;
  };
  const TFit Fits[] = {
      {1000, 10, 100, 100, 100, 1},
      {10, 10, 100, 50, 50, 50},    // enlarged too
      {1000, 1, 100, 100, 100, 1},  // 0.1 raised to 1
      {3, 2, 10, 10, 10, 6},
  };
  for (const TFit& F : Fits) {
    Integer W = -1, H = -1;
    IEScaleToFit(F.W, F.H, F.MaxW, F.MaxH, W, H);
    EXPECT_EQ((TSize{W, H}), (TSize{F.ExpectedW, F.ExpectedH})) << F.W << "x" << F.H;
  }
  Integer W = -1, H = -1;
  IEScaleToFit(0, 10, 100, 100, W, H);
  EXPECT_EQ((TSize{W, H}), (TSize{-1, -1}));
}

}  // namespace
