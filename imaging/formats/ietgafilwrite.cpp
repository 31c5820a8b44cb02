// Writing TGA pictures: header, image ID, palette, raw or packed rows, the extension area and
// the footer that points at it.
#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer TgaExtensionSize = 495;

void Put16(Byte* P, Integer V) {
  P[0] = static_cast<Byte>(V);
  P[1] = static_cast<Byte>(V >> 8);
}

bool SamePixel(const Byte* A, const Byte* B, Integer PixelBytes) {
  return std::memcmp(A, B, static_cast<size_t>(PixelBytes)) == 0;
}

// At most 40 characters and a zero byte.
void PutText(Byte* P, const std::string& Text) {
  std::memcpy(P, Text.data(), std::min<size_t>(Text.size(), 40));
}

class TTgaWriter {
 public:
  TTgaWriter(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress,
             TIEMask* Mask)
      : FStream(Stream), FBitmap(Bitmap), FParams(Params), FProgress(Progress), FMask(Mask) {}

  void Write() {
    FStart = FStream->GetPosition();
    FWidth = FBitmap->GetWidth();
    FHeight = FBitmap->GetHeight();
    ChooseDepth();
    WriteHeader();
    IEStartProgress(FProgress, FHeight);
    std::vector<Byte> Row(static_cast<size_t>(FWidth) * 4 + 8);
    std::vector<Byte> Packed(static_cast<size_t>(FWidth) * 5 + 8);
    for (Integer Y = 0; Y < FHeight; ++Y) {
      const Integer Count = ConvertRow(Y, Row.data());
      if (FParams.TgaCompressed)
        Put(Packed.data(), TgaPackRow(Row.data(), FWidth, FDepth == 8 ? 1 : 3, Packed.data()));
      else
        Put(Row.data(), Count);
      IEReportProgress(FProgress, Y + 1);
    }
    const Int64 ExtensionAt = FStream->GetPosition() - FStart;
    WriteExtension();
    Byte Footer[26] = {};
    IEStoreLE32(Footer, static_cast<Cardinal>(ExtensionAt));
    std::memcpy(Footer + 8, "TRUEVISION-XFILE.", 17);
    Put(Footer, 26);
  }

 private:
  void ChooseDepth() {
    const bool OneSample = FParams.SamplesPerPixel == 1;
    FPixels = FBitmap;
    if (OneSample && FParams.BitsPerSample == 1) {
      FDepth = 1;
      FParams.TgaCompressed = false;
      if (FBitmap->GetPixelFormat() != ie1g) {
        TIERGBTriple Dark, Light;
        FWork = IETwoColorsTo1Bit(FBitmap, Dark, Light);
        if (!FWork) FWork = IEConvertedCopy(FBitmap, ie1g);
        FPixels = FWork.get();
      }
    } else if (OneSample && (FParams.BitsPerSample == 4 || FParams.BitsPerSample == 8)) {
      FDepth = FParams.BitsPerSample;
      if (FDepth == 4) FParams.TgaCompressed = false;
      // The quantizer works on colours: a 1-bit picture becomes one first.
      if (FBitmap->GetPixelFormat() != ie24RGB) {
        FWork = IEConvertedCopy(FBitmap, ie24RGB);
        FPixels = FWork.get();
      }
      const Integer Colours = 1 << FDepth;
      FParams.FreeColorMap();
      FParams.ColorMap.assign(static_cast<size_t>(Colours), TIERGBTriple{});
      FQuantizer =
          std::make_unique<TIEQuantizer>(FPixels, std::span<TIERGBTriple>(FParams.ColorMap), Colours);
      FGrey = FDepth == 8 && FParams.TgaGrayLevel;
    } else {
      FDepth = FMask ? 32 : 24;
      if (FMask) FParams.TgaCompressed = false;
      if (FBitmap->GetPixelFormat() != ie24RGB) {
        FWork = IEConvertedCopy(FBitmap, ie24RGB);
        FPixels = FWork.get();
      }
    }
  }

  void WriteHeader() {
    const bool Paletted = FDepth == 4 || FDepth == 8;
    const bool HasMap = FDepth == 4 || (FDepth == 8 && !FGrey);
    const Integer Type = ((FDepth == 1 || FGrey) ? 3 : Paletted ? 1 : 2) + (FParams.TgaCompressed ? 8 : 0);
    const std::string& Id = FParams.TgaDescriptor;
    const Integer IdLength = static_cast<Integer>(std::min<size_t>(Id.size(), 254)) + 1;
    Byte H[18] = {};
    H[0] = static_cast<Byte>(IdLength);
    H[1] = HasMap ? 1 : 0;
    H[2] = static_cast<Byte>(Type);
    if (Paletted) {
      Put16(H + 5, 1 << FDepth);
      H[7] = 24;
    }
    Put16(H + 8, FParams.TgaXPos);
    Put16(H + 10, FParams.TgaYPos);
    Put16(H + 12, FWidth);
    Put16(H + 14, FHeight);
    H[16] = static_cast<Byte>(FDepth);
    H[17] = FDepth == 32 ? 0x28 : 0x20;
    Put(H, 18);
    std::vector<Byte> IdField(Id.begin(), Id.begin() + (IdLength - 1));
    IdField.push_back(0);
    Put(IdField.data(), IdLength);
    if (!HasMap) return;
    std::vector<Byte> Map;
    for (const TIERGBTriple& C : FParams.ColorMap)
      Map.insert(Map.end(), {C.rgbtBlue, C.rgbtGreen, C.rgbtRed});
    Put(Map.data(), static_cast<Integer>(Map.size()));
  }

