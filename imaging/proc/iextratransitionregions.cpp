// Region builders of the clipped transitions: rectangle lists made into one region, the
// numbered shapes and small polygons.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/proc/iextratransitions.h"
#include "imaging/proc/iextratransitionsdraw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/PolygonScan.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Math.h"

namespace {

constexpr Integer RegionHeaderSize = 32;
constexpr Integer RectSize = 16;
constexpr Integer CapacityStep = 500;
constexpr Integer EmptyLow = 2147483647;
constexpr Integer EmptyHigh = -2147483647;

void PutInt32(unsigned char* P, Integer V) {
  const auto U = static_cast<Cardinal>(V);
  P[0] = static_cast<unsigned char>(U);
  P[1] = static_cast<unsigned char>(U >> 8);
  P[2] = static_cast<unsigned char>(U >> 16);
  P[3] = static_cast<unsigned char>(U >> 24);
}

}  // namespace

TComplexRegion::TComplexRegion() {
  Clear();
}

TComplexRegion::~TComplexRegion() {
  std::free(FData);
}

void TComplexRegion::Clear() {
  std::free(FData);
  FData = nullptr;
  FWritePos = nullptr;
  FCapacity = 0;
  FCount = 0;
  FBoundsLeft = EmptyLow;
  FBoundsTop = EmptyLow;
  FBoundsRight = EmptyHigh;
  FBoundsBottom = EmptyHigh;
}

void TComplexRegion::AddRect(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (FCount == FCapacity) {
    const Integer NewCapacity = FCapacity + CapacityStep;
    // The header, the rectangles and 4 spare bytes.
    const std::size_t Size = 36 + static_cast<std::size_t>(RectSize) * static_cast<std::size_t>(NewCapacity);
    auto* Block = static_cast<unsigned char*>(std::realloc(FData, Size));
    if (!Block) throw std::bad_alloc();
    FData = Block;
    FCapacity = NewCapacity;
    FWritePos =
        FData + RegionHeaderSize + static_cast<std::size_t>(RectSize) * static_cast<std::size_t>(FCount);
  }
  PutInt32(FWritePos, Left);
  PutInt32(FWritePos + 4, Top);
  PutInt32(FWritePos + 8, Right);
  PutInt32(FWritePos + 12, Bottom);
  FWritePos += RectSize;
  ++FCount;
  FBoundsLeft = std::min(FBoundsLeft, Left);
  FBoundsTop = std::min(FBoundsTop, Top);
  FBoundsRight = std::max(FBoundsRight, Right);
  FBoundsBottom = std::max(FBoundsBottom, Bottom);
}

HRGN TComplexRegion::CreateRegion() {
  if (!FData) return nullptr;
  PutInt32(FData, RegionHeaderSize);
  PutInt32(FData + 4, 1);
  PutInt32(FData + 8, FCount);
  PutInt32(FData + 12, RectSize);
  PutInt32(FData + 16, FBoundsLeft);
  PutInt32(FData + 20, FBoundsTop);
  PutInt32(FData + 24, FBoundsRight);
  PutInt32(FData + 28, FBoundsBottom);
  const auto Size = static_cast<DWORD>(36 + RectSize * FCount);
  return ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(FData));
}

// ---- Shapes ----

