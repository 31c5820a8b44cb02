#include "imaging/core/ieneuquant.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "imaging/core/iebitmap.h"
#include "platform/system/Math.h"

namespace {

constexpr Integer NetBiasShift = 4;  // colours are held in 1/16 units while learning
constexpr Integer IntBiasShift = 16;
constexpr Integer IntBias = 1 << IntBiasShift;
constexpr Integer GammaShift = 10;
constexpr Integer BetaShift = 10;
constexpr Integer Beta = IntBias >> BetaShift;
constexpr Integer BetaGamma = IntBias << (GammaShift - BetaShift);
constexpr Integer RadiusBiasShift = 6;
constexpr Integer RadiusDec = 30;
constexpr Integer AlphaBiasShift = 10;
constexpr Integer InitAlpha = 1 << AlphaBiasShift;
constexpr Integer RadBias = 256;
constexpr Integer AlphaRadBias = 1 << 18;

Integer RadiusFromBiased(Integer Radius) {
  return Radius >= 128 ? Radius >> RadiusBiasShift : 0;
}

void FillRadPower(TNeuQuantState& S, Integer Alpha, Integer Rad) {
  const Int64 RadSquared = static_cast<Int64>(Rad) * Rad;
  for (Integer M = 0; M < Rad && M < static_cast<Integer>(S.RadPower.size()); ++M)
    S.RadPower[M] =
        static_cast<Integer>(Alpha * (((RadSquared - static_cast<Int64>(M) * M) * RadBias) / RadSquared));
}

// The neuron nearest to (B, G, R) moves most; returns the winner of the biased contest.
Integer Contest(TNeuQuantState& S, Integer B, Integer G, Integer R) {
  Integer BestD = INT_MAX;
  Integer BestBiasD = INT_MAX;
  Integer BestPos = -1;
  Integer BestBiasPos = -1;
  for (Integer I = 0; I < S.NetSize; ++I) {
    const auto& N = S.Network[I];
    const Integer Dist = std::abs(N[0] - B) + std::abs(N[1] - G) + std::abs(N[2] - R);
    if (Dist < BestD) {
      BestD = Dist;
      BestPos = I;
    }
    // The bias is shifted as an unsigned value (a logical shift), as the quantizer always has.
    const Integer BiasDist =
        Dist - static_cast<Integer>(static_cast<Cardinal>(S.Bias[I]) >> (IntBiasShift - NetBiasShift));
    if (BiasDist < BestBiasD) {
      BestBiasD = BiasDist;
      BestBiasPos = I;
    }
    const Integer BetaFreq = S.Freq[I] >> BetaShift;
    S.Freq[I] -= BetaFreq;
    S.Bias[I] += BetaFreq << GammaShift;
  }
  S.Freq[BestPos] += Beta;
  S.Bias[BestPos] -= BetaGamma;
  return BestBiasPos;
}

void MoveToward(std::array<Integer, 4>& N, Integer B, Integer G, Integer R, Int64 Amount, Int64 Scale) {
  N[0] -= static_cast<Integer>((N[0] - B) * Amount / Scale);
  N[1] -= static_cast<Integer>((N[1] - G) * Amount / Scale);
  N[2] -= static_cast<Integer>((N[2] - R) * Amount / Scale);
}

void MoveNeighbours(TNeuQuantState& S, Integer Rad, Integer I, Integer B, Integer G, Integer R) {
  const Integer Lo = std::max(I - Rad, -1);
  const Integer Hi = std::min(I + Rad, S.NetSize);
  Integer J = I + 1;
  Integer K = I - 1;
  Integer M = 1;
  while (J < Hi || K > Lo) {
    const Integer A = S.RadPower[M++];
    if (J < Hi) MoveToward(S.Network[J++], B, G, R, A, AlphaRadBias);
    if (K > Lo) MoveToward(S.Network[K--], B, G, R, A, AlphaRadBias);
  }
}

void Learn(TNeuQuantState& S) {
  S.AlphaDec = 30 + (S.SampleFac - 1) / 3;
  const Int64 SamplePixels = S.LengthCount / (3 * S.SampleFac);
  const Int64 Delta = std::max<Int64>(SamplePixels / 100, 1);
  Integer Alpha = InitAlpha;
  Integer Radius = S.InitRadius;
  Integer Rad = RadiusFromBiased(Radius);
  FillRadPower(S, Alpha, Rad);

  Int64 Step = 503;
  for (const Int64 Prime : {499, 491, 487})
    if (S.LengthCount % Prime != 0) {
      Step = Prime;
      break;
    }
  const Int64 Pixels = static_cast<Int64>(S.Width) * S.Height;
  Int64 P = 0;
  // Several samples in a row fall in the same row; a file-backed picture maps it once for them.
  Integer CurrentRow = -1;
  const Byte* RowPixels = nullptr;
  for (Int64 I = 1; I <= SamplePixels; ++I) {
    const auto Row = static_cast<Integer>((P / S.Width) % S.Height);
    if (Row != CurrentRow) {
      CurrentRow = Row;
      RowPixels = static_cast<const Byte*>(S.Bitmap->GetScanline(Row));
    }
    const Byte* Pixel = RowPixels + (P % S.Width) * 3;
    const Integer B = Pixel[0] << NetBiasShift;
    const Integer G = Pixel[1] << NetBiasShift;
    const Integer R = Pixel[2] << NetBiasShift;
    const Integer Winner = Contest(S, B, G, R);
    MoveToward(S.Network[Winner], B, G, R, Alpha, InitAlpha);
    if (Rad != 0) MoveNeighbours(S, Rad, Winner, B, G, R);
    P += Step;
    if (P >= Pixels) P -= Pixels;
    if (I % Delta == 0) {
      Alpha -= Alpha / S.AlphaDec;
      Radius -= Radius / RadiusDec;
      Rad = RadiusFromBiased(Radius);
      FillRadPower(S, Alpha, Rad);
    }
  }
}

void Unbias(TNeuQuantState& S) {
  for (Integer I = 0; I < S.NetSize; ++I) {
    auto& N = S.Network[I];
    for (Integer C = 0; C < 3; ++C)
      N[C] = std::clamp((N[C] + (1 << (NetBiasShift - 1))) >> NetBiasShift, 0, 255);
    N[3] = I;
  }
}

// Sorts the neurons by green and points NetIndex[g] at where a search for green g starts.
void BuildIndex(TNeuQuantState& S) {
  Integer PreviousColour = 0;
  Integer StartPos = 0;
  for (Integer I = 0; I < S.NetSize; ++I) {
    Integer SmallPos = I;
    for (Integer J = I + 1; J < S.NetSize; ++J)
      if (S.Network[J][1] < S.Network[SmallPos][1]) SmallPos = J;
    std::swap(S.Network[I], S.Network[SmallPos]);
    const Integer SmallVal = S.Network[I][1];
    if (SmallVal != PreviousColour) {
      S.NetIndex[PreviousColour] = (StartPos + I) >> 1;
      for (Integer J = PreviousColour + 1; J < SmallVal; ++J) S.NetIndex[J] = I;
      PreviousColour = SmallVal;
      StartPos = I;
    }
  }
  S.NetIndex[PreviousColour] = (StartPos + S.MaxNetPos) >> 1;
  for (Integer J = PreviousColour + 1; J < 256; ++J) S.NetIndex[J] = S.MaxNetPos;
}

}  // namespace

