#include "imaging/core/ieconverttable.h"

#include <algorithm>
#include <array>

#include "imaging/core/iebwconvert.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iepixelkernels.h"

namespace {

// ie32RGB: B, G, R and a fourth byte.
struct T32RGB {
  Byte b, g, r, a;
};
static_assert(sizeof(T32RGB) == 4);

// --- Per-pixel formulas -------------------------------------------------------------------

Word G16(const TIERGBTriple& E) {
  return static_cast<Word>(((E.rgbtRed * 257) * 212 + (E.rgbtGreen * 257) * 713 + (E.rgbtBlue * 257) * 75) /
                           1000);
}
Single GF(const TIERGBTriple& E) {
  return static_cast<Single>((E.rgbtRed * 0.2126 + E.rgbtGreen * 0.7152 + E.rgbtBlue * 0.0722) / 255);
}
TIERGB48Pixel Widen48(const TIERGBTriple& E) {
  return {static_cast<Word>(E.rgbtRed * 257), static_cast<Word>(E.rgbtGreen * 257),
          static_cast<Word>(E.rgbtBlue * 257)};
}
T32RGB Opaque32(const TIERGBTriple& E) {
  return {E.rgbtBlue, E.rgbtGreen, E.rgbtRed, 255};
}
TIERGBTriple HighBytes(const TIERGB48Pixel& P) {
  return {static_cast<Byte>(P.b >> 8), static_cast<Byte>(P.g >> 8), static_cast<Byte>(P.r >> 8)};
}
Byte FloatByte(Single V) {
  return static_cast<Byte>(IEScaleFloat(V, 255));
}

// --- Row kernels ----------------------------------------------------------------------------

// Dest[X] := F(Src[X]) over raw rows of one pixel type each.
template <class TSrc, class TDest, TDest (*F)(const TSrc&, const TIERowContext&)>
void MapRow(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext& C) {
  const auto* S = reinterpret_cast<const TSrc*>(Src);
  auto* D = reinterpret_cast<TDest*>(Dest);
  for (Integer X = 0; X < Width; ++X) D[X] = F(S[X], C);
}

// 1-bit sources: each bit picks one of two values.
template <class TDest, TDest (*Black)(), TDest (*White)()>
void BitsRow(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext&) {
  auto* D = reinterpret_cast<TDest*>(Dest);
  const TDest Values[2] = {Black(), White()};
  for (Integer X = 0; X < Width; ++X) D[X] = Values[(Src[X >> 3] >> (7 - (X & 7))) & 1];
}

// 1-bit targets by ordered dither on the 6-bit level the source pixel gives.
template <class TSrc, Integer (*Level)(const TSrc&, const TIERowContext&)>
void DitherRow(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext& C) {
  const auto* S = reinterpret_cast<const TSrc*>(Src);
  IEDitherRow(Dest, Width, Y, [&](Integer X) { return Level(S[X], C); });
}

void CopyBytesRow(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext&) {
  std::copy_n(Src, Width, Dest);
}

// The hottest pairs run on the chosen pixel kernels.
void RGBToGreyRow(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext& C) {
  IEPixelKernels().Rgb24ToGray8(Src, Dest, Width, C.Gray);
}
void RGBTo32Row(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext&) {
  IEPixelKernels().Rgb24To32(Src, Dest, Width);
}
void GreyDitherRow(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext&) {
  IEDitherGray8Row(Src, Dest, Width, Y);
}
void RGBDitherRow(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext& C) {
  IEPixelKernels().Rgb24ToDither(Src, Dest, Width, Y, C.Gray);
}

// Black and white of each target type.
template <class T, T V>
T Constant() {
  return V;
}
Single BlackF() {
  return 0.0f;
}
Single WhiteF() {
  return 1.0f;
}
TIERGBTriple Black24() {
  return {0, 0, 0};
}
TIERGBTriple White24() {
  return {255, 255, 255};
}
TIERGB48Pixel Black48() {
  return {0, 0, 0};
}
TIERGB48Pixel White48() {
  return {65535, 65535, 65535};
}
T32RGB Black32() {
  return {0, 0, 0, 255};
}
T32RGB White32() {
  return {255, 255, 255, 255};
}

// The pixel formulas, named <source>_<target>.
const TIERGBTriple& Entry(Byte I, const TIERowContext& C) {
  return C.Palette[I];
}
Integer P8_L(const Byte& I, const TIERowContext& C) {
  return C.Gray(Entry(I, C)) >> 2;
}
Byte P8_G8(const Byte& I, const TIERowContext& C) {
  return static_cast<Byte>(C.Gray(Entry(I, C)));
}
Word P8_G16(const Byte& I, const TIERowContext& C) {
  return G16(Entry(I, C));
}
Single P8_F(const Byte& I, const TIERowContext& C) {
  return GF(Entry(I, C));
}
TIERGB48Pixel P8_48(const Byte& I, const TIERowContext& C) {
  return Widen48(Entry(I, C));
}
T32RGB P8_32(const Byte& I, const TIERowContext& C) {
  return Opaque32(Entry(I, C));
}

Word G8_G16(const Byte& V, const TIERowContext&) {
  return static_cast<Word>(V * 257);
}
Single G8_F(const Byte& V, const TIERowContext&) {
  return static_cast<Single>(V / 255.0);
}
TIERGB48Pixel G8_48(const Byte& V, const TIERowContext&) {
  return Widen48({V, V, V});
}
T32RGB G8_32(const Byte& V, const TIERowContext&) {
  return {V, V, V, 255};
}

Integer G16_L(const Word& V, const TIERowContext&) {
  return V >> 10;
}
Byte G16_G8(const Word& V, const TIERowContext&) {
  return static_cast<Byte>(V >> 8);
}
Single G16_F(const Word& V, const TIERowContext&) {
  return static_cast<Single>(V / 65535.0);
}
TIERGB48Pixel G16_48(const Word& V, const TIERowContext&) {
  return {V, V, V};
}
T32RGB G16_32(const Word& V, const TIERowContext&) {
  const auto B = static_cast<Byte>(V >> 8);
  return {B, B, B, 255};
}

Word RGB_G16(const TIERGBTriple& E, const TIERowContext&) {
  return G16(E);
}
Single RGB_F(const TIERGBTriple& E, const TIERowContext&) {
  return GF(E);
}
TCMYK RGB_CMYK(const TIERGBTriple& E, const TIERowContext&) {
  return IERGB2CMYK(E);
}
TIERGB48Pixel RGB_48(const TIERGBTriple& E, const TIERowContext&) {
  return Widen48(E);
}
TIECIELabPixel RGB_Lab(const TIERGBTriple& E, const TIERowContext&) {
  return IERGB2CIELab(E);
}

// The 6-bit dither level of a float sample is its 8-bit level shifted right by 2, as for the
// other grey sources.
Integer F_L(const Single& V, const TIERowContext&) {
  return IEScaleFloat(V, 255) >> 2;
}
Byte F_G8(const Single& V, const TIERowContext&) {
  return FloatByte(V);
}
Word F_G16(const Single& V, const TIERowContext&) {
  return static_cast<Word>(IEScaleFloat(V, 65535));
}
TIERGB48Pixel F_48(const Single& V, const TIERowContext&) {
  const auto W = static_cast<Word>(IEScaleFloat(V, 65535));
  return {W, W, W};
}
T32RGB F_32(const Single& V, const TIERowContext&) {
  const Byte B = FloatByte(V);
  return {B, B, B, 255};
}

T32RGB CMYK_32(const TCMYK& P, const TIERowContext&) {
  TIERGBTriple E;
  IECMYK2RGB(P, E);
  return Opaque32(E);
}

Integer W48_L(const TIERGB48Pixel& P, const TIERowContext& C) {
  return C.Gray(HighBytes(P)) >> 2;
}
Byte W48_G8(const TIERGB48Pixel& P, const TIERowContext& C) {
  return static_cast<Byte>(C.Gray(HighBytes(P)));
}
Word W48_G16(const TIERGB48Pixel& P, const TIERowContext&) {
  return static_cast<Word>((P.r * 212 + P.g * 713 + P.b * 75) / 1000);
}
// Scaled by 65535, as the other 16-bit sources: white is exactly 1.0.
Single W48_F(const TIERGB48Pixel& P, const TIERowContext&) {
  return static_cast<Single>((P.r * 0.2126 + P.g * 0.7152 + P.b * 0.0722) / 65535);
}
T32RGB W48_32(const TIERGB48Pixel& P, const TIERowContext&) {
  return Opaque32(HighBytes(P));
}

T32RGB Lab_32(const TIECIELabPixel& P, const TIERowContext&) {
  return Opaque32(IECIELab2RGB(P));
}

// X -> ie24RGB goes through the shared row readers (the 16-bit display range included).
template <TIEPixelFormat Format>
void ToRGBRow(const Byte* Src, Byte* Dest, Integer Width, Integer, const TIERowContext& C) {
  IERowToRGBFor(Format)(Src, reinterpret_cast<TIERGBTriple*>(Dest), Width, C);
}

// --- The conversion table -------------------------------------------------------------------

using TTable = std::array<std::array<TIEConversion, IEPixelFormatCount>, IEPixelFormatCount>;

constexpr TTable MakeConversionTable() {
  TTable T{};
  auto Direct = [&T](TIEPixelFormat From, TIEPixelFormat To, TIERowKernel Kernel,
                     TIEPaletteWrite Palette = iepwNone) {
    T[From][To] = {ieckDirect, Kernel, Palette};
  };
  Direct(ie1g, ie8p, BitsRow<Byte, Constant<Byte, 0>, Constant<Byte, 1>>, iepwBlackWhite);
  Direct(ie1g, ie8g, BitsRow<Byte, Constant<Byte, 0>, Constant<Byte, 255>>);
  Direct(ie1g, ie16g, BitsRow<Word, Constant<Word, 0>, Constant<Word, 65535>>);
  Direct(ie1g, ie24RGB, BitsRow<TIERGBTriple, Black24, White24>);
  Direct(ie1g, ie32f, BitsRow<Single, BlackF, WhiteF>);
  Direct(ie1g, ieRGB48, BitsRow<TIERGB48Pixel, Black48, White48>);
  Direct(ie1g, ie32RGB, BitsRow<T32RGB, Black32, White32>);

  Direct(ie8p, ie1g, DitherRow<Byte, P8_L>);
  Direct(ie8p, ie8g, MapRow<Byte, Byte, P8_G8>);
  Direct(ie8p, ie16g, MapRow<Byte, Word, P8_G16>);
  Direct(ie8p, ie24RGB, ToRGBRow<ie8p>);
  Direct(ie8p, ie32f, MapRow<Byte, Single, P8_F>);
  Direct(ie8p, ieRGB48, MapRow<Byte, TIERGB48Pixel, P8_48>);
  Direct(ie8p, ie32RGB, MapRow<Byte, T32RGB, P8_32>);

  Direct(ie8g, ie1g, GreyDitherRow);
  Direct(ie8g, ie8p, CopyBytesRow, iepwGreyRamp);
  Direct(ie8g, ie16g, MapRow<Byte, Word, G8_G16>);
  Direct(ie8g, ie24RGB, ToRGBRow<ie8g>);
  Direct(ie8g, ie32f, MapRow<Byte, Single, G8_F>);
  Direct(ie8g, ieRGB48, MapRow<Byte, TIERGB48Pixel, G8_48>);
  Direct(ie8g, ie32RGB, MapRow<Byte, T32RGB, G8_32>);

  Direct(ie16g, ie1g, DitherRow<Word, G16_L>);
  Direct(ie16g, ie8p, MapRow<Word, Byte, G16_G8>, iepwGreyRamp);
  Direct(ie16g, ie8g, MapRow<Word, Byte, G16_G8>);
  Direct(ie16g, ie24RGB, ToRGBRow<ie16g>);
  Direct(ie16g, ie32f, MapRow<Word, Single, G16_F>);
  Direct(ie16g, ieRGB48, MapRow<Word, TIERGB48Pixel, G16_48>);
  Direct(ie16g, ie32RGB, MapRow<Word, T32RGB, G16_32>);

  Direct(ie24RGB, ie1g, RGBDitherRow);
  T[ie24RGB][ie8p] = {ieckQuantize, nullptr, iepwNone};
  Direct(ie24RGB, ie8g, RGBToGreyRow);
  Direct(ie24RGB, ie16g, MapRow<TIERGBTriple, Word, RGB_G16>);
  Direct(ie24RGB, ie32f, MapRow<TIERGBTriple, Single, RGB_F>);
  Direct(ie24RGB, ieCMYK, MapRow<TIERGBTriple, TCMYK, RGB_CMYK>);
  Direct(ie24RGB, ieRGB48, MapRow<TIERGBTriple, TIERGB48Pixel, RGB_48>);
  Direct(ie24RGB, ieCIELab, MapRow<TIERGBTriple, TIECIELabPixel, RGB_Lab>);
  Direct(ie24RGB, ie32RGB, RGBTo32Row);

  Direct(ie32f, ie1g, DitherRow<Single, F_L>);
  Direct(ie32f, ie8p, MapRow<Single, Byte, F_G8>, iepwGreyRamp);
  Direct(ie32f, ie8g, MapRow<Single, Byte, F_G8>);
  Direct(ie32f, ie16g, MapRow<Single, Word, F_G16>);
  Direct(ie32f, ie24RGB, ToRGBRow<ie32f>);
  Direct(ie32f, ieRGB48, MapRow<Single, TIERGB48Pixel, F_48>);
  Direct(ie32f, ie32RGB, MapRow<Single, T32RGB, F_32>);

  Direct(ieCMYK, ie24RGB, ToRGBRow<ieCMYK>);
  Direct(ieCMYK, ie32RGB, MapRow<TCMYK, T32RGB, CMYK_32>);

  Direct(ieRGB48, ie1g, DitherRow<TIERGB48Pixel, W48_L>);
  Direct(ieRGB48, ie8g, MapRow<TIERGB48Pixel, Byte, W48_G8>);
  Direct(ieRGB48, ie16g, MapRow<TIERGB48Pixel, Word, W48_G16>);
  Direct(ieRGB48, ie24RGB, ToRGBRow<ieRGB48>);
  Direct(ieRGB48, ie32f, MapRow<TIERGB48Pixel, Single, W48_F>);
  Direct(ieRGB48, ie32RGB, MapRow<TIERGB48Pixel, T32RGB, W48_32>);

  Direct(ieCIELab, ie24RGB, ToRGBRow<ieCIELab>);
  Direct(ieCIELab, ie32RGB, MapRow<TIECIELabPixel, T32RGB, Lab_32>);

  Direct(ie32RGB, ie24RGB, ToRGBRow<ie32RGB>);
  return T;
}

constexpr TTable Conversions = MakeConversionTable();

}  // namespace

const TIEConversion& IEConversionFor(TIEPixelFormat From, TIEPixelFormat To) {
  return Conversions[From][To];
}
