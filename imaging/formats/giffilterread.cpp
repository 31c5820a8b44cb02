// Reading GIF files: the header and global colour table, the extension blocks (graphic control
// of the wanted frame, comments), and the image descriptor and LZW data of the wanted frame.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/giffilter.h"
#include "imaging/io/iebufferedsource.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

constexpr Integer GifHeaderSize = 13;
constexpr Integer DescriptorSize = 9;
// No LZW code is shorter than 3 bits nor gives more than 4096 indices.
constexpr Int64 MaxIndicesPerDataBit = 4096 / 3;

Integer LE16(const Byte* P) {
  return P[0] | (P[1] << 8);
}

// The data sub-blocks of a GIF over the buffered source.
class TGifSource : public TIEBufferedSource {
 public:
  using TIEBufferedSource::TIEBufferedSource;

  // Calls Block(bytes, count) for every data sub-block up to the terminator or the end.
  template <class F>
  void ForEachSubBlock(F&& Block) {
    std::array<Byte, 256> Data{};
    for (;;) {
      const Integer Size = Next();
      if (Size == 0 || Ended()) return;
      Read(Data.data(), Size);
      if (Ended()) return;
      Block(Data.data(), Size);
    }
  }
  void SkipSubBlocks() {
    for (;;) {
      const Integer Size = Next();
      if (Size == 0 || Ended()) return;
      Skip(Size);
    }
  }
};

// A colour table as read, red and blue exchanged, padded to 256 entries so that any index reads
// a colour (black past the table).
struct TGifColorTable {
  std::array<TIERGBTriple, 256> Colors{};
  Integer SizeField = -1;  // -1: no table

  bool Present() const { return SizeField >= 0; }
  Integer Count() const { return 2 << SizeField; }
  void Read(TGifSource& Source, Integer Flags) {
    SizeField = Flags & 7;
    std::array<Byte, 3 * 256> Raw{};
    Source.Read(Raw.data(), 3 * Count());
    for (Integer I = 0; I < Count(); ++I) Colors[I] = {Raw[3 * I + 2], Raw[3 * I + 1], Raw[3 * I]};
  }
};

// The graphic control block of the wanted frame: flags, delay, transparent index.
struct TGifControl {
  Integer Flags = 0;
  Integer Delay = 0;
  Integer TransparentIndex = 0;
  bool Transparent() const { return (Flags & 1) != 0; }
};

struct TGifFrame {
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  Integer Flags = 0;
  bool Interlaced() const { return (Flags & 0x40) != 0; }
};

void Report(TIEIOProgress& Progress, Integer Percent) {
  if (Progress.OnProgress) Progress.OnProgress(Progress.Sender, Percent);
}

class TGifReader {
 public:
  TGifReader(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress, bool Preview,
             std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha)
      : FSource(Stream),
        FBitmap(Bitmap),
        FParams(Params),
        FProgress(Progress),
        FPreview(Preview),
        FAlphaMask(AlphaMask),
        FIgnoreAlpha(IgnoreAlpha) {}

  Integer Read() {
    Integer FrameCount = 0;
    const Integer Wanted = FParams.GifImageIndex;
    if (!ReadHeader()) return 0;
    while (!IEIsAborting(FProgress)) {
      const Byte Introducer = FSource.Next();
      if (FSource.Ended() || Introducer == 0x3B) break;
      if (Introducer == 0x21) {
        ReadExtension(FrameCount == Wanted);
      } else if (Introducer == 0x2C) {
        const TGifFrame Frame = ReadDescriptor();
        if (FSource.Ended()) break;  // a descriptor cut short is no frame
        if (FrameCount == Wanted)
          ReadWantedFrame(Frame);
        else
          SkipImageData();
        ++FrameCount;
      }
      // Any other byte is stray and ignored.
    }
    return FrameCount;
  }

 private:
  bool ReadHeader() {
    Byte H[GifHeaderSize] = {};
    FSource.Read(H, GifHeaderSize);
    if (FSource.Ended() || std::memcmp(H, "GIF", 3) != 0) {
      IESetAborting(FProgress);
      return false;
    }
    FParams.GifVersion.assign(reinterpret_cast<const char*>(H), 6);
    FParams.GifWinWidth = LE16(H + 6);
    FParams.GifWinHeight = LE16(H + 8);
    FParams.GifRatio = H[12];
    FParams.SetDpiX(DefaultDpiX);
    FParams.SetDpiY(DefaultDpiY);
    FParams.SamplesPerPixel = 1;
    if (H[10] & 0x80) {
      FGlobal.Read(FSource, H[10]);
      FParams.GifBackground = FGlobal.Colors[H[11]];
    }
    if (FSource.Ended()) {
      IESetAborting(FProgress);
      return false;
    }
    return true;
  }

