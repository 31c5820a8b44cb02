// The extra transitions 31 to 214 drawn directly on a 24-bit frame: every one runs at the
// start, middle and end on a large and a tiny frame; the geometry of each family is checked at
// sample points.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "ExtraTransitionsTestSupport.h"
#include "imaging/proc/iextratransitions.h"
#include "platform/system/Random.h"

using namespace ExtraTransitionsTesting;

namespace {

struct TNumbered {
  Integer Number;
  TExtraTransitionProc Proc;
};

const std::vector<TNumbered>& AllExtraTransitions() {
  static const std::vector<TNumbered> Table = {
      {31, ExpandFromLeft},
      {32, ExpandFromRight},
      {33, ExpandFromTop},
      {34, ExpandFromBottom},
      {35, ExpandFromTopLeft},
      {36, ExpandFromTopRight},
      {37, ExpandFromBottomLeft},
      {38, ExpandFromBottomRight},
      {39, ExpandInFromLeft},
      {40, ExpandInFromRight},
      {41, ExpandInFromTop},
      {42, ExpandInFromBottom},
      {43, ExpandInToVerticalCenter},
      {44, ExpandInToHorizon},
      {45, ExpandInFromSides},
      {46, ExpandInFromTopAndBottom},
      {47, ExpandOutFromHorizon},
      {48, ExpandOutFromVerticalCenter},
      {49, WipeFromTopLeft},
      {50, WipeFromTopRight},
      {51, WipeFromBottomLeft},
      {52, WipeFromBottomRight},
      {53, WipeInFromTopAndBottom},
      {54, WipeFromHorizon},
      {55, WipeInFromSides},
      {56, WipeOutFromVerticalCenter},
      {57, BuildUpFromLeft},
      {58, BuildUpFromRight},
      {59, BuildUpFromTop},
      {60, BuildUpFromBottom},
      {61, UnrollFromLeft},
      {62, UnrollFromRight},
      {63, UnrollFromTop},
      {64, UnrollFromBottom},
      {65, SlideInFromLeft},
      {66, SlideInFromRight},
      {67, SlideInFromTop},
      {68, SlideInFromBottom},
      {69, ShrinkToTopLeft},
      {70, ShrinkToTopRight},
      {71, ShrinkToBottomLeft},
      {72, ShrinkToBottomRight},
      {73, ShrinkToCenter},
      {74, QuartersWipeInToCenter},
      {75, QuartersExpandToCenter},
      {76, QuartersSlideInToCenter},
      {77, CurvedWipeFromLeft},
      {78, CurvedWipeFromRight},
      {79, CurvedWipeFromTop},
      {80, CurvedWipeFromBottom},
      {81, CurvedWipeFromTopLeft},
      {82, CurvedWipeFromTopRight},
      {83, CurvedWipeFromBottomLeft},
      {84, CurvedWipeFromBottomRight},
      {85, BarsInFromLeft},
      {86, BarsInFromRight},
      {87, BarsFromTop},
      {88, BarsFromBottom},
      {89, BarsLeftThenRight},
      {90, BarsRightThenLeft},
      {91, BarsTopThenBottom},
      {92, BarsBottomThenTop},
      {93, BarsFromBothSides},
      {94, BarsFromTopAndBottom},
      {95, ShreddedFromLeft},
      {96, ShreddedFromRight},
      {97, ShreddedFromTop},
      {98, ShreddedFromBottom},
      {99, ShreddedFromTopAndLeft},
      {100, ShreddedFromTopAndRight},
      {101, ShreddedFromBottomAndLeft},
      {102, ShreddedFromBottomAndRight},
      {103, ShreddedFromHorizonAndLeft},
      {104, ShreddedFromHorizonAndRight},
      {105, ShreddedFromTopAndVerticalCenter},
      {106, ShreddedFromBottomAndVerticalCenter},
      {107, ShreddedFromCenter},
      {108, ShreddedToCenter},
      {109, ShreddedInToHorizon},
      {110, ShreddedInToVerticalCenter},
      {111, ShreddedOutFromHorizon},
      {112, ShreddedOutFromVerticalCenter},
      {113, ExpandingRectangles},
      {114, ExpandingTriangles},
      {115, ExpandingCircles},
      {116, ExpandingDiamonds},
      {117, CircularWipeFromCenter},
      {118, CircularWipeToCenter},
      {119, CrisscrossWipeFromTopLeft},
      {120, CrisscrossWipeFromTopRight},
      {121, CrisscrossWipeFromBottomLeft},
      {122, CrisscrossWipeFromBottomRight},
      {123, CrisscrossWipeBounceFromTopLeft},
      {124, CrisscrossWipeBounceFromTopRight},
      {125, CrisscrossWipeBounceFromBottomLeft},
      {126, CrisscrossWipeBounceFromBottomRight},
      {127, CrisscrossWipeFromLeftRightAndTop},
      {128, CrisscrossWipeFromLeftRightAndBottom},
      {129, CrisscrossWipeFromLeftTopAndBottom},
      {130, CrisscrossWipeFromTopLeftRightAndBottom},
      {131, CrisscrossWipeFromRightTopAndBottom},
      {132, CrisscrossWipeFromBottomLeftTopRight},
      {133, WipeDiagonalFromTopLeft},
      {134, WipeDiagonalFromTopRight},
      {135, WipeDiagonalFromBottomLeft},
      {136, WipeDiagonalFromBottomRight},
      {137, DiagonalSweepClockwise},
      {138, DiagonalSweepCounterClockwise},
      {139, SweepClockwise},
      {140, SweepCounterClockwise},
      {141, StarburstClockwise},
      {142, StarburstCounterClockwise},
      {143, RotationalRectangleClockwise},
      {144, RotationalRectangleCounterClockwise},
      {145, RotationalStarClockwise},
      {146, RotationalStarCounterClockwise},
      {147, SpeckledWipeFromLeft},
      {148, SpeckledWipeFromRight},
      {149, SpeckledWipeFromTop},
      {150, SpeckledWipeFromBottom},
      {151, PushLeftAndSlideOut},
      {152, PushRightAndSlideOut},
      {153, PushUpAndSlideOut},
      {154, PushDownAndSlideOut},
      {155, PushAndSqueezeLeft},
      {156, PushAndSqueezeRight},
      {157, PushAndSqueezeUp},
      {158, PushAndSqueezeDown},
      {159, HorizontalBlinds},
      {160, VerticalBlinds},
      {161, UnevenBlindsFromLeft},
      {162, UnevenBlindsFromRight},
      {163, UnevenBlindsFromTop},
      {164, UnevenBlindsFromBottom},
      {165, RectanglesFromTheLeft},
      {166, RectanglesFromTheRight},
      {167, RectanglesFromTheTop},
      {168, RectanglesFromTheBottom},
      {169, SpirallingRectangleClockwise},
      {170, SpirallingRectangleCounterClockwise},
      {171, ArrowWipeFromLeft},
      {172, ArrowWipeFromRight},
      {173, ArrowWipeFromTop},
      {174, ArrowWipeFromBottom},
      {175, HorizontalBowTieWipe},
      {176, VerticalBowTieWipe},
      {177, DiagonalCrossFromCenter},
      {178, DiagonalCrossToCenter},
      {179, ZigzagWipeFromHorizon},
      {180, ZigzagWipeFromVerticalCenter},
      {181, DiamondWipeFromCenter},
      {182, DiamondWipeToCenter},
      {183, DiamondWipeInAndOut},
      {184, TriangularWipe},
      {185, RandomBigBoxes},
      {186, PageFlip},
      {187, PageFlip2},
      {188, ReversePageFlip},
      {189, ReversePageFlip2},
      {190, ZigzagWipeToHorizon},
      {191, ZigzagWipeToVerticalCenter},
      {192, RandomHearts},
      {193, RandomFivePointedStars},
      {194, RandomSixPointedStars},
      {195, RandomExplosions},
      {196, ExpandingHearts},
      {197, ExpandingFivePointedStars},
      {198, ExpandingSixPointedStars},
      {199, ExpandingExplosions},
      {200, ExpandingLightningBolts},
      {201, HeartWipeFromCenter},
      {202, HeartWipeToCenter},
      {203, FivePointedStarWipeFromCenter},
      {204, FivePointedStarWipeToCenter},
      {205, SixPointedStarWipeFromCenter},
      {206, SixPointedStarWipeToCenter},
      {207, ExplosionWipeFromCenter},
      {208, ExplosionWipeToCenter},
      {209, CrossWipeFromCenter},
      {210, CrossWipeToCenter},
      {211, HeartWipeInAndOut},
      {212, FivePointedStarWipeInAndOut},
      {213, SixPointedStarWipeInAndOut},
      {214, ExplosionWipeInAndOut},
  };
  return Table;
}

}  // namespace

