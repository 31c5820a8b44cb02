#include "imaging/core/iegeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

namespace {

constexpr Integer SegmentEndReach = 45000;

// Coordinate differences and their products exceed 32 bits for far-apart points.
Extended Diff(Integer A, Integer B) {
  return static_cast<Extended>(A) - static_cast<Extended>(B);
}

Integer TruncToInteger(double Value) {
  constexpr double Lo = std::numeric_limits<Integer>::min();
  constexpr double Hi = std::numeric_limits<Integer>::max();
  return static_cast<Integer>(std::clamp(std::trunc(Value), Lo, Hi));
}

Integer RoundToInteger(double Value) {
  constexpr double Lo = std::numeric_limits<Integer>::min();
  constexpr double Hi = std::numeric_limits<Integer>::max();
  return static_cast<Integer>(std::clamp(std::rint(Value), Lo, Hi));
}

// Beyond a segment's end only an end close by on both axes counts.
double DistanceToEndInReach(Integer X, Integer Y, Integer EndX, Integer EndY) {
  if (std::fabs(Diff(X, EndX)) <= SegmentEndReach && std::fabs(Diff(Y, EndY)) <= SegmentEndReach)
    return IEDistance(X, Y, EndX, EndY);
  return IEFarDistance;
}

TPoint MapToView(const TPoint& P, Integer OriginX, Integer OriginY, Integer OffsetX, Integer OffsetY,
                 double ScaleX, double ScaleY) {
  return {RoundToInteger(static_cast<double>(Diff(P.X, OriginX)) * ScaleX + OffsetX),
          RoundToInteger(static_cast<double>(Diff(P.Y, OriginY)) * ScaleY + OffsetY)};
}

// Distance to the segment, and, for pens of 4 pixels and more, to copies of it moved sideways
// and down by the pen's half width.
double DistanceToWidenedSegment(Integer X, Integer Y, const TPoint& A, const TPoint& B, Integer PenWidth) {
  double D = IEDistPointToSegment(X, Y, A.X, A.Y, B.X, B.Y);
  if (PenWidth <= 1) return D;
  for (Integer DX = (-PenWidth) / 2; DX <= PenWidth / 2; ++DX)
    for (Integer DY = 2; DY <= PenWidth / 2; ++DY)
      D = std::min(D, IEDistPointToSegment(X, Y, A.X + DX, A.Y + DY, B.X + DX, B.Y + DY));
  return D;
}

// Even-odd crossing count over Count points given by PointAt(i) -> {x, y}.
template <typename TPointAt>
bool EvenOddInside(Extended X, Extended Y, Integer Count, TPointAt PointAt) {
  bool Inside = false;
  for (Integer I = 0, J = Count - 1; I < Count; J = I++) {
    const auto [XI, YI] = PointAt(I);
    const auto [XJ, YJ] = PointAt(J);
    if (((YI <= Y && Y < YJ) || (YJ <= Y && Y < YI)) && X < XI + (XJ - XI) * (Y - YI) / (YJ - YI))
      Inside = !Inside;
  }
  return Inside;
}

struct TExtendedPoint {
  Extended X;
  Extended Y;
};

Extended Length(Extended DX, Extended DY) {
  return std::sqrt(DX * DX + DY * DY);
}

}  // namespace

double IEDistance(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  return static_cast<double>(Length(Diff(X2, X1), Diff(Y2, Y1)));
}

double IEDistPointToLine(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Extended Cross = static_cast<Extended>(X) * Diff(Y1, Y2) + static_cast<Extended>(Y) * Diff(X2, X1) +
                         (static_cast<Extended>(X1) * Y2 - static_cast<Extended>(X2) * Y1);
  return static_cast<double>(std::fabs(Cross) / Length(Diff(Y1, Y2), Diff(X2, X1)));
}

double IEDistPointToSegment(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (X1 == X2 && Y1 == Y2) return IEDistance(X, Y, X1, Y1);
  const Extended DX = Diff(X2, X1);
  const Extended DY = Diff(Y2, Y1);
  const Extended T = (Diff(X, X1) * DX + Diff(Y, Y1) * DY) / (DX * DX + DY * DY);
  double Result;
  if (T > 1)
    Result = DistanceToEndInReach(X, Y, X2, Y2);
  else if (T < 0)
    Result = DistanceToEndInReach(X, Y, X1, Y1);
  else
    Result = IEDistPointToLine(X, Y, X1, Y1, X2, Y2);
  return std::isfinite(Result) ? Result : IEFarDistance;
}

double IEDistPointToPolyline(Integer X, Integer Y, const TPoint* Points, Integer Count, Integer OriginX,
                             Integer OriginY, Integer OffsetX, Integer OffsetY, double ScaleX, double ScaleY,
                             Integer PenWidth, bool Closed) {
  double Best = IEFarDistance;
  if (Count <= 0) return Best;
  auto At = [&](Integer I) {
    return MapToView(Points[I], OriginX, OriginY, OffsetX, OffsetY, ScaleX, ScaleY);
  };
  const Integer Segments = Closed ? Count : Count - 1;
  for (Integer I = 0; I < Segments; ++I)
    Best = std::min(Best, DistanceToWidenedSegment(X, Y, At(I), At((I + 1) % Count), PenWidth));
  return Best;
}

