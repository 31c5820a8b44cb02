// The decisions of a TIFF page before it is written: which picture's rows go out, the
// parameters corrected to a layout the rows can have, the compression, the photometric
// interpretation and the predictor.
//
// The rows are always one of: a 1-bit picture; grey or palette samples of an ie8g, ie16g or
// ie8p picture taken as they are; indexes of a quantized ie24RGB picture; ie24RGB as RGB, CMYK
// or CIE L*a*b*; ieCMYK; ieRGB48. A picture of any other format, or one whose own samples do
// not match the layout asked for, is written from a converted copy, so the tags always describe
// the data.
#include <algorithm>
#include <span>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iequantizer.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tiffiltwrite.h"

TTIFFWriteState::TTIFFWriteState(TIOParamsVals& Params) : IOParams(Params) {}
TTIFFWriteState::~TTIFFWriteState() = default;

namespace {

// Library codes of TiffCompression.
constexpr Integer CodeCCITT1D = 1;
constexpr Integer CodeG3Fax2D = 3;
constexpr Integer CodeG4Fax = 4;
constexpr Integer CodeLZW = 5;
constexpr Integer CodeOldJpeg = 6;
constexpr Integer CodeJpeg = 7;
constexpr Integer CodePackBits = 8;
constexpr Integer CodeDeflate = 9;
constexpr Integer CodeDeflateAdobe = 10;

void UseCopy(TTIFFWriteState& S, std::unique_ptr<TIEBitmap> Copy) {
  S.OwnPicture = std::move(Copy);
  S.Picture = S.OwnPicture.get();
}

void ConvertPicture(TTIFFWriteState& S, TIEPixelFormat Format) {
  if (S.Picture->GetPixelFormat() == Format) return;
  auto Copy = std::make_unique<TIEBitmap>(S.Picture->GetWidth(), S.Picture->GetHeight(), Format);
  Copy->CopyAndConvertFormat(S.Picture);
  UseCopy(S, std::move(Copy));
}

// A picture of exactly two colours keeps them apart as black and white; others are reduced.
void MakeOneBit(TTIFFWriteState& S) {
  if (S.Picture->GetPixelFormat() == ie1g) return;
  std::unique_ptr<TIEBitmap> Bits;
  if (IEFormatProcs.TwoColorsTo1Bit) {
    TIERGBTriple Dark{}, Light{};
    Bits = IEFormatProcs.TwoColorsTo1Bit(S.Picture, Dark, Light);
  }
  if (Bits)
    UseCopy(S, std::move(Bits));
  else
    ConvertPicture(S, ie1g);
}

// Grey and palette pictures whose own samples are what the page holds.
bool KeepsOwnSamples(TIEBitmap* Picture, Integer Bits) {
  switch (Picture->GetPixelFormat()) {
    case ie8g:
      return Bits == 8;
    case ie16g:
      return Bits == 16;
    case ie8p:
      return Bits == 8 && !Picture->IsGrayScale();
    default:
      return false;
  }
}

// One sample of 2 to 8 or 16 bits: grey levels or palette indexes of a quantizer.
void Quantize(TTIFFWriteState& S) {
  TIOParamsVals& P = S.IOParams;
  if (!KeepsOwnSamples(S.Picture, P.BitsPerSample)) ConvertPicture(S, ie24RGB);
  const Integer Colours = std::min(1 << P.BitsPerSample, 256);
  S.Palette.assign(static_cast<std::size_t>(Colours), TIERGBTriple{});
  S.Quantizer = std::make_unique<TIEQuantizer>(S.Picture, std::span<TIERGBTriple>(S.Palette), Colours);
  if (P.TiffCompression != CodeLZW && P.TiffCompression != CodePackBits && P.TiffCompression != CodeDeflate)
    P.TiffCompression = 0;
  if (S.Quantizer->GetGrayScale()) {
    P.TiffPhotometric = 1;
  } else {
    P.TiffPhotometric = 3;
    if (P.BitsPerSample == 16) P.BitsPerSample = 8;
  }
}

bool IsJpegCode(Integer Code) {
  return Code == CodeOldJpeg || Code == CodeJpeg;
}

void ChooseWorkingPicture(TTIFFWriteState& S) {
  TIOParamsVals& P = S.IOParams;
  const Integer Bits = P.BitsPerSample, Samples = P.SamplesPerPixel;
  if (IsJpegCode(P.TiffCompression)) {
    // The JPEG codec takes 8-bit colour rows whatever the picture.
    ConvertPicture(S, ie24RGB);
    P.BitsPerSample = 8;
  } else if (Bits == 1 && Samples == 1) {
    MakeOneBit(S);
  } else if (S.Picture->GetPixelFormat() == ieCMYK || S.Picture->GetPixelFormat() == ieRGB48) {
    // Written in their own layout whatever the parameters ask (see CorrectParams).
  } else if (Samples == 1 && ((Bits >= 2 && Bits <= 8) || Bits == 16)) {
    Quantize(S);
  } else {
    ConvertPicture(S, ie24RGB);
  }
}

void SetRGB(TIOParamsVals& P, Integer Samples, Integer Bits) {
  P.SamplesPerPixel = Samples;
  P.BitsPerSample = Bits;
  P.TiffPhotometric = 2;
}

// The parameters brought to a combination the writer supports, in this order.
void CorrectParams(TIEPixelFormat Format, TIOParamsVals& P) {
  if (P.TiffPhotometric == 3 && P.SamplesPerPixel > 1) P.TiffPhotometric = 2;
  if (Format == ieRGB48) SetRGB(P, 3, 16);
  if (P.BitsPerSample > 8 && P.SamplesPerPixel != 1) SetRGB(P, 3, 8);
  if (P.TiffPhotometric <= 1 && P.BitsPerSample == 8 && P.SamplesPerPixel == 3) P.TiffPhotometric = 2;
  if (P.TiffPhotometric == 2 && P.SamplesPerPixel == 1 && P.BitsPerSample == 1) P.TiffPhotometric = 1;
  if (P.TiffPhotometric == 6 && P.TiffCompression != CodeJpeg) P.TiffPhotometric = 2;
  if (P.TiffPhotometric == 2 && P.SamplesPerPixel > 3) P.SamplesPerPixel = 3;
  if (Format == ieRGB48) SetRGB(P, 3, 16);
  if (Format == ieCMYK) {
    P.SamplesPerPixel = 4;
    P.BitsPerSample = 8;
    P.TiffPhotometric = 5;
  }
}

Word PhotometricOf(TIOParamsVals& P) {
  switch (P.TiffPhotometric) {
    case 0:
    case 1:
      return TiffBlackIsZero;
    case 3:
      return TiffPalette;
    case 5:
      P.SamplesPerPixel = 4;
      return TiffCMYK;
    case 7:
      return TiffCIELab;
    default:
      return TiffRGB;
  }
}

// The JPEG colour choice: 0 RGB, 1 grey, 2 YCbCr, 3 CMYK, 4 RGB data in an RGB JPEG.
void ChooseJpeg(TTIFFWriteState& S) {
  const TIOParamsVals& P = S.IOParams;
  static constexpr Word Photometrics[5] = {TiffRGB, TiffBlackIsZero, TiffYCbCr, TiffCMYK, TiffRGB};
  const Byte Choice = P.TiffJpegColorSpace <= 4 ? P.TiffJpegColorSpace : 2;
  S.Photometric = Photometrics[Choice];
  S.JpegColorSpace = Choice == 4 ? 0 : Choice;
  S.JpegQuality = P.TiffJpegQuality;
}

void ChooseCompression(TTIFFWriteState& S) {
  TIOParamsVals& P = S.IOParams;
  switch (P.TiffCompression) {
    case CodeCCITT1D:
    case 2:
    case CodeG3Fax2D:
    case CodeG4Fax: {
      static constexpr Word Fax[4] = {TiffCCITTHuffman, TiffCCITTGroup3, TiffCCITTGroup3, TiffCCITTGroup4};
      S.Compression = Fax[P.TiffCompression - 1];
      S.TwoDimensional = P.TiffCompression == CodeG3Fax2D;
      break;
    }
    case CodeLZW:
      S.LzwCompress = P.TiffLzwCompressProc ? P.TiffLzwCompressProc : IETiffLzwCompressProc;
      S.Compression = S.LzwCompress ? TiffLZW : TiffNoCompression;
      S.Predictor = S.LzwCompress != nullptr;
      break;
    case CodeOldJpeg:
    case CodeJpeg:
      S.Compression = P.TiffCompression == CodeOldJpeg ? TiffOldJpeg : TiffJpeg;
      ChooseJpeg(S);
      break;
    case CodePackBits:
      S.Compression = TiffPackBitsCompression;
      break;
    case CodeDeflate:
    case CodeDeflateAdobe:
      S.Compression = TiffDeflate;
      break;
    default:
      S.Compression = TiffNoCompression;
  }
  S.FillOrder = P.TiffFillOrder == 2 ? 2 : 1;
}

bool HasTransparency(TIEBitmap* Bitmap) {
  if (!Bitmap->HasAlphaChannel()) return false;
  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  const Integer Width = Alpha->GetWidth();
  for (Integer Y = 0; Y < Alpha->GetHeight(); ++Y) {
    const auto* Row = static_cast<const Byte*>(Alpha->GetScanline(Y));
    if (std::any_of(Row, Row + Width, [](Byte A) { return A != 255; })) return true;
  }
  return false;
}

}  // namespace

