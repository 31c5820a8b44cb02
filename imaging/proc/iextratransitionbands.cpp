// Transitions that reveal the next picture through growing sets of rectangles: bars,
// crisscross bars, shredded strips, speckled edges, blinds and stripes, and the curved wipes.
#include <algorithm>

#include "imaging/proc/iextratransitions.h"
#include "imaging/proc/iextratransitionsdraw.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"

using namespace ExtraTransitionDraw;

HRGN BarsRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode) {
  TComplexRegion Rgn;
  const Integer T = std::min(W, H) / 50 + 1;
  const Integer HM = HorzMode, VM = VertMode;
  if (HM != 0) {
    if (XP > W) {
      for (Integer Y = T; Y < H + T; Y += 2 * T) {
        Rgn.AddRect(0, Y - T, W, Y);
        if (HM == 1 || HM == 4) Rgn.AddRect(2 * W - XP, Y, W, Y + T);
        if (HM == 2 || HM == 5) Rgn.AddRect(0, Y, XP - W, Y + T);
      }
    } else {
      for (Integer Y = 0; Y < H + T; Y += 2 * T) {
        if (HM == 1 || HM == 5) Rgn.AddRect(W - XP, Y, W, Y + T);
        if (HM == 2 || HM == 4) Rgn.AddRect(0, Y, XP, Y + T);
        if (HM == 3) {
          Rgn.AddRect(0, Y + T, XP, Y + 2 * T);
          Rgn.AddRect(W - XP, Y, W, Y + T);
        }
      }
    }
  }
  if (VM != 0) {
    if (YP > H) {
      for (Integer X = T; X < W + T; X += 2 * T) {
        Rgn.AddRect(X - T, 0, X, H);
        if (VM == 1 || VM == 4) Rgn.AddRect(X, 2 * H - YP, X + T, H);
        if (VM == 2 || VM == 5) Rgn.AddRect(X, 0, X + T, YP - H);
      }
    } else {
      for (Integer X = 0; X < W + T; X += 2 * T) {
        if (VM == 1 || VM == 5) Rgn.AddRect(X, H - YP, X + T, H);
        if (VM == 2 || VM == 4) Rgn.AddRect(X, 0, X + T, YP);
        if (VM == 3) {
          Rgn.AddRect(X, H - YP, X + T, H);
          Rgn.AddRect(X + T, 0, X + 2 * T, YP);
        }
      }
    }
  }
  return Rgn.CreateRegion();
}

HRGN ShredRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode) {
  TComplexRegion Rgn;
  const Integer T = std::min(W, H) / 200 + 1;
  const Integer RH = H % T, RW = W % T;
  if (HorzMode != 0) {
    const Integer J = XP < W ? W / 10 : 0;
    for (Integer Y = 0; Y < H; Y += T) {
      const Integer R = Random(2 * J) + XP - J;
      const Integer R2 = R / 2;
      const Integer B = Y + T + RH;
      switch (HorzMode) {
        case 1:
          Rgn.AddRect(W - R, Y, W, B);
          break;
        case 2:
          Rgn.AddRect(0, Y, R, B);
          break;
        case 3: {
          const Integer C = W / 2;
          Rgn.AddRect(C - R2, Y, C, B);
          Rgn.AddRect(C, Y, C + R2, B);
          break;
        }
        default:
          Rgn.AddRect(W - R2, Y, W, B);
          Rgn.AddRect(0, Y, R2, B);
      }
    }
  }
  if (VertMode != 0) {
    const Integer J = YP < H ? H / 10 : 0;
    for (Integer X = 0; X < W; X += T) {
      const Integer R = Random(2 * J) + YP - J;
      const Integer R2 = R / 2;
      const Integer E = X + T + RW;
      switch (VertMode) {
        case 1:
          Rgn.AddRect(X, H - R, E, H);
          break;
        case 2:
          Rgn.AddRect(X, 0, E, R);
          break;
        case 3: {
          const Integer C = H / 2;
          Rgn.AddRect(X, C - R2, E, C);
          Rgn.AddRect(X, C, E, C + R2);
          break;
        }
        default:
          Rgn.AddRect(X, H - R2, E, H);
          Rgn.AddRect(X, 0, E, R2);
      }
    }
  }
  return Rgn.CreateRegion();
}

