#include "imaging/core/stdquant.h"

#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

namespace {

// An axis that cannot be split scores far above any reachable sum of variances (at most 720.75).
constexpr Double UnsplittableScore = 17523.6;

void StdQuantizerAllocate(TStdQuantizerState& S) {
  S.Histogram = std::make_unique<Cardinal[]>(StdQuantizerCells);
  S.Boxes = std::make_unique<TStdQuantizerBox[]>(StdQuantizerMaxBoxes);
  S.IndexTable = std::make_unique<Byte[]>(StdQuantizerCells);
}

void CountRow(Cardinal* Histogram, const Byte* Row, Integer Width) {
  for (Integer X = 0; X < Width; ++X, Row += 3) ++Histogram[StdQuantizerCell(Row[2], Row[1], Row[0])];
}

// Box 0's marginals are the histogram summed over the other two axes: one pass over the 32 K
// cells instead of three more increments per pixel.
void MarginalsFromHistogram(const Cardinal* Histogram, TStdQuantizerBox& Box) {
  std::fill(&Box.Marginal[0][0], &Box.Marginal[0][0] + 3 * StdQuantizerBins, 0u);
  Integer Cell = 0;
  for (Integer R = 0; R < StdQuantizerBins; ++R)
    for (Integer G = 0; G < StdQuantizerBins; ++G)
      for (Integer B = 0; B < StdQuantizerBins; ++B, ++Cell) {
        const Cardinal K = Histogram[Cell];
        Box.Marginal[0][R] += K;
        Box.Marginal[1][G] += K;
        Box.Marginal[2][B] += K;
      }
}

void StdQuantizerBuildHistogram(TStdQuantizerState& S) {
  Cardinal* Histogram = S.Histogram.get();
  if (auto* IEBitmap = dynamic_cast<TIEBitmap*>(S.Bitmap)) {
    for (Integer Y = 0; Y < S.Height; ++Y)
      CountRow(Histogram, static_cast<const Byte*>(IEBitmap->GetScanline(Y)), S.Width);
  } else if (auto* Platform = dynamic_cast<TBitmap*>(S.Bitmap)) {
    for (Integer Y = 0; Y < S.Height; ++Y)
      CountRow(Histogram, static_cast<const Byte*>(Platform->GetScanLine(Y)), S.Width);
  }
  MarginalsFromHistogram(Histogram, S.Boxes[0]);
}

void StdQuantizerBoxStatistics(const TStdQuantizerState& S, TStdQuantizerBox& Box) {
  Box.Variance = 0;
  if (Box.Count == 0) return;
  for (Integer Axis = 0; Axis < 3; ++Axis) {
    Double S1 = 0;
    Double S2 = 0;
    for (Integer J = Box.Lo[Axis]; J < Box.Hi[Axis]; ++J) {
      const Double H = Box.Marginal[Axis][J];
      S1 += J * H;
      S2 += static_cast<Double>(J) * J * H;
    }
    Box.Mean[Axis] = S1 / Box.Count;
    Box.Variance += S2 - Box.Mean[Axis] * Box.Mean[Axis] * Box.Count;
  }
  Box.Variance /= S.PixelCount;
}

void ShrinkToOccupiedBins(TStdQuantizerBox& Box) {
  for (Integer Axis = 0; Axis < 3; ++Axis) {
    Integer Lo = Box.Lo[Axis];
    Integer Hi = Box.Hi[Axis];
    while (Lo < Hi && Box.Marginal[Axis][Lo] == 0) ++Lo;
    while (Hi > Lo && Box.Marginal[Axis][Hi - 1] == 0) --Hi;
    Box.Lo[Axis] = Lo;
    Box.Hi[Axis] = Hi;
  }
}

// Splits Box on Axis into First and Second; false when the axis cannot be split.
bool StdQuantizerSplitAxis(const TStdQuantizerState& S, const TStdQuantizerBox& Box, Integer Axis,
                           TStdQuantizerBox& First, TStdQuantizerBox& Second) {
  const Integer Lo = Box.Lo[Axis];
  const Integer Hi = Box.Hi[Axis];
  if (Hi == Lo + 1) return false;
  const Double N = Box.Count;
  const Double Mu = Box.Mean[Axis];
  const Cardinal* H = Box.Marginal[Axis];
  const auto S0 = static_cast<Integer>(Round((Lo + Mu) * 0.5));
  const auto S1 = static_cast<Integer>(Round((Hi + Mu) * 0.5));
  Double C = 0;
  for (Integer J = Lo; J < S0; ++J) C += H[J];
  Double Best = -1;
  Integer Cut = S0;
  Double CBest = N;
  Double M = 0;
  // The cut search ends at the last occupied bin (C reaches N there), so T stays below Hi.
  for (Integer T = S0; T <= S1 && T < Hi; ++T) {
    C += H[T];
    if (C == N) break;
    // M sums from S0 and divides by the whole count, as the quantizer always has.
    M += T * H[T] / N;
    const Double Score = C / (N - C) * (Mu - M) * (Mu - M);
    if (Score > Best) {
      Best = Score;
      Cut = T;
      CBest = C;
    }
  }
  First = Box;
  Second = Box;
  First.Hi[Axis] = Cut + 1;
  First.Count = static_cast<Cardinal>(CBest);
  Second.Lo[Axis] = Cut + 1;
  Second.Count = Box.Count - First.Count;
  if (First.Count == 0 || Second.Count == 0) return false;

  std::fill(&First.Marginal[0][0], &First.Marginal[0][0] + 3 * StdQuantizerBins, 0u);
  for (Integer R = First.Lo[0]; R < First.Hi[0]; ++R)
    for (Integer G = First.Lo[1]; G < First.Hi[1]; ++G)
      for (Integer B = First.Lo[2]; B < First.Hi[2]; ++B) {
        const Cardinal K = S.Histogram[(R * StdQuantizerBins + G) * StdQuantizerBins + B];
        if (K == 0) continue;
        First.Marginal[0][R] += K;
        First.Marginal[1][G] += K;
        First.Marginal[2][B] += K;
        Second.Marginal[0][R] -= K;
        Second.Marginal[1][G] -= K;
        Second.Marginal[2][B] -= K;
      }
  ShrinkToOccupiedBins(First);
  ShrinkToOccupiedBins(Second);
  StdQuantizerBoxStatistics(S, First);
  StdQuantizerBoxStatistics(S, Second);
  return true;
}

bool StdQuantizerSplitBox(TStdQuantizerState& S, Integer BoxIndex, Integer NewSlot) {
  TStdQuantizerBox& Box = S.Boxes[BoxIndex];
  if (Box.Variance == 0 || Box.Count == 0) {
    Box.Variance = 0;
    return false;
  }
  TStdQuantizerBox Firsts[3];
  TStdQuantizerBox Seconds[3];
  Integer BestAxis = -1;
  Double BestScore = UnsplittableScore;
  for (Integer Axis = 0; Axis < 3; ++Axis) {
    if (!StdQuantizerSplitAxis(S, Box, Axis, Firsts[Axis], Seconds[Axis])) continue;
    const Double Score = Firsts[Axis].Variance + Seconds[Axis].Variance;
    if (BestAxis < 0 || Score < BestScore) {
      BestAxis = Axis;
      BestScore = Score;
    }
  }
  if (BestAxis < 0) {
    Box.Variance = 0;
    return false;
  }
  Box = Firsts[BestAxis];
  S.Boxes[NewSlot] = Seconds[BestAxis];
  return true;
}

void StdQuantizerSplitBoxes(TStdQuantizerState& S) {
  TStdQuantizerBox& Whole = S.Boxes[0];
  for (Integer Axis = 0; Axis < 3; ++Axis) {
    Whole.Lo[Axis] = 0;
    Whole.Hi[Axis] = StdQuantizerBins;
  }
  Whole.Count = S.PixelCount;
  StdQuantizerBoxStatistics(S, Whole);
  Integer N = 1;
  while (N < S.MaxColors) {
    Integer Worst = -1;
    for (Integer I = 0; I < N; ++I)
      if (S.Boxes[I].Variance > 0 && (Worst < 0 || S.Boxes[I].Variance > S.Boxes[Worst].Variance)) Worst = I;
    if (Worst < 0) break;
    if (StdQuantizerSplitBox(S, Worst, N)) ++N;
  }
  S.BoxCount = N;
}

void StdQuantizerBuildIndexTable(TStdQuantizerState& S) {
  for (Integer I = 0; I < S.BoxCount; ++I) {
    const TStdQuantizerBox& Box = S.Boxes[I];
    for (Integer R = Box.Lo[0]; R < Box.Hi[0]; ++R)
      for (Integer G = Box.Lo[1]; G < Box.Hi[1]; ++G)
        for (Integer B = Box.Lo[2]; B < Box.Hi[2]; ++B)
          S.IndexTable[(R * StdQuantizerBins + G) * StdQuantizerBins + B] = static_cast<Byte>(I);
  }
}

// Rounded on the bin mean, before scaling: every component is a multiple of 8, at most 248.
Byte PaletteComponent(Double MeanBin) {
  return static_cast<Byte>(Round(MeanBin) * 8);
}

}  // namespace