double IEDistPointToEllipse(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2, bool Filled,
                            Integer PenWidth) {
  double Result = IENoDistance;
  const Integer CX = X1 + (X2 - X1) / 2;
  const Integer CY = Y1 + (Y2 - Y1) / 2;
  const Integer PX = X - CX;
  const Integer PY = Y - CY;
  for (Integer L = (-PenWidth) / 2; L <= PenWidth / 2; ++L) {
    const Integer RX = (X2 - X1) / 2 + L;
    const Integer RY = (Y2 - Y1) / 2 + L;
    Int64 Pieces = Trunc(std::min(RX, RY) * 2 * Pi);
    if (!Filled) Pieces /= 8;
    if (Pieces < 2) Pieces = 2;
    const TPoint First{RX, 0};
    TPoint Previous = First;
    // The last piece closes the outline back to the first point, so no part of it is missed.
    for (Int64 K = 1; K <= Pieces; ++K) {
      const double Theta = 2 * std::numbers::pi / static_cast<double>(Pieces) * static_cast<double>(K);
      const TPoint P =
          K == Pieces ? First
                      : TPoint{TruncToInteger(std::cos(Theta) * RX), TruncToInteger(std::sin(Theta) * RY)};
      const double D = Filled ? std::trunc(IEDistPointToSegment(PX, PY, 0, 0, P.X, P.Y))
                              : IEDistPointToSegment(PX, PY, Previous.X, Previous.Y, P.X, P.Y);
      Result = std::min(Result, D);
      Previous = P;
    }
  }
  return Result;
}

double IEDistPointToBox(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2, bool Filled,
                        Integer PenWidth) {
  double Result = IENoDistance;
  for (Integer L = (-PenWidth) / 2; L <= PenWidth / 2; ++L) {
    const Integer L1 = X1 + L, T1 = Y1 + L, R1 = X2 + L, B1 = Y2 + L;
    const double D = std::min(
        {Result, IEDistPointToSegment(X, Y, L1, T1, R1, T1), IEDistPointToSegment(X, Y, R1, T1, R1, B1),
         IEDistPointToSegment(X, Y, R1, B1, L1, B1), IEDistPointToSegment(X, Y, L1, B1, L1, T1)});
    if (Filled && IEPointInRect(X, Y, L1, T1, R1, B1)) return 0;
    Result = D;
  }
  return Result;
}

void IEAdjustLineTo45(Integer X0, Integer Y0, Integer& X1, Integer& Y1) {
  const Integer E = std::abs(X1 - X0);
  const Integer F = std::abs(Y1 - Y0);
  if (E + 30 < F) {
    X1 = X0;
    return;
  }
  if (F < E - 30) {
    Y1 = Y0;
    return;
  }
  // Towards the upper left the longer leg shrinks to the shorter; elsewhere the shorter grows.
  const Integer M = std::abs(E - F);
  const bool WiderThanTall = E >= F;
  if (X1 > X0 && Y1 > Y0) {
    if (WiderThanTall)
      Y1 += M;
    else
      X1 += M;
  } else if (X1 < X0 && Y1 < Y0) {
    if (WiderThanTall)
      X1 += M;
    else
      Y1 += M;
  } else if (X1 < X0) {
    if (WiderThanTall)
      Y1 += M;
    else
      X1 -= M;
  } else if (Y1 < Y0) {
    if (WiderThanTall)
      Y1 -= M;
    else
      X1 += M;
  }
}

bool IESegmentBoxIntersectsRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer RX1, Integer RY1,
                                Integer RX2, Integer RY2) {
  return !(std::max(X1, X2) < RX1 || RX2 < std::min(X1, X2) || std::max(Y1, Y2) < RY1 ||
           RY2 < std::min(Y1, Y2));
}

bool IEPointInRect(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  return X1 <= X && X <= X2 && Y1 <= Y && Y <= Y2;
}

bool IEPointInRectNormalized(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  IEOrderCoords(X1, Y1, X2, Y2);
  return IEPointInRect(X, Y, X1, Y1, X2, Y2);
}

void IEExpandRect(TRect& Rect, Integer X, Integer Y) {
  if (X < Rect.Left) Rect.Left = X;
  if (X > Rect.Right) Rect.Right = X;
  if (Y < Rect.Top) Rect.Top = Y;
  if (Y > Rect.Bottom) Rect.Bottom = Y;
}

bool IEPointInPolygon(Integer X, Integer Y, std::span<const TPoint> Points) {
  return EvenOddInside(X, Y, static_cast<Integer>(Points.size()), [&](Integer I) {
    return TExtendedPoint{static_cast<Extended>(Points[I].X), static_cast<Extended>(Points[I].Y)};
  });
}

