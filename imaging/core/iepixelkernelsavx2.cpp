// The pixel kernels for processors with AVX2: the 3-byte pixels are spread to 4-byte lanes by
// one permute and one byte shuffle; the grey level is two multiply-adds and an exact
// multiply-shift division by 100. Tails and unusual grey weights use the plain bodies.
#include "imaging/core/iepixelkernelbodies.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define IE_AVX2 __attribute__((target("avx2")))

namespace {

// Grey sums below this divide by 100 exactly as (sum x 5243) shr 19.
constexpr Integer ExactDivisionLimit = 43699;
constexpr Integer DivideBy100Multiplier = 5243;
constexpr Integer DivideBy100Shift = 19;

// Eight B, G, R pixels (24 bytes, 32 readable) to eight B, G, R, 0 lanes.
IE_AVX2 __m256i SpreadPixels(const Byte* Src) {
  const __m256i Dwords = _mm256_setr_epi32(0, 1, 2, 0, 3, 4, 5, 0);
  const __m256i Bytes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                         0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i V = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src));
  return _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(V, Dwords), Bytes);
}

IE_AVX2 void Avx2Rgb24To32(const Byte* Src, Byte* Dest, Integer Width) {
  const __m256i Alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  Integer X = 0;
  // 32 bytes are read from pixel X: they must lie inside the row.
  for (; X + 11 <= Width; X += 8)
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

IE_AVX2 void Avx2Rgb24ToGray8(const Byte* Src, Byte* Dest, Integer Width, TIEGray8 Gray) {
  if (!WeightsFitMultiplyAdd(Gray)) {
    IEKernelBodies::Rgb24ToGray8(Src, Dest, Width, Gray);
    return;
  }
  const __m256i Weights = _mm256_set1_epi32(Gray.WB | (Gray.WG << 8) | (Gray.WR << 16));
  const __m256i Multiplier = _mm256_set1_epi16(DivideBy100Multiplier);
  Integer X = 0;
  // Sixteen pixels a step; the second load reads up to byte 3 x X + 56.
  for (; X + 19 <= Width; X += 16) {
    const __m256i First = GreySums(Src + 3 * X, Weights);
    const __m256i Second = GreySums(Src + 3 * X + 24, Weights);
    // Words: First 0-3, Second 0-3 | First 4-7, Second 4-7; reordered to First 0-7, Second 0-7.
    const __m256i Sums = _mm256_permute4x64_epi64(_mm256_packus_epi32(First, Second), 0xD8);
    // (sum x 5243) shr 19 as the high word of the product, shifted by 3 more.
    const __m256i Words = _mm256_srli_epi16(_mm256_mulhi_epu16(Sums, Multiplier), DivideBy100Shift - 16);
    const __m256i Levels = _mm256_packus_epi16(Words, Words);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Dest + X), _mm256_castsi256_si128(Levels));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Dest + X + 8), _mm256_extracti128_si256(Levels, 1));
  }
  IEKernelBodies::Rgb24ToGray8(Src + 3 * X, Dest + X, Width - X, Gray);
}

IE_AVX2 void Avx2Gray8To24(const Byte* Src, Byte* Dest, Integer Width) {
  IEKernelBodies::Gray8To24(Src, Dest, Width);
}
// Each channel's bytes are masked out of the spread pixels and summed by the byte-difference
// sum against zero into 64-bit lanes.
IE_AVX2 void Avx2SumRgb24(const Byte* Src, Integer Width, UInt64* Sums) {
  const __m256i Zero = _mm256_setzero_si256();
  const __m256i Masks[3] = {_mm256_set1_epi32(0xFF), _mm256_set1_epi32(0xFF00), _mm256_set1_epi32(0xFF0000)};
  __m256i Totals[3] = {Zero, Zero, Zero};  // B, G, R
  Integer X = 0;
  for (; X + 11 <= Width; X += 8) {
    const __m256i Pixels = SpreadPixels(Src + 3 * X);
    for (Integer C = 0; C < 3; ++C)
      Totals[C] = _mm256_add_epi64(Totals[C], _mm256_sad_epu8(_mm256_and_si256(Pixels, Masks[C]), Zero));
  }
  UInt64 Lanes[4];
  for (Integer C = 0; C < 3; ++C) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Lanes), Totals[C]);
    Sums[2 - C] += Lanes[0] + Lanes[1] + Lanes[2] + Lanes[3];
  }
  IEKernelBodies::SumRgb24(Src + 3 * X, Width - X, Sums);
}

constexpr TIEPixelKernels Avx2Kernels = {Avx2Rgb24ToGray8, Avx2Rgb24To32, Avx2Gray8To24, Avx2SumRgb24};

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