TEST(ExtraTransitions, ProgressSizesKeepTheAspectOfTheLongerSide) {
  struct TCase {
    TRect R;
    Integer Progress, W, H, PW, PH;
  } Cases[] = {
      {{0, 0, 200, 100}, 50, 200, 100, 100, 50},
      {{0, 0, 100, 200}, 50, 100, 200, 50, 100},
      {{0, 0, 3, 2}, 50, 3, 2, 2, 1},  // 1.5 goes away from zero
      {{10, 20, 210, 120}, 100, 200, 100, 200, 100},
      {{0, 0, 7, 5}, 0, 7, 5, 0, 0},
      {{0, 0, 0, 0}, 50, 0, 0, 0, 0},  // no negative size from a zero divisor
  };
  for (const TCase& C : Cases) {
    Integer W, H, PW, PH;
    CalcProgressSizes(C.R, C.Progress, W, H, PW, PH);
    EXPECT_EQ(W, C.W);
    EXPECT_EQ(H, C.H);
    EXPECT_EQ(PW, C.PW) << C.R.Right << " x " << C.R.Bottom << " at " << C.Progress;
    EXPECT_EQ(PH, C.PH) << C.R.Right << " x " << C.R.Bottom << " at " << C.Progress;
  }
}

// Every procedure runs at 0, 50 and 100 on a 200 x 100 and a 7 x 5 frame; at 100 the
// deterministic ones show the next picture whole.
TEST(ExtraTransitions, EveryTransitionRunsAndEndsOnTheNextPicture) {
  ASSERT_EQ(AllExtraTransitions().size(), 184u);
  // At 100 these leave part of the frame by their geometry: the sweeps stop a step short of the
  // full turn, the second page flip draws its line on the left edge, and shapes that are not
  // rectangles neither tile nor reach the corners (random, expanding, centred and ring shapes).
  const std::set<Integer> NotWholeLarge = {139, 140, 187, 192, 193, 195, 196, 197, 198, 199,
                                           200, 201, 203, 205, 207, 209, 211, 212, 213, 214};
  // On 7 x 5 also the halves: split widths, centres and shreds leave a middle column or row,
  // and the stripes of 165 to 168 need 20 pixels.
  const std::set<Integer> NotWholeTiny = {45,  46,  53,  55,  74,  75,  76,  107, 108, 109, 110, 111, 112,
                                          118, 139, 140, 143, 144, 145, 146, 165, 166, 167, 168, 169, 170,
                                          178, 179, 180, 181, 182, 183, 186, 187, 188, 189, 193, 194, 195,
                                          197, 198, 199, 201, 203, 205, 207, 209, 211, 212, 213, 214};
  for (const auto& [W, H] : {std::pair{200, 100}, std::pair{7, 5}}) {
    for (const TNumbered& T : AllExtraTransitions()) {
      TFrames F(W, H);
      F.Run(T.Proc, 0);
      F.Run(T.Proc, 50);
      F.Run(T.Proc, 100);
      const bool Whole = F.Shows(NextMark);
      const auto& Exceptions = W == 200 ? NotWholeLarge : NotWholeTiny;
      EXPECT_EQ(Whole, !Exceptions.count(T.Number)) << "transition " << T.Number << " on " << W << " x " << H;
    }
  }
}

