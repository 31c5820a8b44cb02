// Transitions that reveal the next picture through polygons, circles and the numbered shapes:
// diagonals, sweeps, starbursts, rotations, zigzags, diamonds, crosses, grids of expanding
// shapes, shapes growing from or shrinking to the centre, shape rings and random shapes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "imaging/proc/iextratransitions.h"
#include "imaging/proc/iextratransitionsdraw.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"

using namespace ExtraTransitionDraw;

namespace {

Integer Nearest(Extended X) {
  return static_cast<Integer>(std::clamp<Int64>(Round(X), -2147483647 - 1, 2147483647));
}

HRGN Diamond(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4) {
  const Integer C[] = {X1, Y1, X2, Y2, X3, Y3, X4, Y4};
  return PolyRegion(C);
}

// The union of the regions, deleting them; none when all are none.
HRGN UnionOf(std::initializer_list<HRGN> Parts) {
  HRGN Result = nullptr;
  try {
    for (HRGN P : Parts) CombineInto(Result, P, RGN_OR);
  } catch (...) {
    if (Result) DeleteObject(Result);
    throw;
  }
  return Result;
}

// The whole frame with each part flipped in turn.
HRGN FrameXor(Integer W, Integer H, std::initializer_list<HRGN> Parts) {
  HRGN Result = CreateRectRgn(0, 0, W, H);
  for (HRGN P : Parts) {
    if (!Result) {
      TRegionGuard Drop(P);
      continue;
    }
    CombineInto(Result, P, RGN_XOR);
  }
  return Result;
}

// Calls Fn(x, y) for the cell centres of the grid of step G, column by column, top to bottom.
// A step below 1 has no cells.
template <class F>
void ForEachGridCell(Integer G, Integer W, Integer H, F&& Fn) {
  if (G <= 0) return;
  for (Int64 X = G; X - G < W; X += 2 * static_cast<Int64>(G))
    for (Int64 Y = G; Y - G < H; Y += 2 * static_cast<Int64>(G))
      Fn(static_cast<Integer>(X), static_cast<Integer>(Y));
}

HRGN PolygonOf(const TPoint* Points, Integer Count) {
  return CreatePolygonRgn(Points, Count, WINDING);
}

// Keeps the platform generator's seed across a frame drawn from a fixed seed.
class TSeedScope {
 public:
  explicit TSeedScope(TBitmap* Next) : FSaved(GetRandSeed()) {
    SetRandSeed(static_cast<Integer>(reinterpret_cast<std::uintptr_t>(Next->GetHandle())));
  }
  ~TSeedScope() { SetRandSeed(FSaved); }
  TSeedScope(const TSeedScope&) = delete;
  TSeedScope& operator=(const TSeedScope&) = delete;

 private:
  Integer FSaved;
};

}  // namespace

// ---- Workers ----

void ExpandingShapesStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer,
                         Integer Progress, Integer Shape, Single Factor) {
  XT_FRAME;
  const Integer N = std::min(W, H) / 10 + 1;
  const Integer C = MulDiv(Nearest(static_cast<Extended>(N) * static_cast<Extended>(Factor)), Progress, 200);
  HRGN Rgn = nullptr;
  TRegionGuard Guard;
  ForEachGridCell(N, W, H, [&](Integer X, Integer Y) {
    const TRect Box{X - C, Y - C, X + C, Y + C};
    CombineInto(Rgn,
                Shape == 255 ? CreateEllipticRgn(Box.Left, Box.Top, Box.Right, Box.Bottom)
                             : ShapeRegionInRect(Shape, Box),
                RGN_OR);
    Guard.Reset(Rgn);
  });
  CopyThroughRegion(Canvas, Guard.Release(), Next, W, H);
}

void ShapeWipeStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer,
                   Integer Progress, Integer Shape, bool ToCenter, Single Factor) {
  XT_FRAME;
  const Integer CX = W / 2, CY = H / 2;
  const Extended F = Factor;
  HRGN Rgn;
  if (!ToCenter) {
    if (Factor == 1.0f) {
      const TRect Box{CX - PW, CY - PH, CX + PW, CY + PH};
      Rgn = Shape == 255
                ? CreateRoundRectRgn(Box.Left, Box.Top, Box.Right, Box.Bottom, (PW * 9) / 5, (PH * 9) / 5)
                : ShapeRegionInRect(Shape, Box);
    } else {
      const Integer A = Nearest(F * PW), B = Nearest(F * PH);
      Rgn = ShapeRegionInRect(Shape, {CX - A, CY - B, CX + A, CY + B});
    }
  } else {
    HRGN Inner;
    if (Factor == 1.0f) {
      const TRect Box{PW - CX, PH - CY, 3 * CX - PW, 3 * CY - PH};
      Inner = Shape == 255 ? CreateRoundRectRgn(Box.Left, Box.Top, Box.Right, Box.Bottom, ((W - PW) * 9) / 5,
                                                ((H - PH) * 9) / 5)
                           : ShapeRegionInRect(Shape, Box);
    } else {
      const Integer A = Nearest(F * (W - PW)) / 2, B = Nearest(F * (H - PH)) / 2;
      Inner = ShapeRegionInRect(Shape, {PW - CX - A, PH - CY - B, 3 * CX + A - PW, 3 * CY + B - PH});
    }
    Rgn = FrameXor(W, H, {Inner});
  }
  TRegionGuard Guard(Rgn);
  if (Shape == 10) Copy(Canvas, 0, 0, W, H, Prev, 0, 0);
  CopyThroughRegion(Canvas, Guard.Release(), Next, W, H);
}

void ShapeInOutStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer, Integer Progress,
                    Integer Shape, Single Factor) {
  XT_FRAME;
  const Integer CX = W / 2, CY = H / 2;
  const Integer HX = PW / 2, HY = PH / 2;
  HRGN Outer, Inner;
  if (Shape == 255) {
    Outer = Diamond(-HX, CY, CX, -HY, 2 * CX + HX, CY, CX, 2 * CY + HY);
    Inner = Diamond(HX, CY, CX, HY, 2 * CX - HX, CY, CX, 2 * CY - HY);
  } else {
    const Extended F = Factor;
    const Integer A = Nearest(F * HX), B = Nearest(F * HY);
    Outer = ShapeRegionInRect(Shape, {-A, -B, 2 * CX + A, 2 * CY + B});
    Inner = ShapeRegionInRect(Shape, {HX, HY, 2 * CX - HX, 2 * CY - HY});
  }
  TRegionGuard InnerGuard(Inner);
  if (Outer && Inner) CombineRgn(Outer, Outer, Inner, RGN_XOR);
  CopyThroughRegion(Canvas, Outer, Next, W, H);
}

void RandomShapesStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer, Integer Progress,
                      Integer Shape, Integer Divisor, Single Factor) {
  XT_FRAME;
  const Integer A = std::min(W, H) / Divisor + 1;
  // Small frames make a step of 0, whose grid would never advance: take single pixels then.
  const Integer G = std::max<Integer>(static_cast<Integer>(Trunc(static_cast<Extended>(A) * Factor)), 1);
  HRGN Rgn = nullptr;
  TRegionGuard Guard;
  {
    TSeedScope Seed(Next);
    ForEachGridCell(G, W, H, [&](Integer X, Integer Y) {
      if (Random(100) >= Progress) return;
      CombineInto(Rgn, ShapeRegionInRect(Shape, {X - A, Y - A, X + A, Y + A}), RGN_OR);
      Guard.Reset(Rgn);
    });
  }
  CopyThroughRegion(Canvas, Guard.Release(), Next, W, H);
}

namespace {

Extended RotationAngle(Integer Progress, bool Clockwise) {
  const Extended A = Progress * Pi / 50;
  return Clockwise ? A : -A;
}

void DrawRotated(TCanvas* Canvas, TBitmap* Next, Integer W, Integer H, TPoint* Points, Integer Count,
                 Integer CX, Integer CY, Extended Angle) {
  RotatePoints(Points, Count - 1, CX, CY, Angle);
  CopyThroughRegion(Canvas, PolygonOf(Points, Count), Next, W, H);
}

}  // namespace

void RotatingRectStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer, Integer Progress,
                      bool Clockwise) {
  XT_FRAME;
  const Integer CX = W / 2, CY = H / 2, HX = PW / 2, HY = PH / 2;
  TPoint P[4] = {{CX - HX, CY - HY}, {CX + HX, CY - HY}, {CX + HX, CY + HY}, {CX - HX, CY + HY}};
  DrawRotated(Canvas, Next, W, H, P, 4, CX, CY, RotationAngle(Progress, Clockwise));
}

void RotatingStarStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer, Integer Progress,
                      bool Clockwise) {
  XT_FRAME;
  const Integer CX = W / 2, CY = H / 2, HX = PW / 2, HY = PH / 2;
  TPoint P[8] = {{CX - 2 * PW, CY}, {CX - HX, CY - HY}, {CX, CY - 2 * PH}, {CX + HX, CY - HY},
                 {CX + 2 * PW, CY}, {CX + HX, CY + HY}, {CX, CY + 2 * PH}, {CX - HX, CY + HY}};
  DrawRotated(Canvas, Next, W, H, P, 8, CX, CY, RotationAngle(Progress, Clockwise));
}

void SpirallingRectStep(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer,
                        Integer Progress, bool Clockwise) {
  XT_FRAME;
  const Integer CX = W / 2, CY = H / 2, HX = PW / 2, HY = PH / 2;
  TPoint P[4] = {{CX - HX, CY - HY}, {CX + HX, CY - HY}, {CX + HX, CY + HY}, {CX - HX, CY + HY}};
  DrawRotated(Canvas, Next, W, H, P, 4, PW, PH, RotationAngle(Progress, Clockwise));
}

// ---- Grids of expanding shapes ----

XT_PROC(ExpandingRectangles) {
  XT_FRAME;
  const Integer N = std::min(W, H) / 10 + 1;
  const Integer A = MulDiv(N, Progress, 100);
  TComplexRegion Rgn;
  ForEachGridCell(N, W, H, [&](Integer X, Integer Y) { Rgn.AddRect(X - A, Y - A, X + A, Y + A); });
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}

XT_PROC(ExpandingTriangles) {
  XT_FRAME;
  const Integer NX = W / 10 + 1, NY = H / 10 + 1;
  const Integer HW = MulDiv(NX, Progress, 50), HH = MulDiv(NY, Progress, 50);
  HRGN Rgn = nullptr;
  TRegionGuard Guard;
  for (Integer X = NX; X - NX < W; X += 2 * NX)
    for (Integer Y = NY; Y - NY < H + NY; Y += 2 * NY) {
      CombineInto(Rgn, TriangleRegion(X - HW, Y - HH, X, Y + HH, X + HW, Y - HH), RGN_OR);
      Guard.Reset(Rgn);
    }
  CopyThroughRegion(Canvas, Guard.Release(), Next, W, H);
}

XT_PROC(ExpandingDiamonds) {
  XT_FRAME;
  const Integer N = std::min(W, H) / 10 + 1;
  const Integer A = MulDiv(N, Progress, 50);
  HRGN Rgn = nullptr;
  TRegionGuard Guard;
  ForEachGridCell(N, W, H, [&](Integer X, Integer Y) {
    CombineInto(Rgn, Diamond(X - A, Y, X, Y - A, X + A, Y, X, Y + A), RGN_OR);
    Guard.Reset(Rgn);
  });
  CopyThroughRegion(Canvas, Guard.Release(), Next, W, H);
}

#define XT_WORKER(Name, Call)                                                                  \
  void Name(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail, \
            Integer Progress) {                                                                \
    Call;                                                                                      \
  }
#define XT_ARGS Canvas, Prev, Next, ARect, Detail, Progress

XT_WORKER(ExpandingCircles, ExpandingShapesStep(XT_ARGS, 255, 3.0f))
XT_WORKER(ExpandingHearts, ExpandingShapesStep(XT_ARGS, 15, 3.0f))
XT_WORKER(ExpandingFivePointedStars, ExpandingShapesStep(XT_ARGS, 0, 4.0f))
XT_WORKER(ExpandingSixPointedStars, ExpandingShapesStep(XT_ARGS, 1, 4.0f))
XT_WORKER(ExpandingExplosions, ExpandingShapesStep(XT_ARGS, 8, 4.0f))
XT_WORKER(ExpandingLightningBolts, ExpandingShapesStep(XT_ARGS, 6, 6.0f))

// ---- Shapes from and to the centre, rings ----

