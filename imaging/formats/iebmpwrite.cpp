// BMP writing: 1, 4, 8 (optionally run-length coded), 24 and 32 bits under a 12, 40 or 64-byte
// header; sizes are filled in once every row is out.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iebmp.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

void StoreLE16(Byte* Out, Integer Value) {
  Out[0] = static_cast<Byte>(Value);
  Out[1] = static_cast<Byte>(Value >> 8);
}

class TBmpWriter {
 public:
  TBmpWriter(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
             bool SaveAlpha)
      : FStream(Stream), FBitmap(Bitmap), FParams(IOParams), FProgress(Progress), FSaveAlpha(SaveAlpha) {}

  void Write() {
    FStart = FStream->GetPosition();
    FBits = ChooseBitCount();
    FCore = FParams.BmpVersion == 2;
    FHeaderSize = FCore ? 12 : FParams.BmpVersion == 3 ? 64 : 40;
    FRle = !FCore && FParams.BmpCompression != 0 && (FBits == 4 || FBits == 8);
    FWidth = FBitmap->GetWidth();
    FHeight = FBitmap->GetHeight();
    FRowLen = (FWidth * FBits + 31) / 32 * 4;
    Byte FileHeader[14] = {'B', 'M'};
    Put(FileHeader, 14);
    std::vector<Byte> Header = BuildHeader(0);
    Put(Header.data(), static_cast<Integer>(Header.size()));
    IEStartProgress(FProgress, FHeight);
    switch (FBits) {
      case 1:
        WriteOneBit();
        break;
      case 4:
      case 8:
        WritePalettedRows();
        break;
      default:
        WriteTrueColour();
        break;
    }
    if (IEIsAborting(FProgress)) return;
    const Int64 End = FStream->GetPosition();
    IEStoreLE32(FileHeader + 2, static_cast<Cardinal>(End - FStart));
    IEStoreLE32(FileHeader + 10, static_cast<Cardinal>(FPixelPos - FStart));
    Header = BuildHeader(static_cast<Cardinal>(End - FPixelPos));
    FStream->SetPosition(FStart);
    Put(FileHeader, 14);
    Put(Header.data(), static_cast<Integer>(Header.size()));
    FStream->SetPosition(End);
  }

 private:
  Integer ChooseBitCount() {
    if (FParams.BitsPerSample == 1 || FParams.BitsPerSample == 4) return FParams.BitsPerSample;
    if (FParams.SamplesPerPixel == 1) return 8;
    return FBitmap->HasAlphaChannel() ? 32 : 24;
  }

  // A short write sets the abort flag; the row loops then stop.
  void Put(const void* Data, Integer Count) {
    if (IEIsAborting(FProgress)) return;
    if (FStream->Write(Data, Count) != Count) IESetAborting(FProgress);
  }

  std::vector<Byte> BuildHeader(Cardinal ImageSize) const {
    std::vector<Byte> H(static_cast<size_t>(FHeaderSize), 0);
    IEStoreLE32(H.data(), static_cast<Cardinal>(FHeaderSize));
    if (FCore) {
      StoreLE16(&H[4], FWidth);
      StoreLE16(&H[6], FHeight);
      StoreLE16(&H[8], 1);
      StoreLE16(&H[10], FBits);
      return H;
    }
    IEStoreLE32(&H[4], static_cast<Cardinal>(FWidth));
    IEStoreLE32(&H[8], static_cast<Cardinal>(FHeight));
    StoreLE16(&H[12], 1);
    StoreLE16(&H[14], FBits);
    IEStoreLE32(&H[16], FRle ? (FBits == 4 ? 2 : 1) : 0);
    IEStoreLE32(&H[20], ImageSize);
    IEStoreLE32(&H[24], static_cast<Cardinal>(IEDpiToPixelsPerMetre(FParams.DpiX)));
    IEStoreLE32(&H[28], static_cast<Cardinal>(IEDpiToPixelsPerMetre(FParams.DpiY)));
    if (FBits <= 8) IEStoreLE32(&H[32], 1u << FBits);
    if (FBits != 32) IEStoreLE32(&H[36], FBits == 24 ? 1u << 24 : 1u << FBits);
    return H;
  }

  void ReportRow(Integer Row, bool OnlyOnChange) {
    const Integer Percent = static_cast<Integer>((FHeight - 1 - Row) * FProgress.Factor);
    if (!FProgress.OnProgress || (OnlyOnChange && Percent == FReported)) return;
    FProgress.OnProgress(FProgress.Sender, Percent);
    FReported = Percent;
  }

  // The palette: three-byte entries after a core header, four-byte ones otherwise.
  void WritePalette() {
    const Integer Entry = FCore ? 3 : 4;
    std::vector<Byte> Out;
    for (const TIERGBTriple& C : FParams.ColorMap) {
      Out.insert(Out.end(), {C.rgbtBlue, C.rgbtGreen, C.rgbtRed});
      if (Entry == 4) Out.push_back(0);
    }
    Put(Out.data(), static_cast<Integer>(Out.size()));
    FPixelPos = FStream->GetPosition();
  }

