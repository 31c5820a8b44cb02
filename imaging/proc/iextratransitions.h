#pragma once
// The extra transitions, numbers 31 to 214 of the transition table: one step procedure each,
// drawing one frame on the canvas of the engine's current bitmap. They draw only what changes
// and rely on the canvas keeping the previous frame. Each procedure's number is the row of the
// table that points to it.
#include <cstddef>
#include <span>

#include "platform/gdi/GdiObject.h"
#include "platform/system/Types.h"

class TCanvas;
class TBitmap;

// Canvas, Prev (the picture being left), Next (the picture being shown), the frame rectangle
// (0, 0, width, height), Detail (the engine passes 1) and the progress 0 to 100.
using TExtraTransitionProc = void (*)(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect,
                                      Integer Detail, Integer Progress);
// The function type of the procedures, for declaring them.
using TExtraTransitionStep = void(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect,
                                  Integer Detail, Integer Progress);

// ---- The common frame ----

// W and H: the rectangle's size. PW and PH: the progressed size; the longer side grows
// linearly with Progress and the shorter one keeps the aspect ratio.
void CalcProgressSizes(const TRect& ARect, Integer Progress, Integer& W, Integer& H, Integer& PW,
                       Integer& PH);
// Stretches Source of B (cut to B's size) into Dest in half-tone mode, mirrored as asked.
void StretchMirrored(TCanvas* Canvas, TRect Dest, TBitmap* B, TRect Source, bool MirrorHorz, bool MirrorVert);
void PageFlipStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                  Integer Progress, bool ShowLine);
void ReversePageFlipStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                         Integer Progress, bool ShowLine);

// ---- Regions. Every builder returns a new region the caller deletes, or nullptr for none. ----

// Collects rectangles and makes one region of them in a single call.
class TComplexRegion {
 public:
  TComplexRegion();
  ~TComplexRegion();
  TComplexRegion(const TComplexRegion&) = delete;
  TComplexRegion& operator=(const TComplexRegion&) = delete;

  void Clear();
  // Stored as given, empty or inverted rectangles included; the bounds widen to take it.
  void AddRect(Integer Left, Integer Top, Integer Right, Integer Bottom);
  // None when no rectangle was added since Clear. The rectangles stay and more may follow.
  HRGN CreateRegion();

  Integer GetCapacity() const { return FCapacity; }
  Integer GetCount() const { return FCount; }
  TRect GetBounds() const { return {FBoundsLeft, FBoundsTop, FBoundsRight, FBoundsBottom}; }

 private:
  unsigned char* FData = nullptr;  // 32-byte header, then 16 bytes a rectangle
  Integer FCapacity = 0;
  Integer FCount = 0;
  Integer FBoundsLeft = 0;
  Integer FBoundsTop = 0;
  Integer FBoundsRight = 0;
  Integer FBoundsBottom = 0;
  unsigned char* FWritePos = nullptr;
};

// Shape numbers (taken modulo 128): 0 five-pointed star, 1 six-pointed star, 2 to 5 arrows,
// 6 and 7 lightning bolts, 8 and 9 explosions, 10 cross, 11 to 14 feathered arrows, 15 heart;
// 16 to 127 give none.
HRGN ShapeRegion(Integer Shape, Integer Left, Integer Top, Integer Width, Integer Height);
HRGN ShapeRegionInRect(Integer Shape, const TRect& R);
// Polygons use the winding rule. PolyRegion takes x1, y1, x2, y2, ...
HRGN PolyRegion(std::span<const Integer> Coords);
HRGN TriangleRegion(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
// The centre and Count points on the arc from StartAngle (radians) in steps of
// (EndAngle - StartAngle) / Count; the last arc point is one step short of EndAngle.
HRGN PieRegion(Integer CX, Integer CY, Integer Radius, Extended StartAngle, Extended EndAngle, Integer Count);
// Rotates Points[0..LastIndex] about (CX, CY) by Angle radians.
void RotatePoints(TPoint* Points, Integer LastIndex, Integer CX, Integer CY, Extended Angle);
// The centred square of the box.
void FitSquare(Integer& Left, Integer& Top, Integer& Width, Integer& Height);
// Angle in degrees: 0 points up, angles grow clockwise on the screen.
TPoint PointOnCircle(TPoint Center, Word Radius, Extended Angle);

// Rectangle sets of the bands and strips; XP and YP are the progressed extents, a mode of 0
// adds nothing in its direction.
HRGN BarsRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode);
HRGN ShredRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode);
HRGN SpeckleRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode);

