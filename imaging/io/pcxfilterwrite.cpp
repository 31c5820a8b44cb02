// PCX writing: 1 bit (two colours kept apart), 4 and 8 bits through a quantized palette, 24 bits
// as three planes.
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iequantizer.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Byte TrailingPaletteMark = 12;

void StoreLE16(Byte* Out, Integer Value) {
  Out[0] = static_cast<Byte>(Value);
  Out[1] = static_cast<Byte>(Value >> 8);
}

// Palettes are stored red, green, blue.
void StorePalette(Byte* Out, std::span<const TIERGBTriple> Palette) {
  for (const TIERGBTriple& C : Palette) {
    *Out++ = C.rgbtRed;
    *Out++ = C.rgbtGreen;
    *Out++ = C.rgbtBlue;
  }
}

std::unique_ptr<TIEBitmap> ConvertedCopy(TIEBitmap* Source, TIEPixelFormat Format) {
  auto Copy = std::make_unique<TIEBitmap>(Source->GetWidth(), Source->GetHeight(), Format);
  Copy->CopyAndConvertFormat(Source);
  return Copy;
}

class TPcxWriter {
 public:
  TPcxWriter(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress)
      : FStream(Stream), FParams(Params), FProgress(Progress), FPixels(Bitmap) {
    FWidth = Bitmap->GetWidth();
    FHeight = Bitmap->GetHeight();
    FRle = Params.PcxCompression != 0;
  }

  void Write() {
    if (FParams.SamplesPerPixel > 3) FParams.SamplesPerPixel = 3;
    const Integer Depth = FParams.BitsPerSample == 1 ? 1 : FParams.BitsPerSample * FParams.SamplesPerPixel;
    if (Depth == 1)
      UseOneBitPicture();
    else
      UsePicture(ie24RGB);
    std::array<Byte, PcxHeaderSize> Header = HeaderFor(Depth);
    Put(Header.data(), PcxHeaderSize);
    switch (Depth) {
      case 1:
        WriteRows([this](Integer Y) {
          CodeLine(static_cast<const Byte*>(FPixels->GetScanline(Y)), (FWidth + 7) / 8, 1, 0);
        });
        break;
      case 4:
      case 8:
        WriteIndexRows(Depth);
        break;
      case 24:
        WriteRows([this](Integer Y) {
          const auto* Row = static_cast<const Byte*>(FPixels->GetScanline(Y));
          for (Integer Channel = 2; Channel >= 0; --Channel) CodeLine(Row, FWidth, 3, Channel);
        });
        break;
      default:
        break;  // no layout for this depth: the header alone
    }
    if (Depth == 8 && !IEIsAborting(FProgress)) {
      std::array<Byte, 769> Trailing{};
      Trailing[0] = TrailingPaletteMark;
      StorePalette(Trailing.data() + 1, FPalette);
      Put(Trailing.data(), static_cast<Integer>(Trailing.size()));
    }
  }

 private:
  // A short write fails the picture; the row loop stops at the next row.
  void Put(const void* Data, Integer Count) {
    if (FStream->Write(Data, Count) < Count) IESetAborting(FProgress);
  }

  void UsePicture(TIEPixelFormat Format) {
    if (FPixels->GetPixelFormat() == Format) return;
    FCopy = ConvertedCopy(FPixels, Format);
    FPixels = FCopy.get();
  }

  // A picture of exactly two colours keeps them as its palette.
  void UseOneBitPicture() {
    FPalette = {TIERGBTriple{0, 0, 0}, TIERGBTriple{255, 255, 255}};
    if (FPixels->GetPixelFormat() == ie1g) return;
    if (IEFormatProcs.TwoColorsTo1Bit) {
      TIERGBTriple Dark{}, Light{};
      if ((FCopy = IEFormatProcs.TwoColorsTo1Bit(FPixels, Dark, Light))) {
        FPixels = FCopy.get();
        FPalette = {Dark, Light};
        return;
      }
    }
    UsePicture(ie1g);
  }

