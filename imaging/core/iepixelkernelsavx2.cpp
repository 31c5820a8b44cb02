// The pixel kernels for processors with AVX2: four 3-byte pixels are loaded into each 128-bit
// lane and spread to 4-byte lanes by one byte shuffle; the grey level is two multiply-adds and
// an exact multiply-shift division by 100. Tails and unusual grey weights use the plain bodies.
#include "imaging/core/iebwconvert.h"
#include "imaging/core/iepixelkernelbodies.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define IE_AVX2 __attribute__((target("avx2")))

namespace {

// Grey sums below this divide by 100 exactly as (sum x 5243) shr 19.
constexpr Integer ExactDivisionLimit = 43699;
constexpr Integer DivideBy100Multiplier = 5243;
constexpr Integer DivideBy100Shift = 19;
// Pixels per step of the grey kernels; the last load of a step ends at byte 3 x X + 100.
constexpr Integer GreyStep = 32;
constexpr Integer GreyStepNeeds = 34;

// Eight B, G, R pixels to eight B, G, R, 0 lanes: pixels 0-3 in the low lane, 4-7 in the high
// one. Reads 28 bytes.
IE_AVX2 __m256i SpreadPixels(const Byte* Src) {
  const __m256i Bytes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                         0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i Low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src));
  const __m128i High = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + 12));
  return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(Low), High, 1), Bytes);
}

IE_AVX2 void Avx2Rgb24To32(const Byte* Src, Byte* Dest, Integer Width) {
  const __m256i Alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  Integer X = 0;
  // 28 bytes are read from pixel X: they must lie inside the row.
  for (; X + 10 <= Width; X += 8)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dest + 4 * X),
                        _mm256_or_si256(SpreadPixels(Src + 3 * X), Alpha));
  IEKernelBodies::Rgb24To32(Src + 3 * X, Dest + 4 * X, Width - X);
}

// The multiply-add takes the weights as signed bytes and saturates its 16-bit pair sums.
bool WeightsFitMultiplyAdd(const TIEGray8& Gray) {
  const bool Bytes =
      Gray.WR >= 0 && Gray.WG >= 0 && Gray.WB >= 0 && Gray.WR <= 127 && Gray.WG <= 127 && Gray.WB <= 127;
  return Bytes && 255 * (Gray.WB + Gray.WG) <= 32767 &&
         255 * (Gray.WR + Gray.WG + Gray.WB) < ExactDivisionLimit;
}

// The weighted sums of eight pixels as 32-bit lanes.
IE_AVX2 __m256i GreySums(const Byte* Src, __m256i Weights) {
  const __m256i Pairs = _mm256_maddubs_epi16(SpreadPixels(Src), Weights);
  return _mm256_madd_epi16(Pairs, _mm256_set1_epi16(1));
}

// (sum x 5243) shr 19 as the high word of the product, shifted by 3 more.
IE_AVX2 __m256i Divide(__m256i Words) {
  return _mm256_srli_epi16(_mm256_mulhi_epu16(Words, _mm256_set1_epi16(DivideBy100Multiplier)),
                           DivideBy100Shift - 16);
}

// The grey levels of 32 pixels, in order.
IE_AVX2 __m256i GreyLevels32(const Byte* Src, __m256i Weights) {
  const __m256i AB = Divide(_mm256_packus_epi32(GreySums(Src, Weights), GreySums(Src + 24, Weights)));
  const __m256i CD = Divide(_mm256_packus_epi32(GreySums(Src + 48, Weights), GreySums(Src + 72, Weights)));
  // Lane 0 holds pixels 0-3, 8-11, 16-19, 24-27 and lane 1 the others, four to a dword.
  const __m256i Mixed = _mm256_packus_epi16(AB, CD);
  return _mm256_permutevar8x32_epi32(Mixed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

IE_AVX2 __m256i GreyWeights(const TIEGray8& Gray) {
  return _mm256_set1_epi32(Gray.WB | (Gray.WG << 8) | (Gray.WR << 16));
}

IE_AVX2 void Avx2Rgb24ToGray8(const Byte* Src, Byte* Dest, Integer Width, TIEGray8 Gray) {
  Integer X = 0;
  if (WeightsFitMultiplyAdd(Gray)) {
    const __m256i Weights = GreyWeights(Gray);
    for (; X + GreyStepNeeds <= Width; X += GreyStep)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dest + X), GreyLevels32(Src + 3 * X, Weights));
  }
  IEKernelBodies::Rgb24ToGray8(Src + 3 * X, Dest + X, Width - X, Gray);
}

// Reverses the byte order inside each group of eight, so that the sign-bit mask of a compare
// comes out most significant bit first for each byte of a 1-bit row.
IE_AVX2 __m256i ReverseEights() {
  return _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,  //
                          7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
}

