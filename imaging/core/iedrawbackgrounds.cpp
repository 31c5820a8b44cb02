// The grey background pictures of the save-parameters preview.
#include <cmath>
#include <numbers>

#include "imaging/core/iedrawutils.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"

namespace {

// Bitmap made a 24-bit Width x Height picture; row Y's grey values come from Row(Y, Grey),
// which fills Width bytes.
template <class TRowFill>
void MakeGreyBitmap(TBitmap* Bitmap, Integer Width, Integer Height, TRowFill Row) {
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(Width, Height);
  std::vector<Byte> Grey(static_cast<std::size_t>(std::max(Width, 0)));
  for (Integer Y = 0; Y < Height; ++Y) {
    Row(Y, Grey.data());
    Byte* P = static_cast<Byte*>(Bitmap->GetScanLine(Y));
    for (Integer X = 0; X < Width; ++X, P += 3) P[0] = P[1] = P[2] = Grey[X];
  }
}

}  // namespace

void IEGaussianCurve(Integer Count, Double Min, Double Max, Double Sigma, std::vector<Double>& Values) {
  Values.assign(static_cast<std::size_t>(std::max(Count, 0)), 0.0);
  const Double Scale = Sigma * std::sqrt(2 * std::numbers::pi);
  Double Largest = -100000;
  for (Integer I = 0; I < Count; ++I) {
    const Double T = static_cast<Double>(I) / Count * 2 - 1;
    Values[I] = std::exp(-0.5 * Sigma * Sigma * T * T) / Scale;
    Largest = std::max(Largest, Values[I]);
  }
  for (Double& V : Values) V = V / Largest * (Max - Min) + Min;
}

void IEMakeStripeBitmap(TBitmap* Bitmap, Integer Width, Integer Height) {
  std::vector<Double> Levels;
  IEGaussianCurve(4, 130, 255, 0.5, Levels);
  MakeGreyBitmap(Bitmap, Width, Height, [&](Integer Y, Byte* Grey) {
    std::fill_n(Grey, Width, static_cast<Byte>(Trunc(Levels[Y % 4])));
  });
}

void IEMakeNoiseBitmap(TBitmap* Bitmap, Integer Width, Integer Height) {
  std::vector<Double> Profile;
  IEGaussianCurve(Width, 160, 208, 3, Profile);
  // The offset carries over from row to row; the run counter starts again on each row.
  Integer Offset = 0;
  MakeGreyBitmap(Bitmap, Width, Height, [&](Integer, Byte* Grey) {
    Integer Run = 0;
    for (Integer X = 0; X < Width; ++X) {
      Grey[X] = static_cast<Byte>(Trunc(Profile[X]) + Offset);
      ++Run;
      if (Run > Random(Width) + 100) {
        Run = 0;
        Offset = Random(11);
      }
    }
  });
}