XT_WORKER(CircularWipeFromCenter, ShapeWipeStep(XT_ARGS, 255, false, 1.0f))
XT_WORKER(CircularWipeToCenter, ShapeWipeStep(XT_ARGS, 255, true, 1.0f))
XT_WORKER(HeartWipeFromCenter, ShapeWipeStep(XT_ARGS, 15, false, 1.3f))
XT_WORKER(HeartWipeToCenter, ShapeWipeStep(XT_ARGS, 15, true, 1.3f))
XT_WORKER(FivePointedStarWipeFromCenter, ShapeWipeStep(XT_ARGS, 0, false, 1.6f))
XT_WORKER(FivePointedStarWipeToCenter, ShapeWipeStep(XT_ARGS, 0, true, 1.6f))
XT_WORKER(SixPointedStarWipeFromCenter, ShapeWipeStep(XT_ARGS, 1, false, 1.3f))
XT_WORKER(SixPointedStarWipeToCenter, ShapeWipeStep(XT_ARGS, 1, true, 1.3f))
XT_WORKER(ExplosionWipeFromCenter, ShapeWipeStep(XT_ARGS, 8, false, 1.0f))
XT_WORKER(ExplosionWipeToCenter, ShapeWipeStep(XT_ARGS, 8, true, 1.0f))
XT_WORKER(CrossWipeFromCenter, ShapeWipeStep(XT_ARGS, 10, false, 3.6f))
XT_WORKER(CrossWipeToCenter, ShapeWipeStep(XT_ARGS, 10, true, 3.5f))
XT_WORKER(DiamondWipeInAndOut, ShapeInOutStep(XT_ARGS, 255, 1.0f))
XT_WORKER(HeartWipeInAndOut, ShapeInOutStep(XT_ARGS, 15, 1.6f))
XT_WORKER(FivePointedStarWipeInAndOut, ShapeInOutStep(XT_ARGS, 0, 2.4f))
XT_WORKER(SixPointedStarWipeInAndOut, ShapeInOutStep(XT_ARGS, 1, 1.6f))
XT_WORKER(ExplosionWipeInAndOut, ShapeInOutStep(XT_ARGS, 8, 1.1f))

// ---- Random shapes ----

XT_WORKER(RandomHearts, RandomShapesStep(XT_ARGS, 15, 12, 0.6f))
XT_WORKER(RandomFivePointedStars, RandomShapesStep(XT_ARGS, 0, 14, 0.4f))
XT_WORKER(RandomSixPointedStars, RandomShapesStep(XT_ARGS, 1, 14, 0.4f))
// The explosion turns half a turn from one percent to the next.
XT_WORKER(RandomExplosions, RandomShapesStep(XT_ARGS, Progress % 2 != 0 ? 9 : 8, 18, 0.5f))

XT_PROC(RandomBigBoxes) {
  XT_FRAME;
  const Integer C = std::min(W, H) / 20 + 1;
  TComplexRegion Rgn;
  {
    TSeedScope Seed(Next);
    ForEachGridCell(C, W, H, [&](Integer X, Integer Y) {
      if (Random(100) < Progress) Rgn.AddRect(X - C, Y - C, X + C, Y + C);
    });
  }
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}

// ---- Rotations ----

XT_WORKER(RotationalRectangleClockwise, RotatingRectStep(XT_ARGS, true))
XT_WORKER(RotationalRectangleCounterClockwise, RotatingRectStep(XT_ARGS, false))
XT_WORKER(RotationalStarClockwise, RotatingStarStep(XT_ARGS, true))
XT_WORKER(RotationalStarCounterClockwise, RotatingStarStep(XT_ARGS, false))
XT_WORKER(SpirallingRectangleClockwise, SpirallingRectStep(XT_ARGS, true))
XT_WORKER(SpirallingRectangleCounterClockwise, SpirallingRectStep(XT_ARGS, false))

// ---- Triangles from corners and edges ----

#define XT_REGION(Name, Region)                            \
  XT_PROC(Name) {                                          \
    XT_FRAME;                                              \
    [[maybe_unused]] const Integer CX = W / 2, CY = H / 2; \
    CopyThroughRegion(Canvas, Region, Next, W, H);         \
  }

XT_REGION(WipeDiagonalFromTopLeft, TriangleRegion(0, 0, 2 * PW, 0, 0, 2 * PH))
XT_REGION(WipeDiagonalFromTopRight, TriangleRegion(W, 0, W - 2 * PW, 0, W, 2 * PH))
XT_REGION(WipeDiagonalFromBottomLeft, TriangleRegion(0, H, 2 * PW, H, 0, H - 2 * PH))

