// The plain row blend, four pixels at a time in 16-bit lanes. It delivers the plain form's
// bytes exactly: each half of the mix is rounded on its own, alpha 0 keeps the background and
// alpha 255 copies the foreground.
#include "raster/RS32_Blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>

void BlendRowPlainSse2(const TColor32* Src, TColor32* Dst, Integer Count) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i Bias = _mm_set1_epi16(128);
  const __m128i Full16 = _mm_set1_epi16(255);
  const __m128i Full32 = _mm_set1_epi32(255);
  Integer I = 0;
  for (; I + 4 <= Count; I += 4) {
    const __m128i F = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I));
    const __m128i Fa = _mm_srli_epi32(F, 24);
    const __m128i Transparent = _mm_cmpeq_epi32(Fa, Zero);
    const __m128i Opaque = _mm_cmpeq_epi32(Fa, Full32);
    if (_mm_movemask_epi8(Transparent) == 0xFFFF) continue;
    __m128i* D = reinterpret_cast<__m128i*>(Dst + I);
    if (_mm_movemask_epi8(Opaque) == 0xFFFF) {
      _mm_storeu_si128(D, F);
      continue;
    }
    const __m128i B = _mm_loadu_si128(D);
    const __m128i W = _mm_or_si128(Fa, _mm_slli_epi32(Fa, 16));  // each pixel's alpha in two lanes
    const __m128i WLo = _mm_unpacklo_epi32(W, W);
    const __m128i WHi = _mm_unpackhi_epi32(W, W);
    auto Mix = [&](__m128i F16, __m128i B16, __m128i W16) {
      const __m128i FPart = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(F16, W16), Bias), 8);
      const __m128i BPart =
          _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(B16, _mm_sub_epi16(Full16, W16)), Bias), 8);
      return _mm_add_epi16(FPart, BPart);
    };
    const __m128i Lo = Mix(_mm_unpacklo_epi8(F, Zero), _mm_unpacklo_epi8(B, Zero), WLo);
    const __m128i Hi = Mix(_mm_unpackhi_epi8(F, Zero), _mm_unpackhi_epi8(B, Zero), WHi);
    const __m128i Mixed = _mm_packus_epi16(Lo, Hi);
    const __m128i Keep = _mm_or_si128(Transparent, Opaque);
    const __m128i Result = _mm_or_si128(_mm_or_si128(_mm_and_si128(Transparent, B), _mm_and_si128(Opaque, F)),
                                        _mm_andnot_si128(Keep, Mixed));
    _mm_storeu_si128(D, Result);
  }
  BlendRowPlain(Src + I, Dst + I, Count - I);
}

#else

void BlendRowPlainSse2(const TColor32* Src, TColor32* Dst, Integer Count) {
  BlendRowPlain(Src, Dst, Count);
}

#endif