  void WriteOneBit() {
    std::unique_ptr<TIEBitmap> Work;
    TIEBitmap* Bits = FBitmap;
    TIERGBTriple Dark{0, 0, 0}, Light{255, 255, 255};
    if (FBitmap->GetPixelFormat() != ie1g) {
      Work = IETwoColorsTo1Bit(FBitmap, Dark, Light);
      if (!Work) {
        Dark = {0, 0, 0};
        Light = {255, 255, 255};
        Work = IEConvertedCopy(FBitmap, ie1g);
      }
      Bits = Work.get();
    }
    FParams.ColorMap = {Dark, Light};
    WritePalette();
    std::vector<Byte> Row(static_cast<size_t>(FRowLen), 0);
    const size_t Used = static_cast<size_t>((FWidth + 7) / 8);
    for (Integer Y = FHeight - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      ReportRow(Y, true);
      std::memcpy(Row.data(), Bits->GetScanline(Y), Used);
      Put(Row.data(), FRowLen);
    }
  }

  void WritePalettedRows() {
    const Integer Colours = 1 << FBits;
    std::unique_ptr<TIEBitmap> Work;
    TIEBitmap* Pixels = FBitmap;
    const bool OwnIndices = FBitmap->GetPixelFormat() == ie8p && FBits == 8;
    if (!OwnIndices && FBitmap->GetPixelFormat() != ie24RGB) {
      Work = IEConvertedCopy(FBitmap, ie24RGB);
      Pixels = Work.get();
    }
    FParams.ColorMap.assign(static_cast<size_t>(Colours), TIERGBTriple{});
    TIEQuantizer Quantizer(Pixels, std::span<TIERGBTriple>(FParams.ColorMap), Colours);
    WritePalette();
    std::vector<Byte> Indices(static_cast<size_t>(FWidth));
    std::vector<Byte> Out(static_cast<size_t>(std::max<Integer>(FRowLen, 2 * FWidth + 2)));
    for (Integer Y = FHeight - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      ReportRow(Y, false);
      if (OwnIndices) {
        std::memcpy(Indices.data(), Pixels->GetScanline(Y), Indices.size());
      } else {
        const auto* Row = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
        for (Integer X = 0; X < FWidth; ++X)
          Indices[static_cast<size_t>(X)] =
              static_cast<Byte>(std::clamp(Quantizer.RGBIndex(Row[X]), 0, Colours - 1));
      }
      Integer Count = FRowLen;
      if (FRle) {
        Count = (FBits == 4 ? BmpEncodeRle4Row : BmpEncodeRle8Row)(Indices.data(), FWidth, Out.data());
      } else {
        std::fill(Out.begin(), Out.end(), 0);
        if (FBits == 8)
          std::memcpy(Out.data(), Indices.data(), Indices.size());
        else
          for (Integer X = 0; X < FWidth; ++X)
            Out[static_cast<size_t>(X / 2)] |= static_cast<Byte>(
                (X & 1) ? Indices[static_cast<size_t>(X)] & 0x0F : Indices[static_cast<size_t>(X)] << 4);
      }
      Put(Out.data(), Count);
    }
    if (FRle) {
      const Byte EndOfBitmap[2] = {0, 1};
      Put(EndOfBitmap, 2);
    }
  }

  void WriteTrueColour() {
    std::unique_ptr<TIEBitmap> Work;
    TIEBitmap* Pixels = FBitmap;
    if (FBitmap->GetPixelFormat() != ie24RGB) {
      Work = IEConvertedCopy(FBitmap, ie24RGB);
      Pixels = Work.get();
    }
    FPixelPos = FStream->GetPosition();
    std::vector<Byte> Row(static_cast<size_t>(FRowLen), 0);
    TIEBitmap* Alpha = FBits == 32 && FSaveAlpha ? FBitmap->GetAlphaChannel() : nullptr;
    for (Integer Y = FHeight - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      ReportRow(Y, false);
      const auto* Src = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
      if (FBits == 24) {
        std::memcpy(Row.data(), Src, static_cast<size_t>(FWidth) * 3);
      } else {
        const Byte* A = Alpha ? static_cast<const Byte*>(Alpha->GetScanline(Y)) : nullptr;
        for (Integer X = 0; X < FWidth; ++X) {
          Byte* P = &Row[static_cast<size_t>(X) * 4];
          P[0] = Src[X].rgbtBlue;
          P[1] = Src[X].rgbtGreen;
          P[2] = Src[X].rgbtRed;
          P[3] = A ? A[X] : 255;
        }
      }
      Put(Row.data(), FRowLen);
    }
  }

  TStream* FStream;
  TIEBitmap* FBitmap;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  bool FSaveAlpha;
  Int64 FStart = 0;
  Int64 FPixelPos = 0;
  Integer FBits = 24;
  bool FCore = false;
  bool FRle = false;
  Integer FHeaderSize = 40;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FRowLen = 0;
  Integer FReported = -1;
};

}  // namespace

void BmpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    bool SaveAlpha) {
  TBmpWriter(Stream, Bitmap, IOParams, Progress, SaveAlpha).Write();
}
