#include "imaging/io/pngfilt.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

// Limits libpng applies while it reads the header and the ancillary chunks: the picture's sides,
// the bytes of one chunk and the count of kept chunks.
constexpr png_uint_32 MaxSide = 1000000;
constexpr png_alloc_size_t MaxChunkBytes = 8000000;
constexpr png_uint_32 MaxKeptChunks = 1000;
// Deflate turns one byte into at most 1032.
constexpr Int64 MaxInflateRatio = 1032;

// Everything that must outlive a libpng error: the error exit longjmps back into DecodePng,
// so the buffers are owned here, in the caller's frame, and DecodePng keeps only plain locals.
struct TPngReadState {
  TStream* Stream = nullptr;
  TIEBitmap* Bitmap = nullptr;
  TIOParamsVals* IOParams = nullptr;
  TIEIOProgress* Progress = nullptr;
  bool Preview = false;
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::vector<Byte> Buffer;
};

void PngErrorCallback(png_structp Png, png_const_charp) {
  IESetAborting(*static_cast<TPngReadState*>(png_get_error_ptr(Png))->Progress);
  png_longjmp(Png, 1);
}

void PngWarningCallback(png_structp, png_const_charp) {}

// A short stream ends the read like bad data; nothing of the stream's own exceptions may pass
// through libpng's C frames.
void PngReadCallback(png_structp Png, png_bytep Data, size_t Length) {
  auto* State = static_cast<TPngReadState*>(png_get_io_ptr(Png));
  bool Short = false;
  try {
    while (Length > 0 && !Short) {
      const Integer Piece = static_cast<Integer>(std::min<size_t>(Length, 1 << 30));
      const Integer Got = State->Stream->Read(Data, Piece);
      Short = Got != Piece;
      Data += Piece;
      Length -= static_cast<size_t>(Piece);
    }
  } catch (...) {
    Short = true;
  }
  if (Short) png_error(Png, "unexpected end of data");
}