// Grey levels and the ordered dither in one pass: the 6-bit level is compared with the matrix
// column pattern of the row, and the byte order inside each group of eight is reversed so that
// the sign-bit mask comes out most significant bit first.
IE_AVX2 void Avx2Rgb24ToDither(const Byte* Src, Byte* Dest, Integer Width, Integer Y, TIEGray8 Gray) {
  Integer X = 0;
  if (WeightsFitMultiplyAdd(Gray)) {
    const __m256i Weights = GreyWeights(Gray);
    alignas(32) Byte Pattern[32];
    for (Integer I = 0; I < 32; ++I) Pattern[I] = IEBayer8x8[(7 - (I & 7)) * 8 + (Y & 7)];
    const __m256i Matrix = _mm256_load_si256(reinterpret_cast<const __m256i*>(Pattern));
    const __m256i Reverse = ReverseEights();
    const __m256i SixBits = _mm256_set1_epi8(0x3F);
    for (; X + GreyStepNeeds <= Width; X += GreyStep) {
      const __m256i Levels =
          _mm256_and_si256(_mm256_srli_epi16(GreyLevels32(Src + 3 * X, Weights), 2), SixBits);
      const __m256i Set = _mm256_cmpgt_epi8(_mm256_shuffle_epi8(Levels, Reverse), Matrix);
      const auto Bits = static_cast<Cardinal>(_mm256_movemask_epi8(Set));
      std::memcpy(Dest + X / 8, &Bits, 4);
    }
  }
  IEKernelBodies::Rgb24ToDither(Src + 3 * X, Dest + X / 8, Width - X, Y, Gray);
}

IE_AVX2 void Avx2Rgb24ToThreshold(const Byte* Src, Byte* Dest, Integer Width, Integer Threshold,
                                  TIEGray8 Gray) {
  Integer X = 0;
  if (WeightsFitMultiplyAdd(Gray) && Threshold >= 0 && Threshold <= 255) {
    const __m256i Weights = GreyWeights(Gray);
    const __m256i Level = _mm256_set1_epi8(static_cast<char>(Threshold));
    const __m256i Reverse = ReverseEights();
    for (; X + GreyStepNeeds <= Width; X += GreyStep) {
      const __m256i Levels = _mm256_shuffle_epi8(GreyLevels32(Src + 3 * X, Weights), Reverse);
      // Unsigned level >= threshold: the larger of the two is the level.
      const __m256i Set = _mm256_cmpeq_epi8(_mm256_max_epu8(Levels, Level), Levels);
      const auto Bits = static_cast<Cardinal>(_mm256_movemask_epi8(Set));
      std::memcpy(Dest + X / 8, &Bits, 4);
    }
  }
  IEKernelBodies::Rgb24ToThreshold(Src + 3 * X, Dest + X / 8, Width - X, Threshold, Gray);
}

IE_AVX2 void Avx2Gray8To24(const Byte* Src, Byte* Dest, Integer Width) {
  IEKernelBodies::Gray8To24(Src, Dest, Width);
}

// Thirty-two pixels are three plain 32-byte loads; byte j of load v is channel (32 v + j) mod
// 3. Each channel's bytes are masked out and summed by the byte-difference sum against zero
// into 64-bit lanes.
IE_AVX2 void Avx2SumRgb24(const Byte* Src, Integer Width, UInt64* Sums) {
  alignas(32) Byte MaskBytes[3][3][32];
  for (Integer V = 0; V < 3; ++V)
    for (Integer C = 0; C < 3; ++C)
      for (Integer J = 0; J < 32; ++J) MaskBytes[V][C][J] = (32 * V + J) % 3 == C ? 0xFF : 0;
  __m256i Masks[3][3];
  for (Integer V = 0; V < 3; ++V)
    for (Integer C = 0; C < 3; ++C)
      Masks[V][C] = _mm256_load_si256(reinterpret_cast<const __m256i*>(MaskBytes[V][C]));
  const __m256i Zero = _mm256_setzero_si256();
  __m256i Totals[3] = {Zero, Zero, Zero};  // B, G, R
  Integer X = 0;
  for (; X + 32 <= Width; X += 32)
    for (Integer V = 0; V < 3; ++V) {
      const __m256i Bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + 3 * X + 32 * V));
      for (Integer C = 0; C < 3; ++C)
        Totals[C] = _mm256_add_epi64(Totals[C], _mm256_sad_epu8(_mm256_and_si256(Bytes, Masks[V][C]), Zero));
    }
  UInt64 Lanes[4];
  for (Integer C = 0; C < 3; ++C) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Lanes), Totals[C]);
    Sums[2 - C] += Lanes[0] + Lanes[1] + Lanes[2] + Lanes[3];
  }
  IEKernelBodies::SumRgb24(Src + 3 * X, Width - X, Sums);
}

constexpr TIEPixelKernels Avx2Kernels = {Avx2Rgb24ToGray8, Avx2Rgb24To32,     Avx2Gray8To24,
                                         Avx2SumRgb24,     Avx2Rgb24ToDither, Avx2Rgb24ToThreshold};

}  // namespace

const TIEPixelKernels* IEAvx2PixelKernels() {
  static const bool Available = __builtin_cpu_supports("avx2");
  return Available ? &Avx2Kernels : nullptr;
}
#else
const TIEPixelKernels* IEAvx2PixelKernels() {
  return nullptr;
}
#endif
