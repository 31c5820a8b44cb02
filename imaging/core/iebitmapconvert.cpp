// TIEBitmap pixel-format conversion: the matrix of direct row conversions, the pairs that go
// through 24-bit colour, and the in-place conversion of a bitmap.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iebwconvert.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iepixelkernels.h"
#include "imaging/core/iepixelrows.h"
#include "imaging/core/iequantizer.h"
#include "platform/classes/Bitmap.h"

namespace {

// ie32RGB: B, G, R and a fourth byte.
struct T32RGB {
  Byte b, g, r, a;
};
static_assert(sizeof(T32RGB) == 4);

using TRowKernel = void (*)(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext& C);

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
// Grey levels of a piece of the row at a time on the stack; pieces are whole bytes of bits.
void RGBDitherRow(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext& C) {
  constexpr Integer Piece = 2048;
  Byte Levels[Piece];
  for (Integer X0 = 0; X0 < Width; X0 += Piece) {
    const Integer Count = std::min(Piece, Width - X0);
    IEPixelKernels().Rgb24ToGray8(Src + 3 * X0, Levels, Count, C.Gray);
    IEDitherGray8Row(Levels, Dest + X0 / 8, Count, Y);
  }
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

// What a direct pair does besides its rows: the palette it writes.
enum TPaletteWrite : Byte { cpNone, cpGreyRamp, cpBlackWhite };
// How the rows of a pair are made.
enum TConversionKind : Byte { ckVia24, ckDirect, ckQuantize };

struct TConversion {
  TConversionKind Kind = ckVia24;
  TRowKernel Kernel = nullptr;
  TPaletteWrite Palette = cpNone;
};

using TConversionTable = std::array<std::array<TConversion, IEPixelFormatCount>, IEPixelFormatCount>;

constexpr TConversionTable MakeConversionTable() {
  TConversionTable T{};
  auto Direct = [&T](TIEPixelFormat From, TIEPixelFormat To, TRowKernel Kernel,
                     TPaletteWrite Palette = cpNone) {
    T[From][To] = {ckDirect, Kernel, Palette};
  };
  Direct(ie1g, ie8p, BitsRow<Byte, Constant<Byte, 0>, Constant<Byte, 1>>, cpBlackWhite);
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
  Direct(ie8g, ie8p, CopyBytesRow, cpGreyRamp);
  Direct(ie8g, ie16g, MapRow<Byte, Word, G8_G16>);
  Direct(ie8g, ie24RGB, ToRGBRow<ie8g>);
  Direct(ie8g, ie32f, MapRow<Byte, Single, G8_F>);
  Direct(ie8g, ieRGB48, MapRow<Byte, TIERGB48Pixel, G8_48>);
  Direct(ie8g, ie32RGB, MapRow<Byte, T32RGB, G8_32>);

  Direct(ie16g, ie1g, DitherRow<Word, G16_L>);
  Direct(ie16g, ie8p, MapRow<Word, Byte, G16_G8>, cpGreyRamp);
  Direct(ie16g, ie8g, MapRow<Word, Byte, G16_G8>);
  Direct(ie16g, ie24RGB, ToRGBRow<ie16g>);
  Direct(ie16g, ie32f, MapRow<Word, Single, G16_F>);
  Direct(ie16g, ieRGB48, MapRow<Word, TIERGB48Pixel, G16_48>);
  Direct(ie16g, ie32RGB, MapRow<Word, T32RGB, G16_32>);

  Direct(ie24RGB, ie1g, RGBDitherRow);
  T[ie24RGB][ie8p] = {ckQuantize, nullptr, cpNone};
  Direct(ie24RGB, ie8g, RGBToGreyRow);
  Direct(ie24RGB, ie16g, MapRow<TIERGBTriple, Word, RGB_G16>);
  Direct(ie24RGB, ie32f, MapRow<TIERGBTriple, Single, RGB_F>);
  Direct(ie24RGB, ieCMYK, MapRow<TIERGBTriple, TCMYK, RGB_CMYK>);
  Direct(ie24RGB, ieRGB48, MapRow<TIERGBTriple, TIERGB48Pixel, RGB_48>);
  Direct(ie24RGB, ieCIELab, MapRow<TIERGBTriple, TIECIELabPixel, RGB_Lab>);
  Direct(ie24RGB, ie32RGB, RGBTo32Row);

  Direct(ie32f, ie1g, DitherRow<Single, F_L>);
  Direct(ie32f, ie8p, MapRow<Single, Byte, F_G8>, cpGreyRamp);
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

constexpr TConversionTable Conversions = MakeConversionTable();

// --- Running a conversion -------------------------------------------------------------------

void WritePalette(TIEBitmap* Dest, TPaletteWrite Palette) {
  TIERGBTriple* Entries = Dest->GetPaletteBuffer();
  const Integer Length = Dest->GetPaletteLen();
  if (!Entries) return;
  if (Palette == cpBlackWhite) {
    // Only entries 0 and 1; the others keep what they held.
    if (Length > 0) Entries[0] = {0, 0, 0};
    if (Length > 1) Entries[1] = {255, 255, 255};
  } else if (Palette == cpGreyRamp) {
    for (Integer I = 0; I < Length && I < 256; ++I) Entries[I] = {Byte(I), Byte(I), Byte(I)};
  }
}

// Reads each source row once and writes each target row once: file-backed bitmaps keep one
// view each. Via 24 converts every row into a 24-bit buffer first; the source is not changed.
void ConvertRows(TIEBitmap* Source, TIEBitmap* Dest, TRowKernel FromSource, TRowKernel To24Target,
                 const TIERowContext& C) {
  const Integer Width = Dest->GetWidth();
  const Integer Height = Dest->GetHeight();
  std::vector<TIERGBTriple> Colors(To24Target ? Width : 0);
  auto* Buffer = reinterpret_cast<Byte*>(Colors.data());
  for (Integer Y = 0; Y < Height; ++Y) {
    const auto* Src = static_cast<const Byte*>(Source->GetScanline(Y));
    if (To24Target) {
      FromSource(Src, Buffer, Width, Y, C);
      To24Target(Buffer, static_cast<Byte*>(Dest->GetScanline(Y)), Width, Y, C);
    } else {
      FromSource(Src, static_cast<Byte*>(Dest->GetScanline(Y)), Width, Y, C);
    }
  }
}

// Colours of a picture repeat; a direct-mapped cache of 64 K colours spares most searches.
class TIndexCache {
 public:
  explicit TIndexCache(const TIEQuantizer& Quantizer) : FQuantizer(Quantizer) { FKeys.fill(0xFFFFFFFFu); }
  Byte Index(const TIERGBTriple& C) {
    const Cardinal Key = C.rgbtBlue | (C.rgbtGreen << 8) | (C.rgbtRed << 16);
    const Cardinal Slot = (Key * 2654435761u) >> (32 - SlotBits);
    if (FKeys[Slot] != Key) {
      FKeys[Slot] = Key;
      FValues[Slot] = static_cast<Byte>(FQuantizer.RGBIndex(C));
    }
    return FValues[Slot];
  }

 private:
  static constexpr Cardinal SlotBits = 16;
  static constexpr Cardinal SlotCount = 1u << SlotBits;
  const TIEQuantizer& FQuantizer;
  std::array<Cardinal, SlotCount> FKeys;
  std::array<Byte, SlotCount> FValues{};
};

// Colour reduction of an ie24RGB Source to Dest's palette of PaletteUsed colours.
void Quantize(TIEBitmap* Source, TIEBitmap* Dest) {
  std::array<TIERGBTriple, 256> Palette{};
  const Integer Colors = std::clamp(Dest->GetPaletteUsed(), 1, 256);
  const TIEQuantizer Quantizer(Source, Palette, Colors);
  TIERGBTriple* Entries = Dest->GetPaletteBuffer();
  if (Entries) std::copy_n(Palette.begin(), std::min(Dest->GetPaletteLen(), 256), Entries);
  auto Cache = std::make_unique<TIndexCache>(Quantizer);
  const Integer Width = Dest->GetWidth();
  for (Integer Y = 0; Y < Dest->GetHeight(); ++Y) {
    const auto* Src = static_cast<const TIERGBTriple*>(Source->GetScanline(Y));
    auto* Indexes = static_cast<Byte*>(Dest->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) Indexes[X] = Cache->Index(Src[X]);
  }
}

// A 24-bit copy of Source in a bitmap of its own, for the conversions that need the whole
// picture in 24 bits; nullptr when it cannot be allocated.
std::unique_ptr<TIEBitmap> Copy24(TIEBitmap* Source) {
  auto Copy = std::make_unique<TIEBitmap>();
  if (!Copy->Allocate(Source->GetWidth(), Source->GetHeight(), ie24RGB)) return nullptr;
  const TIERowContext C = IEMakeRowContext(Source, Source);
  ConvertRows(Source, Copy.get(), Conversions[Source->GetPixelFormat()][ie24RGB].Kernel, nullptr, C);
  return Copy;
}

// Fills Dest from Source of another format (same size); false when a working copy could not be
// allocated, in which case Dest's pixels are not defined.
bool ConvertPixels(TIEBitmap* Source, TIEBitmap* Dest) {
  const TIEPixelFormat From = Source->GetPixelFormat();
  const TIEPixelFormat To = Dest->GetPixelFormat();
  if (From >= IEPixelFormatCount || To == ieNull || To >= IEPixelFormatCount) return true;
  if (To == ie1g && Dest->GetBlackWhiteConversion() != 0) {
    if (Dest->GetBlackWhiteConversion() == 1) {
      bool Aborting = false;
      TIEIOProgress Progress;
      Progress.Aborting = &Aborting;
      IEConvertToBWByThreshold(Source, Dest, IEThresholdMeanColor, Progress);
    }
    return true;
  }
  const TConversion& Pair = Conversions[From][To];
  if (Pair.Kind == ckQuantize || (To == ie8p && Pair.Kind == ckVia24)) {
    if (From == ie24RGB) {
      Quantize(Source, Dest);
      return true;
    }
    const std::unique_ptr<TIEBitmap> Colors = Copy24(Source);
    if (!Colors) return false;
    Quantize(Colors.get(), Dest);
    return true;
  }
  const TIERowContext C = IEMakeRowContext(Source, Dest);
  if (Pair.Kind == ckDirect) {
    WritePalette(Dest, Pair.Palette);
    ConvertRows(Source, Dest, Pair.Kernel, nullptr, C);
  } else {
    // Through 24 bits the 16-bit display range is the source's own, as when the source itself
    // would have been converted to 24 bits first.
    const TIERowContext SourceRange = IEMakeRowContext(Source, Source);
    TIERowContext Both = C;
    Both.RangeMin = SourceRange.RangeMin;
    Both.RangeMax = SourceRange.RangeMax;
    ConvertRows(Source, Dest, Conversions[From][ie24RGB].Kernel, Conversions[ie24RGB][To].Kernel, Both);
  }
  return true;
}

// Platform bitmaps hold these formats (ie8g as an 8-bit grey palette).
bool PlatformHolds(TIEPixelFormat Format) {
  return Format == ie1g || Format == ie8p || Format == ie8g || Format == ie24RGB || Format == ie32RGB;
}

}  // namespace

void TIEBitmap::CopyAndConvertFormat(TIEBitmap* Source) {
  if (!Source || Source == this) return;
  if (Source->GetWidth() != GetWidth() || Source->GetHeight() != GetHeight() || FLocation == ieTBitmap)
    return;
  if (Source->GetPixelFormat() != GetPixelFormat() && Source->GetPixelFormat() != ieNull)
    ConvertPixels(Source, this);
  if (Source->HasAlphaChannel())
    if (TIEBitmap* Alpha = GetAlphaChannel()) Alpha->Assign(Source->GetAlphaChannel());
  UpdateTBitmapPalette();
}

void TIEBitmap::SetPixelFormat(TIEPixelFormat NewPixelFormat) {
  if (NewPixelFormat != GetPixelFormat()) ConvertToPixelFormat(NewPixelFormat);
}

void TIEBitmap::ConvertToPixelFormat(TIEPixelFormat NewPixelFormat) {
  if (NewPixelFormat >= IEPixelFormatCount) return;
  if (FLocation == ieTBitmap) {
    TBitmap* Platform = FPlatformBitmap;
    if (!Platform) return;
    const TIEPixelFormat Current = GetPixelFormat();
    if (Platform->GetWidth() <= 0 || Platform->GetHeight() <= 0) {
      if (NewPixelFormat == ie1g)
        Platform->SetPixelFormat(pf1bit);
      else if (NewPixelFormat == ie24RGB)
        Platform->SetPixelFormat(pf24bit);
      else
        return;
    } else if (Current == ie24RGB && NewPixelFormat == ie1g) {
      if (FBlackWhiteConversion > 1) return;
      // A wrapper over the same platform bitmap is converted in place.
      TIEBitmap Wrapper;
      Wrapper.EncapsulateTBitmap(Platform, false);
      bool Aborting = false;
      TIEIOProgress Progress;
      Progress.Aborting = &Aborting;
      if (FBlackWhiteConversion == 0)
        IEConvertToBWOrdered(&Wrapper, Progress);
      else
        IEConvertToBWThreshold(&Wrapper, IEThresholdMeanColor, Progress);
    } else if (Current != NewPixelFormat && PlatformHolds(NewPixelFormat)) {
      // Converted in a memory copy and taken back; a format the platform bitmap cannot hold
      // (16-bit, float, CMYK, 48-bit, Lab) leaves the picture as it is rather than leaving
      // fields that no longer describe its rows.
      TIEBitmap Work;
      Work.AssignImage(this);
      if (Work.IsEmpty()) return;
      Work.ConvertToPixelFormat(NewPixelFormat);
      if (Work.GetPixelFormat() != NewPixelFormat) return;
      AssignImage(&Work);
    } else {
      return;
    }
    FWidth = Platform->GetWidth();
    FHeight = Platform->GetHeight();
    FPixelFormat = NewPixelFormat;
    ApplyFormatTable();
    BuildRowTable();
    return;
  }
  TIEBitmap Old;
  MoveDataTo(&Old);
  FWidth = Old.FWidth;
  FHeight = Old.FHeight;
  FPixelFormat = NewPixelFormat;
  if (Old.IsEmpty() || Old.FPixelFormat == ieNull) {
    AllocateStorage();
    return;
  }
  // The alpha channel comes back as it was instead of being copied.
  std::unique_ptr<TIEBitmap> Alpha = std::move(Old.FAlphaChannel);
  if (!AllocateStorage() || !ConvertPixels(&Old, this)) {
    // No room for the new pixels: the picture stays as it was.
    Old.FAlphaChannel = std::move(Alpha);
    Old.MoveDataTo(this);
    return;
  }
  FAlphaChannel = std::move(Alpha);
  UpdateTBitmapPalette();
}
