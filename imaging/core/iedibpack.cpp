#include "imaging/core/iedibpack.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iestreams.h"

namespace {

constexpr Integer InfoHeaderSize = 40;
constexpr Cardinal BI_RGB_ = 0;
constexpr Cardinal BI_BITFIELDS_ = 3;
constexpr double InchesPerMetre = 39.3700787;

Int64 DIBStride(Integer Width, Integer BitCount) {
  return (static_cast<Int64>(Width) * BitCount + 31) / 32 * 4;
}

Integer TableEntriesFor(Integer BitCount) {
  return BitCount == 1 ? 2 : BitCount == 8 ? 256 : 0;
}

// Shifts right by Shift, or left for a negative one (masks narrower than a byte).
Integer ShiftDown(Cardinal Value, Integer Shift) {
  return static_cast<Integer>(Shift >= 0 ? Value >> Shift : Value << -Shift);
}

void Decode16(const Byte* Src, Byte* Dest, Integer Width, const Cardinal (&Masks)[3]) {
  const Integer R = std::popcount(Masks[0]), G = std::popcount(Masks[1]), B = std::popcount(Masks[2]);
  for (Integer X = 0; X < Width; ++X, Dest += 3) {
    const Cardinal V = Src[2 * X] | (Src[2 * X + 1] << 8);
    Dest[2] = static_cast<Byte>(ShiftDown(V & Masks[0], R + G + B - 8));
    Dest[1] = static_cast<Byte>(ShiftDown(V & Masks[1], G + B - 8));
    Dest[0] = static_cast<Byte>(ShiftDown((V & 0xFF) & (Masks[2] & 0xFF), B - 8));
  }
}

void DecodeIndexed(const Byte* Src, Byte* Dest, const TIEDIBLayout& L) {
  for (Integer X = 0; X < L.Width; ++X) {
    const Integer Index = L.BitCount == 8 ? Src[X] : (X % 2 == 0 ? Src[X / 2] >> 4 : Src[X / 2] & 15);
    if (Index < L.TableEntries)
      std::memcpy(Dest + X * 3, L.Table + Index * 4, 3);
    else
      std::memset(Dest + X * 3, 0, 3);
  }
}

}  // namespace

Integer IEDIBBitCount(TIEPixelFormat Format) {
  switch (Format) {
    case ie1g:
      return 1;
    case ie8g:
    case ie8p:
      return 8;
    case ie24RGB:
      return 24;
    default:
      return 0;
  }
}

Int64 IEPackedDIBSize(Integer BitCount, Integer Width, Integer Height) {
  return InfoHeaderSize + TableEntriesFor(BitCount) * 4 + DIBStride(Width, BitCount) * Height;
}

void IEWritePackedDIB(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer Width, Integer Height, Integer DpiX,
                      Integer DpiY, Byte* Out) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  const Integer BitCount = IEDIBBitCount(Format);
  IEStoreLE32(Out, InfoHeaderSize);
  IEStoreLE32(Out + 4, static_cast<Cardinal>(Width));
  IEStoreLE32(Out + 8, static_cast<Cardinal>(Height));  // positive: bottom-up
  Out[12] = 1;                                          // planes
  Out[14] = static_cast<Byte>(BitCount);
  IEStoreLE32(Out + 24, static_cast<Cardinal>(static_cast<Integer>(DpiX * InchesPerMetre)));
  IEStoreLE32(Out + 28, static_cast<Cardinal>(static_cast<Integer>(DpiY * InchesPerMetre)));

  Byte* Table = Out + InfoHeaderSize;
  if (BitCount == 1) {
    std::memset(Table + 4, 0xFF, 4);  // black, then white
  } else if (Format == ie8g) {
    for (Integer I = 0; I < 256; ++I) std::memset(Table + I * 4, I, 3);
  } else if (Format == ie8p) {
    const Integer Entries = std::min(Bitmap->GetPaletteLen(), 256);
    for (Integer I = 0; I < Entries; ++I) {
      TIERGBTriple Color;
      Bitmap->GetPaletteColor(I, Color);
      Table[I * 4] = Color.rgbtBlue;
      Table[I * 4 + 1] = Color.rgbtGreen;
      Table[I * 4 + 2] = Color.rgbtRed;
    }
  }
  Byte* Rows = Table + TableEntriesFor(BitCount) * 4;
  const Int64 Stride = DIBStride(Width, BitCount);
  const Integer SourceRowBytes = (Bitmap->GetWidth() * BitCount + 7) / 8;
  for (Integer Row = 0; Row < Height; ++Row) {
    Byte* Dest = Rows + Stride * (Height - 1 - Row);
    const Byte* Source = static_cast<const Byte*>(Bitmap->GetScanline(Y1 + Row));
    if (BitCount == 1)
      IECopyBits(Dest, Source, 0, X1, Width, SourceRowBytes);
    else
      std::memcpy(Dest, Source + static_cast<Int64>(X1) * BitCount / 8,
                  static_cast<size_t>(Width) * BitCount / 8);
  }
}