  // The row as written (before packing); returns its bytes.
  Integer ConvertRow(Integer Y, Byte* Out) {
    const Byte* Source = static_cast<const Byte*>(FPixels->GetScanline(Y));
    switch (FDepth) {
      case 1: {
        const Integer Bytes = (FWidth + 7) / 8;
        std::memcpy(Out, Source, static_cast<size_t>(Bytes));
        return Bytes;
      }
      case 4:
      case 8: {
        const auto* Row = reinterpret_cast<const TIERGBTriple*>(Source);
        const Integer Last = (1 << FDepth) - 1;
        if (FDepth == 4) std::fill(Out, Out + (FWidth + 1) / 2, Byte{0});
        for (Integer X = 0; X < FWidth; ++X) {
          const Integer Index = std::clamp(FQuantizer->RGBIndex(Row[X]), 0, Last);
          if (FDepth == 4)
            Out[X / 2] |= static_cast<Byte>(X % 2 ? Index : Index << 4);
          else
            Out[X] =
                static_cast<Byte>(FGrey ? IEGrayValue(FParams.ColorMap[static_cast<size_t>(Index)]) : Index);
        }
        return FDepth == 4 ? (FWidth + 1) / 2 : FWidth;
      }
      case 24:
        std::memcpy(Out, Source, static_cast<size_t>(FWidth) * 3);
        return FWidth * 3;
      default: {
        const Byte* Alpha = FMask->GetScanline(Y);
        for (Integer X = 0; X < FWidth; ++X) {
          std::memcpy(Out + 4 * X, Source + 3 * X, 3);
          Out[4 * X + 3] = Alpha[X];
        }
        return FWidth * 4;
      }
    }
  }

  void WriteExtension() {
    std::vector<Byte> E(TgaExtensionSize, 0);
    PutText(E.data() + 2, FParams.TgaAuthor);
    PutText(E.data() + 379, FParams.TgaImageName);
    Word Year, Month, Day, Hour, Minute, Second, MSec;
    DecodeDate(FParams.TgaDate, Year, Month, Day);
    DecodeTime(FParams.TgaDate, Hour, Minute, Second, MSec);
    const Word Stamp[6] = {Month, Day, Year, Hour, Minute, Second};
    for (Integer I = 0; I < 6; ++I) Put16(E.data() + 367 + 2 * I, Stamp[I]);
    E[471] = FParams.TgaBackground.rgbtRed;
    E[472] = FParams.TgaBackground.rgbtGreen;
    E[473] = FParams.TgaBackground.rgbtBlue;
    Put16(E.data() + 474, static_cast<Integer>(FParams.TgaAspectRatio * 10000));
    Put16(E.data() + 476, 10000);
    Put16(E.data() + 478, static_cast<Integer>(FParams.TgaGamma * 10000));
    Put16(E.data() + 480, 10000);
    Put(E.data(), TgaExtensionSize);
  }

  void Put(const void* Data, Integer Count) {
    if (Count > 0 && FStream->Write(Data, Count) != Count) IESetAborting(FProgress);
  }

  TStream* FStream;
  TIEBitmap* FBitmap;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  TIEMask* FMask;
  TIEBitmap* FPixels = nullptr;
  std::unique_ptr<TIEBitmap> FWork;
  std::unique_ptr<TIEQuantizer> FQuantizer;
  Int64 FStart = 0;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FDepth = 24;
  bool FGrey = false;
};

}  // namespace

Integer TgaPackRow(const Byte* Pixels, Integer Count, Integer PixelBytes, Byte* Out) {
  auto At = [&](Integer I) { return Pixels + static_cast<ptrdiff_t>(I) * PixelBytes; };
  Byte* P = Out;
  Integer I = 0;
  while (I < Count) {
    Integer Run = 1;
    while (I + Run < Count && Run < 128 && SamePixel(At(I + Run), At(I), PixelBytes)) ++Run;
    if (Run >= 2) {
      *P++ = static_cast<Byte>(0x80 | (Run - 1));
      std::memcpy(P, At(I), static_cast<size_t>(PixelBytes));
      P += PixelBytes;
      I += Run;
      continue;
    }
    Integer Raw = 1;
    while (I + Raw < Count - 1 && Raw < 127 && !SamePixel(At(I + Raw), At(I + Raw + 1), PixelBytes)) ++Raw;
    // The row's last pixel never starts a packet of its own after a raw one.
    if (I + Raw == Count - 1) ++Raw;
    *P++ = static_cast<Byte>(Raw - 1);
    std::memcpy(P, At(I), static_cast<size_t>(Raw) * PixelBytes);
    P += static_cast<ptrdiff_t>(Raw) * PixelBytes;
    I += Raw;
  }
  return static_cast<Integer>(P - Out);
}

void TgaWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    TIEMask* AlphaMask) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  // A mask that does not cover the picture byte for byte cannot give its alpha.
  if (AlphaMask &&
      (!AlphaMask->GetBits() || AlphaMask->GetBitsPerPixel() != 8 ||
       AlphaMask->GetWidth() != Bitmap->GetWidth() || AlphaMask->GetHeight() != Bitmap->GetHeight()))
    AlphaMask = nullptr;
  // Nothing written is a failure the caller must see, not an empty success.
  if (Format != ie24RGB && Format != ie1g) {
    IESetAborting(Progress);
    return;
  }
  TTgaWriter(Stream, Bitmap, IOParams, Progress, AlphaMask).Write();
}