Integer NeuQuantSamplingFactor(Int64 PixelCount, Integer Quality) {
  if (Quality >= 0) return static_cast<Integer>(Trunc((100 - Quality) / 100.0 * 29)) + 1;
  if (PixelCount < 2000) return 1;
  const Int64 Factor = Round((static_cast<Extended>(PixelCount) * 13 - 26000) / 148000 + 2);
  return static_cast<Integer>(std::clamp<Int64>(Factor, 1, 30));
}

std::unique_ptr<TNeuQuantState> NeuQuantBuild(TIEBitmap* Bitmap, std::span<TIERGBTriple> Palette,
                                              Integer ColorCount, Integer Quality) {
  auto S = std::make_unique<TNeuQuantState>();
  const Integer N = std::clamp(ColorCount, 1, 256);
  S->NetSize = N;
  S->MaxNetPos = N - 1;
  S->InitRad = N / 8;
  S->InitRadius = S->InitRad << RadiusBiasShift;
  S->Bitmap = Bitmap;
  S->Width = Bitmap->GetWidth();
  S->Height = Bitmap->GetHeight();
  S->LengthCount = static_cast<Int64>(S->Width) * S->Height * 3;
  S->SampleFac = NeuQuantSamplingFactor(static_cast<Int64>(S->Width) * S->Height, Quality);
  S->Network.resize(N);
  S->Bias.assign(N, 0);
  S->Freq.assign(N, IntBias / N);
  S->RadPower.assign(S->InitRad, 0);
  for (Integer I = 0; I < N; ++I) {
    const Integer V = (I << (NetBiasShift + 8)) / N;
    S->Network[I] = {V, V, V, I};
  }
  if (S->LengthCount > 0) Learn(*S);
  Unbias(*S);
  const Integer Entries = std::min<Integer>(N, static_cast<Integer>(Palette.size()));
  for (Integer I = 0; I < Entries; ++I) {
    const auto& Neuron = S->Network[I];
    Palette[I] = {static_cast<Byte>(Neuron[0]), static_cast<Byte>(Neuron[1]), static_cast<Byte>(Neuron[2])};
  }
  BuildIndex(*S);
  return S;
}

Integer NeuQuantColorIndex(const TNeuQuantState& S, Integer Color) {
  const Integer B = Color & 0xFF;
  const Integer G = (Color >> 8) & 0xFF;
  const Integer R = (Color >> 16) & 0xFF;
  Integer BestD = 1000;
  Integer Best = -1;
  // Walks up and down the green-sorted neurons from the index; a direction stops at the first
  // neuron whose green distance alone is no better than the best so far.
  auto Visit = [&](const std::array<Integer, 4>& P) {
    const Integer GreenDist = std::abs(P[1] - G);
    if (GreenDist >= BestD) return false;
    Integer Dist = GreenDist + std::abs(P[0] - B);
    if (Dist < BestD) {
      Dist += std::abs(P[2] - R);
      if (Dist < BestD) {
        BestD = Dist;
        Best = P[3];
      }
    }
    return true;
  };
  Integer I = S.NetIndex[G];
  Integer J = I - 1;
  while (I < S.NetSize || J >= 0) {
    if (I < S.NetSize) I = Visit(S.Network[I]) ? I + 1 : S.NetSize;
    if (J >= 0) J = Visit(S.Network[J]) ? J - 1 : -1;
  }
  return Best;
}

void NeuQuantFree(std::unique_ptr<TNeuQuantState>& State) {
  State.reset();
}