namespace {

struct TSample {
  Integer X, Y;
  TExpect E;
};

struct TGeometryCase {
  Integer Number;
  TExtraTransitionProc Proc;
  Integer Progress;
  std::vector<TSample> Samples;
};

void CheckSamples(const std::vector<TGeometryCase>& Cases, Integer W, Integer H) {
  for (const TGeometryCase& C : Cases) {
    TFrames F(W, H);
    F.Run(C.Proc, C.Progress);
    for (const TSample& S : C.Samples)
      EXPECT_TRUE(ShowsAt(F, S.X, S.Y, S.E)) << "transition " << C.Number << " at " << C.Progress;
  }
}

}  // namespace

// 200 x 100 at 50: PW 100, PH 50. Stretched sources are found within a pixel (half-tone).
TEST(ExtraTransitions, MovingFamiliesPlaceThePicturesAtTheMiddle) {
  CheckSamples(
      {
          {31, ExpandFromLeft, 50, {{10, 50, FromNext(20, 50, 1)}, {150, 50, FromPrev(150, 50)}}},
          {34, ExpandFromBottom, 50, {{10, 60, FromNext(10, 20, 1)}, {10, 40, FromPrev(10, 40)}}},
          // Next's middle half stretched to three times the frame, centred on it.
          {43, ExpandInToVerticalCenter, 50, {{100, 50, FromNext(100, 50, 1)}, {0, 50, FromNext(75, 50, 1)}}},
          {52,
           WipeFromBottomRight,
           50,
           {{150, 75, FromNext(150, 75)}, {150, 25, FromPrev(150, 25)}, {50, 75, FromPrev(50, 75)}}},
          {54,
           WipeFromHorizon,
           50,
           {{10, 25, FromNext(10, 25)},
            {10, 24, FromPrev(10, 24)},
            {10, 74, FromNext(10, 74)},
            {10, 75, FromPrev(10, 75)}}},
          // The strip beyond the revealed half: Next's 20 columns from 100 over 100 columns.
          {58, BuildUpFromRight, 50, {{99, 50, FromNext(99, 50)}, {150, 50, FromNext(110, 50, 1)}}},
          {65, SlideInFromLeft, 50, {{10, 50, FromNext(110, 50)}, {150, 50, FromPrev(150, 50)}}},
          {68, SlideInFromBottom, 50, {{10, 60, FromNext(10, 10)}, {10, 40, FromPrev(10, 40)}}},
          // Next's centre quarter at four times its size.
          {73, ShrinkToCenter, 50, {{100, 50, FromNext(100, 50, 1)}, {0, 0, FromNext(75, 38, 1)}}},
          {76, QuartersSlideInToCenter, 50, {{10, 10, FromNext(60, 10)}, {60, 10, FromPrev(60, 10)}}},
          {151, PushLeftAndSlideOut, 50, {{10, 50, FromPrev(110, 50)}, {150, 50, FromNext(50, 50)}}},
          {154, PushDownAndSlideOut, 50, {{10, 10, FromNext(10, 60)}, {10, 60, FromPrev(10, 10)}}},
          {155, PushAndSqueezeLeft, 50, {{10, 50, FromPrev(20, 50, 1)}, {150, 50, FromNext(50, 50)}}},
          // Page flips: the fold sits in the middle at 50; Next's left half unfolds after it.
          {186, PageFlip, 50, {{150, 50, FromNext(150, 50)}, {50, 50, FromPrev(50, 50)}}},
          {186,
           PageFlip,
           75,
           {{60, 50, FromNext(20, 50, 1)}, {20, 50, FromPrev(20, 50)}, {150, 50, FromNext(150, 50)}}},
          {188,
           ReversePageFlip,
           25,
           {{20, 50, FromNext(20, 50)}, {60, 50, FromPrev(20, 50, 1)}, {150, 50, FromPrev(150, 50)}}},
      },
      200, 100);
}

