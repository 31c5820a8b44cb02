#pragma once
// Row kernels that read one row of any pixel format as 24-bit colour: the conversions to
// ie24RGB, and the colour source of every conversion that goes through 24 bits. Chosen once
// per picture, they run on raw rows.
#include <array>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iecolorspace.h"

class TIEBitmap;

// What a row kernel needs besides the row: the source's palette (256 entries, black past its
// end), the 16-bit grey display range (both 0: none) and the grey weights.
struct TIERowContext {
  std::array<TIERGBTriple, 256> Palette{};
  Double RangeMin = 0;
  Double RangeMax = 0;
  TIEGray8 Gray = TIEGray8::Current();
};

// The palette of Source and the range of RangeOwner (the bitmap whose display range applies).
TIERowContext IEMakeRowContext(TIEBitmap* Source, TIEBitmap* RangeOwner);

using TIERowToRGB = void (*)(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext& C);
// The reader of Format; nullptr for ieNull.
TIERowToRGB IERowToRGBFor(TIEPixelFormat Format);

// Float samples scaled to Scale and truncated; out-of-range and NaN samples are clamped rather
// than wrapped.
inline Integer IEScaleFloat(Single V, Integer Scale) {
  if (!(V > 0)) return 0;
  if (V >= 1) return Scale;
  // In double the product is exact, as the original's extended arithmetic.
  return static_cast<Integer>(static_cast<Double>(V) * Scale);
}
