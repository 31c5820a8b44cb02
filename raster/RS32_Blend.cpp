#include "raster/RS32_Blend.h"

#include <cstring>

#include "raster/RS32_System.h"

Byte AlphaProductTable[256][256];
Byte AlphaDivisionTable[256][256];
bool MmxActive = false;

namespace {
constexpr TColor32 LowPair = 0x00FF00FF;   // blue and red
constexpr TColor32 HighPair = 0xFF00FF00;  // green and alpha
constexpr TColor32 PairBias = 0x00800080;

// (c * W + 128) shr 8 for all four channels, two per multiplication. No lane overflows: each
// product plus bias stays below 65536.
inline TColor32 ScaleRounded(TColor32 C, TColor32 W) {
  return ((((C & LowPair) * W + PairBias) >> 8) & LowPair) +
         ((((C >> 8) & LowPair) * W + PairBias) & HighPair);
}

// Plain: each half rounded on its own; the two halves of a channel never sum above 255.
inline TColor32 MixPlain(TColor32 X, TColor32 Y, TColor32 W) {
  return ScaleRounded(X, W) + ScaleRounded(Y, 255 - W);
}

// Multimedia: (Xc * W + Yc * (256 - W) + 128) shr 8 per channel, rounded once. The lane value
// stays below 65536, so the 16-bit lanes of the wide form never saturate.
inline TColor32 MixWide(TColor32 X, TColor32 Y, TColor32 W) {
  const TColor32 V = 256 - W;
  const TColor32 Lo = (((X & LowPair) * W + (Y & LowPair) * V + PairBias) >> 8) & LowPair;
  const TColor32 Hi = (((X >> 8) & LowPair) * W + ((Y >> 8) & LowPair) * V + PairBias) & HighPair;
  return Lo | Hi;
}

inline TColor32 MasterWeight(TColor32 Fa, TColor32 M) {
  return ((M + 1) * Fa) >> 8;
}
inline TColor32 ClampWeight(TColor32 M) {
  return M > 255 ? 255 : M;
}

// Applies a per-channel function to all four channels.
template <class F>
inline TColor32 PerChannel(TColor32 C1, TColor32 C2, F Fn) {
  TColor32 R = 0;
  for (int Shift = 0; Shift < 32; Shift += 8)
    R |= static_cast<TColor32>(Fn((C1 >> Shift) & 0xFF, (C2 >> Shift) & 0xFF)) << Shift;
  return R;
}
}  // namespace

void BuildAlphaTables() {
  for (Cardinal A = 0; A < 256; ++A)
    for (Cardinal B = 0; B < 256; ++B) {
      // Round(a * b / 255): the remainder is never exactly half of 255.
      AlphaProductTable[A][B] = static_cast<Byte>((A * B * 2 + 255) / 510);
      if (A == 0) {
        AlphaDivisionTable[A][B] = 0;
        continue;
      }
      // Round(b * 255 / a) with halves to even, then kept in a byte.
      const Cardinal N = B * 255;
      Cardinal Q = N / A;
      const Cardinal R2 = (N % A) * 2;
      if (R2 > A || (R2 == A && (Q & 1) != 0)) ++Q;
      AlphaDivisionTable[A][B] = static_cast<Byte>(Q);
    }
}

void ClearMultimediaState() {}

TColor32 MixColorsPlain(TColor32 X, TColor32 Y, TColor32 W) {
  if (W == 0) return Y;
  if (W >= 255) return X;
  return MixPlain(X, Y, W);
}
TColor32 MixColorsMmx(TColor32 X, TColor32 Y, TColor32 W) {
  return MixWide(X, Y, ClampWeight(W));
}

void MixColorIntoPlain(TColor32 F, TColor32& B, TColor32 W) {
  if (W == 0) return;
  B = W >= 255 ? F : MixPlain(F, B, W);
}
void MixColorIntoMmx(TColor32 F, TColor32& B, TColor32 W) {
  if (W == 0) return;
  B = W >= 255 ? F : MixWide(F, B, W);
}