TEST(ExtraTransitions, UnrollShowsTheMirroredStripBeyondTheRoll) {
  // At 50 on 200 x 100 the roll is W div 10 = 20 wide at x = 100, showing Next's columns
  // 120 to 139 mirrored; the unrolled half is Next in place.
  TFrames F(200, 100);
  F.Run(UnrollFromLeft, 50);
  EXPECT_TRUE(ShowsAt(F, 50, 50, FromNext(50, 50)));
  EXPECT_TRUE(ShowsAt(F, 150, 50, FromPrev(150, 50)));
  // Mirrored: the column next to the unrolled part shows the far end of the strip.
  const Integer Near = F.At(101, 50).R, Far = F.At(118, 50).R;
  EXPECT_TRUE(F.IsNext(101, 50) && F.IsNext(118, 50));
  EXPECT_GE(Near, 130);
  EXPECT_LE(Far, 125);
  EXPECT_GE(Far, 119);

  TFrames R(200, 100);
  R.Run(UnrollFromRight, 50);  // the roll at 80 to 99 shows columns 60 to 79 mirrored
  EXPECT_TRUE(ShowsAt(R, 150, 50, FromNext(150, 50)));
  EXPECT_TRUE(ShowsAt(R, 50, 50, FromPrev(50, 50)));
  EXPECT_TRUE(R.IsNext(81, 50) && R.IsNext(98, 50));
  EXPECT_LE(R.At(98, 50).R, 69);
  EXPECT_GE(R.At(81, 50).R, 70);

  TFrames T(200, 100);
  T.Run(UnrollFromTop, 50);  // PH 50: roll H div 10 = 10 high at y = 50
  EXPECT_TRUE(ShowsAt(T, 50, 25, FromNext(50, 25)));
  EXPECT_TRUE(ShowsAt(T, 50, 80, FromPrev(50, 80)));
  EXPECT_TRUE(T.IsNext(50, 51) && T.IsNext(50, 58));
  EXPECT_GT(T.At(50, 51).G, T.At(50, 58).G);
}