std::unique_ptr<TStdQuantizerState> StdQuantizerCreate(TObject* Bitmap, std::span<TIERGBTriple> Palette,
                                                       Integer MaxColors) {
  auto S = std::make_unique<TStdQuantizerState>();
  S->Bitmap = Bitmap;
  if (auto* IEBitmap = dynamic_cast<TIEBitmap*>(Bitmap)) {
    S->Width = IEBitmap->GetWidth();
    S->Height = IEBitmap->GetHeight();
  } else if (auto* Platform = dynamic_cast<TBitmap*>(Bitmap)) {
    S->Width = Platform->GetWidth();
    S->Height = Platform->GetHeight();
  }
  S->Width = std::max(S->Width, 0);
  S->Height = std::max(S->Height, 0);
  S->PixelCount = static_cast<Cardinal>(S->Width) * static_cast<Cardinal>(S->Height);
  S->MaxColors = std::min(MaxColors, StdQuantizerMaxBoxes);
  StdQuantizerAllocate(*S);
  StdQuantizerBuildHistogram(*S);
  StdQuantizerSplitBoxes(*S);
  const Integer Entries = std::min<Integer>(S->BoxCount, static_cast<Integer>(Palette.size()));
  for (Integer I = 0; I < Entries; ++I) {
    const TStdQuantizerBox& Box = S->Boxes[I];
    Palette[I] = {PaletteComponent(Box.Mean[2]), PaletteComponent(Box.Mean[1]),
                  PaletteComponent(Box.Mean[0])};
  }
  StdQuantizerBuildIndexTable(*S);
  return S;
}

void StdQuantizerFree(std::unique_ptr<TStdQuantizerState>& State) {
  State.reset();
}
