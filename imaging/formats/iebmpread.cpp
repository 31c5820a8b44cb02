// BMP reading: headers, palette, uncompressed rows of every bit count and the RLE block.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/formats/iebmp.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word BmpSignature = 0x4D42;  // "BM"

Word LE16(const Byte* P) {
  return static_cast<Word>(P[0] | (P[1] << 8));
}

// What the headers say about the pixels.
struct TBmpLayout {
  Integer Width = 0;
  Integer Height = 0;
  bool TopDown = false;
  Integer BitCount = 0;
  Cardinal Compression = 0;
  Cardinal ImageSize = 0;
  std::array<Cardinal, 3> Masks{0x7C00, 0x03E0, 0x001F};
};

// Reads up to Count bytes; a short stream gives fewer, never an exception.
Integer ReadUpTo(TStream* Stream, void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  try {
    return std::max(Stream->Read(Buffer, static_cast<Integer>(std::min<Int64>(Count, 0x7FFFFFFF))), 0);
  } catch (const EStreamError&) {
    return 0;
  }
}

void ReadMasks(TStream* Stream, TBmpLayout& L) {
  Byte M[12] = {};
  ReadUpTo(Stream, M, 12);
  for (int I = 0; I < 3; ++I) L.Masks[I] = IELoadLE32(M + 4 * I);
}

// The palette of Count entries of EntrySize bytes (blue, green, red first).
void ReadPalette(TStream* Stream, TIOParamsVals& IOParams, Integer Count, Integer EntrySize) {
  std::vector<Byte> Raw(static_cast<size_t>(Count * EntrySize), 0);
  ReadUpTo(Stream, Raw.data(), static_cast<Int64>(Raw.size()));
  IOParams.ColorMap.resize(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) {
    const Byte* E = Raw.data() + I * EntrySize;
    IOParams.ColorMap[static_cast<size_t>(I)] = {E[0], E[1], E[2]};
  }
}

void ReadCoreHeader(TStream* Stream, TIOParamsVals& IOParams, TBmpLayout& L) {
  Byte H[12] = {};
  ReadUpTo(Stream, H, 12);
  IOParams.BmpVersion = 2;
  L.Width = LE16(H + 4);
  L.Height = LE16(H + 6);
  L.BitCount = LE16(H + 10);
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  if (L.BitCount <= 8) ReadPalette(Stream, IOParams, 1 << L.BitCount, 3);
}

// 40, 64 or any other size; only the first 64 bytes mean anything here.
void ReadInfoHeader(TStream* Stream, TIOParamsVals& IOParams, TBmpLayout& L, Cardinal HeaderSize) {
  Byte H[64] = {};
  ReadUpTo(Stream, H, std::min<Cardinal>(HeaderSize, 64));
  if (HeaderSize > 64) Stream->Seek(static_cast<Int64>(HeaderSize) - 64, soCurrent);
  IOParams.BmpVersion = HeaderSize == 64 ? 3 : HeaderSize == 40 ? 1 : 0;
  L.Width = static_cast<Integer>(IELoadLE32(H + 4));
  const Int64 Height = static_cast<Integer>(IELoadLE32(H + 8));
  L.TopDown = Height < 0;
  L.Height = static_cast<Integer>(std::min<Int64>(Height < 0 ? -Height : Height, 0x7FFFFFFF));
  L.BitCount = LE16(H + 14);
  L.Compression = IELoadLE32(H + 16);
  L.ImageSize = IELoadLE32(H + 20);
  const Integer DpiX = IEPixelsPerMetreToDpi(static_cast<Integer>(IELoadLE32(H + 24)));
  const Integer DpiY = IEPixelsPerMetreToDpi(static_cast<Integer>(IELoadLE32(H + 28)));
  IOParams.SetDpiX(DpiX != 0 ? DpiX : DefaultDpiX);
  IOParams.SetDpiY(DpiY != 0 ? DpiY : DefaultDpiY);
  // Bit fields follow a 40-byte header; the later Windows headers (52 bytes and more) hold them
  // at offset 40, where the 64-byte OS/2 header keeps other fields.
  if (L.Compression == 3) {
    if (HeaderSize >= 52 && HeaderSize != 64) {
      for (int I = 0; I < 3; ++I) L.Masks[I] = IELoadLE32(H + 40 + 4 * I);
    } else {
      ReadMasks(Stream, L);
    }
  }
  Cardinal Colours = IELoadLE32(H + 32);
  if (Colours > 256) Colours = 0;
  if (Colours == 0 && L.BitCount <= 8) Colours = 1u << L.BitCount;
  if (Colours != 0) ReadPalette(Stream, IOParams, static_cast<Integer>(Colours), 4);
}