TEST(ExtraTransitions, PushesMoveWhatTheCanvasShowsEveryFrame) {
  // At 25 (PW 50) twice: the old picture has moved 100 pixels, not 50.
  TFrames F(200, 100);
  F.Run(PushRightAndSlideOut, 25);
  F.Run(PushRightAndSlideOut, 25);
  EXPECT_TRUE(ShowsAt(F, 120, 50, FromPrev(20, 50)));
  EXPECT_TRUE(ShowsAt(F, 10, 50, FromNext(160, 50)));
}

TEST(ExtraTransitions, BarsFillEveryOtherBarThenTheRest) {
  // 500 x 300: bars 7 high. At 25 the first phase has reached the middle from the right, at 50
  // those bars span the frame, at 75 the others follow from the right.
  struct TCase {
    Integer Progress;
    std::vector<TSample> Samples;
  } Cases[] = {
      {25, {{250, 3, FromNext(250, 3)}, {249, 3, FromPrev(249, 3)}, {250, 7, FromPrev(250, 7)}}},
      {50, {{10, 3, FromNext(10, 3)}, {10, 16, FromNext(10, 16)}, {10, 10, FromPrev(10, 10)}}},
      {75, {{10, 3, FromNext(10, 3)}, {250, 10, FromNext(250, 10)}, {249, 10, FromPrev(249, 10)}}},
  };
  for (const TCase& C : Cases) {
    TFrames F(500, 300);
    F.Run(BarsInFromRight, C.Progress);
    for (const TSample& S : C.Samples) EXPECT_TRUE(ShowsAt(F, S.X, S.Y, S.E)) << "at " << C.Progress;
  }
  // Both bar sets at once: only where they overlap below the end.
  TFrames Both(200, 100);
  Both.Run(CrisscrossWipeFromBottomLeftTopRight, 25);
  TFrames One(200, 100);
  One.Run(CrisscrossWipeFromBottomRight, 25);
  EXPECT_GT(One.CountNext(), Both.CountNext());
  for (Integer Y = 0; Y < 100; ++Y)
    for (Integer X = 0; X < 200; ++X)
      if (Both.IsNext(X, Y)) {
        ASSERT_TRUE(One.IsNext(X, Y)) << X << ", " << Y;
      }
}

