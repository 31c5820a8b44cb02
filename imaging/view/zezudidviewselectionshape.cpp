// The selection record and the shapes the view selects: rectangles, ellipses, grip resizing.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "imaging/core/ieprocbase.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/system/Math.h"

namespace {

Integer Clamp(Integer Value, Integer Low, Integer High) {
  return std::max(Low, std::min(Value, High));
}

Integer RoundInt(Extended Value) {
  return static_cast<Integer>(Round(Value));
}

}  // namespace

void TIESelPolygonDelete::operator()(TIESelPolygon* Polygon) const {
  delete Polygon;
}

void TIESelPolygon::Clear() {
  Points.reset();
  Count = 0;
  Capacity = 0;
}

void TIESelPolygon::Allocate(Integer NewCount) {
  Points = NewCount > 0 ? std::make_unique<TPoint[]>(NewCount) : nullptr;
  Count = NewCount;
  Capacity = NewCount;
}

void TIESelPolygon::Append(Integer X, Integer Y) {
  if (Count == Capacity) {
    const Integer NewCapacity = std::max(2 * Capacity, Count + 1);
    auto Grown = std::make_unique<TPoint[]>(NewCapacity);
    std::copy(Points.get(), Points.get() + Count, Grown.get());
    Points = std::move(Grown);
    Capacity = NewCapacity;
  }
  Points[Count++] = {X, Y};
}

void TIESelPolygon::AddPoint(Integer X, Integer Y) {
  Append(X, Y);
  if (Count == 2) {
    X1 = std::min(Points[0].X, X);
    Y1 = std::min(Points[0].Y, Y);
    X2 = std::max(Points[0].X, X);
    Y2 = std::max(Points[0].Y, Y);
  } else if (Count > 2) {
    X1 = std::min(X1, X);
    Y1 = std::min(Y1, Y);
    X2 = std::max(X2, X);
    Y2 = std::max(Y2, Y);
  }
}

void TIESelPolygon::AddBreak() {
  // A break is no vertex: the box stays.
  if (!LastIsBreak()) Append(IESelBreak, IESelBreak);
}

bool TIESelPolygon::RemoveLastPolygon() {
  for (Integer I = Count - 1; I >= 0; --I) {
    if (IsBreak(I)) {
      Count = I;
      return true;
    }
  }
  return false;
}

void TIESelPolygon::RemoveLastPoint() {
  if (Count > 0) --Count;
  while (LastIsBreak()) --Count;
}

bool TIESelPolygon::IsRect() const {
  return IEIsRectPolygon(Points.get(), Count);
}

bool TIESelPolygon::Offset(Integer DX, Integer DY, bool CutBorders, Integer Width, Integer Height) {
  if (DX == 0 && DY == 0) return false;
  const bool Leaves = X1 + DX >= Width || Y1 + DY >= Height || X2 + DX <= 0 || Y2 + DY <= 0;
  if (!CutBorders || Leaves) {
    // Keep the box within the picture.
    if (X1 + DX < 0) DX = -X1;
    if (Y1 + DY < 0) DY = -Y1;
    if (X2 + DX > Width) DX = Width - X2;
    if (Y2 + DY > Height) DY = Height - Y2;
    if (!CutBorders && (X1 + DX < 0 || Y1 + DY < 0 || X2 + DX > Width || Y2 + DY > Height)) return false;
  }
  X1 = Clamp(X1 + DX, 0, Width);
  Y1 = Clamp(Y1 + DY, 0, Height);
  X2 = Clamp(X2 + DX, 0, Width);
  Y2 = Clamp(Y2 + DY, 0, Height);
  for (Integer I = 0; I < Count; ++I) {
    if (IsBreak(I)) continue;
    Points[I].X = Clamp(Points[I].X + DX, 0, Width);
    Points[I].Y = Clamp(Points[I].Y + DY, 0, Height);
  }
  return true;
}

bool IEIsRectPolygon(const TPoint* Points, Integer Count) {
  if (Count != 4) return false;
  bool PreviousVertical = false;
  for (Integer I = 0; I < 4; ++I) {
    const TPoint& A = Points[I];
    const TPoint& B = Points[(I + 1) % 4];
    const bool Vertical = A.X == B.X && A.Y != B.Y;
    const bool Horizontal = A.Y == B.Y && A.X != B.X;
    if (!Vertical && !Horizontal) return false;
    if (I > 0 && Vertical == PreviousVertical) return false;
    PreviousVertical = Vertical;
  }
  return true;
}