namespace {
template <TColor32 (*Mix)(TColor32, TColor32, TColor32)>
void MixRowWith(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W) {
  if (Count <= 0 || W == 0) return;
  if (W >= 255) {
    std::memmove(Dst, Src, static_cast<std::size_t>(Count) * 4);
    return;
  }
  for (Integer I = 0; I < Count; ++I) Dst[I] = Mix(Src[I], Dst[I], W);
}
}  // namespace

void MixRowPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W) {
  MixRowWith<MixPlain>(Src, Dst, Count, W);
}
void MixRowMmx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W) {
  MixRowWith<MixWide>(Src, Dst, Count, W);
}

TColor32 BlendColorPlain(TColor32 F, TColor32 B) {
  const TColor32 Fa = F >> 24;
  if (Fa == 255) return F;
  if (Fa == 0) return B;
  return MixPlain(F, B, Fa);
}
TColor32 BlendColorMmx(TColor32 F, TColor32 B) {
  return MixWide(F, B, F >> 24);
}

void BlendColorIntoPlain(TColor32 F, TColor32& B) {
  const TColor32 Fa = F >> 24;
  if (Fa == 0) return;
  B = Fa == 255 ? F : MixPlain(F, B, Fa);
}
void BlendColorIntoMmx(TColor32 F, TColor32& B) {
  const TColor32 Fa = F >> 24;
  if (Fa == 0) return;
  B = Fa == 255 ? F : MixWide(F, B, Fa);
}

void BlendRowPlain(const TColor32* Src, TColor32* Dst, Integer Count) {
  for (Integer I = 0; I < Count; ++I) BlendColorIntoPlain(Src[I], Dst[I]);
}
void BlendRowMmx(const TColor32* Src, TColor32* Dst, Integer Count) {
  for (Integer I = 0; I < Count; ++I) BlendColorIntoMmx(Src[I], Dst[I]);
}

// The plain master blend mixes blue, green and red only; the result's alpha is 0.
TColor32 BlendColorMasterPlain(TColor32 F, TColor32 B, TColor32 M) {
  const TColor32 Fa = F >> 24;
  const TColor32 W = MasterWeight(Fa, ClampWeight(M));
  if (Fa == 0 || W == 0) return B;
  return MixPlain(F, B, W) & 0x00FFFFFF;
}
TColor32 BlendColorMasterMmx(TColor32 F, TColor32 B, TColor32 M) {
  const TColor32 W = MasterWeight(F >> 24, ClampWeight(M));
  return W == 0 ? B : MixWide(F, B, W);
}

void BlendColorIntoMasterPlain(TColor32 F, TColor32& B, TColor32 M) {
  B = BlendColorMasterPlain(F, B, M);
}
void BlendColorIntoMasterMmx(TColor32 F, TColor32& B, TColor32 M) {
  B = BlendColorMasterMmx(F, B, M);
}

void BlendRowMasterPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  for (Integer I = 0; I < Count; ++I) BlendColorIntoMasterPlain(Src[I], Dst[I], M);
}
// The row form weighs (Fa + 1) x M, where the single-pixel form weighs (M + 1) x Fa.
void BlendRowMasterMmx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  M = ClampWeight(M);
  for (Integer I = 0; I < Count; ++I) {
    const TColor32 Fa = Src[I] >> 24;
    if (Fa == 0) continue;
    const TColor32 W = ((Fa + 1) * M) >> 8;
    if (W != 0) Dst[I] = MixWide(Src[I], Dst[I], W);
  }
}

