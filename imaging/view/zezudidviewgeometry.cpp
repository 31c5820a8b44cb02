#include "imaging/view/zezudidviewgeometry.h"

#include <algorithm>
#include <cassert>

#include "platform/system/Math.h"

void IEBuildZoomAxis(std::vector<Integer>& ScrToBmpTable, std::vector<Integer>& BmpToScrTable, Integer Zoomed,
                     Integer Drawn, Integer Layered, double Zoom, double Factor, double InvZoom) {
  const Integer N = Zoomed + Drawn + 1;
  const Integer M = static_cast<Integer>(Trunc(static_cast<Extended>(N) * InvZoom)) + 1;
  ScrToBmpTable.assign(static_cast<std::size_t>(N) + 1, 0);
  BmpToScrTable.assign(static_cast<std::size_t>(M) + 1, 0);
  Integer* const ScrToBmp = ScrToBmpTable.data();
  Integer* const BmpToScr = BmpToScrTable.data();
  const Integer MaxColumn = std::max(Layered - 1, 0);
  // Walking downward leaves the first client offset in each column's entry (magnified), and
  // the first column that lands on a client offset in that offset's entry (reduced).
  if (Zoom > 100) {
    for (Integer S = N - 1; S >= 0; --S) {
      const auto B = static_cast<Integer>(Trunc(static_cast<Extended>(S) * InvZoom));
      assert(B <= M);
      BmpToScr[B] = S;
      ScrToBmp[S] = std::min(B, MaxColumn);
    }
  } else {
    for (Integer B = M - 1; B >= 0; --B) {
      const auto S = static_cast<Integer>(Trunc(static_cast<Extended>(B) * Factor));
      assert(S <= N);
      BmpToScr[B] = S;
      ScrToBmp[S] = std::min(B, MaxColumn);
    }
  }
}

Integer IESnapView(const std::vector<Integer>& ScrToBmp, const std::vector<Integer>& BmpToScr,
                   Integer TableExtent, Integer Value, Integer Zoomed) {
  if (Value < 0) return 0;
  if (Value < Zoomed && !BmpToScr.empty() && TableExtent > 0 &&
      static_cast<std::size_t>(Value) < ScrToBmp.size())
    return BmpToScr[static_cast<std::size_t>(ScrToBmp[static_cast<std::size_t>(Value)])];
  return Value;
}

bool IEViewPositionFor(const std::vector<Integer>& ScrToBmp, const std::vector<Integer>& BmpToScr,
                       Integer Column, Integer Pointer, Integer& Position) {
  if (Column < 0 || static_cast<std::size_t>(Column) >= BmpToScr.size()) return false;
  const Integer Start = BmpToScr[static_cast<std::size_t>(Column)] - Pointer;
  Position = Start;
  if (Start <= 0 || static_cast<std::size_t>(Start) >= ScrToBmp.size()) return true;
  // The view snaps to the start of the column that holds it: take the column start at or just
  // after Start, which puts the pointer inside the wanted column.
  const auto Holder = static_cast<std::size_t>(ScrToBmp[static_cast<std::size_t>(Start)]);
  Position = BmpToScr[Holder];
  if (Position < Start && Holder + 1 < BmpToScr.size()) Position = BmpToScr[Holder + 1];
  return true;
}

Integer IEScreenToBitmapArith(Integer A, double InvZoom, Integer First) {
  return static_cast<Integer>(Trunc(static_cast<Extended>(A) * InvZoom + First));
}

Integer IEBitmapToScreenArith(Integer B, Integer Snapped, double InvZoom, double Factor, Integer Offset) {
  const Int64 FirstColumn = Round(-static_cast<Extended>(Snapped) * InvZoom);
  return static_cast<Integer>(Round(static_cast<Extended>(FirstColumn + B) * Factor + Offset));
}

double IEFitAxisZoom(Integer Room, Integer Length) {
  return Room / (Length / 100.0);
}

double IEGetFitZoom(Integer Width, Integer Height, Integer AreaWidth, Integer AreaHeight, bool Shrink,
                    bool Stretch, double OptimalZoom) {
  if (Width == 0 || Height == 0 || AreaWidth == 0 || AreaHeight == 0) return 100;
  const bool WidthRules = static_cast<double>(Width) / AreaWidth > static_cast<double>(Height) / AreaHeight;
  const bool TooLarge = WidthRules ? AreaWidth < Width : AreaHeight < Height;
  if (TooLarge ? Shrink : Stretch) return OptimalZoom;
  return 100;
}

double IEScrollScale(Integer ViewExtent, Integer MaxView) {
  return (static_cast<double>(ViewExtent) + MaxView) / IEScrollBarUnits;
}

namespace {
// A line or page counts in picture pixels, at least one client pixel each.
Integer PixelsPerUnit(double Factor) {
  return std::max(static_cast<Integer>(Trunc(Factor)), 1);
}
}  // namespace

Integer IEScrollLineStep(const TIEScrollBarParams& Params, double Factor) {
  return (Params.LineStep == -1 ? 1 : Params.LineStep) * PixelsPerUnit(Factor);
}

Integer IEScrollPageStep(const TIEScrollBarParams& Params, double Factor, Integer ViewExtent) {
  return Params.PageStep == -1 ? ViewExtent : Params.PageStep * PixelsPerUnit(Factor);
}

Integer IEWheelDirection(const TIEMouseWheelParams& Params, Integer Delta) {
  const Integer Direction = Delta > 0 ? -1 : 1;
  return Params.InvertDirection ? -Direction : Direction;
}

bool IEWheelVariationKnown(const TIEMouseWheelParams& Params) {
  return Params.Variation == iewvAbsolute || Params.Variation == iewvPercent;
}

double IEWheelZoom(const TIEMouseWheelParams& Params, double Zoom, Integer Direction) {
  if (Params.Variation == iewvAbsolute) return Zoom + Direction * Params.Value;
  const auto Step =
      std::max(static_cast<Integer>(Round(static_cast<Extended>(Params.Value) * Zoom / 100)), 1);
  return Zoom + Direction * Step;
}

Integer IEWheelScrollStep(const TIEMouseWheelParams& Params, Integer ViewExtent, double Factor) {
  if (Params.Variation == iewvAbsolute) return Params.Value * PixelsPerUnit(Factor);
  return std::max(static_cast<Integer>(Round(static_cast<Extended>(ViewExtent) * Params.Value / 100)), 1);
}