TEST(ExtraTransitions, RegionFamiliesRevealTheirAreasAtTheMiddle) {
  CheckSamples(
      {
          // The curve is the corner of a 400-wide ellipse clamped to the band's height.
          {77,
           CurvedWipeFromLeft,
           50,
           {{190, 50, FromNext(190, 50)}, {10, 1, FromNext(10, 1)}, {190, 1, FromPrev(190, 1)}}},
          // Blinds of 6 centred every 6 rows from row 3 grow to 4 at 50: rows 1 to 4 of 0 to 5.
          {159,
           HorizontalBlinds,
           50,
           {{10, 0, FromPrev(10, 0)},
            {10, 1, FromNext(10, 1)},
            {10, 4, FromNext(10, 4)},
            {10, 5, FromPrev(10, 5)}}},
          {161,
           UnevenBlindsFromLeft,
           50,
           {{25, 50, FromNext(25, 50)},
            {75, 50, FromPrev(75, 50)},
            {125, 50, FromNext(125, 50)},
            {175, 50, FromPrev(175, 50)}}},
          // Squares of half-size 6 about centres 11, 33, ...
          {113,
           ExpandingRectangles,
           50,
           {{5, 5, FromNext(5, 5)},
            {4, 4, FromPrev(4, 4)},
            {22, 22, FromPrev(22, 22)},
            {38, 16, FromNext(38, 16)}}},
          {117, CircularWipeFromCenter, 50, {{0, 0, FromPrev(0, 0)}, {100, 1, FromNext(100, 1)}}},
          {133,
           WipeDiagonalFromTopLeft,
           50,
           {{10, 10, FromNext(10, 10)}, {99, 40, FromNext(99, 40)}, {150, 80, FromPrev(150, 80)}}},
          // A quarter turn clockwise from straight up: the top right quarter.
          {139,
           SweepClockwise,
           25,
           {{150, 20, FromNext(150, 20)}, {50, 20, FromPrev(50, 20)}, {150, 80, FromPrev(150, 80)}}},
          {140,
           SweepCounterClockwise,
           25,
           {{50, 20, FromNext(50, 20)}, {150, 20, FromPrev(150, 20)}, {50, 80, FromPrev(50, 80)}}},
          {141, StarburstClockwise, 50, {{50, 10, FromNext(50, 10)}, {150, 10, FromPrev(150, 10)}}},
          // A 50 x 24 rectangle a quarter turn round: 24 wide, 50 high.
          {143,
           RotationalRectangleClockwise,
           25,
           {{100, 30, FromNext(100, 30)}, {120, 50, FromPrev(120, 50)}}},
          // The same rectangle turned about (50, 25) instead of the centre.
          {169, SpirallingRectangleClockwise, 25, {{25, 75, FromNext(25, 75)}, {100, 50, FromPrev(100, 50)}}},
          // Band edges: rows 30 to 90 at even vertices, 10 to 70 at odd ones.
          {179,
           ZigzagWipeFromHorizon,
           50,
           {{1, 50, FromNext(1, 50)},
            {1, 20, FromPrev(1, 20)},
            {20, 15, FromNext(20, 15)},
            {20, 80, FromPrev(20, 80)}}},
          {190, ZigzagWipeToHorizon, 50, {{1, 50, FromPrev(1, 50)}, {1, 20, FromNext(1, 20)}}},
          {182, DiamondWipeToCenter, 50, {{5, 5, FromNext(5, 5)}, {100, 50, FromPrev(100, 50)}}},
          {177, DiagonalCrossFromCenter, 50, {{5, 50, FromPrev(5, 50)}, {5, 5, FromNext(5, 5)}}},
          // One cell of 200 x 100: triangles from the grid corners.
          {184,
           TriangularWipe,
           50,
           {{10, 60, FromNext(10, 60)}, {150, 10, FromNext(150, 10)}, {50, 40, FromPrev(50, 40)}}},
      },
      200, 100);
}

TEST(ExtraTransitions, ShreddedStripsJitterWithinATenth) {
  // 200 x 100 at 50: strips of 1 end between 80 and 119, differently on every frame.
  TFrames F(200, 100);
  F.Run(ShreddedFromLeft, 50);
  std::set<Integer> Ends;
  for (Integer Y = 0; Y < 100; ++Y) {
    EXPECT_TRUE(F.IsNext(79, Y)) << Y;
    EXPECT_TRUE(F.IsPrev(120, Y)) << Y;
    Integer End = 80;
    while (End < 120 && F.IsNext(End, Y)) ++End;
    Ends.insert(End);
  }
  EXPECT_GT(Ends.size(), 5u);
}

TEST(ExtraTransitions, SpecklesLieBeforeTheEdge) {
  // From the right at 50: the edge at 100, speckles of 2 up to ten sizes before it.
  TFrames F(200, 100);
  F.Run(SpeckledWipeFromRight, 50);
  Integer Speckles = 0;
  for (Integer Y = 0; Y < 100; ++Y) {
    EXPECT_TRUE(F.IsPrev(79, Y));
    EXPECT_TRUE(F.IsNext(100, Y));
    for (Integer X = 80; X < 100; ++X) Speckles += F.IsNext(X, Y);
  }
  EXPECT_GT(Speckles, 0);
  EXPECT_LT(Speckles, 20 * 100);
  // Narrower than 10 pixels: no speckles, a plain wipe.
  TFrames N(9, 5);
  N.Run(SpeckledWipeFromRight, 50);
  for (Integer X = 0; X < 9; ++X) EXPECT_EQ(N.IsNext(X, 2), X >= 9 - 5) << X;  // PW 4.5 taken to 5
}

