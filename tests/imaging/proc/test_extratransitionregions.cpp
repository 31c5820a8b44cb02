// Region builders of the clipped transitions: rectangle lists, the numbered shapes, polygons,
// pies, rotation and points on a circle.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/proc/iextratransitions.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Math.h"

namespace {

// Owns a region for the test.
struct TRgn {
  explicit TRgn(HRGN R) : H(R) {}
  ~TRgn() {
    if (H) DeleteObject(H);
  }
  TRgn(const TRgn&) = delete;
  TRgn& operator=(const TRgn&) = delete;
  bool In(Integer X, Integer Y) const { return PtInRegion(H, X, Y) != 0; }
  TRect Box() const {
    RECT R{};
    GetRgnBox(H, &R);
    return R;
  }
  HRGN H;
};

}  // namespace

TEST(ComplexRegion, GrowsInStepsOf500AndKeepsRectanglesAsGiven) {
  TComplexRegion C;
  EXPECT_EQ(C.CreateRegion(), nullptr);
  C.AddRect(10, 20, 5, 30);  // inverted: stored as is, bounds as is
  EXPECT_EQ(C.GetCapacity(), 500);
  EXPECT_EQ(C.GetBounds(), (TRect{10, 20, 5, 30}));
  {
    TRgn R(C.CreateRegion());
    ASSERT_NE(R.H, nullptr);
    EXPECT_FALSE(R.In(7, 25));  // the inverted rectangle covers nothing
  }
  for (Integer I = 0; I < 500; ++I) C.AddRect(2 * I, 0, 2 * I + 1, 1);
  EXPECT_EQ(C.GetCount(), 501);
  EXPECT_EQ(C.GetCapacity(), 1000);
  EXPECT_EQ(C.GetBounds(), (TRect{0, 0, 999, 30}));
  TRgn R(C.CreateRegion());
  ASSERT_NE(R.H, nullptr);
  EXPECT_TRUE(R.In(0, 0));
  EXPECT_FALSE(R.In(1, 0));
  EXPECT_TRUE(R.In(998, 0));
  EXPECT_FALSE(R.In(998, 1));
  // More rectangles after a region was made; Clear forgets them all.
  C.AddRect(0, 5, 10, 10);
  TRgn After(C.CreateRegion());
  EXPECT_TRUE(After.In(5, 7));
  C.Clear();
  EXPECT_EQ(C.GetCount(), 0);
  EXPECT_EQ(C.GetCapacity(), 0);
  EXPECT_EQ(C.GetBounds(), (TRect{2147483647, 2147483647, -2147483647, -2147483647}));
  EXPECT_EQ(C.CreateRegion(), nullptr);
}

TEST(ShapeRegion, NumbersWrapAt128AndUnknownShapesGiveNone) {
  TRgn Heart(ShapeRegion(15, 0, 0, 40, 40));
  TRgn Wrapped(ShapeRegion(128 + 15, 0, 0, 40, 40));
  ASSERT_NE(Heart.H, nullptr);
  ASSERT_NE(Wrapped.H, nullptr);
  EXPECT_TRUE(EqualRgn(Heart.H, Wrapped.H));
  for (Integer Shape : {16, 100, 127, 255}) EXPECT_EQ(ShapeRegion(Shape, 0, 0, 40, 40), nullptr) << Shape;
  // An empty box has an empty shape.
  TRgn Empty(ShapeRegion(15, 10, 10, 0, 0));
  ASSERT_NE(Empty.H, nullptr);
  EXPECT_EQ(Empty.Box(), (TRect{0, 0, 0, 0}));
}