TColor32 MergeColorPlain(TColor32 F, TColor32 B) {
  const TColor32 Fa = F >> 24;
  const TColor32 Ba = B >> 24;
  if (Fa == 0) return B;
  if (Ba == 255) return BlendColor(F, B) | 0xFF000000;
  if (Fa == 255 || Ba == 0) return F;
  const TColor32 Ra = (Fa + Ba - AlphaProductTable[Ba][Fa]) & 255;
  TColor32 Result = Ra << 24;
  for (int Shift = 0; Shift < 24; Shift += 8) {
    const TColor32 Fc = (F >> Shift) & 0xFF;
    const TColor32 P = AlphaProductTable[Ba][(B >> Shift) & 0xFF];
    const TColor32 T = Fc >= P ? P + AlphaProductTable[Fa][Fc - P] : P - AlphaProductTable[Fa][P - Fc];
    Result |= static_cast<TColor32>(AlphaDivisionTable[Ra][T & 0xFF]) << Shift;
  }
  return Result;
}
void MergeColorIntoPlain(TColor32 F, TColor32& B) {
  B = MergeColorPlain(F, B);
}
void MergeRowPlain(const TColor32* Src, TColor32* Dst, Integer Count) {
  for (Integer I = 0; I < Count; ++I) Dst[I] = MergeColorPlain(Src[I], Dst[I]);
}

TColor32 MergeColorMasterPlain(TColor32 F, TColor32 B, TColor32 M) {
  const TColor32 Fa = AlphaProductTable[ClampWeight(M)][F >> 24];
  return MergeColorPlain((F & 0x00FFFFFF) | (Fa << 24), B);
}
void MergeColorIntoMasterPlain(TColor32 F, TColor32& B, TColor32 M) {
  B = MergeColorMasterPlain(F, B, M);
}
void MergeRowMasterPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  for (Integer I = 0; I < Count; ++I) Dst[I] = MergeColorMasterPlain(Src[I], Dst[I], M);
}

TColor32 AddColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A + B > 255 ? 255 : A + B; });
}
TColor32 SubtractColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A > B ? A - B : 0; });
}
TColor32 DivideColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) -> TColor32 {
    if (A == 0) return 255;
    const TColor32 Q = (B * 256) / A;
    return Q > 255 ? 255 : Q;
  });
}
TColor32 ModulateColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return (A * B) >> 8; });
}
TColor32 MaxOfColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A > B ? A : B; });
}
TColor32 MinOfColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A < B ? A : B; });
}
TColor32 DifferenceOfColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A > B ? A - B : B - A; });
}
TColor32 AverageOfColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return (A + B) >> 1; });
}
TColor32 AverageOfColorsEmmx(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return (A + B + 1) >> 1; });
}
TColor32 ExclusionOfColorsPlain(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](TColor32 A, TColor32 B) { return A + B - ((A * B) >> 7); });
}
TColor32 ScaleColorPlain(TColor32 C, TColor32 W) {
  return PerChannel(C, 0, [W](TColor32 A, TColor32) {
    const UInt64 V = (static_cast<UInt64>(A) * W) >> 8;
    return static_cast<TColor32>(V > 255 ? 255 : V);
  });
}

TCombineReg MixColors = MixColorsPlain;
TCombineMem MixColorInto = MixColorIntoPlain;
TCombineLine MixRow = MixRowPlain;
TBlendReg BlendColor = BlendColorPlain;
TBlendMem BlendColorInto = BlendColorIntoPlain;
TBlendLine BlendRow = BlendRowPlainSse2;
TBlendRegEx BlendColorMaster = BlendColorMasterPlain;
TBlendMemEx BlendColorIntoMaster = BlendColorIntoMasterPlain;
TBlendLineEx BlendRowMaster = BlendRowMasterPlain;
TBlendReg MergeColor = MergeColorPlain;
TBlendMem MergeColorInto = MergeColorIntoPlain;
TBlendLine MergeRow = MergeRowPlain;
TBlendRegEx MergeColorMaster = MergeColorMasterPlain;
TBlendMemEx MergeColorIntoMaster = MergeColorIntoMasterPlain;
TBlendLineEx MergeRowMaster = MergeRowMasterPlain;

TBlendReg BlendColorByMode[2] = {BlendColorPlain, MergeColorPlain};
TBlendMem BlendColorIntoByMode[2] = {BlendColorIntoPlain, MergeColorIntoPlain};
TBlendRegEx BlendColorMasterByMode[2] = {BlendColorMasterPlain, MergeColorMasterPlain};
TBlendMemEx BlendColorIntoMasterByMode[2] = {BlendColorIntoMasterPlain, MergeColorIntoMasterPlain};
TBlendLine BlendRowByMode[2] = {BlendRowPlainSse2, MergeRowPlain};
TBlendLineEx BlendRowMasterByMode[2] = {BlendRowMasterPlain, MergeRowMasterPlain};