// ---- Shared workers of the shape transitions; shape 255 is the worker's own outline. ----

void ExpandingShapesStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                         Integer Progress, Integer Shape, Single Factor);
void ShapeWipeStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                   Integer Progress, Integer Shape, bool ToCenter, Single Factor);
void ShapeInOutStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                    Integer Progress, Integer Shape, Single Factor);
void RandomShapesStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                      Integer Progress, Integer Shape, Integer Divisor, Single Factor);
void RotatingRectStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                      Integer Progress, bool Clockwise);
void RotatingStarStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                      Integer Progress, bool Clockwise);
void SpirallingRectStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                        Integer Progress, bool Clockwise);

// ---- The table procedures, by transition number ----

// 31 to 76: Moving, stretching and wiping the pictures with block and stretch copies.
TExtraTransitionStep ExpandFromLeft, ExpandFromRight, ExpandFromTop, ExpandFromBottom, ExpandFromTopLeft,
    ExpandFromTopRight, ExpandFromBottomLeft, ExpandFromBottomRight, ExpandInFromLeft, ExpandInFromRight,
    ExpandInFromTop, ExpandInFromBottom, ExpandInToVerticalCenter, ExpandInToHorizon, ExpandInFromSides,
    ExpandInFromTopAndBottom, ExpandOutFromHorizon, ExpandOutFromVerticalCenter, WipeFromTopLeft,
    WipeFromTopRight, WipeFromBottomLeft, WipeFromBottomRight, WipeInFromTopAndBottom, WipeFromHorizon,
    WipeInFromSides, WipeOutFromVerticalCenter, BuildUpFromLeft, BuildUpFromRight, BuildUpFromTop,
    BuildUpFromBottom, UnrollFromLeft, UnrollFromRight, UnrollFromTop, UnrollFromBottom, SlideInFromLeft,
    SlideInFromRight, SlideInFromTop, SlideInFromBottom, ShrinkToTopLeft, ShrinkToTopRight,
    ShrinkToBottomLeft, ShrinkToBottomRight, ShrinkToCenter, QuartersWipeInToCenter, QuartersExpandToCenter,
    QuartersSlideInToCenter;

// 77 to 84: Curved wipes: one rectangle with elliptic corners.
TExtraTransitionStep CurvedWipeFromLeft, CurvedWipeFromRight, CurvedWipeFromTop, CurvedWipeFromBottom,
    CurvedWipeFromTopLeft, CurvedWipeFromTopRight, CurvedWipeFromBottomLeft, CurvedWipeFromBottomRight;

// 85 to 94: Bars.
TExtraTransitionStep BarsInFromLeft, BarsInFromRight, BarsFromTop, BarsFromBottom, BarsLeftThenRight,
    BarsRightThenLeft, BarsTopThenBottom, BarsBottomThenTop, BarsFromBothSides, BarsFromTopAndBottom;

// 95 to 112: Shredded strips.
TExtraTransitionStep ShreddedFromLeft, ShreddedFromRight, ShreddedFromTop, ShreddedFromBottom,
    ShreddedFromTopAndLeft, ShreddedFromTopAndRight, ShreddedFromBottomAndLeft, ShreddedFromBottomAndRight,
    ShreddedFromHorizonAndLeft, ShreddedFromHorizonAndRight, ShreddedFromTopAndVerticalCenter,
    ShreddedFromBottomAndVerticalCenter, ShreddedFromCenter, ShreddedToCenter, ShreddedInToHorizon,
    ShreddedInToVerticalCenter, ShreddedOutFromHorizon, ShreddedOutFromVerticalCenter;

// 113 to 118: Grids of expanding shapes, circular wipes.
TExtraTransitionStep ExpandingRectangles, ExpandingTriangles, ExpandingCircles, ExpandingDiamonds,
    CircularWipeFromCenter, CircularWipeToCenter;