TEST(ShapeRegion, EveryShapeStaysInItsFittedBox) {
  // Box (10, 20, 64 x 48): squares of 48 from x 18; bolts 48 wide; explosions the whole box;
  // the cross 36 wide from x 24.
  struct TCase {
    Integer Shape;
    TRect Fit;
  } Cases[] = {
      {0, {18, 20, 66, 68}},  {1, {18, 20, 66, 68}},  {2, {18, 20, 66, 68}},  {3, {18, 20, 66, 68}},
      {4, {18, 20, 66, 68}},  {5, {18, 20, 66, 68}},  {6, {18, 20, 66, 68}},  {7, {18, 20, 66, 68}},
      {8, {10, 20, 74, 68}},  {9, {10, 20, 74, 68}},  {10, {24, 20, 60, 68}}, {11, {18, 20, 66, 68}},
      {12, {18, 20, 66, 68}}, {13, {18, 20, 66, 68}}, {14, {18, 20, 66, 68}}, {15, {18, 20, 66, 68}}};
  for (const TCase& C : Cases) {
    TRgn R(ShapeRegionInRect(C.Shape, {10, 20, 74, 68}));
    ASSERT_NE(R.H, nullptr) << C.Shape;
    const TRect B = R.Box();
    EXPECT_GE(B.Left, C.Fit.Left) << C.Shape;
    EXPECT_GE(B.Top, C.Fit.Top) << C.Shape;
    EXPECT_LE(B.Right, C.Fit.Right) << C.Shape;
    EXPECT_LE(B.Bottom, C.Fit.Bottom) << C.Shape;
    // Each shape spans most of its box one way or the other.
    EXPECT_GE(std::max(B.Width() * 10 / C.Fit.Width(), B.Height() * 10 / C.Fit.Height()), 9) << C.Shape;
  }
}

TEST(ShapeRegion, FivePointedStarSitsInTheCentredSquare) {
  // 101 x 51: the square of 51 starts 25 to the right; the top vertex at (50, 0).
  TRgn R(ShapeRegion(0, 0, 0, 101, 51));
  const TRect B = R.Box();
  // Sharp vertices keep their pixels only where a pixel centre lies inside.
  EXPECT_GE(B.Left, 25);
  EXPECT_LE(B.Left, 27);
  EXPECT_LE(B.Top, 2);
  EXPECT_GE(B.Right, 74);
  EXPECT_LE(B.Right, 76);
  EXPECT_LE(B.Bottom, 51);
  EXPECT_TRUE(R.In(50, 5));    // the top point
  EXPECT_FALSE(R.In(45, 5));   // beside it
  EXPECT_TRUE(R.In(50, 30));   // the middle
  EXPECT_FALSE(R.In(50, 45));  // between the legs
  EXPECT_TRUE(R.In(30, 20));   // the left arm
}

TEST(ShapeRegion, CrossIsThreeQuartersWideWithItsBarAThirdDown) {
  // 100 x 100: 75 wide from 12, bars 15 thick, the crossbar from 28 (85 x 0.33).
  TRgn R(ShapeRegion(10, 0, 0, 100, 100));
  EXPECT_EQ(R.Box(), (TRect{12, 0, 87, 100}));
  struct TPt {
    Integer X, Y;
    bool In;
  } Points[] = {{42, 0, true},   {41, 0, false}, {56, 99, true},  {57, 0, false}, {12, 28, true},
                {12, 27, false}, {12, 42, true}, {12, 43, false}, {86, 35, true}, {30, 60, false}};
  for (const TPt& P : Points) EXPECT_EQ(R.In(P.X, P.Y), P.In) << P.X << ", " << P.Y;
}

TEST(ShapeRegion, HeartHasTwoLobesAndAPoint) {
  TRgn R(ShapeRegion(15, 0, 0, 100, 100));
  const TRect B = R.Box();
  EXPECT_EQ(B.Left, 0);
  EXPECT_EQ(B.Top, 0);
  EXPECT_EQ(B.Right, 100);
  EXPECT_LE(B.Bottom, 100);
  EXPECT_GE(B.Bottom, 97);
  struct TPt {
    Integer X, Y;
    bool In;
  } Points[] = {{25, 25, true}, {75, 25, true}, {50, 5, false},  {50, 50, true},
                {50, 90, true}, {5, 90, false}, {95, 90, false}, {3, 45, false}};
  for (const TPt& P : Points) EXPECT_EQ(R.In(P.X, P.Y), P.In) << P.X << ", " << P.Y;
}