Integer SamplesOfColorType(int ColorType) {
  switch (ColorType) {
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

void ReadTexts(TPngReadState& S) {
  S.IOParams->PngTextKeys->Clear();
  S.IOParams->PngTextValues->Clear();
  png_textp Texts = nullptr;
  int Count = 0;
  png_get_text(S.Png, S.Info, &Texts, &Count);
  for (int I = 0; I < Count; ++I) {
    S.IOParams->PngTextKeys->Add(Texts[I].key ? Texts[I].key : "");
    S.IOParams->PngTextValues->Add(
        std::string_view(Texts[I].text ? Texts[I].text : "", Texts[I].text_length));
  }
}

void ReadBackground(TPngReadState& S, int BitDepth) {
  png_color_16p Back = nullptr;
  if (!png_get_bKGD(S.Png, S.Info, &Back) || !Back) return;
  const auto To8 = [BitDepth](png_uint_16 V) { return static_cast<Byte>(BitDepth == 16 ? V >> 8 : V); };
  S.IOParams->PngBackground = {To8(Back->blue), To8(Back->green), To8(Back->red)};
}

// Transformations that make libpng deliver the bitmap's own row layout.
void ChooseTransformations(png_structp Png, int BitDepth, int ColorType, bool Native) {
  if (Native) {
    if (BitDepth == 16) png_set_swap(Png);
    return;
  }
  const bool Grey = (ColorType & PNG_COLOR_MASK_COLOR) == 0;
  if (ColorType == PNG_COLOR_TYPE_PALETTE && BitDepth >= 2) png_set_palette_to_rgb(Png);
  if (ColorType == PNG_COLOR_TYPE_GRAY && BitDepth >= 2 && BitDepth < 8) png_set_expand_gray_1_2_4_to_8(Png);
  if (BitDepth == 16) png_set_strip_16(Png);
  if (BitDepth >= 2 && BitDepth < 8) png_set_packing(Png);
  if (Grey && BitDepth > 1) png_set_gray_to_rgb(Png);
  if (BitDepth > 1) {
    png_set_bgr(Png);
    png_set_tRNS_to_alpha(Png);
  }
}

void FillParams(TPngReadState& S, png_uint_32 Width, png_uint_32 Height, int BitDepth, int ColorType,
                int Interlace) {
  TIOParamsVals& P = *S.IOParams;
  P.SetImageCount(1);
  P.Width = P.FileWidth = static_cast<Integer>(Width);
  P.Height = P.FileHeight = static_cast<Integer>(Height);
  P.BitsPerSample = BitDepth;
  P.SamplesPerPixel = SamplesOfColorType(ColorType);
  const Integer DpiX = IEPixelsPerMetreToDpi(png_get_x_pixels_per_meter(S.Png, S.Info));
  const Integer DpiY = IEPixelsPerMetreToDpi(png_get_y_pixels_per_meter(S.Png, S.Info));
  P.SetDpiX(DpiX != 0 ? DpiX : DefaultDpiX);
  P.SetDpiY(DpiY != 0 ? DpiY : DefaultDpiY);
  P.FreeColorMap();
  png_colorp Palette = nullptr;
  int PaletteCount = 0;
  if (ColorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(S.Png, S.Info, &Palette, &PaletteCount)) {
    for (int I = 0; I < PaletteCount; ++I)
      P.ColorMap.push_back({Palette[I].blue, Palette[I].green, Palette[I].red});
  }
  P.PngInterlaced = Interlace == PNG_INTERLACE_ADAM7;
}

bool AllocateBitmap(TPngReadState& S, Integer Width, Integer Height, int BitDepth, int ColorType,
                    bool Native) {
  TIEBitmap* B = S.Bitmap;
  if (ColorType == PNG_COLOR_TYPE_GRAY && BitDepth == 1) return B->Allocate(Width, Height, ie1g);
  if (!Native) return B->Allocate(Width, Height, ie24RGB);
  if (ColorType == PNG_COLOR_TYPE_GRAY) return B->Allocate(Width, Height, BitDepth == 16 ? ie16g : ie8g);
  if (!B->Allocate(Width, Height, ie8p)) return false;
  const auto& Map = S.IOParams->ColorMap;
  const Integer Entries = std::min<Integer>(1 << BitDepth, B->GetPaletteLen());
  for (Integer I = 0; I < Entries && I < static_cast<Integer>(Map.size()); ++I) B->SetPaletteColor(I, Map[I]);
  return true;
}

// The rows of every pass; libpng merges the interlace passes into the row it is given.
void ReadRows(TPngReadState& S, Integer Width, Integer Height, int Passes, int BitDepth, int ColorType,
              int Channels) {
  TIEBitmap* B = S.Bitmap;
  const bool WithAlpha = Channels == 4;
  const bool OneBitPalette = ColorType == PNG_COLOR_TYPE_PALETTE && BitDepth == 1;
  const size_t RowBytes = png_get_rowbytes(S.Png, S.Info);
  TIEBitmap* Alpha = nullptr;
  if (WithAlpha) {
    S.Buffer.resize(RowBytes * (Passes > 1 ? static_cast<size_t>(Height) : 1));
    Alpha = B->GetAlphaChannel();
    Alpha->SetFull(false);
  } else {
    // A bitmap of the same size and format keeps its storage, and so the last picture's alpha.
    if (B->HasAlphaChannel()) B->RemoveAlphaChannel(false, 0);
  }
  if (OneBitPalette) {
    S.Buffer.resize(std::max<size_t>(RowBytes, static_cast<size_t>(Width / 8 + 1)));
  }
  TIERGBTriple Two[2] = {};
  const auto& Map = S.IOParams->ColorMap;
  for (size_t I = 0; I < 2 && I < Map.size(); ++I) Two[I] = Map[I];

  IEStartProgress(*S.Progress, Height * Passes);
  Integer Done = 0;
  Integer Reported = -1;
  for (int Pass = 0; Pass < Passes; ++Pass) {
    for (Integer Y = 0; Y < Height && !IEIsAborting(*S.Progress); ++Y) {
      if (WithAlpha) {
        Byte* Src = S.Buffer.data() + (Passes > 1 ? RowBytes * static_cast<size_t>(Y) : 0);
        png_read_row(S.Png, Src, nullptr);
        auto* Dst = static_cast<TIERGBTriple*>(B->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X, Src += 4) Dst[X] = {Src[0], Src[1], Src[2]};
        Src -= static_cast<size_t>(Width) * 4;
        auto* A = static_cast<Byte*>(Alpha->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X) A[X] = Src[X * 4 + 3];
      } else if (OneBitPalette) {
        png_read_row(S.Png, S.Buffer.data(), nullptr);
        auto* Dst = static_cast<TIERGBTriple*>(B->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X) Dst[X] = Two[IEUtilsGetBit(S.Buffer.data(), X) ? 1 : 0];
      } else {
        png_read_row(S.Png, static_cast<png_bytep>(B->GetScanline(Y)), nullptr);
      }
      ++Done;
      const Integer Percent = static_cast<Integer>(Done * S.Progress->Factor);
      if (S.Progress->OnProgress && Percent != Reported) {
        IEReportProgress(*S.Progress, Done);
        Reported = Percent;
      }
    }
  }
}

// The filtered rows a picture inflates to, at least: one filter byte and the packed samples a
// row (interlacing only adds filter bytes and padding).
bool ClaimsMoreThanDataHolds(TPngReadState& S, png_uint_32 Width, png_uint_32 Height, int BitDepth,
                             int ColorType) {
  const Int64 RowBytes = 1 + (static_cast<Int64>(Width) * BitDepth * SamplesOfColorType(ColorType) + 7) / 8;
  return IEClaimExceedsData(Height, RowBytes, IEStreamBytesLeft(S.Stream), MaxInflateRatio);
}

// Runs under libpng's error exit: locals are plain values, and nothing here is read again
// after a longjmp.
void DecodePng(TPngReadState& S) {
  if (setjmp(png_jmpbuf(S.Png))) return;
  png_set_read_fn(S.Png, &S, PngReadCallback);
  png_set_user_limits(S.Png, MaxSide, MaxSide);
  png_set_chunk_malloc_max(S.Png, MaxChunkBytes);
  png_set_chunk_cache_max(S.Png, MaxKeptChunks);
  png_read_info(S.Png, S.Info);
  png_uint_32 Width = 0, Height = 0;
  int BitDepth = 0, ColorType = 0, Interlace = 0, Compression = 0, Filter = 0;
  png_get_IHDR(S.Png, S.Info, &Width, &Height, &BitDepth, &ColorType, &Interlace, &Compression, &Filter);
  ReadTexts(S);
  ReadBackground(S, BitDepth);
  const bool Native = S.IOParams->NativePixelFormat && (BitDepth == 8 || BitDepth == 16) &&
                      (ColorType == PNG_COLOR_TYPE_GRAY || ColorType == PNG_COLOR_TYPE_PALETTE);
  ChooseTransformations(S.Png, BitDepth, ColorType, Native);
  const int Passes = png_set_interlace_handling(S.Png);
  png_read_update_info(S.Png, S.Info);
  FillParams(S, Width, Height, BitDepth, ColorType, Interlace);
  if (S.Preview) return;
  // A header claiming more than the data left could inflate to is refused before anything is
  // allocated; a stream that cannot tell its size is read as far as it goes.
  if (ClaimsMoreThanDataHolds(S, Width, Height, BitDepth, ColorType)) {
    IESetAborting(*S.Progress);
    return;
  }
  const auto W = static_cast<Integer>(Width), H = static_cast<Integer>(Height);
  if (!AllocateBitmap(S, W, H, BitDepth, ColorType, Native)) {
    IESetAborting(*S.Progress);
    return;
  }
  ReadRows(S, W, H, Passes, BitDepth, ColorType, png_get_channels(S.Png, S.Info));
  if (!IEIsAborting(*S.Progress)) png_read_end(S.Png, nullptr);
}

}  // namespace

void PngReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview) {
  TPngReadState S;
  S.Stream = Stream;
  S.Bitmap = Bitmap;
  S.IOParams = &IOParams;
  S.Progress = &Progress;
  S.Preview = Preview;
  S.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &S, PngErrorCallback, PngWarningCallback);
  if (S.Png) S.Info = png_create_info_struct(S.Png);
  if (!S.Png || !S.Info) {
    IESetAborting(Progress);
  } else {
    try {
      DecodePng(S);
    } catch (...) {
      IESetAborting(Progress);
    }
  }
  png_destroy_read_struct(S.Png ? &S.Png : nullptr, S.Info ? &S.Info : nullptr, nullptr);
}

bool PngIsFile(TStream* Stream) {
  png_byte Signature[8] = {};
  const Integer Got = Stream->Read(Signature, 8);
  Stream->Seek(-static_cast<Int64>(std::max<Integer>(Got, 0)), soCurrent);
  return Got == 8 && png_sig_cmp(Signature, 0, 4) == 0;
}
