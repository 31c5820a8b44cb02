// Icon writing: per requested size and depth one image (40-byte header, palette, colour rows,
// AND rows) of the picture resampled to that size; the directory is filled in once every image
// is out, since only then are the image sizes and offsets known.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/ieresample.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/ieico.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

TIEIcoProcs IEIcoProcs;

namespace {

constexpr Integer DirectoryHeaderBytes = 6;
constexpr Integer EntryBytes = 16;
constexpr Integer InfoHeaderBytes = 40;

void StoreLE16(Byte* Out, Integer Value) {
  Out[0] = static_cast<Byte>(Value);
  Out[1] = static_cast<Byte>(Value >> 8);
}

// The depth an entry's bit count asks for; 0 follows the parameters' layout.
Integer DepthOf(Integer BitCount, const TIOParamsVals& Params) {
  switch (BitCount) {
    case 1:
    case 4:
    case 8:
    case 32:
      return BitCount;
    case 0:
      if (Params.SamplesPerPixel == 1 && Params.BitsPerSample == 1) return 1;
      if (Params.SamplesPerPixel == 1 && Params.BitsPerSample == 4) return 4;
      if (Params.SamplesPerPixel == 3 && Params.BitsPerSample == 8) return 24;
      if (Params.SamplesPerPixel == 4 && Params.BitsPerSample == 8) return 32;
      return 8;
    default:
      return 24;
  }
}

// Source at Width x Height with its alpha channel; a 1-bit picture is resampled without a
// filter so that it stays 1-bit. Nil when the picture cannot be allocated.
std::unique_ptr<TIEBitmap> ResampledCopy(TIEBitmap* Source, Integer Width, Integer Height) {
  auto Work = std::make_unique<TIEBitmap>();
  if (!Work->Allocate(Width, Height, Source->GetPixelFormat())) return nullptr;
  const bool OneBit = Source->GetPixelFormat() == ie1g;
  if (IEIcoProcs.ResampleBitmap) {
    IEIcoProcs.ResampleBitmap(Source, Work.get(), OneBit ? rfNone : rfFastLinear, {}, nullptr);
    return Work;
  }
  if (Width == Source->GetWidth() && Height == Source->GetHeight()) {
    Work->Assign(Source);
    return Work;
  }
  // The core's stand-in resampler takes 1-bit and 3-byte pixels only.
  std::unique_ptr<TIEBitmap> Converted;
  TIEBitmap* Pixels = Source;
  if (!OneBit && Source->GetPixelFormat() != ie24RGB) {
    Converted = IEConvertedCopy(Source, ie24RGB);
    Pixels = Converted.get();
    if (!Work->Allocate(Width, Height, ie24RGB)) return nullptr;
  }
  if (OneBit)
    IEResample1Bit(Pixels, Work.get(), rfProjectBW);
  else
    IEResampleFiltered(Pixels, Work.get(), rfFastLinear);
  if (Source->HasAlphaChannel())
    IEResampleGray8(Source->GetAlphaChannel(), Work->GetAlphaChannel(), rfFastLinear);
  return Work;
}

struct TIcoEntryOut {
  Integer Width = 0;
  Integer Height = 0;
  Integer Depth = 24;
  Cardinal Size = 0;
  Cardinal Offset = 0;
};

class TIcoWriter {
 public:
  TIcoWriter(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress)
      : FStream(Stream), FBitmap(Bitmap), FParams(IOParams), FProgress(Progress) {}

  void Write(std::span<const std::array<Integer, 2>> Sizes, std::span<const Integer> BitCounts) {
    const bool SizesUsable = !Sizes.empty() && std::all_of(Sizes.begin(), Sizes.end(), [](const auto& S) {
      return S[0] > 0 && S[1] > 0;
    });
    if (!SizesUsable || FBitmap->GetWidth() < 1 || FBitmap->GetHeight() < 1) {
      IESetAborting(FProgress);
      return;
    }
    const Integer Count = static_cast<Integer>(Sizes.size());
    FStart = FStream->GetPosition();
    Byte Header[DirectoryHeaderBytes] = {};
    StoreLE16(Header + 2, 1);
    StoreLE16(Header + 4, Count);
    Put(Header, DirectoryHeaderBytes);
    std::vector<Byte> Directory(static_cast<size_t>(Count) * EntryBytes, 0);
    Put(Directory.data(), static_cast<Integer>(Directory.size()));
    FParams.FreeColorMap();
    if (FBitmap->GetPixelFormat() != ie24RGB) {
      FParams.BitsPerSample = 1;
      FParams.SamplesPerPixel = 1;
    }
    const Double Factor = 100.0 / Count;
    std::vector<TIcoEntryOut> Entries;
    for (Integer I = 0; I < Count; ++I) {
      if (FProgress.OnProgress) FProgress.OnProgress(FProgress.Sender, static_cast<Integer>(I * Factor));
      if (IEIsAborting(FProgress)) return;
      TIcoEntryOut E;
      E.Width = Sizes[static_cast<size_t>(I)][0];
      E.Height = Sizes[static_cast<size_t>(I)][1];
      E.Depth =
          DepthOf(static_cast<size_t>(I) < BitCounts.size() ? BitCounts[static_cast<size_t>(I)] : 0, FParams);
      const std::unique_ptr<TIEBitmap> Work = ResampledCopy(FBitmap, E.Width, E.Height);
      if (!Work) {
        IESetAborting(FProgress);
        return;
      }
      const Int64 ImageStart = FStream->GetPosition();
      E.Offset = static_cast<Cardinal>(ImageStart - FStart);
      WriteImage(Work.get(), E);
      E.Size = static_cast<Cardinal>(FStream->GetPosition() - ImageStart);
      Entries.push_back(E);
    }
    if (IEIsAborting(FProgress)) return;
    const Int64 End = FStream->GetPosition();
    for (size_t I = 0; I < Entries.size(); ++I) StoreEntry(Directory.data() + I * EntryBytes, Entries[I]);
    FStream->SetPosition(FStart + DirectoryHeaderBytes);
    Put(Directory.data(), static_cast<Integer>(Directory.size()));
    FStream->SetPosition(End);
  }

