// The extended-MMX forms of the tile unions: byte-wise unsigned minimum on the Left and Top
// bytes, maximum on the Right and Bottom bytes, four cells at a time. They give the plain
// forms' bytes: a full destination and a degenerate source keep the destination, an empty
// destination or a full source takes the source.
#include "raster/RS32_MicroTiles.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {
inline __m128i UniteFour(__m128i D, __m128i S) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i Full = _mm_set1_epi32(static_cast<int>(TileBoxFull));
  const __m128i LowHalf = _mm_set1_epi32(0x0000FFFF);
  // Byte 1 compares Left with Right, byte 0 Top with Bottom.
  const __m128i Equal =
      _mm_and_si128(_mm_cmpeq_epi8(_mm_srli_epi32(S, 16), _mm_and_si128(S, LowHalf)), LowHalf);
  const __m128i Degenerate = _mm_xor_si128(_mm_cmpeq_epi32(Equal, Zero), _mm_set1_epi32(-1));
  const __m128i Keep = _mm_or_si128(_mm_cmpeq_epi32(D, Full), Degenerate);
  const __m128i Take = _mm_or_si128(_mm_cmpeq_epi32(D, Zero), _mm_cmpeq_epi32(S, Full));
  const __m128i United =
      _mm_or_si128(_mm_andnot_si128(LowHalf, _mm_min_epu8(D, S)), _mm_and_si128(LowHalf, _mm_max_epu8(D, S)));
  const __m128i Merged = _mm_or_si128(_mm_and_si128(Take, S), _mm_andnot_si128(Take, United));
  return _mm_or_si128(_mm_and_si128(Keep, D), _mm_andnot_si128(Keep, Merged));
}
}  // namespace

void UniteTileBoxMmx(TTileBox& Dest, TTileBox Src) {
  const __m128i R =
      UniteFour(_mm_cvtsi32_si128(static_cast<int>(Dest)), _mm_cvtsi32_si128(static_cast<int>(Src)));
  Dest = static_cast<TTileBox>(_mm_cvtsi128_si32(R));
}

void UniteTileGridsMmx(TTileGrid& Dest, const TTileGrid& Src) {
  if (!Dest.HasCells() || !Src.HasCells()) return;
  const TRect U = SharedUsedTiles(Dest, Src);
  for (Integer Row = U.Top; Row <= U.Bottom; ++Row) {
    const TTileBox* S = Src.Cells.data() + static_cast<NativeInt>(Row) * Src.TileColumns;
    TTileBox* D = Dest.Cells.data() + static_cast<NativeInt>(Row) * Dest.TileColumns;
    Integer C = U.Left;
    for (; C + 4 <= U.Right + 1; C += 4) {
      __m128i* P = reinterpret_cast<__m128i*>(D + C);
      _mm_storeu_si128(
          P, UniteFour(_mm_loadu_si128(P), _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + C))));
    }
    for (; C <= U.Right; ++C) UniteTileBoxMmx(D[C], S[C]);
  }
}

#else

void UniteTileBoxMmx(TTileBox& Dest, TTileBox Src) {
  UniteTileBoxPlain(Dest, Src);
}
void UniteTileGridsMmx(TTileGrid& Dest, const TTileGrid& Src) {
  UniteTileGridsPlain(Dest, Src);
}

#endif
