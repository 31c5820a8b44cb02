#include "platform/gdi/StretchFilters.h"

#include <algorithm>

namespace {

// Source ranges of BLACKONWHITE/WHITEONBLACK along one axis, clamped to [0, Limit).
void BuildRanges(Integer DstCount, Integer SrcStart, Integer SrcCount, bool Flip, Integer Limit,
                 Integer First, Integer Count, std::vector<Integer>& Lo, std::vector<Integer>& Hi) {
  std::vector<Integer> M(static_cast<std::size_t>(Count) + 1);
  StretchMap(DstCount, 0, SrcCount, false, First, Count + 1, M.data());
  Lo.resize(static_cast<std::size_t>(Count));
  Hi.resize(static_cast<std::size_t>(Count));
  for (Integer K = 0; K < Count; ++K) {
    Integer A = M[K], B = std::max(M[K] + 1, M[K + 1]);
    if (Flip) {
      const Integer T = SrcCount - B;
      B = SrcCount - A;
      A = T;
    }
    Lo[K] = std::max(0, SrcStart + A);
    Hi[K] = std::min(Limit, SrcStart + B);
  }
}

template <bool And>
void CombineInto(DWORD* Acc, const DWORD* Line, Integer Span0, const Integer* X0, const Integer* X1,
                 Integer N) {
  for (Integer K = 0; K < N; ++K) {
    DWORD V = And ? ~0u : 0u;
    for (Integer C = X0[K]; C < X1[K]; ++C) V = And ? (V & Line[C - Span0]) : (V | Line[C - Span0]);
    Acc[K] = And ? (Acc[K] & V) : (Acc[K] | V);
  }
}

// One filtered row: per destination column, the weighted sums of the channels of its source
// pixels, read as bytes (blue, green, red, alpha) at Offsets from Line. Every column has Count
// contributors (padded with zero weights), a constant the compiler unrolls for small counts.
template <Integer Channels, Integer FixedCount>
void FilterLine(const Byte* Line, const NativeInt* Offsets, const Word* Weights, Integer Count, Integer N,
                DWORD* __restrict H) {
  if constexpr (FixedCount > 0) Count = FixedCount;
  for (Integer K = 0; K < N; ++K, H += Channels) {
    DWORD B = 0, G = 0, R = 0, A = 0;
    for (Integer T = 0; T < Count; ++T) {
      const Byte* P = Line + Offsets[T];
      const DWORD W = Weights[T];
      B += W * P[0];
      G += W * P[1];
      R += W * P[2];
      if constexpr (Channels == 4) A += W * P[3];
    }
    Offsets += Count;
    Weights += Count;
    H[0] = B, H[1] = G, H[2] = R;
    if constexpr (Channels == 4) H[3] = A;
  }
}

template <Integer Channels>
void FilterLineAny(const Byte* Line, const NativeInt* Offsets, const Word* Weights, Integer Count, Integer N,
                   DWORD* H) {
  switch (Count) {
    case 1:
      return FilterLine<Channels, 1>(Line, Offsets, Weights, Count, N, H);
    case 2:
      return FilterLine<Channels, 2>(Line, Offsets, Weights, Count, N, H);
    case 3:
      return FilterLine<Channels, 3>(Line, Offsets, Weights, Count, N, H);
    case 4:
      return FilterLine<Channels, 4>(Line, Offsets, Weights, Count, N, H);
    default:
      return FilterLine<Channels, 0>(Line, Offsets, Weights, Count, N, H);
  }
}

// Acc := Acc + W * H; with First, Acc := 2^23 + W * H (the rounding half of the final shift).
// Blocks of eight let the compiler use vector instructions without a cost model's help.
template <bool First>
void Accumulate(DWORD* __restrict Acc, const DWORD* __restrict H, DWORD W, Integer N) {
  const auto Step = [&](Integer Q) { Acc[Q] = (First ? (1u << 23) : Acc[Q]) + W * H[Q]; };
  Integer Q = 0;
  for (; Q + 8 <= N; Q += 8) {
    Step(Q), Step(Q + 1), Step(Q + 2), Step(Q + 3);
    Step(Q + 4), Step(Q + 5), Step(Q + 6), Step(Q + 7);
  }
  for (; Q < N; ++Q) Step(Q);
}

}  // namespace