 private:
  // A short write sets the abort flag; everything after it is skipped.
  void Put(const void* Data, Integer Count) {
    if (IEIsAborting(FProgress)) return;
    if (FStream->Write(Data, Count) != Count) IESetAborting(FProgress);
  }

  static void StoreEntry(Byte* Out, const TIcoEntryOut& E) {
    const bool TrueColour = E.Depth == 24 || E.Depth == 32;
    Out[0] = static_cast<Byte>(E.Width);
    Out[1] = static_cast<Byte>(E.Height);
    Out[2] = TrueColour ? 0 : static_cast<Byte>(std::min(1 << E.Depth, 255));
    Out[3] = 0;
    StoreLE16(Out + 4, TrueColour ? 1 : 0);
    StoreLE16(Out + 6, TrueColour ? E.Depth : 0);
    IEStoreLE32(Out + 8, E.Size);
    IEStoreLE32(Out + 12, E.Offset);
  }

  void WriteImage(TIEBitmap* Work, const TIcoEntryOut& E) {
    const Integer RowLen = (E.Width * E.Depth + 31) / 32 * 4;
    Byte H[InfoHeaderBytes] = {};
    IEStoreLE32(H, InfoHeaderBytes);
    IEStoreLE32(H + 4, static_cast<Cardinal>(E.Width));
    IEStoreLE32(H + 8, static_cast<Cardinal>(E.Height) * 2);
    StoreLE16(H + 12, 1);
    StoreLE16(H + 14, E.Depth);
    if (E.Depth <= 8)
      IEStoreLE32(H + 20, static_cast<Cardinal>(static_cast<Int64>(E.Height) * RowLen +
                                                static_cast<Int64>(E.Width) * E.Height / 8));
    IEStoreLE32(H + 24, static_cast<Cardinal>(IEDpiToPixelsPerMetre(FParams.DpiX)));
    IEStoreLE32(H + 28, static_cast<Cardinal>(IEDpiToPixelsPerMetre(FParams.DpiY)));
    Put(H, InfoHeaderBytes);
    TIEBitmap* Alpha = Work->HasAlphaChannel() ? Work->GetAlphaChannel() : nullptr;
    switch (E.Depth) {
      case 1:
        WriteOneBit(Work, RowLen);
        break;
      case 4:
      case 8:
        WritePaletted(Work, Alpha, E.Depth, RowLen);
        break;
      default:
        WriteTrueColour(Work, Alpha, E.Depth, RowLen);
        break;
    }
    WriteMask(Alpha, E.Width, E.Height);
  }