bool IEPointInScaledPolygon(Integer X, Integer Y, const TPoint* Points, Integer Count, Integer OriginX,
                            Integer OriginY, Integer OffsetX, Integer OffsetY, double ScaleX, double ScaleY) {
  if (Count <= 0) return false;
  return EvenOddInside(X, Y, Count, [&](Integer I) {
    return TExtendedPoint{
        static_cast<Extended>(static_cast<double>(Diff(Points[I].X, OriginX)) * ScaleX + OffsetX),
        static_cast<Extended>(static_cast<double>(Diff(Points[I].Y, OriginY)) * ScaleY + OffsetY)};
  });
}

void IERotatePoints(std::span<TPoint> Points, Integer CX, Integer CY, double Degrees) {
  const double A = -Degrees * std::numbers::pi / 180;
  const double CosA = std::cos(A);
  const double SinA = std::sin(A);
  for (TPoint& P : Points) {
    const double DX = static_cast<double>(Diff(P.X, CX));
    const double DY = static_cast<double>(Diff(P.Y, CY));
    P.X = TruncToInteger(CX + std::trunc(CosA * DX - SinA * DY));
    P.Y = TruncToInteger(CY + std::trunc(SinA * DX + CosA * DY));
  }
}

Extended IEArcTan2(Extended Y, Extended X) {
  return ArcTan2(Y, X);
}

Extended IEArcCos(Extended X) {
  if (X == 1 || X == -1) return 0;
  return IEArcTan2(std::sqrt(1 - X * X), X);
}

double IEAngleAtVertex(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  const Extended AX = Diff(X2, X1), AY = Diff(Y2, Y1);
  const Extended BX = Diff(X3, X2), BY = Diff(Y3, Y2);
  const Extended LengthA = Length(AX, AY);
  const Extended LengthB = Length(BX, BY);
  if (LengthA == 0 || LengthB == 0) return 0;
  const Extended K = (AX * BX + AY * BY) / (LengthA * LengthB);
  if (std::fabs(K) > 1) return 0;
  return static_cast<double>(IEArcCos(K));
}

double IELineAngle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (X1 == X2) return Y2 < Y1 ? std::numbers::pi / 2 : Y2 > Y1 ? 3 * std::numbers::pi / 2 : 0;
  if (Y1 == Y2) return X2 < X1 ? std::numbers::pi : 0;
  // Each open quadrant measures its corner against a horizontal reference through P1.
  if (X2 > X1 && Y2 < Y1) return std::numbers::pi - IEAngleAtVertex(X2, Y2, X1, Y1, X2, Y1);
  if (X2 > X1) return std::numbers::pi + IEAngleAtVertex(X2, Y1, X1, Y1, X2, Y2);
  if (Y2 > Y1) return 2 * std::numbers::pi - IEAngleAtVertex(X2, Y1, X1, Y1, X2, Y2);
  return IEAngleAtVertex(X2, Y1, X1, Y1, X2, Y2);
}

Integer IETurnDirection(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  const Int64 DX1 = Int64{X2} - X1, DY1 = Int64{Y2} - Y1;
  const Int64 DX2 = Int64{X3} - X1, DY2 = Int64{Y3} - Y1;
  const Extended Left = static_cast<Extended>(DX1) * DY2;
  const Extended Right = static_cast<Extended>(DY1) * DX2;
  if (Left > Right) return 1;
  if (Left < Right) return -1;
  if (static_cast<Extended>(DX1) * DX2 < 0 || static_cast<Extended>(DY1) * DY2 < 0) return -1;
  const Extended Near = static_cast<Extended>(DX1) * DX1 + static_cast<Extended>(DY1) * DY1;
  const Extended Far = static_cast<Extended>(DX2) * DX2 + static_cast<Extended>(DY2) * DY2;
  return Near < Far ? 1 : 0;
}

double IEAngle3Points(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  auto SideOrOne = [](Integer AX, Integer AY, Integer BX, Integer BY) {
    const Extended D = Length(Diff(BX, AX), Diff(BY, AY));
    return D == 0 ? Extended{1} : D;
  };
  const Extended A = SideOrOne(X1, Y1, X2, Y2);
  const Extended B = SideOrOne(X2, Y2, X3, Y3);
  const Extended C = SideOrOne(X1, Y1, X3, Y3);
  const double Angle = static_cast<double>(IEArcCos((B * B + A * A - C * C) / (2 * A * B)));
  return IETurnDirection(X1, Y1, X2, Y2, X3, Y3) == -1 ? 2 * std::numbers::pi - Angle : Angle;
}

void IEScaleToFit(Integer Width, Integer Height, Integer MaxWidth, Integer MaxHeight, Integer& ResultWidth,
                  Integer& ResultHeight) {
  if (Width == 0 || Height == 0) return;
  const double F = std::min(static_cast<double>(MaxWidth) / Width, static_cast<double>(MaxHeight) / Height);
  ResultWidth = std::max(TruncToInteger(Width * F), 1);
  ResultHeight = std::max(TruncToInteger(Height * F), 1);
}