XT_PROC(WipeDiagonalFromBottomRight) {
  XT_FRAME;
  HRGN Rgn = TriangleRegion(W, H, W - 2 * PW, H, W, H - 2 * PH);
  if (!Rgn) return;
  HDC DC = Canvas->GetHandle();
  SelectClipRgn(DC, Rgn);
  DeleteObject(Rgn);
  Canvas->Draw(0, 0, Next);
  SelectClipRgn(DC, nullptr);
}

XT_REGION(DiagonalSweepClockwise,
          UnionOf({TriangleRegion(W, 0, 0, 0, W, PH), TriangleRegion(W, H, 0, H, 0, H - PH)}))
XT_REGION(DiagonalSweepCounterClockwise,
          UnionOf({TriangleRegion(0, H, 0, 0, PW, H), TriangleRegion(W, H, W, 0, W - PW, 0)}))

namespace {

Integer SweepRadius(Integer CX, Integer CY) {
  return Ceil(std::sqrt(static_cast<Extended>(CX) * CX + static_cast<Extended>(CY) * CY));
}

}  // namespace

XT_REGION(SweepClockwise,
          PieRegion(CX, CY, SweepRadius(CX, CY), -Pi / 2, Progress* Pi / 50 - Pi / 2, Progress))
XT_REGION(SweepCounterClockwise,
          PieRegion(CX, CY, SweepRadius(CX, CY), -Pi / 2, -Progress* Pi / 50 - Pi / 2, Progress))
XT_REGION(StarburstClockwise,
          UnionOf({TriangleRegion(CX, CY, 0, 0, PW, 0), TriangleRegion(CX, CY, 0, H, 0, H - PH),
                   TriangleRegion(CX, CY, W, H, W - PW, H), TriangleRegion(CX, CY, W, 0, W, PH)}))
XT_REGION(StarburstCounterClockwise,
          UnionOf({TriangleRegion(CX, CY, 0, 0, 0, PH), TriangleRegion(CX, CY, 0, H, PW, H),
                   TriangleRegion(CX, CY, W, H, W, H - PH), TriangleRegion(CX, CY, W, 0, W - PW, 0)}))

XT_REGION(ArrowWipeFromLeft, TriangleRegion(0, CY - PH, 2 * PW, CY, 0, CY + PH))
XT_REGION(ArrowWipeFromRight, TriangleRegion(W, CY - PH, W - 2 * PW, CY, W, CY + PH))
XT_REGION(ArrowWipeFromTop, TriangleRegion(CX - PW, 0, CX, 2 * PH, CX + PW, 0))
XT_REGION(ArrowWipeFromBottom, TriangleRegion(CX - PW, H, CX, H - 2 * PH, CX + PW, H))
XT_REGION(HorizontalBowTieWipe, UnionOf({TriangleRegion(0, CY - PH, PW, CY, 0, CY + PH),
                                         TriangleRegion(W, CY - PH, W - PW, CY, W, CY + PH)}))
XT_REGION(VerticalBowTieWipe, UnionOf({TriangleRegion(CX - PW, 0, CX, 2 * PH, CX + PW, 0),
                                       TriangleRegion(CX - PW, H, CX, H - 2 * PH, CX + PW, H)}))

namespace {

// The four triangles pointing in from the edges' middles.
HRGN EdgeTriangle(Integer Index, Integer W, Integer H, Integer HX, Integer HY) {
  const Integer CX = W / 2, CY = H / 2;
  switch (Index) {
    case 0:
      return TriangleRegion(0, CY - HY, HX, CY, 0, CY + HY);
    case 1:
      return TriangleRegion(W, CY - HY, W - HX, CY, W, CY + HY);
    case 2:
      return TriangleRegion(CX - HX, 0, CX, HY, CX + HX, 0);
    default:
      return TriangleRegion(CX - HX, H, CX, H - HY, CX + HX, H);
  }
}

}  // namespace

XT_PROC(DiagonalCrossFromCenter) {
  XT_FRAME;
  const Integer HX = (W - PW) / 2, HY = (H - PH) / 2;
  CopyThroughRegion(Canvas,
                    FrameXor(W, H,
                             {EdgeTriangle(0, W, H, HX, HY), EdgeTriangle(1, W, H, HX, HY),
                              EdgeTriangle(2, W, H, HX, HY), EdgeTriangle(3, W, H, HX, HY)}),
                    Next, W, H);
}