TScanCombineRows::TScanCombineRows(const TSurface& S, const TColorSide& SrcSide, const TColorSide& DstSide,
                                   const TStretchGeometry& G, bool And)
    : FS(S), FConv(SrcSide, DstSide), FAnd(And), FMapOrg{G.Vis.Left, G.Vis.Top} {
  BuildRanges(G.DstRect.Width(), G.SrcRect.Left, G.SrcRect.Width(), G.FlipX, S.Width,
              G.Vis.Left - G.DstRect.Left, G.Vis.Width(), FX0, FX1);
  BuildRanges(G.DstRect.Height(), G.SrcRect.Top, G.SrcRect.Height(), G.FlipY, S.Height,
              G.Vis.Top - G.DstRect.Top, G.Vis.Height(), FY0, FY1);
}

void TScanCombineRows::BeginRect(Integer X0, Integer X1) {
  const auto A = FX0.begin() + (X0 - FMapOrg.X), B = FX0.begin() + (X1 - FMapOrg.X);
  FSpan0 = *std::min_element(A, B);
  FSpanN = *std::max_element(FX1.begin() + (X0 - FMapOrg.X), FX1.begin() + (X1 - FMapOrg.X)) - FSpan0;
  FLine.resize(static_cast<std::size_t>(FSpanN));
}

void TScanCombineRows::Row(Integer Y, Integer X0, Integer N, DWORD* Out) {
  const std::size_t J = static_cast<std::size_t>(Y - FMapOrg.Y);
  const Integer* A = FX0.data() + (X0 - FMapOrg.X);
  const Integer* B = FX1.data() + (X0 - FMapOrg.X);
  std::fill_n(Out, N, FAnd ? ~0u : 0u);
  for (Integer R = FY0[J]; R < FY1[J]; ++R) {
    UnpackRow(FS, FS.Row(R), FSpan0, FSpanN, FLine.data());
    if (FAnd)
      CombineInto<true>(Out, FLine.data(), FSpan0, A, B, N);
    else
      CombineInto<false>(Out, FLine.data(), FSpan0, A, B, N);
  }
  FConv.Convert(Out, Out, N);
}

void THalftoneRows::BuildAxis(Integer DstCount, Integer SrcStart, Integer SrcCount, bool Flip, Integer Limit,
                              Integer First, Integer Count, TAxis& A) {
  A.First.resize(static_cast<std::size_t>(Count));
  A.Count.resize(static_cast<std::size_t>(Count));
  A.Src.clear();
  A.Weight.clear();
  A.MaxCount = 0;
  // In units of 1 / DstCount of a source pixel, destination i covers [i * SrcCount, (i + 1) * SrcCount).
  const auto Scaled = [SrcCount](Int64 T) {
    return (T * 8192 + SrcCount) / (2 * static_cast<Int64>(SrcCount));
  };
  for (Integer K = 0; K < Count; ++K) {
    const Int64 Lo = static_cast<Int64>(First + K) * SrcCount, Hi = Lo + SrcCount;
    A.First[static_cast<std::size_t>(K)] = static_cast<Integer>(A.Src.size());
    Int64 Done = 0, Given = 0;
    for (Int64 P = Lo / DstCount; P * DstCount < Hi; ++P) {
      Done += std::min(Hi, (P + 1) * DstCount) - std::max(Lo, P * DstCount);
      const Int64 W = Scaled(Done) - Given;
      if (W == 0) continue;
      Given += W;
      Integer Index = static_cast<Integer>(Flip ? SrcStart + SrcCount - 1 - P : SrcStart + P);
      A.Src.push_back(std::clamp(Index, 0, Limit - 1));
      A.Weight.push_back(static_cast<Word>(W));
    }
    const Integer N = static_cast<Integer>(A.Src.size()) - A.First[static_cast<std::size_t>(K)];
    A.Count[static_cast<std::size_t>(K)] = N;
    A.MaxCount = std::max(A.MaxCount, N);
  }
}

THalftoneRows::THalftoneRows(const TSurface& S, const TColorSide& SrcSide, const TColorSide& DstSide,
                             const TStretchGeometry& G)
    : FS(S),
      FToRgb(SrcSide, TColorSide{&RgbSurface(), false, DstSide.Text, DstSide.Bk}),
      FToDst(TColorSide{&RgbSurface(), false, SrcSide.Text, SrcSide.Bk}, DstSide),
      FChannels(S.Format == TSurfaceFormat::pf32 ? 4 : 3),
      FMapOrg{G.Vis.Left, G.Vis.Top} {
  BuildAxis(G.DstRect.Width(), G.SrcRect.Left, G.SrcRect.Width(), G.FlipX, S.Width,
            G.Vis.Left - G.DstRect.Left, G.Vis.Width(), FX);
  BuildAxis(G.DstRect.Height(), G.SrcRect.Top, G.SrcRect.Height(), G.FlipY, S.Height,
            G.Vis.Top - G.DstRect.Top, G.Vis.Height(), FY);
}

