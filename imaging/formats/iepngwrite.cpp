#include "imaging/formats/iepngwrite.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iequantizer.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

constexpr const char* CreateError = "Error on creating PNG";

// How each file row is made from the working picture.
enum class TRowSource {
  PaletteIndices,  // ie8p rows as they are
  Quantized,       // RGBIndex of each ie24RGB pixel (plus one, or 0 where transparent)
  Rgb,             // ie24RGB rows as they are
  Rgba,            // B, G, R and the mask value
  Grey,            // grey levels at 8 or 16 bits
  OneBit,          // ie1g rows as they are
};

// Everything that must outlive a libpng error exit lives here, in the caller's frame; the
// frame that calls setjmp (Encode) keeps only plain values.
struct TPngWriteState {
  TStream* Stream = nullptr;
  TIEIOProgress* Progress = nullptr;
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  bool Failed = false;

  std::unique_ptr<TIEBitmap> WorkCopy;
  TIEBitmap* Work = nullptr;
  TIEMask* Mask = nullptr;
  std::unique_ptr<TIEQuantizer> Quantizer;
  std::vector<TIERGBTriple> QuantizerPalette;
  std::vector<png_color> FilePalette;
  bool Transparent = false;
  int ColorType = PNG_COLOR_TYPE_RGB;
  int Depth = 8;
  TRowSource Source = TRowSource::Rgb;
  png_color_16 Background{};
  bool WriteBackground = true;
  std::vector<std::string> TextStore;
  std::vector<png_text> Texts;
  std::vector<Byte> Row;
};

void PngErrorCallback(png_structp Png, png_const_charp) {
  static_cast<TPngWriteState*>(png_get_error_ptr(Png))->Failed = true;
  png_longjmp(Png, 1);
}

void PngWarningCallback(png_structp, png_const_charp) {}

void PngWriteCallback(png_structp Png, png_bytep Data, size_t Length) {
  auto* S = static_cast<TPngWriteState*>(png_get_io_ptr(Png));
  bool Short = false;
  try {
    Short = Length > 0x7FFFFFFF ||
            S->Stream->Write(Data, static_cast<Integer>(Length)) != static_cast<Integer>(Length);
  } catch (...) {
    Short = true;
  }
  if (Short) IESetAborting(*S->Progress);
}

void PngFlushCallback(png_structp) {}

void UseCopy(TPngWriteState& S, TIEPixelFormat Format) {
  S.WorkCopy = IEConvertedCopy(S.Work, Format);
  S.Work = S.WorkCopy.get();
}

// The working picture and how its rows become file rows.
void ChooseLayout(TPngWriteState& S, TIEBitmap* Bitmap, TIOParamsVals& P, TIEMask* AlphaMask) {
  S.Work = Bitmap;
  const bool OneSample = P.SamplesPerPixel == 1;
  if (OneSample && P.BitsPerSample != 1 && P.BitsPerSample != 8 && P.BitsPerSample != 16) P.BitsPerSample = 8;
  if (AlphaMask && AlphaMask->GetBitsPerPixel() == 8 && AlphaMask->GetWidth() == Bitmap->GetWidth() &&
      AlphaMask->GetHeight() == Bitmap->GetHeight()) {
    AlphaMask->SyncFull();
    S.Transparent = !AlphaMask->GetFull();
    S.Mask = AlphaMask;
  }
  // One bit per sample is written as 1-bit grey whatever the sample count.
  if (P.BitsPerSample == 1) {
    S.Transparent = false;
    if (Bitmap->GetPixelFormat() != ie1g) {
      TIERGBTriple Dark, Light;
      S.WorkCopy = IETwoColorsTo1Bit(Bitmap, Dark, Light);
      if (S.WorkCopy)
        S.Work = S.WorkCopy.get();
      else
        UseCopy(S, ie1g);
    }
    S.ColorType = PNG_COLOR_TYPE_GRAY;
    S.Depth = 1;
    S.Source = TRowSource::OneBit;
    return;
  }
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (!OneSample) {
    if (Format != ie24RGB) UseCopy(S, ie24RGB);
    S.ColorType = S.Transparent ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    S.Source = S.Transparent ? TRowSource::Rgba : TRowSource::Rgb;
    return;
  }
  // Grey pictures stay grey at the asked depth, with every bit they hold.
  if ((Format == ie8g || Format == ie16g) && !S.Transparent) {
    S.ColorType = PNG_COLOR_TYPE_GRAY;
    S.Depth = P.BitsPerSample;
    S.Source = TRowSource::Grey;
    return;
  }
  const bool KeepIndices = Format == ie8p && !S.Transparent;
  if (!KeepIndices && Format != ie24RGB) UseCopy(S, ie24RGB);
  S.Depth = S.Transparent ? 8 : P.BitsPerSample;
  const Integer Colours = S.Transparent ? std::min(1 << S.Depth, 255) : 256;
  S.QuantizerPalette.assign(static_cast<size_t>(Colours), TIERGBTriple{});
  S.Quantizer = std::make_unique<TIEQuantizer>(S.Work, std::span<TIERGBTriple>(S.QuantizerPalette), Colours);
  if (!S.Transparent && S.Quantizer->GetGrayScale() && !KeepIndices) {
    S.ColorType = PNG_COLOR_TYPE_GRAY;
    S.Source = TRowSource::Grey;
    return;
  }
  S.ColorType = PNG_COLOR_TYPE_PALETTE;
  S.Source = KeepIndices ? TRowSource::PaletteIndices : TRowSource::Quantized;
  if (S.Transparent)
    S.FilePalette.push_back({P.PngBackground.rgbtRed, P.PngBackground.rgbtGreen, P.PngBackground.rgbtBlue});
  for (const TIERGBTriple& C : S.QuantizerPalette)
    S.FilePalette.push_back({C.rgbtRed, C.rgbtGreen, C.rgbtBlue});
}