void IEShiftRectInside(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer Width, Integer Height) {
  if (X1 < 0) {
    X2 -= X1;
    X1 = 0;
  }
  if (X2 >= Width) {
    X1 -= X2 - (Width - 1);
    X2 = Width - 1;
  }
  if (Y1 < 0) {
    Y2 -= Y1;
    Y1 = 0;
  }
  if (Y2 >= Height) {
    Y1 -= Y2 - (Height - 1);
    Y2 = Height - 1;
  }
}

void IEFitRectAspect(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, double C, Integer Width,
                     Integer Height) {
  if (Y2 >= Height)
    X2 = RoundInt(X1 + (Height - Y1 - 1) / static_cast<Extended>(C));
  else if (Y1 < 0)
    X1 = RoundInt(X2 - Y2 / static_cast<Extended>(C));
  else if (X2 >= Width)
    Y2 = RoundInt(static_cast<Extended>(C) * (Width - X1 - 1) + Y1);
  else if (X1 < 0)
    Y1 = RoundInt(Y2 - static_cast<Extended>(C) * X2);
}

TRect IESelectionRect(Integer X1, Integer Y1, Integer X2, Integer Y2, bool KeepInside, bool Constrain,
                      double AspectRatio, Integer Width, Integer Height) {
  if (Constrain && AspectRatio < 0) {
    Y2 = X2 + Y1 - X1;
  } else if (AspectRatio > 0) {
    const Extended R = AspectRatio;
    Y2 = RoundInt(R * (X2 - X1)) + Y1;
    if (Y2 >= Height) X2 = RoundInt((Height - Y1 - 1 + X1 * R) / R);
    if (Y2 < 0) X2 = RoundInt((X1 * R - Y1) / R);
  }
  if (KeepInside) IEShiftRectInside(X1, Y1, X2, Y2, Width, Height);
  IEOrderCoords(X1, Y1, X2, Y2);
  return {Clamp(X1, 0, Width - 1), Clamp(Y1, 0, Height - 1), Clamp(X2, 0, Width), Clamp(Y2, 0, Height)};
}

std::vector<TPoint> IESelectionEllipse(Integer CX, Integer CY, Integer EX, Integer EY, Integer Width,
                                       Integer Height) {
  constexpr Extended TwoPi = 2 * std::numbers::pi_v<Extended>;
  const Integer N = std::max(static_cast<Integer>(Trunc(std::min(EX, EY) * TwoPi)), 50);
  std::vector<TPoint> Points(N);
  for (Integer K = 0; K < N; ++K) {
    const Extended Angle = TwoPi * K / N;
    Points[K] = {Clamp(RoundInt(CX + std::cos(Angle) * EX), 0, Width),
                 Clamp(RoundInt(CY + std::sin(Angle) * EY), 0, Height)};
  }
  return Points;
}

namespace {

// With a constrained drag the free coordinate follows the other through the ratio R
// (width / height); side grips then act as the corner they lead to. Returns that corner.
Integer ConstrainToRatio(Integer Grip, Integer& PX, Integer& PY, const TRect& S, Extended R, Integer Width,
                         Integer Height) {
  // Each loop moves the point until the derived coordinate is back in the picture; the bound
  // stops it when the ratio cannot get it there.
  const Integer Limit = Width + Height + 2;
  switch (Grip) {
    case ieTopLeft:
    case ieLeftSide:
      for (Integer I = 0; I <= Limit; ++I, ++PX)
        if ((PY = RoundInt(1 + S.Bottom + (PX - S.Right - 1) / R)) >= 0) break;
      return ieTopLeft;
    case ieTopRight:
      for (Integer I = 0; I <= Limit; ++I, --PX)
        if ((PY = RoundInt(S.Bottom + (S.Left - PX - 1) / R)) >= 0) break;
      return ieTopRight;
    case ieBottomRight:
    case ieRightSide:
      PY = RoundInt(S.Top + (PX - S.Left + 1) / R - 1);
      return ieBottomRight;
    case ieBottomLeft:
      for (Integer I = 0; I <= Limit; ++I, ++PX)
        if ((PY = RoundInt(1 + S.Top + (S.Right - PX + 1) / R)) <= Height) break;
      return ieBottomLeft;
    case ieTopSide:
      for (Integer I = 0; I <= Limit; ++I, ++PY)
        if ((PX = RoundInt(S.Right + 1 - R * (S.Bottom - PY + 1))) >= 0) break;
      return ieTopLeft;
    case ieBottomSide:
      for (Integer I = 0; I <= Limit; ++I, --PY)
        if ((PX = RoundInt(S.Left - 1 + R * (PY - S.Top + 1))) <= Width) break;
      return ieBottomRight;
    default:
      return Grip;
  }
}

bool IsOneOf(Integer Grip, std::initializer_list<Integer> Grips) {
  return std::find(Grips.begin(), Grips.end(), Grip) != Grips.end();
}

// The grip that is being dragged once the box has turned over.
Integer FlippedGrip(Integer Grip, bool FlippedX, bool FlippedY) {
  static constexpr Integer AcrossX[] = {0, 2, 1, 4, 3, 6, 5, 7, 8, 9};
  static constexpr Integer AcrossY[] = {0, 4, 3, 2, 1, 5, 6, 8, 7, 9};
  if (Grip < 0 || Grip > 9) return Grip;
  if (FlippedX) Grip = AcrossX[Grip];
  if (FlippedY) Grip = AcrossY[Grip];
  return Grip;
}

}  // namespace