void SetSampleLayout(TIOParamsVals& IOParams, Integer BitCount) {
  switch (BitCount) {
    case 1:
    case 4:
    case 8:
      IOParams.BitsPerSample = BitCount;
      IOParams.SamplesPerPixel = 1;
      break;
    case 16:
      IOParams.BitsPerSample = 5;
      IOParams.SamplesPerPixel = 3;
      break;
    case 24:
    case 32:
      IOParams.BitsPerSample = 8;
      IOParams.SamplesPerPixel = BitCount / 8;
      break;
    default:
      break;
  }
}

// x >> N for N >= 0, x << -N otherwise; masks of a hostile file may ask for either.
Cardinal ShiftDown(Cardinal Value, Integer N) {
  if (N >= 32 || N <= -32) return 0;
  return N >= 0 ? Value >> N : Value << -N;
}

// One bitmap row from one file row, by bit count.
struct TRowDecoder {
  const TBmpLayout& L;
  bool Native;
  std::array<TIERGBTriple, 256> Palette{};  // the file's palette, black past its end
  Integer ShiftR = 0, ShiftG = 0, ShiftB = 0;
  TIEMask* Alpha = nullptr;
  bool AlphaAllZero = true;
  bool AlphaAllFull = true;

  TRowDecoder(const TBmpLayout& Layout, bool NativeFormat, const std::vector<TIERGBTriple>& Map)
      : L(Layout), Native(NativeFormat) {
    std::copy_n(Map.begin(), std::min<size_t>(Map.size(), 256), Palette.begin());
    const Integer WR = IEBitMaskWidth(L.Masks[0]), WG = IEBitMaskWidth(L.Masks[1]),
                  WB = IEBitMaskWidth(L.Masks[2]);
    ShiftR = WR + WG + WB - 8;
    ShiftG = WG + WB - 8;
    ShiftB = 8 - WB;
  }

  void Decode(const Byte* Src, void* DstRow, Integer BitmapRow) {
    const Integer W = L.Width;
    auto* Rgb = static_cast<TIERGBTriple*>(DstRow);
    auto* Idx = static_cast<Byte*>(DstRow);
    switch (L.BitCount) {
      case 4:
        for (Integer X = 0; X < W; ++X) {
          const Byte I = (X & 1) ? Src[X / 2] & 0x0F : Src[X / 2] >> 4;
          if (Native)
            Idx[X] = I;
          else
            Rgb[X] = Palette[I];
        }
        break;
      case 8:
        if (Native)
          std::memcpy(Idx, Src, static_cast<size_t>(W));
        else
          for (Integer X = 0; X < W; ++X) Rgb[X] = Palette[Src[X]];
        break;
      case 16:
        for (Integer X = 0; X < W; ++X) {
          const Cardinal P = LE16(Src + 2 * X);
          Rgb[X].rgbtRed = static_cast<Byte>(ShiftDown(P & L.Masks[0], ShiftR));
          Rgb[X].rgbtGreen = static_cast<Byte>(ShiftDown(P & L.Masks[1], ShiftG));
          Rgb[X].rgbtBlue = static_cast<Byte>(ShiftDown((P & 0xFF) & (L.Masks[2] & 0xFF), -ShiftB));
        }
        break;
      case 32: {
        Byte* A = Alpha ? Alpha->GetScanline(BitmapRow) : nullptr;
        for (Integer X = 0; X < W; ++X) {
          const Byte* P = Src + 4 * X;
          Rgb[X] = {P[0], P[1], P[2]};
          AlphaAllZero &= P[3] == 0;
          AlphaAllFull &= P[3] == 255;
          if (A) A[X] = P[3];
        }
        break;
      }
      default:  // 1 and 24: the file row is the bitmap row
        std::memcpy(DstRow, Src, static_cast<size_t>((static_cast<Int64>(W) * L.BitCount + 7) / 8));
        break;
    }
  }
};

TIEPixelFormat PixelFormatFor(Integer BitCount, bool Native) {
  if (BitCount == 1) return ie1g;
  if ((BitCount == 4 || BitCount == 8) && Native) return ie8p;
  return ie24RGB;
}