void ChooseBackground(TPngWriteState& S, const TIERGBTriple& Back) {
  png_color_16& B = S.Background;
  if (S.ColorType == PNG_COLOR_TYPE_PALETTE) {
    // With transparency entry 0 is the background colour itself.
    const Integer Index = S.Transparent ? 0 : S.Quantizer->RGBIndex(Back);
    S.WriteBackground = Index >= 0 && Index < static_cast<Integer>(S.FilePalette.size());
    B.index = static_cast<png_byte>(Index);
    return;
  }
  if (S.ColorType == PNG_COLOR_TYPE_GRAY) {
    const Integer Level = S.Quantizer ? S.Quantizer->RGBIndex(Back) : S.Depth == 1 ? 0 : Back.rgbtRed;
    B.gray = static_cast<png_uint_16>(S.Depth == 16 ? Level * 257 : S.Depth == 1 ? 0 : Level);
    return;
  }
  // 8-bit samples take 8-bit background values; libpng drops larger ones at this depth.
  B.red = Back.rgbtRed;
  B.green = Back.rgbtGreen;
  B.blue = Back.rgbtBlue;
}

void ChooseTexts(TPngWriteState& S, TIOParamsVals& P) {
  const Integer N = std::min(P.PngTextKeys->GetCount(), P.PngTextValues->GetCount());
  for (Integer I = 0; I < N; ++I) {
    S.TextStore.push_back(P.PngTextKeys->GetStrings(I));
    S.TextStore.push_back(P.PngTextValues->GetStrings(I));
  }
  S.Texts.resize(static_cast<size_t>(N));
  for (Integer I = 0; I < N; ++I) {
    png_text& T = S.Texts[static_cast<size_t>(I)];
    T.compression = PNG_TEXT_COMPRESSION_NONE;
    T.key = S.TextStore[static_cast<size_t>(2 * I)].data();
    T.text = S.TextStore[static_cast<size_t>(2 * I + 1)].data();
  }
}

