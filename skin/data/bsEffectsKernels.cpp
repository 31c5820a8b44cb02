#include <algorithm>
#include <cstring>

#include "skin/data/bsEffects.h"

void MoveLongwords(const TbsPixel* Src, TbsPixel* Dst, Integer Count) {
  if (Count <= 0 || Src == Dst) return;
  std::memmove(Dst, Src, static_cast<std::size_t>(Count) * sizeof(TbsPixel));
}

void FillLongwords(TbsPixel* Dst, Integer Count, TbsPixel Value) {
  if (Count <= 0) return;
  std::fill_n(Dst, Count, Value);
}

void FillRectLongwords(TbsPixel* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1, Integer X2,
                       Integer Y2, TbsPixel Value) {
  for (Integer Y = Y1; Y <= Y2; ++Y)
    FillLongwords(Bits + static_cast<std::ptrdiff_t>(Y) * Width + X1, X2 - X1 + 1, Value);
}

void SetAlphaLine(TbsPixel* Dst, Integer Count, Byte Alpha) {
  const TbsPixel A = static_cast<TbsPixel>(Alpha) << 24;
  for (Integer I = 0; I < Count; ++I) Dst[I] = (Dst[I] & 0x00FFFFFF) | A;
}

void BlendLine(const TbsPixel* Src, TbsPixel* Dst, Integer Count) {
  for (Integer I = 0; I < Count; ++I) {
    const TbsPixel S = Src[I];
    const TbsPixel A = S >> 24;
    if (A == 0) continue;
    if (A == 255) {
      Dst[I] = S;
      continue;
    }
    const TbsPixel D = Dst[I];
    const TbsPixel InvA = 256 - A;
    // Red and blue, then alpha and green, two bytes per 32-bit lane.
    const TbsPixel RB = (((S & 0x00FF00FF) * A + (D & 0x00FF00FF) * InvA) >> 8) & 0x00FF00FF;
    const TbsPixel AG = ((((S >> 8) & 0x00FF00FF) * A + ((D >> 8) & 0x00FF00FF) * InvA)) & 0xFF00FF00;
    Dst[I] = RB | AG;
  }
}

void ColorKeyLine(const TbsPixel* Src, TbsPixel* Dst, Integer Count) {
  for (Integer I = 0; I < Count; ++I)
    if ((Src[I] & 0x00FFFFFF) != bsTransparentKey) Dst[I] = Src[I] | 0xFF000000;
}

TbsPixel ColorToPixel(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  return 0xFF000000 | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}
