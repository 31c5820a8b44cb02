// Writing GIF files of one frame: the picture reduced to one colour index per pixel (its own
// 1-bit or palette form, else the quantizer's palette), then header, global table, comments,
// graphic control block, image descriptor, LZW data and trailer.
#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/giffilter.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

void Report(TIEIOProgress& Progress, Integer Percent) {
  if (Progress.OnProgress) Progress.OnProgress(Progress.Sender, Percent);
}

void Put16(std::vector<Byte>& Out, Integer Value) {
  Out.push_back(static_cast<Byte>(Value));
  Out.push_back(static_cast<Byte>(Value >> 8));
}

Integer PackedRGB(const TIERGBTriple& C) {
  return (C.rgbtRed << 16) | (C.rgbtGreen << 8) | C.rgbtBlue;
}

class TGifWriter {
 public:
  TGifWriter(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress)
      : FStream(Stream), FBitmap(Bitmap), FParams(Params), FProgress(Progress) {}

  void Write() {
    FWidth = FBitmap->GetWidth();
    FHeight = FBitmap->GetHeight();
    // A GIF side is 16 bits; an empty picture has no frame to write.
    if (FWidth <= 0 || FHeight <= 0 || FWidth > 65535 || FHeight > 65535) {
      IESetAborting(FProgress);
      return;
    }
    ChoosePixels();
    BuildIndices();
    Report(FProgress, 30);
    if (IEIsAborting(FProgress)) return;
    std::vector<Byte> Head;
    PutHeader(Head);
    Put(Head.data(), static_cast<Integer>(Head.size()));
    Report(FProgress, 70);
    if (IEIsAborting(FProgress)) return;
    const TGifLzwCompressProc Compress =
        FParams.GifLzwCompressProc ? FParams.GifLzwCompressProc : IEGifLzwCompressProc;
    if (!Compress) {
      IESetAborting(FProgress);
      return;
    }
    // The codec does not check its writes: it writes to memory, and the file gets the result
    // through one checked write.
    TMemoryStream Coded;
    Compress(&Coded, FBits, FIndices.data(), static_cast<Integer>(FIndices.size()));
    Put(Coded.GetMemory(), static_cast<Integer>(Coded.GetSize()));
    const Byte Trailer = 0x3B;
    Put(&Trailer, 1);
    if (!IEIsAborting(FProgress)) Report(FProgress, 100);
  }

 private:
  void ChoosePixels() {
    FBits = std::clamp(FParams.BitsPerSample, 1, 8);
    FAlpha = FBitmap->HasAlphaChannel() ? FBitmap->GetAlphaChannel() : nullptr;
    // Black, white and the transparent slot do not fit in one bit.
    if (FBits == 1 && FAlpha) FBits = 2;
    FColors = 1 << FBits;
    if (FAlpha) {
      --FColors;
      FParams.GifHasTransparentColor = true;
    }
    FPixels = FBitmap;
    const TIEPixelFormat Format = FBitmap->GetPixelFormat();
    if (FBits == 1) {
      if (Format != ie1g) {
        TIERGBTriple Dark, Light;
        FWork = IETwoColorsTo1Bit(FBitmap, Dark, Light);
        if (!FWork) FWork = IEConvertedCopy(FBitmap, ie1g);
        FPixels = FWork.get();
      }
      return;
    }
    // A palette picture keeps its indices only when they all fit the file's table.
    const bool OwnPalette = Format == ie8p && FBitmap->GetPaletteUsed() <= FColors;
    if (Format != ie24RGB && !OwnPalette) {
      FWork = IEConvertedCopy(FBitmap, ie24RGB);
      FPixels = FWork.get();
    }
  }

  void BuildIndices() {
    FIndices.assign(static_cast<size_t>(FWidth) * FHeight, 0);
    const TIEPixelFormat Format = FPixels->GetPixelFormat();
    if (Format == ie1g) {
      FPalette[1] = {255, 255, 255};
      for (Integer Y = 0; Y < FHeight; ++Y) {
        const Byte* Row = static_cast<const Byte*>(FPixels->GetScanline(Y));
        Byte* Out = RowOut(Y);
        for (Integer X = 0; X < FWidth; ++X) Out[X] = (Row[X >> 3] >> (7 - (X & 7))) & 1;
      }
      return;
    }
    if (Format == ie8p) {
      for (Integer I = 0; I < FColors; ++I) FPixels->GetPaletteColor(I, FPalette[I]);
      for (Integer Y = 0; Y < FHeight; ++Y) {
        const Byte* Row = static_cast<const Byte*>(FPixels->GetScanline(Y));
        Byte* Out = RowOut(Y);
        for (Integer X = 0; X < FWidth; ++X) Out[X] = std::min<Byte>(Row[X], static_cast<Byte>(FColors - 1));
        MarkTransparent(Y, Out);
      }
      return;
    }
    FQuantizer =
        std::make_unique<TIEQuantizer>(FPixels, std::span<TIERGBTriple>(FPalette.data(), FColors), FColors);
    for (Integer Y = 0; Y < FHeight; ++Y) {
      const auto* Row = static_cast<const TIERGBTriple*>(FPixels->GetScanline(Y));
      Byte* Out = RowOut(Y);
      for (Integer X = 0; X < FWidth; ++X) Out[X] = static_cast<Byte>(ColorIndex(Row[X]));
      MarkTransparent(Y, Out);
    }
  }