void TiffPrepareWriting(TIEBitmap* Bitmap, TTIFFWriteState& S) {
  TIOParamsVals& P = S.IOParams;
  S.Picture = Bitmap;
  ChooseWorkingPicture(S);
  const TIEPixelFormat Format = S.Picture->GetPixelFormat();
  CorrectParams(Format, P);

  S.Photometric = PhotometricOf(P);
  ChooseCompression(S);
  if (Format == ie1g) {
    S.Photometric = TiffIsCCITT(S.Compression) ? TiffWhiteIsZero : TiffBlackIsZero;
  } else {
    if (TiffIsCCITT(S.Compression)) S.Compression = TiffNoCompression;
    // Grey or palette layouts of several samples have no rows: such pages are RGB.
    if (Format == ie24RGB && !S.Quantizer &&
        (S.Photometric == TiffBlackIsZero || S.Photometric == TiffPalette) &&
        !IsJpegCode(P.TiffCompression)) {
      S.Photometric = TiffRGB;
      SetRGB(P, 3, 8);
    }
  }
  S.BitsPerSample = P.BitsPerSample;
  S.Predictor = S.Predictor && Format == ie24RGB && S.Photometric == TiffRGB && !Bitmap->HasAlphaChannel();

  switch (S.Photometric) {
    case TiffWhiteIsZero:
    case TiffBlackIsZero:
    case TiffPalette:
      S.SamplesPerPixel = 1;
      break;
    case TiffCMYK:
      S.SamplesPerPixel = 4;
      break;
    default:
      S.SamplesPerPixel = 3;
  }
  const bool AlphaCompression = S.Compression == TiffNoCompression || S.Compression == TiffLZW ||
                                S.Compression == TiffPackBitsCompression;
  if (Format == ie24RGB && S.Photometric == TiffRGB && AlphaCompression && HasTransparency(Bitmap)) {
    S.Alpha = Bitmap->GetAlphaChannel();
    S.AddAlpha = true;
    S.SamplesPerPixel = 4;
  }

  // The fax coders take set bits as black.
  if (TiffIsCCITT(S.Compression)) {
    if (S.Picture == Bitmap) {
      auto Copy = std::make_unique<TIEBitmap>();
      Copy->Assign(Bitmap);
      UseCopy(S, std::move(Copy));
    }
    IEInvertBitmap(S.Picture);
  }
}
