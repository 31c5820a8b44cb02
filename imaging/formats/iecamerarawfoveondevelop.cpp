// Development of three-layer (Foveon) sensor data, which has no mosaic: a non-linear colour
// transform per cell, sharpening, impulse clipping, chroma smoothing, the output matrix and a
// low-frequency correction. Shifts of negative numbers round toward zero throughout.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "imaging/formats/iecameraraw.h"

namespace {

Int64 RawShiftRightSigned(Int64 Value, Integer Bits) {
  return Value < 0 ? -((-Value) >> Bits) : Value >> Bits;
}

// An odd, monotonic curve of N entries after a leading 0: identity for small inputs, half the
// slope above Knee. Built once per table.
template <Integer N>
constexpr std::array<Integer, N + 1> SoftLimitCurve(Integer Knee) {
  std::array<Integer, N + 1> Curve{};
  for (Integer I = 1; I <= N; ++I) Curve[I] = I <= Knee ? I : Knee + (I - Knee) / 2;
  return Curve;
}
// A coring curve: small inputs shrink toward 0, the last entry equals N.
template <Integer N>
constexpr std::array<Integer, N + 1> CoringCurve() {
  std::array<Integer, N + 1> Curve{};
  for (Integer I = 1; I <= N; ++I) Curve[I] = I * I / N;
  return Curve;
}

constexpr auto ChromaCurveA = SoftLimitCurve<72>(32);
constexpr auto ChromaCurveB = CoringCurve<20>();
constexpr auto LowCurve0 = SoftLimitCurve<72>(36);
constexpr auto LowCurve1 = SoftLimitCurve<36>(18);
constexpr auto LowCurve2 = SoftLimitCurve<110>(55);

template <std::size_t Size>
Integer RawApplyCurve(Integer I, const std::array<Integer, Size>& Curve) {
  constexpr Integer N = static_cast<Integer>(Size) - 1;
  if (I <= -N) return -Curve[N] - 1;
  if (I < 0) return -Curve[-I];
  if (I < N) return Curve[I];
  return Curve[N] + 1;
}

struct TPlane {
  Integer Height, Width;
  Word (*Image)[4];
  Word* At(Integer Row, Integer Col) const { return Image[static_cast<std::size_t>(Row) * Width + Col]; }
};

void ColourTransform(const TPlane& P) {
  static constexpr Integer Weight[3][3][3] = {
      {{4141, 37726, 11265}, {-30437, 16066, -41102}, {326, -413, 362}},
      {{1770, -1316, 3480}, {-2139, 213, -4998}, {-2381, 3496, -2008}},
      {{-3838, -24025, -12968}, {20144, -12195, 30272}, {-631, -2025, 822}}};
  static constexpr double Mul[3] = {1.0321, 1.0, 1.1124};
  for (Integer Row = 0; Row < P.Height; ++Row) {
    Word Previous[3];
    std::copy(P.At(Row, 0), P.At(Row, 0) + 3, Previous);
    for (Integer Col = 0; Col < P.Width; ++Col) {
      Word* Pixel = P.At(Row, Col);
      Int64 IPix[3];
      for (Integer C = 0; C < 3; ++C) {
        const Int64 Diff = Int64(Pixel[C]) - Previous[C];
        IPix[C] = Pixel[C] + RawShiftRightSigned((Diff + Diff * Diff / 16384) * 13107, 14);
        Previous[C] = Pixel[C];
      }
      Int64 Work[3][3];
      for (Integer C = 0; C < 3; ++C) {
        Work[0][C] = RawShiftRightSigned(IPix[C] * IPix[C], 14);
        Work[2][C] = RawShiftRightSigned(IPix[C] * Work[0][C], 14);
        Work[1][2 - C] = RawShiftRightSigned(IPix[(C + 1) % 3] * IPix[(C + 2) % 3], 14);
      }
      for (Integer C = 0; C < 3; ++C) {
        Int64 Sum = 0;
        for (Integer I = 0; I < 3; ++I)
          for (Integer J = 0; J < 3; ++J) Sum += Weight[C][I][J] * Work[I][J];
        const double Value = std::nearbyint(double(RawShiftRightSigned(Sum, 14) + IPix[C]) * Mul[C]);
        Pixel[C] = static_cast<Word>(std::clamp(Value, 0.0, 32000.0));
      }
    }
  }
}

Integer Binomial5(Integer A, Integer B, Integer C, Integer D, Integer E) {
  return (A + 4 * B + 6 * C + 4 * D + E + 8) >> 4;
}

// Unsharp masking of channel 0 against a 5 x 5 binomial blur of its values before the step.
void Sharpen(const TPlane& P) {
  std::vector<Integer> Across(static_cast<std::size_t>(P.Height) * P.Width);
  auto H = [&](Integer Row, Integer Col) -> Integer& {
    return Across[static_cast<std::size_t>(Row) * P.Width + Col];
  };
  for (Integer Row = 0; Row < P.Height; ++Row)
    for (Integer Col = 2; Col < P.Width - 2; ++Col)
      H(Row, Col) = Binomial5(P.At(Row, Col - 2)[0], P.At(Row, Col - 1)[0], P.At(Row, Col)[0],
                              P.At(Row, Col + 1)[0], P.At(Row, Col + 2)[0]);
  for (Integer Row = 2; Row < P.Height - 2; ++Row) {
    Integer Last = 0;
    for (Integer Col = 2; Col < P.Width - 2; ++Col) {
      const Integer S =
          Binomial5(H(Row - 2, Col), H(Row - 1, Col), H(Row, Col), H(Row + 1, Col), H(Row + 2, Col));
      if (Col == 2) Last = S;
      const Integer T = (7 * S + Last) >> 3;
      Word& Value = P.At(Row, Col)[0];
      Value = static_cast<Word>(std::clamp<Int64>(Value + RawShiftRightSigned(Value - T, 2), 0, 10000));
      Last = S;
    }
  }
}

// Each channel is held within the range of its eight neighbours.
void ClipImpulses(const TPlane& P) {
  for (Integer Row = 1; Row < P.Height - 1; ++Row) {
    Word Left[3];
    std::copy(P.At(Row, 0), P.At(Row, 0) + 3, Left);
    for (Integer Col = 1; Col < P.Width - 1; ++Col) {
      Word* Pixel = P.At(Row, Col);
      const Word Before[3] = {Pixel[0], Pixel[1], Pixel[2]};
      for (Integer C = 0; C < 3; ++C) {
        Integer Low = Left[C], High = Left[C];
        for (Integer Y = -1; Y <= 1; ++Y)
          for (Integer X = -1; X <= 1; ++X) {
            if ((Y == 0 && X == 0) || (Y == 0 && X == -1)) continue;
            const Integer V = P.At(Row + Y, Col + X)[C];
            Low = std::min(Low, V);
            High = std::max(High, V);
          }
        Pixel[C] = static_cast<Word>(std::clamp<Integer>(Pixel[C], Low, High));
      }
      std::copy(Before, Before + 3, Left);
    }
  }
}

void SmoothChroma(const TPlane& P) {
  const std::vector<Word> Before(&P.Image[0][0],
                                 &P.Image[0][0] + static_cast<std::size_t>(P.Height) * P.Width * 4);
  auto Old = [&](Integer Row, Integer Col, Integer C) {
    return Integer(Before[(static_cast<std::size_t>(Row) * P.Width + Col) * 4 + C]);
  };
  for (Integer Row = 2; Row < P.Height - 2; ++Row)
    for (Integer Col = 2; Col < P.Width - 2; ++Col) {
      Int64 Sum[3] = {};
      for (Integer Y = -2; Y <= 2; ++Y)
        for (Integer X = -2; X <= 2; ++X)
          for (Integer C = 0; C < 3; ++C) Sum[C] += Old(Row + Y, Col + X, C);
      Word* Pixel = P.At(Row, Col);
      const Int64 Total = 1500 + Sum[0] + Sum[1] + Sum[2];
      const Int64 PSum = 60 + Int64(Pixel[0]) + Pixel[1] + Pixel[2];
      const Int64 Ratio = PSum * 65536 / Total;
      Integer A[3];
      for (Integer C = 0; C < 3; ++C) {
        const Integer V = static_cast<Integer>(RawShiftRightSigned(Ratio * Sum[C], 16));
        A[C] = Pixel[C] + RawApplyCurve(V - Pixel[C], ChromaCurveA) - (C == 1) - 13;
        A[C] -= RawApplyCurve(A[C], ChromaCurveB);
      }
      const Integer H = static_cast<Integer>(RawShiftRightSigned(A[0] + 2 * A[1] + A[2], 2));
      for (Integer C = 0; C < 3; ++C)
        Pixel[C] = static_cast<Word>(std::clamp(A[C] - RawApplyCurve(A[C] - H, ChromaCurveB), 0, 0xFFFF));
    }
}

void OutputMatrix(const TPlane& P) {
  static constexpr Integer M[3][3] = {{7576, -2933, 1279}, {-11594, 29911, -12394}, {4000, -18850, 20772}};
  for (Integer Row = 0; Row < P.Height; ++Row)
    for (Integer Col = 0; Col < P.Width; ++Col) {
      Word* Pixel = P.At(Row, Col);
      Int64 Rgb[3];
      for (Integer I = 0; I < 3; ++I)
        Rgb[I] = RawShiftRightSigned(
            Int64(M[I][0]) * Pixel[0] + Int64(M[I][1]) * Pixel[1] + Int64(M[I][2]) * Pixel[2] + 4096, 13);
      for (Integer I = 0; I < 3; ++I) Pixel[I] = static_cast<Word>(std::clamp<Int64>(Rgb[I], 0, 24000));
    }
}

// Recursive smoothing weights: new = (value x 1485 + previous x 6707) >> 13.
Int64 Recursive(Int64 Value, Int64 Previous) {
  return RawShiftRightSigned(Value * 1485 + Previous * 6707, 13);
}

void CorrectLowFrequencies(const TPlane& P) {
  const Integer BlockRows = (P.Height + 3) / 4, BlockCols = (P.Width + 3) / 4;
  using TTriple = std::array<Int64, 3>;
  std::vector<TTriple> Blocks(static_cast<std::size_t>(BlockRows) * BlockCols);
  auto Block = [&](Integer BR, Integer BC) -> TTriple& {
    return Blocks[static_cast<std::size_t>(BR) * BlockCols + BC];
  };
  for (Integer Row = 0; Row < P.Height; ++Row)
    for (Integer Col = 0; Col < P.Width; ++Col)
      for (Integer C = 0; C < 3; ++C) Block(Row / 4, Col / 4)[C] += P.At(Row, Col)[C];
  // Block rows are smoothed from the bottom up.
  for (Integer BC = 0; BC < BlockCols; ++BC)
    for (Integer BR = BlockRows - 1; BR >= 0; --BR)
      for (Integer C = 0; C < 3; ++C) {
        TTriple& B = Block(BR, BC);
        B[C] = BR == BlockRows - 1 ? B[C] >> 4 : (Block(BR + 1, BC)[C] * 1840 + B[C] * 141) >> 12;
      }
  std::vector<TTriple> Smooth(BlockCols), Line(BlockCols);
  for (Integer Row = 0; Row < P.Height; ++Row) {
    if (Row % 4 == 0) {
      for (Integer BC = 0; BC < BlockCols; ++BC) Line[BC] = Block(Row / 4, BC);
      for (Integer C = 0; C < 3; ++C) {
        for (Integer BC = BlockCols - 2; BC >= 0; --BC) Line[BC][C] = Recursive(Line[BC][C], Line[BC + 1][C]);
        for (Integer BC = 1; BC < BlockCols; ++BC) Line[BC][C] = Recursive(Line[BC][C], Line[BC - 1][C]);
        for (Integer BC = 0; BC < BlockCols; ++BC)
          Smooth[BC][C] = Row == 0 ? Line[BC][C] : Recursive(Line[BC][C], Smooth[BC][C]);
      }
    }
    for (Integer Col = 0; Col < P.Width; ++Col) {
      Word* Pixel = P.At(Row, Col);
      const TTriple& S = Smooth[Col / 4];
      const Int64 Ratio =
          ((60 + Int64(Pixel[0]) + Pixel[1] + Pixel[2]) << 16) / std::max<Int64>(60 + S[0] + S[1] + S[2], 1);
      Integer A[3];
      for (Integer J = 0; J < 3; ++J) {
        const Integer Diff = static_cast<Integer>(RawShiftRightSigned(Ratio * S[J], 16) - Pixel[J]);
        A[J] = J == 0   ? RawApplyCurve(Diff, LowCurve0)
               : J == 1 ? RawApplyCurve(Diff, LowCurve1)
                        : RawApplyCurve(Diff, LowCurve2);
      }
      const Integer H = static_cast<Integer>(RawShiftRightSigned(A[0] + A[1] + A[2], 3));
      for (Integer J = 0; J < 3; ++J)
        Pixel[J] = static_cast<Word>(std::clamp(Pixel[J] + A[J] - H, 0, 0xFFFF));
    }
  }
}

}  // namespace

void RawFoveonInterpolate(TCameraRawContext& Context) {
  const TPlane P{Context.ImageHeight, Context.ImageWidth, Context.Image};
  if (P.Height <= 0 || P.Width <= 0) return;
  ColourTransform(P);
  Sharpen(P);
  ClipImpulses(P);
  SmoothChroma(P);
  OutputMatrix(P);
  CorrectLowFrequencies(P);
}