Int64 FileRowLength(const TBmpLayout& L) {
  return (static_cast<Int64>(L.Width) * L.BitCount + 31) / 32 * 4;
}

bool RunLength(const TBmpLayout& L) {
  return (L.BitCount == 4 || L.BitCount == 8) && L.Compression != 0;
}

bool Decodable(const TBmpLayout& L) {
  switch (L.BitCount) {
    case 1:
      return L.Compression == 0;
    case 4:
      return L.Compression == 0 || L.Compression == 2;
    case 8:
      return L.Compression == 0 || L.Compression == 1;
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

// A run of up to 255 pixels takes two bytes of run-length data. Plain rows get the same bound,
// not their full size: a short file loads the rows it has, and only a claim no data could
// come near is refused.
constexpr Int64 MaxPixelsPerDataByte = 128;

bool ClaimsMoreThanDataHolds(const TBmpLayout& L, Int64 DataBytes) {
  return IEClaimExceedsData(L.Height, L.Width, DataBytes, MaxPixelsPerDataByte);
}

// The RLE block, never more than the stream holds.
void DecodeRleBlock(TStream* Stream, TIEBitmap* Bitmap, const TBmpLayout& L, Int64 DataSize,
                    const TRowDecoder& Rows, TIEIOProgress& Progress) {
  const Int64 Remaining = Stream->GetSize() - Stream->GetPosition();
  std::vector<Byte> Block(
      static_cast<size_t>(std::clamp<Int64>(std::min(DataSize, Remaining), 0, 0x7FFFFFFF)));
  const Integer Size = ReadUpTo(Stream, Block.data(), static_cast<Int64>(Block.size()));
  const Integer Origin = L.TopDown ? L.Height - 1 : 0;
  const bool Rle4 = L.Compression == 2;
  const auto Decoder = Rows.Native ? (Rle4 ? BmpDecodeRle4ToIndices : BmpDecodeRle8ToIndices)
                                   : (Rle4 ? BmpDecodeRle4ToRGB : BmpDecodeRle8ToRGB);
  Decoder(Bitmap, Block.data(), Size, Rows.Palette.data(), Progress, Origin);
}

void DecodeRows(TStream* Stream, TIEBitmap* Bitmap, const TBmpLayout& L, TRowDecoder& Rows,
                TIEIOProgress& Progress) {
  const Int64 FileRowLen = FileRowLength(L);
  std::vector<Byte> Buffer;
  const Integer Origin = L.TopDown ? L.Height - 1 : 0;
  const Double Factor = 100.0 / L.Height;
  // Rows whose file layout is the bitmap's own go straight into the bitmap.
  const bool Straight = (L.BitCount == 1 || L.BitCount == 24 || (L.BitCount == 8 && Rows.Native)) &&
                        Bitmap->GetRowLen() >= FileRowLen;
  if (!Straight) Buffer.resize(static_cast<size_t>(FileRowLen));
  Integer Reported = -1;
  for (Integer R = L.Height - 1; R >= 0; --R) {
    const Integer Percent = static_cast<Integer>((L.Height - 1 - R) * Factor);
    if (Progress.OnProgress && Percent != Reported) {
      Progress.OnProgress(Progress.Sender, Percent);
      Reported = Percent;
    }
    if (IEIsAborting(Progress)) return;
    const Integer Row = std::abs(Origin - R);
    if (Straight) {
      if (ReadUpTo(Stream, Bitmap->GetScanline(Row), FileRowLen) < FileRowLen) return;
      continue;
    }
    const Integer Got = ReadUpTo(Stream, Buffer.data(), FileRowLen);
    if (Got <= 0) return;  // a short file: rows not covered stay as allocated
    std::fill(Buffer.begin() + Got, Buffer.end(), 0);
    Rows.Decode(Buffer.data(), Bitmap->GetScanline(Row), Row);
  }
}

// A set bit is white in ie1g; a file whose palette is white, black means the opposite.
void InvertWhenWhiteFirst(TIEBitmap* Bitmap, const std::vector<TIERGBTriple>& Map) {
  const TIERGBTriple White{255, 255, 255}, Black{0, 0, 0};
  if (Map.size() != 2 || !(Map[0] == White) || !(Map[1] == Black)) return;
  const Integer Bytes = (Bitmap->GetWidth() + 7) / 8;
  for (Integer Y = 0; Y < Bitmap->GetHeight(); ++Y) {
    auto* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < Bytes; ++X) Row[X] = static_cast<Byte>(~Row[X]);
  }
}

}  // namespace