  void ReadExtension(bool ForWantedFrame) {
    const Byte Label = FSource.Next();
    if (Label == 0xF9 && ForWantedFrame) {
      bool First = true;
      FSource.ForEachSubBlock([&](const Byte* Data, Integer Size) {
        if (!First) return;
        First = false;
        Byte B[4] = {};
        std::memcpy(B, Data, static_cast<size_t>(std::min(Size, 4)));
        FControl = {B[0], LE16(B + 1), B[3]};
      });
    } else if (Label == 0xFE) {
      FSource.ForEachSubBlock([&](const Byte* Data, Integer Size) {
        const Byte* End = std::find(Data, Data + Size, Byte{0});
        if (End != Data)
          FParams.GifComments->Add(std::string(reinterpret_cast<const char*>(Data), End - Data));
      });
    } else {
      FSource.SkipSubBlocks();
    }
  }

  TGifFrame ReadDescriptor() {
    Byte D[DescriptorSize] = {};
    FSource.Read(D, DescriptorSize);
    TGifFrame Frame{LE16(D), LE16(D + 2), LE16(D + 4), LE16(D + 6), D[8]};
    FLocal = {};
    if (Frame.Flags & 0x80) FLocal.Read(FSource, Frame.Flags);
    return Frame;
  }

  void SkipImageData() {
    FSource.Next();  // minimum code size
    FSource.SkipSubBlocks();
  }

  // The frame's table: local, else global; a file with neither gets a grey ramp.
  const TGifColorTable& FrameTable() {
    if (FLocal.Present()) return FLocal;
    if (FGlobal.Present()) return FGlobal;
    FGrey.SizeField = 7;
    for (Integer I = 0; I < 256; ++I) FGrey.Colors[I] = {Byte(I), Byte(I), Byte(I)};
    return FGrey;
  }

  void StoreFrameParams(const TGifFrame& Frame, const TGifColorTable& Table) {
    FParams.GifTransparentColor = Table.Colors[FControl.TransparentIndex];
    FParams.GifXPos = Frame.Left;
    FParams.GifYPos = Frame.Top;
    FParams.Width = FParams.FileWidth = Frame.Width;
    FParams.Height = FParams.FileHeight = Frame.Height;
    FParams.GifDelayTime = FControl.Delay;
    FParams.GifHasTransparentColor = FControl.Transparent();
    FParams.GifInterlaced = Frame.Interlaced();
    FParams.GifAction = static_cast<Byte>((FControl.Flags >> 2) & 7);
    FParams.BitsPerSample = Table.SizeField + 1;
    FParams.FreeColorMap();
    FParams.ColorMap.assign(Table.Colors.begin(), Table.Colors.begin() + Table.Count());
  }

  void ReadWantedFrame(const TGifFrame& Frame) {
    Report(FProgress, 30);
    if (IEIsAborting(FProgress)) return;
    const TGifColorTable& Table = FrameTable();
    StoreFrameParams(Frame, Table);
    if (FPreview) {
      SkipImageData();
      return;
    }
    const Integer MinCodeSize = FSource.Next();
    std::vector<Byte> Data;
    FSource.ForEachSubBlock(
        [&](const Byte* Block, Integer Size) { Data.insert(Data.end(), Block, Block + Size); });
    const Int64 Pixels = static_cast<Int64>(Frame.Width) * Frame.Height;
    // An empty frame has nothing to show; a size its data cannot fill is refused unallocated.
    if (Pixels == 0 ||
        IEClaimExceedsData(Pixels, 1, static_cast<Int64>(Data.size()), 8 * MaxIndicesPerDataBit)) {
      IESetAborting(FProgress);
      return;
    }
    TIEMemoryBlock Indices = IEAllocateBlock(static_cast<UInt64>(Pixels), 2);
    if (!Indices) return;  // no memory: no picture, but no damaged file either
    std::memset(Indices.get(), 0, static_cast<size_t>(Pixels));
    const TGifLzwDecompressProc Decompress =
        FParams.GifLzwDecompressProc ? FParams.GifLzwDecompressProc : IEGifLzwDecompressProc;
    if (!Decompress || !Decompress(Data.data(), static_cast<Integer>(Data.size()), MinCodeSize, Indices.get(),
                                   static_cast<Integer>(Pixels))) {
      IESetAborting(FProgress);
      return;
    }
    Report(FProgress, 70);
    if (IEIsAborting(FProgress)) return;
    BuildBitmap(Frame, Table, Indices.get());
  }

