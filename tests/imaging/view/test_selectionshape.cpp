#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"

namespace {

std::string PointsText(const TPoint* Points, Integer Count) {
  std::string Text;
  for (Integer I = 0; I < Count; ++I)
    Text += Points[I].X == IESelBreak
                ? std::string("|")
                : "(" + std::to_string(Points[I].X) + "," + std::to_string(Points[I].Y) + ")";
  return Text;
}

std::string RecordText(const TIESelPolygon& P) {
  return PointsText(P.Points.get(), P.Count);
}

TIESelPolygon Record(std::initializer_list<TPoint> Points) {
  TIESelPolygon P;
  for (const TPoint& Point : Points) {
    if (Point.X == IESelBreak)
      P.AddBreak();
    else
      P.AddPoint(Point.X, Point.Y);
  }
  return P;
}

constexpr TPoint Break{IESelBreak, IESelBreak};

TEST(SelectionRecord, PointsGrowTheBoxAndTheCapacityDoubles) {
  TIESelPolygon P;
  std::vector<Integer> Capacities;
  const TPoint Points[] = {{5, 7}, {2, 9}, {8, 1}, {4, 4}, {6, 12}};
  for (const TPoint& Point : Points) {
    P.AddPoint(Point.X, Point.Y);
    Capacities.push_back(P.Capacity);
  }
  EXPECT_EQ((std::vector<Integer>{1, 2, 4, 4, 8}), Capacities);
  EXPECT_EQ((TRect{2, 1, 8, 12}), (TRect{P.X1, P.Y1, P.X2, P.Y2}));
}

TEST(SelectionRecord, BreaksAreNeverDoubledAndRemovalStopsAtTheLastOne) {
  TIESelPolygon P = Record({{1, 1}, {5, 1}, {5, 5}, Break, Break, {7, 7}, {9, 7}, {9, 9}});
  EXPECT_EQ("(1,1)(5,1)(5,5)|(7,7)(9,7)(9,9)", RecordText(P));
  EXPECT_EQ((TRect{1, 1, 9, 9}), (TRect{P.X1, P.Y1, P.X2, P.Y2}));  // the break is no vertex
  EXPECT_TRUE(P.RemoveLastPolygon());
  EXPECT_EQ("(1,1)(5,1)(5,5)", RecordText(P));
  EXPECT_FALSE(P.RemoveLastPolygon());
  EXPECT_EQ(3, P.Count);
}

TEST(SelectionRecord, RemovingTheLastPointDropsBreaksLeftAtTheEnd) {
  TIESelPolygon P = Record({{1, 1}, {5, 1}, Break, {7, 7}});
  P.RemoveLastPoint();
  EXPECT_EQ("(1,1)(5,1)", RecordText(P));
  P.RemoveLastPoint();
  P.RemoveLastPoint();
  P.RemoveLastPoint();
  EXPECT_EQ(0, P.Count);
}

TEST(SelectionRecord, RectanglesAlternateEdgesOfNonZeroLength) {
  struct TCase {
    const char* Name;
    std::vector<TPoint> Points;
    bool Rect;
  };
  const TCase Cases[] = {
      {"rectangle", {{1, 1}, {5, 1}, {5, 4}, {1, 4}}, true},
      {"started on a vertical edge", {{1, 1}, {1, 4}, {5, 4}, {5, 1}}, true},
      {"zero-length edge", {{1, 1}, {5, 1}, {5, 1}, {1, 1}}, false},
      {"diagonal closing edge", {{1, 1}, {5, 1}, {5, 4}, {2, 4}}, false},
      {"diagonal", {{1, 1}, {5, 1}, {6, 4}, {1, 4}}, false},
      {"two horizontal edges in a row", {{1, 1}, {3, 1}, {5, 1}, {1, 4}}, false},
      {"three points", {{1, 1}, {5, 1}, {5, 4}}, false},
      {"five points", {{1, 1}, {5, 1}, {5, 4}, {1, 4}, {1, 2}}, false},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(C.Rect, IEIsRectPolygon(C.Points.data(), static_cast<Integer>(C.Points.size()))) << C.Name;
}

TEST(SelectionRecord, OffsetClampsOrRefusesAtThePictureEdges) {
  struct TCase {
    const char* Name;
    Integer DX, DY;
    bool Cut;
    const char* Points;
  };
  // Box (10,10)-(30,20) in a 40 x 40 picture.
  const TCase Cases[] = {
      {"inside", 5, -5, false, "(15,5)(35,5)(35,15)(15,15)"},
      {"stopped at the right edge", 25, 0, false, "(20,10)(40,10)(40,20)(20,20)"},
      {"cut at the right edge", 25, 0, true, "(35,10)(40,10)(40,20)(35,20)"},
      {"cut, leaving completely", 45, 0, true, "(20,10)(40,10)(40,20)(20,20)"},
      {"stopped at the top", 0, -15, false, "(10,0)(30,0)(30,10)(10,10)"},
  };
  for (const TCase& C : Cases) {
    TIESelPolygon P = Record({{10, 10}, {30, 10}, {30, 20}, {10, 20}});
    P.Offset(C.DX, C.DY, C.Cut, 40, 40);
    EXPECT_EQ(C.Points, RecordText(P)) << C.Name;
  }
}

TEST(SelectionShapes, DragRectangles) {
  struct TCase {
    const char* Name;
    TRect Drag;
    bool KeepInside, Constrain;
    double Ratio;
    TRect Expected;
  };
  // A 100 x 80 picture.
  const TCase Cases[] = {
      {"plain", {10, 10, 50, 50}, false, false, -1, {10, 10, 50, 50}},
      {"dragged up and left", {50, 60, 10, 20}, false, false, -1, {10, 20, 50, 60}},
      {"clamped", {-5, -5, 120, 90}, false, false, -1, {0, 0, 100, 80}},
      {"square", {10, 10, 40, 20}, false, true, -1, {10, 10, 40, 40}},
      {"half as high", {10, 10, 41, 70}, false, false, 0.5, {10, 10, 41, 26}},
      {"ratio past the bottom", {10, 50, 60, 0}, false, false, 1, {10, 50, 39, 80}},
      {"kept inside", {-10, 5, 20, 30}, true, false, -1, {0, 5, 30, 30}},
      {"kept inside at the right", {90, 5, 110, 30}, true, false, -1, {79, 5, 99, 30}},
  };
  for (const TCase& C : Cases) {
    const TRect R = IESelectionRect(C.Drag.Left, C.Drag.Top, C.Drag.Right, C.Drag.Bottom, C.KeepInside,
                                    C.Constrain, C.Ratio, 100, 80);
    EXPECT_EQ(C.Expected, R) << C.Name << ": " << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom;
  }
}

TEST(SelectionShapes, EllipsesHaveAtLeastFiftyPointsStartingAtTheRight) {
  const std::vector<TPoint> Small = IESelectionEllipse(10, 10, 2, 2, 100, 100);
  ASSERT_EQ(50u, Small.size());
  EXPECT_EQ((TPoint{12, 10}), Small[0]);
  // A quarter of the way round: straight down on screen.
  const std::vector<TPoint> Large = IESelectionEllipse(50, 50, 30, 20, 100, 100);
  ASSERT_EQ(125u, Large.size());  // Trunc(20 x 2 pi)
  EXPECT_EQ((TPoint{80, 50}), Large[0]);
  EXPECT_EQ((TPoint{50, 30}), Large[94]);  // three quarters round: up
  const std::vector<TPoint> Clamped = IESelectionEllipse(5, 5, 10, 10, 100, 100);
  for (const TPoint& P : Clamped) {
    EXPECT_GE(P.X, 0);
    EXPECT_GE(P.Y, 0);
  }
}

struct TGripCase {
  const char* Name;
  Integer Grip;
  TPoint To;
  bool Constrain;
  double Ratio;
  TRect Expected;
  Integer ExpectedGrip;
};

TEST(SelectionShapes, GripDrags) {
  // Box (10,10)-(30,20) in a 100 x 100 picture, X2 and Y2 exclusive.
  const TGripCase Cases[] = {
      {"top-left inward", ieTopLeft, {15, 12}, false, -1, {15, 12, 30, 20}, ieTopLeft},
      {"bottom-right outward", ieBottomRight, {39, 29}, false, -1, {10, 10, 40, 30}, ieBottomRight},
      {"top-left past the right edge", ieTopLeft, {40, 12}, false, -1, {30, 12, 40, 20}, ieTopRight},
      {"bottom-left past the top", ieBottomLeft, {5, 2}, false, -1, {5, 3, 30, 10}, ieTopLeft},
      {"left side moves one edge", ieLeftSide, {4, 50}, false, -1, {4, 10, 30, 20}, ieLeftSide},
      {"bottom side moves one edge", ieBottomSide, {70, 24}, false, -1, {10, 10, 30, 25}, ieBottomSide},
      {"right side onto the left edge", ieRightSide, {9, 15}, false, -1, {10, 10, 11, 20}, ieRightSide},
      {"constrained bottom-right keeps 21:11",
       ieBottomRight,
       {51, 0},
       true,
       -1,
       {10, 10, 52, 32},
       ieBottomRight},
      {"fixed ratio 1 from the right side", ieRightSide, {29, 0}, true, 1, {10, 10, 30, 30}, ieRightSide},
  };
  for (const TGripCase& C : Cases) {
    TIEGripDrag Drag{{10, 10, 30, 20}, C.Ratio, C.Constrain, 100, 100};
    TRect Box{10, 10, 30, 20};
    Integer Grip = C.Grip;
    ASSERT_TRUE(IEResizeSelectionRect(Grip, C.To.X, C.To.Y, Drag, Box)) << C.Name;
    EXPECT_EQ(C.Expected, Box) << C.Name << ": " << Box.Left << "," << Box.Top << "," << Box.Right << ","
                               << Box.Bottom;
    EXPECT_EQ(C.ExpectedGrip, Grip) << C.Name;
  }
}

TEST(SelectionShapes, ConstrainedDragFromAFlatBoxDoesNothing) {
  TIEGripDrag Drag{{10, 10, 30, 9}, -1, true, 100, 100};
  TRect Box{10, 10, 30, 9};
  Integer Grip = ieTopLeft;
  EXPECT_FALSE(IEResizeSelectionRect(Grip, 0, 0, Drag, Box));
  EXPECT_EQ((TRect{10, 10, 30, 9}), Box);
}

TEST(SelectionShapes, ConstrainedDragPastTheBottomIsFittedBackToItsRatio) {
  // 21 x 11 at the start; the picture is 40 high.
  TIEGripDrag Drag{{10, 10, 30, 20}, -1, true, 100, 40};
  TRect Box{10, 10, 30, 20};
  Integer Grip = ieBottomRight;
  ASSERT_TRUE(IEResizeSelectionRect(Grip, 90, 0, Drag, Box));
  // Bottom at 52 reaches past 40: the right edge becomes 10 + 29 / (11 / 21), the bottom is clamped.
  EXPECT_EQ((TRect{10, 10, 65, 40}), Box);
}

TEST(SelectionShapes, GripHitTest) {
  const TPoint Corners[4] = {{20, 20}, {80, 20}, {80, 60}, {20, 60}};
  struct TCase {
    TPoint At;
    Integer Grip;
  };
  const TCase Cases[] = {
      {{20, 20}, ieTopLeft},     {{25, 25}, ieTopLeft},   {{26, 20}, ieTopSide},    {{75, 15}, ieTopRight},
      {{85, 65}, ieBottomRight}, {{14, 60}, ieNone},      {{15, 55}, ieBottomLeft}, {{22, 40}, ieLeftSide},
      {{23, 40}, ieNone},        {{78, 40}, ieRightSide}, {{50, 18}, ieTopSide},    {{50, 62}, ieBottomSide},
      {{50, 40}, ieNone},        {{50, 5}, ieNone},       {{10, 40}, ieNone},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(C.Grip, IEGripAtCorners(Corners, C.At.X, C.At.Y, 5)) << C.At.X << "," << C.At.Y;
}

TEST(SelectionShapes, AntsRunFourAndFourAndTicksWrapAfterTen) {
  std::string Pattern;
  Integer Phase = 8;  // a tick of 8 or 9 starts in the second colour
  for (Integer I = 0; I < 18; ++I) {
    Pattern += IEAntsFirstColor(Phase) ? 'a' : 'b';
    Phase = IEAntsNextPhase(Phase);
  }
  EXPECT_EQ("baaaabbbbaaaabbbba", Pattern);
  Integer Tick = 0;
  for (Integer I = 0; I < 10; ++I) Tick = IEAntsNextTick(Tick);
  EXPECT_EQ(0, Tick);
  EXPECT_EQ(9, IEAntsNextTick(8));
}

}  // namespace