namespace {

// A speckle at distance I sizes beyond the edge shows with chance 2 / I up to Lim, 1 / I
// beyond; one number is drawn either way.
bool SpeckleShows(Integer I, Integer Lim) {
  return I <= Lim ? Random(I) <= 1 : Random(I) <= 0;
}

struct TSpeckleSizes {
  Integer S, N, Lim;
};

TSpeckleSizes SpeckleSizes(Integer G) {
  const Integer S = std::max(G / 20, 2);
  return {S, G / S, (3 * G) / (4 * S)};
}

}  // namespace

HRGN SpeckleRegion(Integer XP, Integer YP, Integer W, Integer H, Integer HorzMode, Integer VertMode) {
  TComplexRegion Rgn;
  if (HorzMode != 0) {
    const auto [S, N, Lim] = SpeckleSizes(XP < W ? W / 10 : 0);
    for (Integer Y = 0; Y < H; Y += S / 2) {
      if (HorzMode == 1) {
        Rgn.AddRect(W - XP, Y, W, Y + S);
        for (Integer I = N; I >= 1; --I)
          if (SpeckleShows(I, Lim)) Rgn.AddRect(W - XP - I * S, Y, W - XP - I * S + S, Y + S);
      } else {
        Rgn.AddRect(0, Y, XP, Y + S);
        for (Integer I = N; I >= 1; --I)
          if (SpeckleShows(I, Lim)) Rgn.AddRect(XP + I * S - S, Y, XP + I * S, Y + S);
      }
    }
  }
  if (VertMode != 0) {
    const auto [S, N, Lim] = SpeckleSizes(YP < H ? H / 10 : 0);
    for (Integer X = 0; X < W; X += S / 2) {
      if (VertMode == 1) {
        Rgn.AddRect(X, H - YP, X + S, H);
        for (Integer I = N; I >= 1; --I) {
          if (!SpeckleShows(I, Lim)) continue;
          const Integer O = H - YP - I * S;
          Rgn.AddRect(X, O, X + S, O + S);
        }
      } else {
        Rgn.AddRect(X, 0, X + S, YP);
        for (Integer I = N; I >= 1; --I)
          if (SpeckleShows(I, Lim)) Rgn.AddRect(X, YP + I * S - S, X + S, YP + I * S);
      }
    }
  }
  return Rgn.CreateRegion();
}

// ---- Curved wipes ----

namespace {

void RoundRectWipe(TCanvas* Canvas, TBitmap* Next, Integer W, Integer H, const TRect& R, Integer EW,
                   Integer EH) {
  CopyThroughRegion(Canvas, CreateRoundRectRgn(R.Left, R.Top, R.Right, R.Bottom, EW, EH), Next, W, H);
}

}  // namespace

XT_PROC(CurvedWipeFromLeft) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {-2 * W, 0, 2 * PW, H + 1}, 2 * W, 2 * W);
}
XT_PROC(CurvedWipeFromRight) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {W - 2 * PW, 0, 3 * W, H + 1}, 2 * W, 2 * W);
}
XT_PROC(CurvedWipeFromTop) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {0, -2 * H, W + 1, 2 * PH}, 2 * H, 2 * H);
}
XT_PROC(CurvedWipeFromBottom) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {0, H - 2 * PH, W + 1, 3 * H}, 2 * H, 2 * H);
}
XT_PROC(CurvedWipeFromTopLeft) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {-W, -H, 3 * PW / 2, 3 * PH / 2}, 2 * W, 2 * H);
}
XT_PROC(CurvedWipeFromTopRight) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {W - 3 * PW / 2, -H, 2 * W, 3 * PH / 2}, 2 * W, 2 * H);
}
XT_PROC(CurvedWipeFromBottomLeft) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {-W, H - 3 * PH / 2, 3 * PW / 2, 2 * H}, 2 * W, 2 * H);
}
XT_PROC(CurvedWipeFromBottomRight) {
  XT_FRAME;
  RoundRectWipe(Canvas, Next, W, H, {W - 3 * PW / 2, H - 3 * PH / 2, 2 * W, 2 * H}, 2 * W, 2 * H);
}

// ---- Bars and crisscross bars ----

#define XT_BARS(Name, XP, YP, HM, VM)                                        \
  XT_PROC(Name) {                                                            \
    XT_FRAME;                                                                \
    CopyThroughRegion(Canvas, BarsRegion(XP, YP, W, H, HM, VM), Next, W, H); \
  }