namespace {

struct TFrac {
  Extended X, Y;
};

constexpr TFrac FivePointedStar[] = {{0.5L, 0},      {0.62L, 0.36L}, {1, 0.36L},     {0.7L, 0.59L},
                                     {0.81L, 0.95L}, {0.5L, 0.73L},  {0.19L, 0.95L}, {0.31L, 0.59L},
                                     {0, 0.36L},     {0.39L, 0.36L}, {0.5L, 0}};
constexpr TFrac SixPointedStar[] = {{0.5L, 0},     {0.625L, 0.25L}, {0.9L, 0.25L}, {0.75L, 0.5L},
                                    {0.9L, 0.75L}, {0.625L, 0.75L}, {0.5L, 1},     {0.375L, 0.75L},
                                    {0.1L, 0.75L}, {0.25L, 0.5L},   {0.1L, 0.25L}, {0.375L, 0.25L},
                                    {0.5L, 0}};
constexpr TFrac Arrow[] = {{0, 0},    {0.4L, 0},    {0.3L, 0.1L}, {1, 0.8L},
                           {0.8L, 1}, {0.1L, 0.3L}, {0, 0.4L},    {0, 0}};
constexpr TFrac LightningBolt[] = {{1, 0.19L},     {0.61L, 0.01L}, {0.41L, 0.29L}, {0.49L, 0.31L},
                                   {0.23L, 0.55L}, {0.33L, 0.6L},  {0, 1},         {0.51L, 0.69L},
                                   {0.46L, 0.65L}, {0.78L, 0.45L}, {0.66L, 0.39L}, {1, 0.19L}};
constexpr TFrac Explosion[] = {
    {0.33L, 0},     {0.5L, 0.26L},  {0.62L, 0.11L}, {0.67L, 0.28L}, {0.99L, 0.1L},
    {0.78L, 0.35L}, {1, 0.39L},     {0.84L, 0.54L}, {0.99L, 0.66L}, {0.75L, 0.64L},
    {0.78L, 0.81L}, {0.65L, 0.71L}, {0.61L, 1},     {0.51L, 0.69L}, {0.38L, 0.89L},
    {0.35L, 0.66L}, {0.17L, 0.83L}, {0.22L, 0.59L}, {0, 0.61L},     {0.19L, 0.48L},
    {0.04L, 0.37L}, {0.22L, 0.34L}, {0.16L, 0.2L},  {0.35L, 0.25L}, {0.33L, 0.01L}};
constexpr TFrac FeatheredArrow[] = {
    {0.85L, 1},       {0.8L, 0.95L},    {0.8L, 0.85L}, {0.775L, 0.825L}, {0.775L, 0.925L}, {0.725L, 0.875L},
    {0.725L, 0.775L}, {0.7L, 0.75L},    {0.7L, 0.85L}, {0.65L, 0.8L},    {0.65L, 0.7L},    {0.15L, 0.2L},
    {0.15L, 0.3L},    {0, 0.15L},       {0, 0},        {0.15L, 0},       {0.3L, 0.15L},    {0.2L, 0.15L},
    {0.7L, 0.65L},    {0.8L, 0.65L},    {0.85L, 0.7L}, {0.75L, 0.7L},    {0.775L, 0.725L}, {0.875L, 0.725L},
    {0.925L, 0.775L}, {0.825L, 0.775L}, {0.85L, 0.8L}, {0.95L, 0.8L},    {1, 0.85L},       {0.85L, 0.85L},
    {0.85L, 1}};

template <std::size_t N>
HRGN FracPolygon(const TFrac (&Table)[N], Integer Left, Integer Top, Integer Width, Integer Height,
                 bool FlipX, bool FlipY) {
  TPoint Points[N];
  for (std::size_t I = 0; I < N; ++I) {
    const Extended X = FlipX ? 1 - Table[I].X : Table[I].X;
    const Extended Y = FlipY ? 1 - Table[I].Y : Table[I].Y;
    const Int64 PX = Round(static_cast<Extended>(Width - 1) * X) + Left;
    const Int64 PY = Round(static_cast<Extended>(Height - 1) * Y) + Top;
    // Out of the drawing range there is no shape to clip to.
    if (!InShapeRange(PX) || !InShapeRange(PY)) return nullptr;
    Points[I] = {static_cast<Integer>(PX), static_cast<Integer>(PY)};
  }
  return CreatePolygonRgn(Points, static_cast<Integer>(N), WINDING);
}

Integer Nearest(Extended X) {
  const Int64 R = Round(X);
  return static_cast<Integer>(std::clamp<Int64>(R, -2147483647 - 1, 2147483647));
}

HRGN CrossRegion(Integer Left, Integer Top, Integer Width, Integer Height) {
  const Integer D = Nearest(static_cast<Extended>(Height) * 0.75L);
  if (Width > D) {
    Left += (Width - D) / 2;
    Width = D;
  }
  const Integer G =
      std::min(Nearest(static_cast<Extended>(Height) * 0.22L), Nearest(static_cast<Extended>(Width) * 0.2L));
  const Integer X0 = Left + (Width - G) / 2;
  HRGN Result = CreateRectRgn(X0, Top, X0 + G, Top + Height);
  const Single Third = 0.33f;
  const Integer Y0 = Top + Nearest(static_cast<Extended>(Height - G) * static_cast<Extended>(Third));
  ExtraTransitionDraw::CombineInto(Result, CreateRectRgn(Left, Y0, Left + Width, Y0 + G), RGN_OR);
  return Result;
}

HRGN HeartRegion(Integer Left, Integer Top, Integer Width, Integer Height) {
  FitSquare(Left, Top, Width, Height);
  const Integer L = Left, T = Top, S = Width;
  const Integer D = S / 2, Q = S / 4;
  const Integer Dia = D + 2;
  const Integer R = Dia / 2;
  // A tiny square gives a negative radius; the unsigned radius of the original wraps, ours stops at 0.
  const Word Radius = static_cast<Word>(std::max(R - 1, 0));
  const TPoint P1 = PointOnCircle({Q, Q}, Radius, 233.14L);
  const TPoint P2 = PointOnCircle({S - Q, Q}, Radius, 126.86L);
  HRGN Result = CreateEllipticRgn(L, T, L + Dia, T + Dia);
  ExtraTransitionDraw::CombineInto(Result, CreateEllipticRgn(L + S - Dia, T, L + S, T + Dia), RGN_OR);
  ExtraTransitionDraw::CombineInto(
      Result, TriangleRegion(L + P1.X, T + P1.Y, L + P2.X, T + P2.Y, L + D, T + S), RGN_OR);
  ExtraTransitionDraw::CombineInto(Result, CreateRectRgn(L + R, T + R, L + S - R, T + Dia), RGN_OR);
  return Result;
}

}  // namespace

