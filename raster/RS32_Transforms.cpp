#include "raster/RS32_Transforms.h"

#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "raster/RS32_Math.h"

Integer RoundToInteger(Extended X) {
  if (X >= 2147483647.0L) return 2147483647;
  if (X <= -2147483648.0L) return -2147483647 - 1;
  return static_cast<Integer>(Round(X));
}

void TTransformation::Changed() {
  FPrepared = false;
  TNotifiablePersistent::Changed();
}

TRect TTransformation::MappedBounds(const TRectFloat& SrcRect) {
  return MakeRectFromFloat(SrcRect, erNearest);
}

void TTransformation::ReverseInt(Integer X, Integer Y, Integer& DstX, Integer& DstY) {
  if (FitsFixed(X) && FitsFixed(Y)) {
    TFixed16 U, V;
    ReverseFixed(X << 16, Y << 16, U, V);
    DstX = FixedToIntRound(U);
    DstY = FixedToIntRound(V);
    return;
  }
  Single U, V;
  ReverseFloat(static_cast<Single>(X), static_cast<Single>(Y), U, V);
  DstX = RoundToInteger(U);
  DstY = RoundToInteger(V);
}

void TTransformation::ReverseFixed(TFixed16 X, TFixed16 Y, TFixed16& DstX, TFixed16& DstY) {
  Single U, V;
  ReverseFloat(static_cast<Single>(X / 65536.0L), static_cast<Single>(Y / 65536.0L), U, V);
  DstX = FixedFromFloat(U);
  DstY = FixedFromFloat(V);
}

void TTransformation::ReverseFloat(Single, Single, Single&, Single&) {
  throw ETransformNotImplemented(Format("Reverse transformation is not implemented in %s.", {ClassName()}));
}

void TTransformation::ForwardInt(Integer X, Integer Y, Integer& DstX, Integer& DstY) {
  if (FitsFixed(X) && FitsFixed(Y)) {
    TFixed16 U, V;
    ForwardFixed(X << 16, Y << 16, U, V);
    DstX = FixedToIntRound(U);
    DstY = FixedToIntRound(V);
    return;
  }
  Single U, V;
  ForwardFloat(static_cast<Single>(X), static_cast<Single>(Y), U, V);
  DstX = RoundToInteger(U);
  DstY = RoundToInteger(V);
}

void TTransformation::ForwardFixed(TFixed16 X, TFixed16 Y, TFixed16& DstX, TFixed16& DstY) {
  Single U, V;
  ForwardFloat(static_cast<Single>(X / 65536.0L), static_cast<Single>(Y / 65536.0L), U, V);
  DstX = FixedFromFloat(U);
  DstY = FixedFromFloat(V);
}

void TTransformation::ForwardFloat(Single, Single, Single&, Single&) {
  throw ETransformNotImplemented(Format("Forward transformation is not implemented in %s.", {ClassName()}));
}

TPoint TTransformation::ReversePoint(const TPoint& P) {
  Prepare();
  TPoint R;
  ReverseInt(P.X, P.Y, R.X, R.Y);
  return R;
}

TFixedPoint TTransformation::ReversePoint(const TFixedPoint& P) {
  Prepare();
  TFixedPoint R;
  ReverseFixed(P.X, P.Y, R.X, R.Y);
  return R;
}

TFloatPoint TTransformation::ReversePoint(const TFloatPoint& P) {
  Prepare();
  TFloatPoint R;
  ReverseFloat(P.X, P.Y, R.X, R.Y);
  return R;
}

TPoint TTransformation::ForwardPoint(const TPoint& P) {
  Prepare();
  TPoint R;
  ForwardInt(P.X, P.Y, R.X, R.Y);
  return R;
}

TFixedPoint TTransformation::ForwardPoint(const TFixedPoint& P) {
  Prepare();
  TFixedPoint R;
  ForwardFixed(P.X, P.Y, R.X, R.Y);
  return R;
}

TFloatPoint TTransformation::ForwardPoint(const TFloatPoint& P) {
  Prepare();
  TFloatPoint R;
  ForwardFloat(P.X, P.Y, R.X, R.Y);
  return R;
}
