#include "imaging/core/iepixelrows.h"

#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iepixelkernels.h"

namespace {

TIERGBTriple Grey(Byte V) {
  return {V, V, V};
}

void Row1g(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  for (Integer X = 0; X < Width; ++X) Dest[X] = Grey((Src[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0);
}

void Row8p(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext& C) {
  for (Integer X = 0; X < Width; ++X) Dest[X] = C.Palette[Src[X]];
}

void Row8g(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  IEPixelKernels().Gray8To24(Src, reinterpret_cast<Byte*>(Dest), Width);
}

void Row16g(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext& C) {
  const auto* S = reinterpret_cast<const Word*>(Src);
  const Double Span = C.RangeMax - C.RangeMin;
  if (Span == 0) {
    for (Integer X = 0; X < Width; ++X) Dest[X] = Grey(static_cast<Byte>(S[X] >> 8));
    return;
  }
  // The display range maps Lo .. Hi onto 0 .. 255; samples outside it are clamped first.
  const auto Lo = static_cast<Integer>(std::trunc(C.RangeMin));
  const auto Hi = static_cast<Integer>(std::trunc(C.RangeMax));
  for (Integer X = 0; X < Width; ++X) {
    const Integer V = std::clamp<Integer>(S[X], std::min(Lo, Hi), std::max(Lo, Hi));
    const auto L = static_cast<Integer>(std::trunc((V - Lo) / Span * 255));
    Dest[X] = Grey(static_cast<Byte>(std::clamp(L, 0, 255)));
  }
}

void Row32f(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  const auto* S = reinterpret_cast<const Single*>(Src);
  for (Integer X = 0; X < Width; ++X) Dest[X] = Grey(static_cast<Byte>(IEScaleFloat(S[X], 255)));
}

void RowCMYK(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  const auto* S = reinterpret_cast<const TCMYK*>(Src);
  for (Integer X = 0; X < Width; ++X) IECMYK2RGB(S[X], Dest[X]);
}

void RowRGB48(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  const auto* S = reinterpret_cast<const TIERGB48Pixel*>(Src);
  for (Integer X = 0; X < Width; ++X)
    Dest[X] = {static_cast<Byte>(S[X].b >> 8), static_cast<Byte>(S[X].g >> 8),
               static_cast<Byte>(S[X].r >> 8)};
}

void RowCIELab(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  const auto* S = reinterpret_cast<const TIECIELabPixel*>(Src);
  for (Integer X = 0; X < Width; ++X) Dest[X] = IECIELab2RGB(S[X]);
}

void Row24RGB(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  std::copy_n(reinterpret_cast<const TIERGBTriple*>(Src), Width, Dest);
}

void Row32RGB(const Byte* Src, TIERGBTriple* Dest, Integer Width, const TIERowContext&) {
  for (Integer X = 0; X < Width; ++X, Src += 4) Dest[X] = {Src[0], Src[1], Src[2]};
}

}  // namespace

TIERowContext IEMakeRowContext(TIEBitmap* Source, TIEBitmap* RangeOwner) {
  TIERowContext C;
  const Integer Entries = std::min<Integer>(Source->GetPaletteLen(), 256);
  if (Entries > 0) std::copy_n(Source->GetPaletteBuffer(), Entries, C.Palette.begin());
  C.RangeMin = RangeOwner->GetRangeMin();
  C.RangeMax = RangeOwner->GetRangeMax();
  return C;
}

TIERowToRGB IERowToRGBFor(TIEPixelFormat Format) {
  static constexpr TIERowToRGB Readers[IEPixelFormatCount] = {
      nullptr, Row1g, Row8p, Row8g, Row16g, Row24RGB, Row32f, RowCMYK, RowRGB48, RowCIELab, Row32RGB};
  return Format < IEPixelFormatCount ? Readers[Format] : nullptr;
}