std::vector<Byte> IEPackBitmapToDIB(TIEBitmap* Bitmap, Integer DpiX, Integer DpiY) {
  if (Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) return {};
  if (IEDIBBitCount(Bitmap->GetPixelFormat()) == 0) {
    TIEBitmap Copy;
    Copy.Assign(Bitmap);
    Copy.ConvertToPixelFormat(ie24RGB);
    if (Copy.GetPixelFormat() != ie24RGB) return {};
    return IEPackBitmapToDIB(&Copy, DpiX, DpiY);
  }
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  std::vector<Byte> Out(
      static_cast<size_t>(IEPackedDIBSize(IEDIBBitCount(Bitmap->GetPixelFormat()), Width, Height)), 0);
  IEWritePackedDIB(Bitmap, 0, 0, Width, Height, DpiX, DpiY, Out.data());
  return Out;
}

void IEDecodeDIBRows(const TIEDIBLayout& L, TIEBitmap* Bitmap) {
  const Int64 Stride = DIBStride(L.Width, L.BitCount);
  const size_t RowBytes1 = static_cast<size_t>((L.Width + 7) / 8);
  for (Integer Row = 0; Row < L.Height; ++Row) {
    const Byte* Src = L.Rows + Stride * (L.TopDown ? Row : L.Height - 1 - Row);
    Byte* Dest = static_cast<Byte*>(Bitmap->GetScanline(Row));
    switch (L.BitCount) {
      case 1:
        std::memcpy(Dest, Src, RowBytes1);
        break;
      case 4:
      case 8:
        DecodeIndexed(Src, Dest, L);
        break;
      case 16:
        Decode16(Src, Dest, L.Width, L.Masks);
        break;
      case 24:
        std::memcpy(Dest, Src, static_cast<size_t>(L.Width) * 3);
        break;
      default:
        for (Integer X = 0; X < L.Width; ++X) std::memcpy(Dest + X * 3, Src + X * 4, 3);
    }
  }
}

bool IEUnpackDIBToBitmap(const Byte* DIB, Integer Size, TIEBitmap* Bitmap) {
  if (DIB == nullptr || Size < InfoHeaderSize) return false;
  const Cardinal HeaderSize = IELoadLE32(DIB);
  const Integer Width = static_cast<Integer>(IELoadLE32(DIB + 4));
  const Integer RawHeight = static_cast<Integer>(IELoadLE32(DIB + 8));
  const Integer BitCount = DIB[14] | (DIB[15] << 8);
  const Cardinal Compression = IELoadLE32(DIB + 16);
  const Cardinal ColorsUsed = IELoadLE32(DIB + 32);
  if (HeaderSize < InfoHeaderSize || HeaderSize > static_cast<Cardinal>(Size)) return false;
  if (Width <= 0 || RawHeight == 0 || RawHeight == INT32_MIN) return false;
  const bool Masks = Compression == BI_BITFIELDS_ && BitCount == 32;
  if (!(Compression == BI_RGB_ || Masks)) return false;
  if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24 && BitCount != 32) return false;

  TIEDIBLayout L;
  L.Width = Width;
  L.TopDown = RawHeight < 0;
  L.Height = L.TopDown ? -RawHeight : RawHeight;
  L.BitCount = BitCount;
  if (BitCount <= 8) {
    const Int64 Full = Int64(1) << BitCount;
    L.TableEntries = ColorsUsed == 0 || ColorsUsed > Full ? Full : ColorsUsed;
  }
  const Int64 TableAt = HeaderSize + (Masks && HeaderSize == InfoHeaderSize ? 12 : 0);
  const Int64 RowsAt = TableAt + L.TableEntries * 4;
  const Int64 Stride = DIBStride(Width, BitCount);
  if (Stride > Size || RowsAt + Stride * L.Height > Size) return false;
  L.Table = DIB + TableAt;
  L.Rows = DIB + RowsAt;

  auto Decoded = std::make_unique<TIEBitmap>();
  if (!Decoded->Allocate(Width, L.Height, BitCount == 1 ? ie1g : ie24RGB)) return false;
  IEDecodeDIBRows(L, Decoded.get());
  Bitmap->Assign(Decoded.get());
  return true;
}