// The file row Y of the working picture into S.Row.
const Byte* BuildRow(TPngWriteState& S, Integer Y) {
  TIEBitmap* W = S.Work;
  const Integer Width = W->GetWidth();
  void* Src = W->GetScanline(Y);
  Byte* Out = S.Row.data();
  switch (S.Source) {
    case TRowSource::PaletteIndices:
    case TRowSource::Rgb:
    case TRowSource::OneBit:
      return static_cast<const Byte*>(Src);
    case TRowSource::Quantized: {
      const auto* Rgb = static_cast<const TIERGBTriple*>(Src);
      const Byte* A = S.Transparent ? S.Mask->GetScanline(Y) : nullptr;
      const Integer Last = static_cast<Integer>(S.FilePalette.size()) - 1;
      for (Integer X = 0; X < Width; ++X) {
        const Integer Index = std::clamp(S.Quantizer->RGBIndex(Rgb[X]), 0, Last);
        Out[X] = static_cast<Byte>(A ? (A[X] == 255 ? std::min(Index + 1, Last) : 0) : Index);
      }
      return Out;
    }
    case TRowSource::Rgba: {
      const auto* Rgb = static_cast<const TIERGBTriple*>(Src);
      const Byte* A = S.Mask->GetScanline(Y);
      for (Integer X = 0; X < Width; ++X, Out += 4) {
        Out[0] = Rgb[X].rgbtBlue;
        Out[1] = Rgb[X].rgbtGreen;
        Out[2] = Rgb[X].rgbtRed;
        Out[3] = A[X];
      }
      return S.Row.data();
    }
    case TRowSource::Grey:
      break;
  }
  const TIEPixelFormat Format = W->GetPixelFormat();
  for (Integer X = 0; X < Width; ++X) {
    Word Level;  // 16-bit
    if (Format == ie16g)
      Level = static_cast<const Word*>(Src)[X];
    else if (Format == ie8g)
      Level = static_cast<Word>(static_cast<const Byte*>(Src)[X] * 257);
    else
      Level = static_cast<Word>(S.Quantizer->RGBIndex(static_cast<const TIERGBTriple*>(Src)[X]) * 257);
    if (S.Depth == 16) {
      Out[2 * X] = static_cast<Byte>(Level >> 8);
      Out[2 * X + 1] = static_cast<Byte>(Level);
    } else {
      Out[X] = static_cast<Byte>(Level >> 8);
    }
  }
  return Out;
}

// Under libpng's error exit: plain locals only, nothing read again after a longjmp.
void Encode(TPngWriteState& S, TIOParamsVals& P) {
  if (setjmp(png_jmpbuf(S.Png))) return;
  png_set_write_fn(S.Png, &S, PngWriteCallback, PngFlushCallback);
  if (!S.FilePalette.empty()) {
    png_set_PLTE(S.Png, S.Info, S.FilePalette.data(), static_cast<int>(S.FilePalette.size()));
    if (S.Transparent) {
      png_byte Alpha = 0;
      png_set_tRNS(S.Png, S.Info, &Alpha, 1, nullptr);
    }
  }
  const Integer Width = S.Work->GetWidth(), Height = S.Work->GetHeight();
  png_set_IHDR(S.Png, S.Info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), S.Depth,
               S.ColorType, P.PngInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(S.Png, S.Info, static_cast<png_uint_32>(IEDpiToPixelsPerMetre(P.DpiX)),
               static_cast<png_uint_32>(IEDpiToPixelsPerMetre(P.DpiY)), PNG_RESOLUTION_METER);
  constexpr int Filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_PAETH};
  if (P.PngFilter < 3) png_set_filter(S.Png, PNG_FILTER_TYPE_BASE, Filters[P.PngFilter]);
  if (S.WriteBackground) png_set_bKGD(S.Png, S.Info, &S.Background);
  png_set_compression_level(S.Png, std::clamp(P.PngCompression, 0, 9));
  png_set_bgr(S.Png);
  if (!S.Texts.empty()) png_set_text(S.Png, S.Info, S.Texts.data(), static_cast<int>(S.Texts.size()));
  png_write_info(S.Png, S.Info);
  const int Passes = png_set_interlace_handling(S.Png);
  IEStartProgress(*S.Progress, Passes * Height);
  Integer Done = 0;
  for (int Pass = 0; Pass < Passes; ++Pass) {
    for (Integer Y = 0; Y < Height && !IEIsAborting(*S.Progress); ++Y) {
      png_write_row(S.Png, BuildRow(S, Y));
      IEReportProgress(*S.Progress, ++Done);
    }
  }
  if (!IEIsAborting(*S.Progress)) png_write_end(S.Png, S.Info);
}

}  // namespace

void PngWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    TIEMask* AlphaMask) {
  TPngWriteState S;
  S.Stream = Stream;
  S.Progress = &Progress;
  S.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &S, PngErrorCallback, PngWarningCallback);
  if (!S.Png) throw EInvalidGraphic(CreateError);
  S.Info = png_create_info_struct(S.Png);
  if (!S.Info) {
    png_destroy_write_struct(&S.Png, nullptr);
    throw EInvalidGraphic(CreateError);
  }
  try {
    ChooseLayout(S, Bitmap, IOParams, AlphaMask);
    ChooseBackground(S, IOParams.PngBackground);
    ChooseTexts(S, IOParams);
    S.Row.resize(static_cast<size_t>(S.Work->GetWidth()) * 4 + 8);
    Encode(S, IOParams);
  } catch (...) {
    png_destroy_write_struct(&S.Png, &S.Info);
    throw;
  }
  png_destroy_write_struct(&S.Png, &S.Info);
  if (S.Failed) throw EInvalidGraphic(CreateError);
}