  // Where picture row Y goes in the coded order.
  Byte* RowOut(Integer Y) {
    if (FParams.GifInterlaced) {
      if (FRowOrder.empty()) {
        FRowOrder.resize(static_cast<size_t>(FHeight));
        for (Integer I = 0; I < FHeight; ++I) FRowOrder[GifInterlacedRow(I, FHeight)] = I;
      }
      Y = FRowOrder[Y];
    }
    return FIndices.data() + static_cast<size_t>(Y) * FWidth;
  }

  void MarkTransparent(Integer Y, Byte* Out) {
    if (!FAlpha) return;
    const Byte* Alpha = static_cast<const Byte*>(FAlpha->GetScanline(Y));
    for (Integer X = 0; X < FWidth; ++X)
      if (Alpha[X] < 255) Out[X] = static_cast<Byte>(FColors);
  }

  // The quantizer's index of Color, else the nearest entry of the colours written.
  Integer ColorIndex(const TIERGBTriple& Color) const {
    if (FQuantizer) {
      const Integer Index = FQuantizer->RGBIndex(Color);
      if (Index >= 0 && Index < FColors) return Index;
    }
    return IEFindNearestColor(FPalette.data(), FColors, PackedRGB(Color));
  }

  void PutHeader(std::vector<Byte>& Out) {
    std::string Version = FParams.GifVersion.substr(0, 6);
    if (Version.size() < 6) Version = "GIF89a";
    Out.insert(Out.end(), Version.begin(), Version.end());
    Put16(Out, FWidth);
    Put16(Out, FHeight);
    Out.push_back(static_cast<Byte>(0x80 | ((FBits - 1) << 4) | (FBits - 1)));
    Out.push_back(static_cast<Byte>(ColorIndex(FParams.GifBackground)));
    Out.push_back(0);
    for (Integer I = 0; I < (1 << FBits); ++I)
      Out.insert(Out.end(), {FPalette[I].rgbtRed, FPalette[I].rgbtGreen, FPalette[I].rgbtBlue});
    // Comments go before the frame: readers such as ImageMagick drop those after the last one.
    PutComments(Out);
    const Integer Transparent = FAlpha ? FColors : ColorIndex(FParams.GifTransparentColor);
    Out.insert(Out.end(), {0x21, 0xF9, 4});
    Out.push_back(
        static_cast<Byte>(((FParams.GifAction & 7) << 2) | (FParams.GifHasTransparentColor ? 1 : 0)));
    Put16(Out, FParams.GifDelayTime);
    Out.push_back(static_cast<Byte>(Transparent));
    Out.push_back(0);
    Out.push_back(0x2C);
    Put16(Out, FParams.GifXPos);
    Put16(Out, FParams.GifYPos);
    Put16(Out, FWidth);
    Put16(Out, FHeight);
    Out.push_back(FParams.GifInterlaced ? 0x40 : 0);
  }

  // One sub-block per line, of its first (length mod 256) characters; an empty line would end
  // the extension early and is left out.
  void PutComments(std::vector<Byte>& Out) {
    Out.insert(Out.end(), {0x21, 0xFE});
    for (Integer I = 0; I < FParams.GifComments->GetCount(); ++I) {
      const std::string Line = FParams.GifComments->GetStrings(I);
      const size_t Length = Line.size() % 256;
      if (Length == 0) continue;
      Out.push_back(static_cast<Byte>(Length));
      Out.insert(Out.end(), Line.begin(), Line.begin() + static_cast<std::ptrdiff_t>(Length));
    }
    Out.push_back(0);
  }

  // A short write fails the file; writing goes on to the next check.
  void Put(const void* Data, Integer Count) {
    if (Count > 0 && FStream->Write(Data, Count) != Count) IESetAborting(FProgress);
  }

  TStream* FStream;
  TIEBitmap* FBitmap;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  TIEBitmap* FPixels = nullptr;
  TIEBitmap* FAlpha = nullptr;
  std::unique_ptr<TIEBitmap> FWork;
  std::unique_ptr<TIEQuantizer> FQuantizer;
  std::array<TIERGBTriple, 256> FPalette{};
  std::vector<Byte> FIndices;
  std::vector<Integer> FRowOrder;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBits = 8;
  Integer FColors = 256;
};

}  // namespace

void GifWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  Report(Progress, 0);
  if (IEIsAborting(Progress)) return;
  TGifWriter(Stream, Bitmap, IOParams, Progress).Write();
}