bool IEResizeSelectionRect(Integer& Grip, Integer PX, Integer PY, const TIEGripDrag& Drag, TRect& Box) {
  const TRect& S = Drag.Start;
  Integer Acting = Grip;
  Extended R = 1;
  if (Drag.Constrain) {
    if (S.Bottom - S.Top + 1 == 0) return false;
    R = Drag.AspectRatio > 0 ? 1 / static_cast<Extended>(Drag.AspectRatio)
                             : static_cast<Extended>(S.Right - S.Left + 1) / (S.Bottom - S.Top + 1);
    Acting = ConstrainToRatio(Grip, PX, PY, S, R, Drag.Width, Drag.Height);
  }
  // Right and bottom edges are exclusive.
  if (IsOneOf(Acting, {ieTopRight, ieBottomRight, ieRightSide})) ++PX;
  if (IsOneOf(Acting, {ieBottomRight, ieBottomLeft, ieBottomSide})) ++PY;
  Integer X1 = Box.Left, Y1 = Box.Top, X2 = Box.Right, Y2 = Box.Bottom;
  if (IsOneOf(Acting, {ieTopRight, ieBottomRight, ieRightSide})) X2 = PX == X1 ? X1 + 1 : PX;
  if (IsOneOf(Acting, {ieTopLeft, ieBottomLeft, ieLeftSide})) X1 = PX == X2 ? X2 - 1 : PX;
  if (IsOneOf(Acting, {ieTopLeft, ieTopRight, ieTopSide})) Y1 = PY == Y2 ? Y2 - 1 : PY;
  if (IsOneOf(Acting, {ieBottomRight, ieBottomLeft, ieBottomSide})) Y2 = PY == Y1 ? Y1 + 1 : PY;
  Grip = FlippedGrip(Grip, X2 < X1, Y2 < Y1);
  IEOrderCoords(X1, Y1, X2, Y2);
  if (Drag.Constrain) IEFitRectAspect(X1, Y1, X2, Y2, static_cast<double>(1 / R), Drag.Width, Drag.Height);
  X1 = Clamp(X1, 0, Drag.Width);
  X2 = Clamp(X2, 0, Drag.Width);
  Y1 = Clamp(Y1, 0, Drag.Height);
  Y2 = Clamp(Y2, 0, Drag.Height);
  IEOrderCoords(X1, Y1, X2, Y2);
  Box = {X1, Y1, X2, Y2};
  return true;
}

Integer IEGripAtCorners(const TPoint (&Corners)[4], Integer X, Integer Y, Integer GripSize) {
  for (Integer K = 0; K < 4; ++K)
    if (std::abs(X - Corners[K].X) <= GripSize && std::abs(Y - Corners[K].Y) <= GripSize) return K + 1;
  const Integer Left = std::min(Corners[0].X, Corners[3].X), Right = std::max(Corners[1].X, Corners[2].X);
  const Integer Top = std::min(Corners[0].Y, Corners[1].Y), Bottom = std::max(Corners[2].Y, Corners[3].Y);
  const bool AlongY = Y >= Top && Y <= Bottom;
  const bool AlongX = X >= Left && X <= Right;
  if (AlongY && std::abs(X - Left) < 3) return ieLeftSide;
  if (AlongY && std::abs(X - Right) < 3) return ieRightSide;
  if (AlongX && std::abs(Y - Top) < 3) return ieTopSide;
  if (AlongX && std::abs(Y - Bottom) < 3) return ieBottomSide;
  return ieNone;
}