  TIEPixelFormat FrameFormat(const TGifColorTable& Table) const {
    const TIERGBTriple Black{0, 0, 0}, White{255, 255, 255};
    if (Table.SizeField == 0 && Table.Colors[0] == Black && Table.Colors[1] == White) return ie1g;
    return FParams.NativePixelFormat ? ie8p : ie24RGB;
  }

  void BuildBitmap(const TGifFrame& Frame, const TGifColorTable& Table, const Byte* Indices) {
    const TIEPixelFormat Format = FrameFormat(Table);
    if (!FBitmap->Allocate(Frame.Width, Frame.Height, Format)) {
      IESetAborting(FProgress);
      return;
    }
    if (Format == ie8p) {
      for (Integer I = 0; I < 256; ++I) FBitmap->SetPaletteColor(I, Table.Colors[I]);
      FBitmap->SetPaletteUsed(Table.Count());
    }
    TIEMask* Mask = nullptr;
    if (!FIgnoreAlpha) {
      FAlphaMask.reset();
      if (FControl.Transparent()) {
        FAlphaMask = std::make_unique<TIEMask>();
        if (FAlphaMask->AllocateBits(Frame.Width, Frame.Height, 8)) {
          FAlphaMask->Fill(255);
          Mask = FAlphaMask.get();
        } else {
          FAlphaMask.reset();
        }
      }
    }
    for (Integer Row = 0; Row < Frame.Height; ++Row) {
      const Integer Y = Frame.Interlaced() ? GifInterlacedRow(Row, Frame.Height) : Row;
      const Byte* Source = Indices + static_cast<Int64>(Row) * Frame.Width;
      CopyRow(Source, Frame.Width, Format, Table, static_cast<Byte*>(FBitmap->GetScanline(Y)));
      if (Mask) {
        Byte* Alpha = Mask->GetScanline(Y);
        for (Integer X = 0; X < Frame.Width; ++X)
          if (Source[X] == FControl.TransparentIndex) Alpha[X] = 0;
      }
    }
    if (Mask) {
      Mask->SyncRect();
      Mask->SyncFull();
      if (Mask->GetFull()) FAlphaMask.reset();
    }
  }

  static void CopyRow(const Byte* Source, Integer Width, TIEPixelFormat Format, const TGifColorTable& Table,
                      Byte* Out) {
    switch (Format) {
      case ie8p:
        std::memcpy(Out, Source, static_cast<size_t>(Width));
        break;
      case ie1g:
        std::memset(Out, 0, static_cast<size_t>((Width + 7) / 8));
        for (Integer X = 0; X < Width; ++X)
          if (Source[X] == 1) Out[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
        break;
      default: {
        auto* Pixel = reinterpret_cast<TIERGBTriple*>(Out);
        for (Integer X = 0; X < Width; ++X) Pixel[X] = Table.Colors[Source[X]];
        break;
      }
    }
  }

  TGifSource FSource;
  TIEBitmap* FBitmap;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  bool FPreview;
  std::unique_ptr<TIEMask>& FAlphaMask;
  bool FIgnoreAlpha;
  TGifColorTable FGlobal;
  TGifColorTable FLocal;
  TGifColorTable FGrey;
  TGifControl FControl;
};

}  // namespace

Integer GifInterlacedRow(Integer Index, Integer Height) {
  const Integer Pass0 = (Height + 7) / 8, Pass1 = (Height + 3) / 8, Pass2 = (Height + 1) / 4;
  if (Index < Pass0) return 8 * Index;
  Index -= Pass0;
  if (Index < Pass1) return 4 + 8 * Index;
  Index -= Pass1;
  if (Index < Pass2) return 2 + 4 * Index;
  return 1 + 2 * (Index - Pass2);
}

void GifReadStream(TStream* Stream, TIEBitmap* Bitmap, Integer& FrameCount, TIOParamsVals& IOParams,
                   TIEIOProgress& Progress, bool Preview, std::unique_ptr<TIEMask>& AlphaMask,
                   bool IgnoreAlpha) {
  FrameCount = 0;
  Report(Progress, 0);
  if (IEIsAborting(Progress)) return;
  FrameCount = TGifReader(Stream, Bitmap, IOParams, Progress, Preview, AlphaMask, IgnoreAlpha).Read();
  IOParams.SetImageCount(FrameCount);
  if (!IEIsAborting(Progress)) Report(Progress, 100);
}