XT_PROC(DiagonalCrossToCenter) {
  XT_FRAME;
  const Integer HX = PW / 2, HY = PH / 2;
  CopyThroughRegion(Canvas,
                    UnionOf({EdgeTriangle(0, W, H, HX, HY), EdgeTriangle(1, W, H, HX, HY),
                             EdgeTriangle(2, W, H, HX, HY), EdgeTriangle(3, W, H, HX, HY)}),
                    Next, W, H);
}

XT_REGION(DiamondWipeFromCenter, Diamond(CX - PW, CY, CX, CY - PH, CX + PW, CY, CX, CY + PH))
XT_REGION(DiamondWipeToCenter,
          FrameXor(W, H, {Diamond(PW - CX, CY, CX, PH - CY, 3 * CX - PW, CY, CX, 3 * CY - PH)}))

// ---- Zigzag bands ----

namespace {

// The band about the horizon (or the vertical centre line when Vertical) at Progress.
HRGN ZigzagBand(const TRect& ARect, Integer Progress, bool Vertical) {
  XT_FRAME;
  const Integer S = Vertical ? H / 10 : W / 10;
  const Integer K = Vertical ? W / 10 : H / 10;
  const Integer B = MulDiv(K, Progress, 100) + (Vertical ? PW / 2 : PH / 2);
  const Integer C = Vertical ? W / 2 : H / 2;
  TPoint P[24];
  for (Integer I = 0; I <= 11; ++I) {
    const Integer V = I % 2 == 0 ? C + K - B : C - K - B;
    P[I] = Vertical ? TPoint{V, I * S} : TPoint{I * S, V};
  }
  for (Integer I = 11; I >= 0; --I) {
    const Integer V = I % 2 == 0 ? C + K + B : C - K + B;
    P[12 + (11 - I)] = Vertical ? TPoint{V, I * S} : TPoint{I * S, V};
  }
  return PolygonOf(P, 24);
}

// The old picture shrinks into the band: Next whole, then Prev through the band.
void ZigzagTo(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Progress,
              bool Vertical) {
  const Integer W = ARect.Right - ARect.Left, H = ARect.Bottom - ARect.Top;
  TRegionGuard Band(ZigzagBand(ARect, 100 - Progress, Vertical));
  Copy(Canvas, 0, 0, W, H, Next, 0, 0);
  CopyThroughRegion(Canvas, Band.Release(), Prev, W, H);
}

}  // namespace

XT_PROC(ZigzagWipeFromHorizon) {
  XT_FRAME;
  CopyThroughRegion(Canvas, ZigzagBand(ARect, Progress, false), Next, W, H);
}
XT_PROC(ZigzagWipeFromVerticalCenter) {
  XT_FRAME;
  CopyThroughRegion(Canvas, ZigzagBand(ARect, Progress, true), Next, W, H);
}
XT_PROC(ZigzagWipeToHorizon) {
  ZigzagTo(Canvas, Prev, Next, ARect, Progress, false);
}
XT_PROC(ZigzagWipeToVerticalCenter) {
  ZigzagTo(Canvas, Prev, Next, ARect, Progress, true);
}

// ---- Triangular wipe ----

void TriangularWipe(TCanvas* Canvas, TBitmap*, TBitmap* Next, const TRect& ARect, Integer Detail,
                    Integer Progress) {
  XT_FRAME;
  Integer N = MulDiv(std::max(W, H), Detail, 90);
  if (N < 1)
    N = 1;
  else if (N > 1)
    N /= 2;
  // More cells than pixels along the longer side only repeat empty triangles.
  N = std::min(N, std::max({W, H, 1}));
  const Integer CW = W / N, CH = H / N, TW = PW / N, TH = PH / N;
  HRGN Rgn = nullptr;
  TRegionGuard Guard;
  for (Integer I = N; I >= 0; --I)
    for (Integer J = N; J >= 0; --J) {
      CombineInto(
          Rgn, TriangleRegion(J * CW - TW, I * CH - TH, J * CW + TW, I * CH - TH, J * CW - TW, I * CH + TH),
          RGN_OR);
      Guard.Reset(Rgn);
    }
  Rgn = Guard.Release();
  if (!Rgn) return;
  HDC DC = Canvas->GetHandle();
  SelectClipRgn(DC, Rgn);
  DeleteObject(Rgn);
  Canvas->Draw(0, 0, Next);
  SelectClipRgn(DC, nullptr);
}