TEST(ExtraTransitions, RandomShapesKeepTheirCellsAndTheGeneratorsSeed) {
  SetRandSeed(12345);
  TFrames F(200, 100);
  F.Run(RandomBigBoxes, 0);
  EXPECT_TRUE(F.Shows(PrevMark));
  F.Run(RandomBigBoxes, 40);
  EXPECT_EQ(GetRandSeed(), 12345);
  std::vector<bool> At40;
  for (Integer Y = 0; Y < 100; ++Y)
    for (Integer X = 0; X < 200; ++X) At40.push_back(F.IsNext(X, Y));
  // Every frame of a run draws the same cells: from the previous picture again, the same
  // pixels; later, more cells and all of these.
  F.Current.Assign(&F.Prev);
  F.Run(RandomBigBoxes, 40);
  F.Current.Assign(&F.Prev);
  F.Run(RandomBigBoxes, 70);
  Integer Count40 = 0, Kept = 0;
  for (Integer Y = 0, I = 0; Y < 100; ++Y)
    for (Integer X = 0; X < 200; ++X, ++I) {
      Count40 += At40[I];
      Kept += At40[I] && F.IsNext(X, Y);
    }
  EXPECT_GT(Count40, 200 * 100 / 5);
  EXPECT_LT(Count40, 200 * 100 * 3 / 5);
  EXPECT_EQ(Kept, Count40);
  EXPECT_GT(F.CountNext(), Count40);
  for (const auto& Proc : {RandomHearts, RandomFivePointedStars, RandomExplosions}) {
    TFrames R(200, 100);
    R.Run(Proc, 0);
    EXPECT_TRUE(R.Shows(PrevMark));
    R.Run(Proc, 60);
    EXPECT_GT(R.CountNext(), 0);
    EXPECT_EQ(GetRandSeed(), 12345);
  }
}

TEST(ExtraTransitions, CrossWipeShowsThePreviousPictureFirst) {
  // The cross copies Prev whole before Next through the cross: what earlier frames drew goes.
  TFrames F(200, 100);
  F.Current.Assign(&F.Next);
  F.Run(CrossWipeFromCenter, 10);
  EXPECT_TRUE(ShowsAt(F, 0, 0, FromPrev(0, 0)));
  EXPECT_TRUE(ShowsAt(F, 100, 50, FromNext(100, 50)));
}

TEST(ExtraTransitions, LargerDetailMakesMoreTriangles) {
  TFrames One(180, 90);
  One.Run(TriangularWipe, 30, 1);
  TFrames Many(180, 90);
  Many.Run(TriangularWipe, 30, 8);
  // Detail 1: one cell, triangles at the frame's corners only. Detail 8: n = 180 x 8 / 90 / 2
  // = 8 cells of 22 x 11, a triangle 12 x 6 at every grid corner.
  EXPECT_TRUE(ShowsAt(One, 85, 42, FromPrev(85, 42)));
  EXPECT_TRUE(ShowsAt(Many, 85, 42, FromNext(85, 42)));
  EXPECT_TRUE(ShowsAt(Many, 85, 46, FromPrev(85, 46)));
  EXPECT_NE(One.CountNext(), Many.CountNext());
}

TEST(ExtraTransitions, NothingShowsAtTheStart) {
  // Progress 0: no size, no region; the diagonal cross's four triangles tile an even frame.
  for (const auto& Proc : {ExpandInFromLeft, WipeFromTopLeft, SlideInFromLeft, UnevenBlindsFromLeft,
                           DiagonalCrossFromCenter, BarsFromBothSides, ExpandingCircles, RandomHearts}) {
    TFrames F(200, 100);
    F.Run(Proc, 0);
    EXPECT_TRUE(F.Shows(PrevMark));
  }
  // Stripes a twentieth of the width apart need 20 pixels.
  for (Integer Progress : {0, 50, 100}) {
    TFrames F(19, 30);
    F.Run(RectanglesFromTheTop, Progress);
    EXPECT_TRUE(F.Shows(PrevMark)) << Progress;
  }
}