void BmpReadStream(TStream* Stream, TIEBitmap* Bitmap, Int64 StreamSize, TIOParamsVals& IOParams,
                   TIEIOProgress& Progress, bool Preview, bool NoFileHeader,
                   std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) {
  const Int64 Start = Stream->GetPosition();
  Word Type = BmpSignature;
  Cardinal FileSize = 0;
  Cardinal Offset = 0;
  if (NoFileHeader) {
    FileSize = static_cast<Cardinal>(std::clamp<Int64>(Stream->GetSize(), 0, 0xFFFFFFFF));
  } else {
    Byte F[14] = {};
    ReadUpTo(Stream, F, 14);
    Type = LE16(F);
    FileSize = IELoadLE32(F + 2);
    Offset = IELoadLE32(F + 10);
  }
  if (FileSize != 0 && StreamSize <= 0) StreamSize = FileSize;
  if (Type != BmpSignature) {
    IESetAborting(Progress);
    return;
  }
  Byte SizeField[4] = {};
  const Integer Got = ReadUpTo(Stream, SizeField, 4);
  Stream->Seek(-Got, soCurrent);
  const Cardinal HeaderSize = IELoadLE32(SizeField);
  IOParams.FreeColorMap();
  TBmpLayout L;
  if (HeaderSize == 12)
    ReadCoreHeader(Stream, IOParams, L);
  else
    ReadInfoHeader(Stream, IOParams, L, HeaderSize);
  IOParams.SetImageCount(1);
  if (L.Compression == 1 || L.Compression == 2) IOParams.BmpCompression = 1;
  if (L.Compression == 0 || L.Compression == 3) IOParams.BmpCompression = 0;
  IOParams.Width = IOParams.FileWidth = L.Width;
  IOParams.Height = IOParams.FileHeight = L.Height;

  if (Offset != 0) Stream->SetPosition(Start + Offset);
  const Int64 RleSize = StreamSize > 0 ? StreamSize - (Stream->GetPosition() - Start) : L.ImageSize;
  if (L.Width < 0) {
    IESetAborting(Progress);
    return;
  }
  if (L.Width == 0 || L.Height == 0) Preview = true;
  SetSampleLayout(IOParams, L.BitCount);
  if (Preview) return;

  // A header claiming more pixels than the data left could hold is refused before anything is
  // allocated; a stream that cannot tell its size is read as far as it goes.
  if (ClaimsMoreThanDataHolds(L, IEStreamBytesLeft(Stream))) {
    IESetAborting(Progress);
    return;
  }
  const bool Native = IOParams.NativePixelFormat;
  if (!Bitmap->Allocate(L.Width, L.Height, PixelFormatFor(L.BitCount, Native))) {
    IESetAborting(Progress);
    return;
  }
  TRowDecoder Rows(L, Native && (L.BitCount == 4 || L.BitCount == 8), IOParams.ColorMap);
  if (Rows.Native) {
    const Integer Count = std::min<Integer>(IOParams.GetColorMapCount(), Bitmap->GetPaletteLen());
    for (Integer I = 0; I < Count; ++I) Bitmap->SetPaletteColor(I, IOParams.ColorMap[static_cast<size_t>(I)]);
    Bitmap->SetPaletteUsed(L.BitCount == 4 ? 16 : 256);
  }
  if (!Decodable(L)) return;
  if (L.BitCount == 32 && !IgnoreAlpha) {
    if (!AlphaMask) AlphaMask = std::make_unique<TIEMask>();
    if (AlphaMask->AllocateBits(L.Width, L.Height, 8)) {
      AlphaMask->Fill(255);
      Rows.Alpha = AlphaMask.get();
    }
  }
  if (RunLength(L))
    DecodeRleBlock(Stream, Bitmap, L, RleSize, Rows, Progress);
  else
    DecodeRows(Stream, Bitmap, L, Rows, Progress);
  if (L.BitCount == 1) InvertWhenWhiteFirst(Bitmap, IOParams.ColorMap);
  if (L.BitCount == 32 && !IgnoreAlpha && (Rows.AlphaAllZero || Rows.AlphaAllFull || !Rows.Alpha))
    AlphaMask.reset();
}