void THalftoneRows::BeginRect(Integer X0, Integer X1) {
  FX0 = X0;
  FN = X1 - X0;
  const Integer I0 = X0 - FMapOrg.X;
  const Integer A = FX.First[static_cast<std::size_t>(I0)];
  const Integer B =
      FX.First[static_cast<std::size_t>(I0 + FN - 1)] + FX.Count[static_cast<std::size_t>(I0 + FN - 1)];
  const auto [Min, Max] = std::minmax_element(FX.Src.begin() + A, FX.Src.begin() + B);
  FSpan0 = *Min;
  FSpanN = *Max - *Min + 1;
  // 24- and 32-bit sources are read in place; the others are converted to a line first.
  FInPlace = FToRgb.Identity() && FS.Bpp >= 24;
  if (!FInPlace) FLine.resize(static_cast<std::size_t>(FSpanN));
  const NativeInt Bytes = FInPlace ? FS.Bpp / 8 : 4;
  const NativeInt Base = FInPlace ? 0 : FSpan0;
  FCount = *std::max_element(FX.Count.begin() + I0, FX.Count.begin() + I0 + FN);
  FOffsets.assign(static_cast<std::size_t>(FN) * FCount, 0);
  FWeights.assign(FOffsets.size(), 0);
  for (Integer K = 0; K < FN; ++K) {
    const Integer First = FX.First[static_cast<std::size_t>(I0 + K)];
    const Integer Count = FX.Count[static_cast<std::size_t>(I0 + K)];
    for (Integer T = 0; T < FCount; ++T) {
      // Padding repeats the first contributor with weight 0.
      const std::size_t From = static_cast<std::size_t>(First + (T < Count ? T : 0));
      const std::size_t To = static_cast<std::size_t>(K) * FCount + T;
      FOffsets[To] = (FX.Src[From] - Base) * Bytes;
      FWeights[To] = T < Count ? FX.Weight[From] : 0;
    }
  }
  // Neighbouring destination rows share source rows at their edges: a few filtered rows are kept.
  const std::size_t Slots = static_cast<std::size_t>(std::min(FY.MaxCount + 1, 4));
  FCache.resize(Slots);
  for (auto& Row : FCache) Row.resize(static_cast<std::size_t>(FN) * FChannels);
  FTags.assign(Slots, -1);
  FAcc.resize(static_cast<std::size_t>(FN) * FChannels);
}

const DWORD* THalftoneRows::Filtered(Integer SrcRow) {
  const std::size_t Slot = static_cast<std::size_t>(SrcRow) % FTags.size();
  DWORD* H = FCache[Slot].data();
  if (FTags[Slot] == SrcRow) return H;
  FTags[Slot] = SrcRow;
  const Byte* Line = FS.Row(SrcRow);
  if (!FInPlace) {
    UnpackRow(FS, Line, FSpan0, FSpanN, FLine.data());
    FToRgb.Convert(FLine.data(), FLine.data(), FSpanN);
    Line = reinterpret_cast<const Byte*>(FLine.data());
  }
  if (FChannels == 4)
    FilterLineAny<4>(Line, FOffsets.data(), FWeights.data(), FCount, FN, H);
  else
    FilterLineAny<3>(Line, FOffsets.data(), FWeights.data(), FCount, FN, H);
  return H;
}

void THalftoneRows::Row(Integer Y, Integer X0, Integer N, DWORD* Out) {
  assert(X0 == FX0 && N == FN);
  (void)X0;
  const std::size_t J = static_cast<std::size_t>(Y - FMapOrg.Y);
  const Integer Total = N * FChannels;
  DWORD* Acc = FAcc.data();
  const Integer First = FY.First[J];
  for (Integer T = First; T < First + FY.Count[J]; ++T) {
    const DWORD* H = Filtered(FY.Src[static_cast<std::size_t>(T)]);
    const DWORD W = FY.Weight[static_cast<std::size_t>(T)];
    if (T == First)
      Accumulate<true>(Acc, H, W, Total);
    else
      Accumulate<false>(Acc, H, W, Total);
  }
  if (FChannels == 4) {
    for (Integer K = 0; K < N; ++K, Acc += 4)
      Out[K] = (Acc[0] >> 24) | ((Acc[1] >> 24) << 8) | ((Acc[2] >> 24) << 16) | ((Acc[3] >> 24) << 24);
  } else {
    for (Integer K = 0; K < N; ++K, Acc += 3)
      Out[K] = (Acc[0] >> 24) | ((Acc[1] >> 24) << 8) | ((Acc[2] >> 24) << 16);
  }
  FToDst.Convert(Out, Out, N);
}