XT_BARS(BarsInFromLeft, 2 * PW, 0, 2, 0)
XT_BARS(BarsInFromRight, 2 * PW, 0, 1, 0)
XT_BARS(BarsFromTop, 0, 2 * PH, 0, 2)
XT_BARS(BarsFromBottom, 0, 2 * PH, 0, 1)
XT_BARS(BarsLeftThenRight, 2 * PW, 0, 4, 0)
XT_BARS(BarsRightThenLeft, 2 * PW, 0, 5, 0)
XT_BARS(BarsTopThenBottom, 0, 2 * PH, 0, 4)
XT_BARS(BarsBottomThenTop, 0, 2 * PH, 0, 5)
XT_BARS(BarsFromBothSides, PW, 0, 3, 0)
XT_BARS(BarsFromTopAndBottom, 0, PH, 0, 3)
XT_BARS(CrisscrossWipeFromTopLeft, 2 * PW, 2 * PH, 2, 2)
XT_BARS(CrisscrossWipeFromTopRight, 2 * PW, 2 * PH, 1, 2)
XT_BARS(CrisscrossWipeFromBottomLeft, 2 * PW, 2 * PH, 2, 1)
XT_BARS(CrisscrossWipeFromBottomRight, 2 * PW, 2 * PH, 1, 1)
XT_BARS(CrisscrossWipeBounceFromTopLeft, 2 * PW, 2 * PH, 4, 4)
XT_BARS(CrisscrossWipeBounceFromTopRight, 2 * PW, 2 * PH, 5, 4)
XT_BARS(CrisscrossWipeBounceFromBottomLeft, 2 * PW, 2 * PH, 4, 5)
XT_BARS(CrisscrossWipeBounceFromBottomRight, 2 * PW, 2 * PH, 5, 5)
XT_BARS(CrisscrossWipeFromLeftRightAndTop, PW, PH, 3, 2)
XT_BARS(CrisscrossWipeFromLeftRightAndBottom, PW, PH, 3, 1)
XT_BARS(CrisscrossWipeFromLeftTopAndBottom, PW, PH, 2, 3)
XT_BARS(CrisscrossWipeFromTopLeftRightAndBottom, PW, PH, 3, 3)
XT_BARS(CrisscrossWipeFromRightTopAndBottom, PW, PH, 1, 3)

XT_PROC(CrisscrossWipeFromBottomLeftTopRight) {
  XT_FRAME;
  TRegionGuard A(BarsRegion(2 * PW, 2 * PH, W, H, 1, 1));
  TRegionGuard B(BarsRegion(2 * PW, 2 * PH, W, H, 2, 2));
  if (!A.Get() || !B.Get()) return;
  CombineRgn(A.Get(), A.Get(), B.Get(), RGN_AND);
  CopyThroughRegion(Canvas, A.Release(), Next, W, H);
}

// ---- Shredded strips ----

#define XT_SHRED(Name, XP, YP, HM, VM)                                        \
  XT_PROC(Name) {                                                             \
    XT_FRAME;                                                                 \
    CopyThroughRegion(Canvas, ShredRegion(XP, YP, W, H, HM, VM), Next, W, H); \
  }

XT_SHRED(ShreddedFromLeft, PW, 0, 2, 0)
XT_SHRED(ShreddedFromRight, PW, 0, 1, 0)
XT_SHRED(ShreddedFromTop, 0, PH, 0, 2)
XT_SHRED(ShreddedFromBottom, 0, PH, 0, 1)
XT_SHRED(ShreddedFromTopAndLeft, PW, PH, 2, 2)
XT_SHRED(ShreddedFromTopAndRight, PW, PH, 1, 2)
XT_SHRED(ShreddedFromBottomAndLeft, PW, PH, 2, 1)
XT_SHRED(ShreddedFromBottomAndRight, PW, PH, 1, 1)
XT_SHRED(ShreddedFromHorizonAndLeft, PW, PH, 2, 3)
XT_SHRED(ShreddedFromHorizonAndRight, PW, PH, 1, 3)
XT_SHRED(ShreddedFromTopAndVerticalCenter, PW, PH, 3, 2)
XT_SHRED(ShreddedFromBottomAndVerticalCenter, PW, PH, 3, 1)
XT_SHRED(ShreddedFromCenter, PW, PH, 3, 3)
XT_SHRED(ShreddedToCenter, PW, PH, 4, 4)
XT_SHRED(ShreddedInToHorizon, 0, PH, 0, 4)
XT_SHRED(ShreddedInToVerticalCenter, PW, 0, 4, 0)
XT_SHRED(ShreddedOutFromHorizon, 0, PH, 0, 3)
XT_SHRED(ShreddedOutFromVerticalCenter, PW, 0, 3, 0)

// ---- Speckled wipes ----

#define XT_SPECKLE(Name, HM, VM)                                                \
  XT_PROC(Name) {                                                               \
    XT_FRAME;                                                                   \
    CopyThroughRegion(Canvas, SpeckleRegion(PW, PH, W, H, HM, VM), Next, W, H); \
  }

