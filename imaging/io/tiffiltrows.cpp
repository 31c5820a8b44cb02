// Decoded TIFF rows into the picture: the page's photometric interpretation, samples per pixel
// and bits per sample pick one row converter (the first matching layout wins); colours other
// than RGB go through the library's row colour conversion, alpha samples to the reader's mask.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Math.h"

namespace {

constexpr Word PhotometricWhiteIsZero = 0;
constexpr Word PhotometricBlackIsZero = 1;
constexpr Word PhotometricRGB = 2;
constexpr Word PhotometricPalette = 3;
constexpr Word PhotometricCMYK = 5;
constexpr Word PhotometricYCbCr = 6;
constexpr Word PhotometricCIELab = 8;

constexpr Integer ExtraAssociatedAlpha = 1;
constexpr Integer ExtraUnassociatedAlpha = 2;

// Files whose Software text begins so hold 16-bit grey with 12 significant bits.
constexpr std::string_view TwelveBitGreySoftware = "Look@Molli v1.1";

// One row being converted.
struct TRowJob {
  const TTIFFVars& Vars;
  Byte* Row;   // the decoded samples, changed in place where a converter needs to
  Byte* Dest;  // the picture's row at the first pixel
  Integer Width;
  TIOParamsICC* Profiles;
  TIEMask* Mask = nullptr;  // nullptr when no alpha is wanted
  Byte* Alpha = nullptr;    // the mask's row at the first pixel
  Integer AlphaCount = 0;   // pixels of the row inside the mask
};

using TRowConverter = void (*)(TRowJob& Job);

void ConvertColors(Byte* Source, Integer SourceLayout, Byte* Dest, Integer Count, TIOParamsICC* Profiles) {
  const TIEConvertColorRowProc Convert = IEConvertColorRowProc ? IEConvertColorRowProc : IEConvertColorRow;
  Convert(Source, static_cast<Byte>(SourceLayout), Dest, static_cast<Byte>(iecBGR), Count, Profiles);
}

// Keeps the first Keep of every Stride bytes, packed to the row's start.
void CompactSamples(Byte* Row, Integer Count, Integer Stride, Integer Keep) {
  if (Stride == Keep) return;
  for (Integer X = 0; X < Count; ++X)
    std::memmove(Row + X * Keep, Row + X * Stride, static_cast<size_t>(Keep));
}

// Sample Index of every pixel (Stride bytes apart) into the mask, through Map.
template <typename TMap>
void StoreAlpha(TRowJob& Job, Integer Stride, Integer Index, TMap Map) {
  Job.Mask->SetFull(false);
  const Byte* Source = Job.Row + Index;
  for (Integer X = 0; X < Job.AlphaCount; ++X) Job.Alpha[X] = Map(Source[X * Stride]);
}

void StoreAlpha(TRowJob& Job, Integer Stride, Integer Index) {
  StoreAlpha(Job, Stride, Index, [](Byte A) { return A; });
}

void SwapToBGR(const Byte* Source, Integer Stride, Byte* Dest, Integer Count) {
  for (Integer X = 0; X < Count; ++X, Source += Stride, Dest += 3) {
    Dest[0] = Source[2];
    Dest[1] = Source[1];
    Dest[2] = Source[0];
  }
}

Word Sample16(const TRowJob& Job, Integer Index) {
  return IEGetWord(Job.Row + 2 * Index, !Job.Vars.LittleEndian);
}

std::array<TIERGBTriple, 256> PaletteOf(const TTIFFVars& Vars) {
  std::array<TIERGBTriple, 256> Palette{};
  std::copy_n(Vars.ColorMap.begin(), std::min<size_t>(Vars.ColorMap.size(), Palette.size()), Palette.begin());
  return Palette;
}

// ---- RGB ----

void RGB8(TRowJob& Job) {
  const Integer Samples = Job.Vars.SamplesPerPixel;
  if (Samples == 4 && Job.Mask) {
    SwapToBGR(Job.Row, 4, Job.Dest, Job.Width);
    StoreAlpha(Job, 4, 3);
    return;
  }
  CompactSamples(Job.Row, Job.Width, Samples, 3);
  ConvertColors(Job.Row, iecRGB, Job.Dest, Job.Width, Job.Profiles);
}

Byte Unpremultiply(Byte Color, Byte Alpha) {
  const Double Factor = std::max(1.0 / 255, Alpha / 255.0);
  return static_cast<Byte>(Round(Color / Factor));
}

// RGB with several extra samples: each alpha one goes to the mask, associated alpha is taken
// out of the colours.
void RGB8Extra(TRowJob& Job) {
  const TTIFFVars& Vars = Job.Vars;
  const Integer Samples = Vars.SamplesPerPixel;
  SwapToBGR(Job.Row, Samples, Job.Dest, Job.Width);
  if (!Job.Mask) return;
  const Integer Extras = std::min<Integer>(Samples - 3, static_cast<Integer>(Vars.ExtraSamples.size()));
  for (Integer E = 0; E < Extras; ++E) {
    const Integer Kind = Vars.ExtraSamples[E];
    if (Kind != ExtraAssociatedAlpha && Kind != ExtraUnassociatedAlpha) continue;
    StoreAlpha(Job, Samples, 3 + E);
    if (Kind != ExtraAssociatedAlpha) continue;
    const Byte* Source = Job.Row + 3 + E;
    Byte* Dest = Job.Dest;
    for (Integer X = 0; X < Job.Width; ++X, Source += Samples, Dest += 3)
      for (Integer C = 0; C < 3; ++C) Dest[C] = Unpremultiply(Dest[C], *Source);
  }
}

void RGB48Native(TRowJob& Job) {
  auto* Dest = reinterpret_cast<TIERGB48Pixel*>(Job.Dest);
  for (Integer X = 0; X < Job.Width; ++X)
    Dest[X] = TIERGB48Pixel{Sample16(Job, 3 * X), Sample16(Job, 3 * X + 1), Sample16(Job, 3 * X + 2)};
}

void RGB16(TRowJob& Job) {
  CompactSamples(Job.Row, Job.Width, Job.Vars.SamplesPerPixel * 2, 6);
  ConvertColors(Job.Row, Job.Vars.LittleEndian ? iecRGB48 : iecRGB48BE, Job.Dest, Job.Width, Job.Profiles);
}

// One 16-bit sample read as 5-5-5 colour, always in little-endian order.
void RGB555(TRowJob& Job) {
  Byte* Dest = Job.Dest;
  for (Integer X = 0; X < Job.Width; ++X, Dest += 3) {
    const Integer Value = IEGetWord(Job.Row + 2 * X, false);
    Dest[0] = static_cast<Byte>((Value & 31) * 8);
    Dest[1] = static_cast<Byte>((Value >> 5 & 31) * 8);
    Dest[2] = static_cast<Byte>((Value >> 10 & 31) * 8);
  }
}

// ---- Palette ----

void PaletteBits(TRowJob& Job) {
  const auto Palette = PaletteOf(Job.Vars);
  auto* Dest = reinterpret_cast<TIERGBTriple*>(Job.Dest);
  for (Integer X = 0; X < Job.Width; ++X) Dest[X] = Palette[(Job.Row[X >> 3] >> (7 - (X & 7))) & 1];
}

void PaletteAlpha(TRowJob& Job) {
  const auto Palette = PaletteOf(Job.Vars);
  auto* Dest = reinterpret_cast<TIERGBTriple*>(Job.Dest);
  for (Integer X = 0; X < Job.Width; ++X) Dest[X] = Palette[Job.Row[2 * X]];
  if (Job.Mask) StoreAlpha(Job, 2, 1, [](Byte A) { return static_cast<Byte>(255 - A); });
}

void PaletteIndex(TRowJob& Job) {
  std::memcpy(Job.Dest, Job.Row, static_cast<size_t>(Job.Width));
}

void PaletteColor(TRowJob& Job) {
  const auto Palette = PaletteOf(Job.Vars);
  auto* Dest = reinterpret_cast<TIERGBTriple*>(Job.Dest);
  for (Integer X = 0; X < Job.Width; ++X) Dest[X] = Palette[Job.Row[X]];
}

// ---- Grey ----

bool WhiteIsZero(const TRowJob& Job) {
  return Job.Vars.Photometric == PhotometricWhiteIsZero;
}

void Grey16Native(TRowJob& Job) {
  const Word Flip = WhiteIsZero(Job) ? 0xFFFF : 0;
  auto* Dest = reinterpret_cast<Word*>(Job.Dest);
  for (Integer X = 0; X < Job.Width; ++X) Dest[X] = static_cast<Word>(Sample16(Job, X) ^ Flip);
}

void Grey16(TRowJob& Job) {
  const Integer Shift = std::string_view(Job.Vars.Software).starts_with(TwelveBitGreySoftware) ? 4 : 8;
  const Integer Flip = WhiteIsZero(Job) ? 0xFFFF : 0;
  Byte* Dest = Job.Dest;
  for (Integer X = 0; X < Job.Width; ++X, Dest += 3)
    Dest[0] = Dest[1] = Dest[2] = static_cast<Byte>((Sample16(Job, X) ^ Flip) >> Shift);
}

// Grey with alpha. The grey goes into the row itself, so that the colour conversion, which only
// knows grey through a colour profile, leaves a correct picture when no profile applies.
void GreyAlpha(TRowJob& Job) {
  const Integer Samples = Job.Vars.SamplesPerPixel;
  if (Job.Mask) StoreAlpha(Job, Samples, 1);
  const Byte Flip = WhiteIsZero(Job) ? 255 : 0;
  Byte* Dest = Job.Dest;
  for (Integer X = 0; X < Job.Width; ++X, Dest += 3)
    Dest[0] = Dest[1] = Dest[2] = static_cast<Byte>(Job.Row[X * Samples] ^ Flip);
  if (WhiteIsZero(Job)) return;
  CompactSamples(Job.Row, Job.Width, Samples, 1);
  ConvertColors(Job.Row, iecGray, Job.Dest, Job.Width, Job.Profiles);
}

// The fax decoders give white as set bits; the other codecs give the stored samples.
void GreyBits(TRowJob& Job) {
  const Word Compression = Job.Vars.Compression;
  const bool Fax = Compression >= 2 && Compression <= 4;
  const bool Invert = WhiteIsZero(Job) ? Compression == 1 || Compression >= 5 : Fax;
  const Integer Bytes = (Job.Width + 7) / 8;
  if (Invert)
    for (Integer I = 0; I < Bytes; ++I) Job.Dest[I] = static_cast<Byte>(~Job.Row[I]);
  else
    std::memcpy(Job.Dest, Job.Row, static_cast<size_t>(Bytes));
}

void Grey8Native(TRowJob& Job) {
  if (!WhiteIsZero(Job)) {
    std::memcpy(Job.Dest, Job.Row, static_cast<size_t>(Job.Width));
    return;
  }
  for (Integer X = 0; X < Job.Width; ++X) Job.Dest[X] = static_cast<Byte>(255 - Job.Row[X]);
}

void Grey8(TRowJob& Job) {
  const Byte Flip = WhiteIsZero(Job) ? 255 : 0;
  Byte* Dest = Job.Dest;
  for (Integer X = 0; X < Job.Width; ++X, Dest += 3)
    Dest[0] = Dest[1] = Dest[2] = static_cast<Byte>(Job.Row[X] ^ Flip);
}

// ---- CMYK ----

// CMYK with extra samples: the first, when it is unassociated alpha, to the mask; all extra
// samples then dropped.
void CMYKExtraAlpha(TRowJob& Job) {
  const TTIFFVars& Vars = Job.Vars;
  const Integer Samples = Vars.SamplesPerPixel;
  if (Samples < 5) return;
  if (Job.Mask && Vars.ExtraSample == ExtraUnassociatedAlpha) StoreAlpha(Job, Samples, 4);
  CompactSamples(Job.Row, Job.Width, Samples, 4);
}

void InvertBytes(Byte* Data, Integer Count) {
  for (Integer I = 0; I < Count; ++I) Data[I] = static_cast<Byte>(~Data[I]);
}

void CMYK8Native(TRowJob& Job) {
  CMYKExtraAlpha(Job);
  for (Integer I = 0; I < Job.Width * 4; ++I) Job.Dest[I] = static_cast<Byte>(~Job.Row[I]);
}

void CMYK8(TRowJob& Job) {
  CMYKExtraAlpha(Job);
  InvertBytes(Job.Row, Job.Width * 4);
  ConvertColors(Job.Row, iecCMYK, Job.Dest, Job.Width, Job.Profiles);
}

// 16-bit inks to the stored form: the high byte of each, inverted.
void CMYK16ToStored(const TRowJob& Job, Byte* Dest) {
  for (Integer I = 0; I < Job.Width * 4; ++I) Dest[I] = static_cast<Byte>((Sample16(Job, I) >> 8) ^ 255);
}

void CMYK16Native(TRowJob& Job) {
  CMYK16ToStored(Job, Job.Dest);
}

void CMYK16(TRowJob& Job) {
  std::vector<Byte> Stored(static_cast<size_t>(Job.Width) * 4);
  CMYK16ToStored(Job, Stored.data());
  ConvertColors(Stored.data(), iecCMYK, Job.Dest, Job.Width, Job.Profiles);
}

// ---- Other colour spaces ----

void CIELab8(TRowJob& Job) {
  ConvertColors(Job.Row, iecCIELab, Job.Dest, Job.Width, Job.Profiles);
}

// Pairs of pixels share their chroma: Y0, Y1, Cb, Cr.
void YCbCr21(TRowJob& Job) {
  std::vector<Byte> Triples(static_cast<size_t>(Job.Width) * 3);
  const Byte* Group = Job.Row;
  for (Integer X = 0; X < Job.Width; X += 2, Group += 4) {
    Byte* T = Triples.data() + X * 3;
    T[0] = Group[0], T[1] = Group[2], T[2] = Group[3];
    if (X + 1 < Job.Width) T[3] = Group[1], T[4] = Group[2], T[5] = Group[3];
  }
  ConvertColors(Triples.data(), iec3Channel, Job.Dest, Job.Width, Job.Profiles);
}

bool IsGreyBits(Integer Bits) {
  return Bits == 8 || Bits == 4 || Bits == 2 || Bits == 7;
}

// The layouts in the order they are tried; nullptr: the row is not written.
TRowConverter ChooseConverter(const TTIFFVars& Vars, TIEPixelFormat Format) {
  const Word P = Vars.Photometric;
  const Integer S = Vars.SamplesPerPixel, B = Vars.BitsPerSample;
  const bool RGB24 = Format == ie24RGB;
  switch (P) {
    case PhotometricRGB:
      if ((S == 3 || S == 4) && B == 8 && RGB24) return RGB8;
      if (S >= 5 && !Vars.ExtraSamples.empty() && B == 8 && RGB24) return RGB8Extra;
      if (S == 3 && B == 16 && Format == ieRGB48) return RGB48Native;
      if ((S == 3 || S == 4) && B == 16 && RGB24) return RGB16;
      if (S == 1 && B == 16 && RGB24) return RGB555;
      return nullptr;
    case PhotometricPalette:
      if (S == 1 && B == 1 && RGB24) return PaletteBits;
      if (S == 2 && B == 8 && RGB24) return PaletteAlpha;
      if (S == 1 && B == 8 && Format == ie8p) return PaletteIndex;
      if (S == 1 && B >= 2 && B <= 8 && RGB24) return PaletteColor;
      return nullptr;
    case PhotometricWhiteIsZero:
    case PhotometricBlackIsZero:
      if (S == 1 && B == 16 && Format == ie16g) return Grey16Native;
      if (S == 1 && B == 16 && RGB24) return Grey16;
      if (S >= 2 && B == 8 && RGB24) return GreyAlpha;
      if (S == 1 && B == 1 && Format == ie1g) return GreyBits;
      if (S == 1 && IsGreyBits(B) && Format == ie8g) return Grey8Native;
      if (S == 1 && IsGreyBits(B) && RGB24) return Grey8;
      return nullptr;
    case PhotometricCMYK:
      if (S >= 4 && B == 8 && Format == ieCMYK) return CMYK8Native;
      if (S >= 4 && B == 8 && RGB24) return CMYK8;
      if (S == 4 && B == 16 && Format == ieCMYK) return CMYK16Native;
      if (S == 4 && B == 16 && RGB24) return CMYK16;
      return nullptr;
    case PhotometricCIELab:
      return S == 3 && B == 8 && RGB24 ? CIELab8 : nullptr;
    case PhotometricYCbCr:
      // Planar pages have no pixel pairs to share chroma.
      return S == 3 && B == 8 && Vars.PlanarConfig != 2 && Vars.YCbCrSubSampling[0] == 2 &&
                     Vars.YCbCrSubSampling[1] == 1 && RGB24
                 ? YCbCr21
                 : nullptr;
    default:
      return nullptr;
  }
}

// The picture column of a row offset as the strip decoder gives it.
Integer ColumnOf(TIEPixelFormat Format, Integer XOffset) {
  switch (Format) {
    case ie1g:
      return XOffset * 8;
    case ie16g:
      return XOffset / 2;
    case ie8g:
    case ie8p:
      return XOffset;
    default:
      return XOffset / 3;
  }
}

}  // namespace

void TiffConvertRow(TTIFFVars& Vars, Byte* Row, TIEBitmap* Bitmap, Integer RowIndex, Integer XOffset,
                    Integer Width) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  const TRowConverter Convert = ChooseConverter(Vars, Format);
  if (!Convert || Width <= 0 || RowIndex < 0 || RowIndex >= Bitmap->GetHeight()) return;
  const Integer Column = ColumnOf(Format, XOffset);
  const Integer ByteOffset = Format == ieCMYK ? Column * 4 : Format == ieRGB48 ? Column * 6 : XOffset;
  TRowJob Job{Vars, Row, static_cast<Byte*>(Bitmap->GetScanline(RowIndex)) + ByteOffset, Width,
              Vars.IOParams};
  TIEMask* Mask = Vars.SkipAlpha ? nullptr : Vars.AlphaMask;
  if (Mask && RowIndex < Mask->GetHeight() && Column < Mask->GetWidth()) {
    Job.Mask = Mask;
    Job.Alpha = Mask->GetScanline(RowIndex) + Column;
    Job.AlphaCount = std::min(Width, Mask->GetWidth() - Column);
  }
  Convert(Job);
}