  // Black and white, then the 1-bit rows as they are.
  void WriteOneBit(TIEBitmap* Work, Integer RowLen) {
    std::unique_ptr<TIEBitmap> Converted;
    TIEBitmap* Bits = Work;
    if (Work->GetPixelFormat() != ie1g) {
      Converted = IEConvertedCopy(Work, ie1g);
      Bits = Converted.get();
    }
    static constexpr Byte BlackWhite[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    Put(BlackWhite, 8);
    std::vector<Byte> Row(static_cast<size_t>(RowLen), 0);
    const size_t Used = static_cast<size_t>((Bits->GetWidth() + 7) / 8);
    for (Integer Y = Bits->GetHeight() - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      std::memcpy(Row.data(), Bits->GetScanline(Y), Used);
      Put(Row.data(), RowLen);
    }
  }

  // A paletted picture keeps its palette and indices. Others are quantized to one colour less
  // than the depth holds: index 0 is black and marks every pixel that is not fully opaque.
  void WritePaletted(TIEBitmap* Work, TIEBitmap* Alpha, Integer Depth, Integer RowLen) {
    const Integer Colours = 1 << Depth;
    const Integer Width = Work->GetWidth();
    std::vector<TIERGBTriple> Palette(static_cast<size_t>(Colours), TIERGBTriple{});
    std::vector<Byte> Indices(static_cast<size_t>(Width));
    std::unique_ptr<TIEBitmap> Converted;
    std::unique_ptr<TIEQuantizer> Quantizer;
    TIEBitmap* Pixels = Work;
    const bool OwnIndices = Work->GetPixelFormat() == ie8p;
    if (OwnIndices) {
      const Integer Known = std::min(Work->GetPaletteLen(), Colours);
      for (Integer I = 0; I < Known; ++I) Work->GetPaletteColor(I, Palette[static_cast<size_t>(I)]);
    } else {
      if (Work->GetPixelFormat() != ie24RGB) {
        Converted = IEConvertedCopy(Work, ie24RGB);
        Pixels = Converted.get();
      }
      FParams.ColorMap.assign(static_cast<size_t>(Colours), TIERGBTriple{});
      Quantizer = std::make_unique<TIEQuantizer>(
          Pixels, std::span<TIERGBTriple>(FParams.ColorMap.data(), static_cast<size_t>(Colours - 1)),
          Colours - 1);
      std::copy(FParams.ColorMap.begin(), FParams.ColorMap.end() - 1, Palette.begin() + 1);
    }
    std::vector<Byte> PaletteBytes;
    PaletteBytes.reserve(static_cast<size_t>(Colours) * 4);
    for (const TIERGBTriple& C : Palette)
      PaletteBytes.insert(PaletteBytes.end(), {C.rgbtBlue, C.rgbtGreen, C.rgbtRed, 0});
    Put(PaletteBytes.data(), static_cast<Integer>(PaletteBytes.size()));
    const Byte IndexMask = static_cast<Byte>(Colours - 1);
    std::vector<Byte> Row(static_cast<size_t>(RowLen), 0);
    for (Integer Y = Work->GetHeight() - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      if (OwnIndices) {
        std::memcpy(Indices.data(), Pixels->GetScanline(Y), Indices.size());
      } else {
        const auto* Src = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
        const Byte* A = Alpha ? static_cast<const Byte*>(Alpha->GetScanline(Y)) : nullptr;
        for (Integer X = 0; X < Width; ++X)
          Indices[static_cast<size_t>(X)] =
              A && A[X] < 255
                  ? 0
                  : static_cast<Byte>(std::clamp(Quantizer->RGBIndex(Src[X]), 0, Colours - 2) + 1);
      }
      std::fill(Row.begin(), Row.end(), 0);
      if (Depth == 8) {
        std::memcpy(Row.data(), Indices.data(), Indices.size());
      } else {
        for (Integer X = 0; X < Width; ++X) {
          const Byte Index = Indices[static_cast<size_t>(X)] & IndexMask;
          Row[static_cast<size_t>(X / 2)] |= static_cast<Byte>((X & 1) ? Index : Index << 4);
        }
      }
      Put(Row.data(), RowLen);
    }
  }

  // Blue, green, red (and at 32 bits the alpha, 255 without an alpha channel).
  void WriteTrueColour(TIEBitmap* Work, TIEBitmap* Alpha, Integer Depth, Integer RowLen) {
    std::unique_ptr<TIEBitmap> Converted;
    TIEBitmap* Pixels = Work;
    if (Work->GetPixelFormat() != ie24RGB) {
      Converted = IEConvertedCopy(Work, ie24RGB);
      Pixels = Converted.get();
    }
    const Integer Width = Pixels->GetWidth();
    std::vector<Byte> Row(static_cast<size_t>(RowLen), 0);
    for (Integer Y = Pixels->GetHeight() - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      const auto* Src = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
      if (Depth == 24) {
        std::memcpy(Row.data(), Src, static_cast<size_t>(Width) * 3);
      } else {
        const Byte* A = Alpha ? static_cast<const Byte*>(Alpha->GetScanline(Y)) : nullptr;
        for (Integer X = 0; X < Width; ++X) {
          Byte* P = &Row[static_cast<size_t>(X) * 4];
          P[0] = Src[X].rgbtBlue;
          P[1] = Src[X].rgbtGreen;
          P[2] = Src[X].rgbtRed;
          P[3] = A ? A[X] : 255;
        }
      }
      Put(Row.data(), RowLen);
    }
  }

  // The AND part: a set bit for every pixel that is not fully opaque.
  void WriteMask(TIEBitmap* Alpha, Integer Width, Integer Height) {
    const Integer RowLen = (Width + 31) / 32 * 4;
    std::vector<Byte> Row(static_cast<size_t>(RowLen), 0);
    for (Integer Y = Height - 1; Y >= 0 && !IEIsAborting(FProgress); --Y) {
      std::fill(Row.begin(), Row.end(), 0);
      if (Alpha) {
        const Byte* A = static_cast<const Byte*>(Alpha->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X)
          if (A[X] < 255) Row[static_cast<size_t>(X >> 3)] |= static_cast<Byte>(0x80 >> (X & 7));
      }
      Put(Row.data(), RowLen);
    }
  }

  TStream* FStream;
  TIEBitmap* FBitmap;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  Int64 FStart = 0;
};

}  // namespace

void IcoWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    std::span<const std::array<Integer, 2>> Sizes, std::span<const Integer> BitCounts) {
  TIcoWriter(Stream, Bitmap, IOParams, Progress).Write(Sizes, BitCounts);
}