TColorArithmetic AddColors = AddColorsPlain;
TColorArithmetic SubtractColors = SubtractColorsPlain;
TColorArithmetic DivideColors = DivideColorsPlain;
TColorArithmetic ModulateColors = ModulateColorsPlain;
TColorArithmetic MaxOfColors = MaxOfColorsPlain;
TColorArithmetic MinOfColors = MinOfColorsPlain;
TColorArithmetic DifferenceOfColors = DifferenceOfColorsPlain;
TColorArithmetic AverageOfColors = AverageOfColorsPlain;
TColorArithmetic ExclusionOfColors = ExclusionOfColorsPlain;
TColorScale ScaleColor = ScaleColorPlain;

// The multimedia forms of the saturating add and subtract, modulation, difference, exclusion,
// scaling, maximum and minimum deliver exactly the plain results, so the plain routines serve
// for them; only the mixes, blends and the average differ between forms.
void SelectBlendRoutines() {
  MmxActive = CpuHasMmx();
  if (MmxActive) {
    MixColors = MixColorsMmx;
    MixColorInto = MixColorIntoMmx;
    MixRow = MixRowMmx;
    BlendColor = BlendColorMmx;
    BlendColorInto = BlendColorIntoMmx;
    BlendRow = BlendRowMmx;
    BlendColorMaster = BlendColorMasterMmx;
    BlendColorIntoMaster = BlendColorIntoMasterMmx;
    BlendRowMaster = BlendRowMasterMmx;
  } else {
    MixColors = MixColorsPlain;
    MixColorInto = MixColorIntoPlain;
    MixRow = MixRowPlain;
    BlendColor = BlendColorPlain;
    BlendColorInto = BlendColorIntoPlain;
    BlendRow = BlendRowPlainSse2;
    BlendColorMaster = BlendColorMasterPlain;
    BlendColorIntoMaster = BlendColorIntoMasterPlain;
    BlendRowMaster = BlendRowMasterPlain;
  }
  MergeColor = MergeColorPlain;
  MergeColorInto = MergeColorIntoPlain;
  MergeRow = MergeRowPlain;
  MergeColorMaster = MergeColorMasterPlain;
  MergeColorIntoMaster = MergeColorIntoMasterPlain;
  MergeRowMaster = MergeRowMasterPlain;
  DivideColors = DivideColorsPlain;

  BlendColorByMode[cmBlend] = BlendColor;
  BlendColorIntoByMode[cmBlend] = BlendColorInto;
  BlendColorMasterByMode[cmBlend] = BlendColorMaster;
  BlendColorIntoMasterByMode[cmBlend] = BlendColorIntoMaster;
  BlendRowByMode[cmBlend] = BlendRow;
  BlendRowMasterByMode[cmBlend] = BlendRowMaster;
  BlendColorByMode[cmMerge] = MergeColor;
  BlendColorIntoByMode[cmMerge] = MergeColorInto;
  BlendColorMasterByMode[cmMerge] = MergeColorMaster;
  BlendColorIntoMasterByMode[cmMerge] = MergeColorIntoMaster;
  BlendRowByMode[cmMerge] = MergeRow;
  BlendRowMasterByMode[cmMerge] = MergeRowMaster;

  AddColors = AddColorsPlain;
  SubtractColors = SubtractColorsPlain;
  ModulateColors = ModulateColorsPlain;
  DifferenceOfColors = DifferenceOfColorsPlain;
  ExclusionOfColors = ExclusionOfColorsPlain;
  ScaleColor = ScaleColorPlain;

  const bool Extended = CpuHasExtendedMmx();
  MaxOfColors = MaxOfColorsPlain;
  MinOfColors = MinOfColorsPlain;
  AverageOfColors = Extended ? AverageOfColorsEmmx : AverageOfColorsPlain;
}