// 119 to 132: Crisscross bars.
TExtraTransitionStep CrisscrossWipeFromTopLeft, CrisscrossWipeFromTopRight, CrisscrossWipeFromBottomLeft,
    CrisscrossWipeFromBottomRight, CrisscrossWipeBounceFromTopLeft, CrisscrossWipeBounceFromTopRight,
    CrisscrossWipeBounceFromBottomLeft, CrisscrossWipeBounceFromBottomRight,
    CrisscrossWipeFromLeftRightAndTop, CrisscrossWipeFromLeftRightAndBottom,
    CrisscrossWipeFromLeftTopAndBottom, CrisscrossWipeFromTopLeftRightAndBottom,
    CrisscrossWipeFromRightTopAndBottom, CrisscrossWipeFromBottomLeftTopRight;

// 133 to 146: Diagonals, sweeps, starbursts and rotations.
TExtraTransitionStep WipeDiagonalFromTopLeft, WipeDiagonalFromTopRight, WipeDiagonalFromBottomLeft,
    WipeDiagonalFromBottomRight, DiagonalSweepClockwise, DiagonalSweepCounterClockwise, SweepClockwise,
    SweepCounterClockwise, StarburstClockwise, StarburstCounterClockwise, RotationalRectangleClockwise,
    RotationalRectangleCounterClockwise, RotationalStarClockwise, RotationalStarCounterClockwise;

// 147 to 150: Speckled wipes.
TExtraTransitionStep SpeckledWipeFromLeft, SpeckledWipeFromRight, SpeckledWipeFromTop, SpeckledWipeFromBottom;

// 151 to 158: Pushes and squeezes of what the canvas shows.
TExtraTransitionStep PushLeftAndSlideOut, PushRightAndSlideOut, PushUpAndSlideOut, PushDownAndSlideOut,
    PushAndSqueezeLeft, PushAndSqueezeRight, PushAndSqueezeUp, PushAndSqueezeDown;

// 159 to 168: Blinds and stripes.
TExtraTransitionStep HorizontalBlinds, VerticalBlinds, UnevenBlindsFromLeft, UnevenBlindsFromRight,
    UnevenBlindsFromTop, UnevenBlindsFromBottom, RectanglesFromTheLeft, RectanglesFromTheRight,
    RectanglesFromTheTop, RectanglesFromTheBottom;

// 169 to 185: Spirals, arrows, bow ties, crosses, zigzags, diamonds, boxes.
TExtraTransitionStep SpirallingRectangleClockwise, SpirallingRectangleCounterClockwise, ArrowWipeFromLeft,
    ArrowWipeFromRight, ArrowWipeFromTop, ArrowWipeFromBottom, HorizontalBowTieWipe, VerticalBowTieWipe,
    DiagonalCrossFromCenter, DiagonalCrossToCenter, ZigzagWipeFromHorizon, ZigzagWipeFromVerticalCenter,
    DiamondWipeFromCenter, DiamondWipeToCenter, DiamondWipeInAndOut, TriangularWipe, RandomBigBoxes;

// 186 to 189: Page flips.
TExtraTransitionStep PageFlip, PageFlip2, ReversePageFlip, ReversePageFlip2;

// 190 to 214: Zigzags to the centre; random, expanding and centred shapes.
TExtraTransitionStep ZigzagWipeToHorizon, ZigzagWipeToVerticalCenter, RandomHearts, RandomFivePointedStars,
    RandomSixPointedStars, RandomExplosions, ExpandingHearts, ExpandingFivePointedStars,
    ExpandingSixPointedStars, ExpandingExplosions, ExpandingLightningBolts, HeartWipeFromCenter,
    HeartWipeToCenter, FivePointedStarWipeFromCenter, FivePointedStarWipeToCenter,
    SixPointedStarWipeFromCenter, SixPointedStarWipeToCenter, ExplosionWipeFromCenter, ExplosionWipeToCenter,
    CrossWipeFromCenter, CrossWipeToCenter, HeartWipeInAndOut, FivePointedStarWipeInAndOut,
    SixPointedStarWipeInAndOut, ExplosionWipeInAndOut;