  std::array<Byte, PcxHeaderSize> HeaderFor(Integer Depth) {
    std::array<Byte, PcxHeaderSize> H{};
    Integer Bits = 0, Planes = 0;
    switch (Depth) {
      case 1:
        Bits = 1, Planes = 1, FBytesPerLine = (FWidth + 7) / 8;
        break;
      case 4:
        Bits = 4, Planes = 1, FBytesPerLine = (FWidth + 1) / 2;
        Quantize(16);
        break;
      case 8:
        Bits = 8, Planes = 1, FBytesPerLine = FWidth;
        Quantize(256);
        break;
      case 24:
        Bits = 8, Planes = 3, FBytesPerLine = FWidth;
        break;
      default:
        FBytesPerLine = 0;
        break;
    }
    FBytesPerLine += FBytesPerLine & 1;
    H[0] = 10;
    H[1] = static_cast<Byte>(FParams.PcxVersion);
    H[2] = FRle ? 1 : 0;
    H[3] = static_cast<Byte>(Bits);
    StoreLE16(&H[8], FWidth - 1);
    StoreLE16(&H[10], FHeight - 1);
    StoreLE16(&H[12], FParams.DpiX);
    StoreLE16(&H[14], FParams.DpiY);
    if (Depth <= 4) StorePalette(&H[16], std::span(FPalette).first(std::min<size_t>(FPalette.size(), 16)));
    H[65] = static_cast<Byte>(Planes);
    StoreLE16(&H[66], FBytesPerLine);
    StoreLE16(&H[68], Depth == 24 ? 0 : 1);
    FLine.assign(static_cast<size_t>(2 * std::max(FBytesPerLine, FWidth) + 2), 0);
    return H;
  }

  void Quantize(Integer Colours) {
    FPalette.assign(static_cast<size_t>(Colours), TIERGBTriple{});
    FQuantizer = std::make_unique<TIEQuantizer>(FPixels, std::span<TIERGBTriple>(FPalette), Colours);
  }

  template <typename TRowWriter>
  void WriteRows(TRowWriter WriteRow) {
    const Double Factor = 100.0 / FHeight;
    for (Integer Y = 0; Y < FHeight; ++Y) {
      if (FProgress.OnProgress) FProgress.OnProgress(FProgress.Sender, static_cast<Integer>(Y * Factor));
      if (IEIsAborting(FProgress)) return;
      WriteRow(Y);
    }
  }

  // Count samples Stride apart from Start: run-length coded, or raw and padded to the line.
  void CodeLine(const Byte* Source, Integer Count, Integer Stride, Integer Start) {
    if (FRle) {
      Put(FLine.data(), PcxEncodeLine(FLine.data(), Source, Count, Stride, Start));
      return;
    }
    std::fill(FLine.begin(), FLine.begin() + FBytesPerLine, 0);
    for (Integer I = 0; I < Count; ++I) FLine[static_cast<size_t>(I)] = Source[Start + I * Stride];
    Put(FLine.data(), FBytesPerLine);
  }

  void WriteIndexRows(Integer Depth) {
    std::vector<Byte> Indices(static_cast<size_t>(FBytesPerLine), 0);
    const Integer Last = static_cast<Integer>(FPalette.size()) - 1;
    WriteRows([&](Integer Y) {
      const auto* Row = static_cast<const TIERGBTriple*>(FPixels->GetScanline(Y));
      std::fill(Indices.begin(), Indices.end(), 0);
      for (Integer X = 0; X < FWidth; ++X) {
        const Byte Index = static_cast<Byte>(std::clamp(FQuantizer->RGBIndex(Row[X]), 0, Last));
        if (Depth == 8)
          Indices[static_cast<size_t>(X)] = Index;
        else
          Indices[static_cast<size_t>(X / 2)] |= (X & 1) ? Index : static_cast<Byte>(Index << 4);
      }
      CodeLine(Indices.data(), FBytesPerLine, 1, 0);
    });
  }

  TStream* FStream;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  TIEBitmap* FPixels;
  std::unique_ptr<TIEBitmap> FCopy;
  std::unique_ptr<TIEQuantizer> FQuantizer;
  std::vector<TIERGBTriple> FPalette;
  std::vector<Byte> FLine;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBytesPerLine = 0;
  bool FRle = true;
};

}  // namespace

void PcxWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  // The header cannot describe an empty picture.
  if (Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) {
    IESetAborting(Progress);
    return;
  }
  try {
    TPcxWriter(Stream, Bitmap, IOParams, Progress).Write();
  } catch (...) {
    IESetAborting(Progress);
  }
}