XT_SPECKLE(SpeckledWipeFromLeft, 2, 0)
XT_SPECKLE(SpeckledWipeFromRight, 1, 0)
XT_SPECKLE(SpeckledWipeFromTop, 0, 2)
XT_SPECKLE(SpeckledWipeFromBottom, 0, 1)

// ---- Blinds and stripes ----

XT_PROC(HorizontalBlinds) {
  XT_FRAME;
  TComplexRegion Rgn;
  const Integer N = H / 40 + 1;
  const Integer A = MulDiv(N, Progress, 100);
  for (Integer C = N; C - N < H; C += 2 * N) Rgn.AddRect(0, C - A, W, C + A);
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}
XT_PROC(VerticalBlinds) {
  XT_FRAME;
  TComplexRegion Rgn;
  const Integer N = W / 40 + 1;
  const Integer A = MulDiv(N, Progress, 100);
  for (Integer C = N; C - N < W; C += 2 * N) Rgn.AddRect(C - A, 0, C + A, H);
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}

namespace {

// Blinds of period P growing to their full width: from the left (or top) edge of each period
// when Forward, else from its right (or bottom) edge.
void AddUnevenBlinds(TComplexRegion& Rgn, Integer P, Integer Progress, Integer W, Integer H, bool Vertical,
                     bool Forward) {
  const Integer A = MulDiv(P, Progress, 100);
  const Integer Size = Vertical ? W : H;
  if (Forward) {
    for (Integer X = 0; X < Size; X += P) {
      if (Vertical)
        Rgn.AddRect(X, 0, X + A, H);
      else
        Rgn.AddRect(0, X, W, X + A);
    }
  } else {
    for (Integer X = Size; X > 0; X -= P) {
      if (Vertical)
        Rgn.AddRect(X - A, 0, X, H);
      else
        Rgn.AddRect(0, X - A, W, X);
    }
  }
}

void UnevenBlinds(TCanvas* Canvas, TBitmap* Next, const TRect& ARect, Integer Progress, bool Vertical,
                  bool Forward) {
  XT_FRAME;
  const Integer P = Vertical ? PW : PH;
  if (P <= 0) return;
  TComplexRegion Rgn;
  AddUnevenBlinds(Rgn, P, Progress, W, H, Vertical, Forward);
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}

// Stripes across the direction of travel (every third band of Q, growing about its centre) and
// the uneven blinds along it.
void RectanglesFrom(TCanvas* Canvas, TBitmap* Next, const TRect& ARect, Integer Progress, bool Vertical,
                    bool Forward) {
  XT_FRAME;
  const Integer P = Vertical ? PW : PH;
  if (P <= 0) return;
  const Integer Q = Vertical ? H / 20 : W / 20;
  if (Q <= 0) return;
  TComplexRegion Rgn;
  const Integer A = MulDiv(Q, Progress, 100);
  const Integer Across = Vertical ? H : W;
  for (Integer C = -Q; C < Across; C += 3 * Q) {
    if (Vertical)
      Rgn.AddRect(0, C - A, W, C + A);
    else
      Rgn.AddRect(C - A, 0, C + A, H);
  }
  AddUnevenBlinds(Rgn, P, Progress, W, H, Vertical, Forward);
  CopyThroughRegion(Canvas, Rgn.CreateRegion(), Next, W, H);
}

}  // namespace

XT_PROC(UnevenBlindsFromLeft) {
  UnevenBlinds(Canvas, Next, ARect, Progress, true, true);
}
XT_PROC(UnevenBlindsFromRight) {
  UnevenBlinds(Canvas, Next, ARect, Progress, true, false);
}
XT_PROC(UnevenBlindsFromTop) {
  UnevenBlinds(Canvas, Next, ARect, Progress, false, true);
}
XT_PROC(UnevenBlindsFromBottom) {
  UnevenBlinds(Canvas, Next, ARect, Progress, false, false);
}
XT_PROC(RectanglesFromTheLeft) {
  RectanglesFrom(Canvas, Next, ARect, Progress, true, true);
}
XT_PROC(RectanglesFromTheRight) {
  RectanglesFrom(Canvas, Next, ARect, Progress, true, false);
}
XT_PROC(RectanglesFromTheTop) {
  RectanglesFrom(Canvas, Next, ARect, Progress, false, true);
}
XT_PROC(RectanglesFromTheBottom) {
  RectanglesFrom(Canvas, Next, ARect, Progress, false, false);
}