TEST(ShapeRegion, ArrowsPointByTheirOrientation) {
  // Orientation 0 has its head at the top left; 1 mirrors x, 2 mirrors y, 3 both.
  struct TCase {
    Integer Shape;
    Integer HeadX, HeadY;
  } Cases[] = {{2, 2, 2},  {3, 97, 2},  {4, 2, 97},  {5, 97, 97},
               {11, 2, 2}, {12, 97, 2}, {13, 2, 97}, {14, 97, 97}};
  for (const TCase& C : Cases) {
    TRgn R(ShapeRegion(C.Shape, 0, 0, 100, 100));
    EXPECT_TRUE(R.In(C.HeadX, C.HeadY)) << C.Shape;
    EXPECT_FALSE(R.In(99 - C.HeadX, C.HeadY)) << C.Shape;
    EXPECT_FALSE(R.In(C.HeadX, 99 - C.HeadY)) << C.Shape;
  }
  // Bolts: 7 is 6 mirrored left to right; a wide box keeps the height and centres the width.
  TRgn Bolt(ShapeRegion(6, 0, 0, 200, 100));
  TRgn Mirrored(ShapeRegion(7, 0, 0, 200, 100));
  EXPECT_GE(Bolt.Box().Left, 50);
  EXPECT_LE(Bolt.Box().Right, 150);
  EXPECT_TRUE(Bolt.In(66, 85));  // the strike ends at the bottom left
  EXPECT_FALSE(Mirrored.In(66, 85));
  EXPECT_TRUE(Mirrored.In(132, 85));
  EXPECT_FALSE(Bolt.In(132, 85));
}

TEST(ShapeRegion, PolygonsFillByTheWindingRule) {
  // A pentagram drawn in star order: its centre is wound twice and stays inside.
  const Integer Star[] = {50, 0, 79, 90, 2, 35, 97, 35, 21, 90};
  TRgn R(PolyRegion(Star));
  EXPECT_TRUE(R.In(50, 50));
  TRgn T(TriangleRegion(0, 0, 10, 0, 0, 10));
  EXPECT_TRUE(T.In(1, 1));
  EXPECT_FALSE(T.In(8, 8));
}

TEST(ShapeRegion, PieStopsOneStepShortOfItsEnd) {
  // A hundred steps round the whole circle from straight up leave the last hundredth open.
  TRgn R(PieRegion(50, 50, 40, -Pi / 2, 3 * Pi / 2, 100));
  EXPECT_TRUE(R.In(52, 15));
  EXPECT_TRUE(R.In(15, 50));
  EXPECT_TRUE(R.In(85, 50));
  EXPECT_FALSE(R.In(49, 13));
  // No steps: the centre alone, no wedge.
  TRgn None(PieRegion(50, 50, 40, 0, Pi, 0));
  if (None.H) {
    EXPECT_EQ(None.Box(), (TRect{0, 0, 0, 0}));
  }
}

TEST(ShapeRegion, RotationAndCirclePointsTurnClockwiseOnScreen) {
  TPoint P[2] = {{10, 0}, {13, 4}};
  RotatePoints(P, 1, 3, 4, Pi / 2);
  EXPECT_EQ(P[0], (TPoint{7, 11}));  // (7, -4) from the centre becomes (4, 7)
  EXPECT_EQ(P[1], (TPoint{3, 14}));
  EXPECT_EQ(PointOnCircle({0, 0}, 10, 0), (TPoint{0, -10}));
  EXPECT_EQ(PointOnCircle({0, 0}, 10, 90), (TPoint{10, 0}));
  EXPECT_EQ(PointOnCircle({5, 5}, 10, 180), (TPoint{5, 15}));
  Integer L = 10, T = 20, W = 101, H = 51;
  FitSquare(L, T, W, H);
  EXPECT_EQ(L, 35);
  EXPECT_EQ(T, 20);
  EXPECT_EQ(W, 51);
  EXPECT_EQ(H, 51);
}