void FitSquare(Integer& Left, Integer& Top, Integer& Width, Integer& Height) {
  const Integer S = std::min(Width, Height);
  Left += (Width - S) / 2;
  Top += (Height - S) / 2;
  Width = S;
  Height = S;
}

TPoint PointOnCircle(TPoint Center, Word Radius, Extended Angle) {
  const Extended A = (Angle - 90) * Pi / 180;
  return {Nearest(std::cos(A) * Radius + Center.X), Nearest(std::sin(A) * Radius + Center.Y)};
}

HRGN ShapeRegion(Integer Shape, Integer Left, Integer Top, Integer Width, Integer Height) {
  Shape = static_cast<Integer>(static_cast<Cardinal>(Shape) % 128);
  if (Shape > 15) return nullptr;
  // An empty box has an empty shape; the vertex formula would put it a pixel outside the box.
  if (Width <= 0 || Height <= 0) return CreateRectRgn(0, 0, 0, 0);
  switch (Shape) {
    case 0:
      FitSquare(Left, Top, Width, Height);
      return FracPolygon(FivePointedStar, Left, Top, Width, Height, false, false);
    case 1:
      FitSquare(Left, Top, Width, Height);
      return FracPolygon(SixPointedStar, Left, Top, Width, Height, false, false);
    case 2:
    case 3:
    case 4:
    case 5: {
      const Integer O = Shape - 2;
      FitSquare(Left, Top, Width, Height);
      return FracPolygon(Arrow, Left, Top, Width, Height, O == 1 || O == 3, O == 2 || O == 3);
    }
    case 6:
    case 7:
      if (Height < Width) {
        Left += (Width - Height) / 2;
        Width = Height;
      }
      return FracPolygon(LightningBolt, Left, Top, Width, Height, Shape == 7, false);
    case 8:
    case 9:
      return FracPolygon(Explosion, Left, Top, Width, Height, Shape == 9, Shape == 9);
    case 10:
      return CrossRegion(Left, Top, Width, Height);
    case 11:
    case 12:
    case 13:
    case 14: {
      const Integer O = Shape - 11;
      FitSquare(Left, Top, Width, Height);
      return FracPolygon(FeatheredArrow, Left, Top, Width, Height, O == 1 || O == 3, O == 2 || O == 3);
    }
    case 15:
      return HeartRegion(Left, Top, Width, Height);
    default:
      return nullptr;
  }
}

HRGN ShapeRegionInRect(Integer Shape, const TRect& R) {
  return ShapeRegion(Shape, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

HRGN PolyRegion(std::span<const Integer> Coords) {
  std::vector<TPoint> Points(Coords.size() / 2);
  for (std::size_t I = 0; I < Points.size(); ++I) Points[I] = {Coords[2 * I], Coords[2 * I + 1]};
  return CreatePolygonRgn(Points.data(), static_cast<Integer>(Points.size()), WINDING);
}

HRGN TriangleRegion(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  const TPoint Points[3] = {{X1, Y1}, {X2, Y2}, {X3, Y3}};
  return CreatePolygonRgn(Points, 3, WINDING);
}

HRGN PieRegion(Integer CX, Integer CY, Integer Radius, Extended StartAngle, Extended EndAngle,
               Integer Count) {
  const Integer N = std::max(Count, 0);
  std::vector<TPoint> Points(static_cast<std::size_t>(N) + 1);
  Points[0] = {CX, CY};
  if (N > 0) {
    const Extended Step = (EndAngle - StartAngle) / N;
    Extended Angle = StartAngle;
    for (Integer I = 1; I <= N; ++I) {
      Points[static_cast<std::size_t>(I)] = {CX + Nearest(Radius * std::cos(Angle)),
                                             CY + Nearest(Radius * std::sin(Angle))};
      Angle += Step;
    }
  }
  return CreatePolygonRgn(Points.data(), N + 1, WINDING);
}

void RotatePoints(TPoint* Points, Integer LastIndex, Integer CX, Integer CY, Extended Angle) {
  const Extended C = std::cos(Angle), S = std::sin(Angle);
  for (Integer I = 0; I <= LastIndex; ++I) {
    const Extended DX = Points[I].X - CX, DY = Points[I].Y - CY;
    Points[I] = {CX + Nearest(C * DX - S * DY), CY + Nearest(S * DX + C * DY)};
  }
}
