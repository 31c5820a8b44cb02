#include "imaging/core/iedibpack.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"

namespace {

constexpr Integer InfoHeaderSize = 40;
constexpr Cardinal BI_RGB_ = 0;
constexpr Cardinal BI_BITFIELDS_ = 3;
constexpr double InchesPerMetre = 39.3700787;

Int64 DIBStride(Integer Width, Integer BitCount) {
  return (static_cast<Int64>(Width) * BitCount + 31) / 32 * 4;
}

void PutLE32(std::vector<Byte>& Out, size_t At, Cardinal Value) {
  IEStoreLE32(Out.data() + At, Value);
}

}  // namespace

std::vector<Byte> IEPackBitmapToDIB(TIEBitmap* Bitmap, Integer DpiX, Integer DpiY) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) return {};
  if (Format != ie1g && Format != ie8g && Format != ie8p && Format != ie24RGB) {
    TIEBitmap Copy;
    Copy.Assign(Bitmap);
    Copy.ConvertToPixelFormat(ie24RGB);
    if (Copy.GetPixelFormat() != ie24RGB) return {};
    return IEPackBitmapToDIB(&Copy, DpiX, DpiY);
  }
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  const Integer BitCount = Format == ie1g ? 1 : Format == ie24RGB ? 24 : 8;
  const Integer TableEntries = BitCount == 1 ? 2 : BitCount == 8 ? 256 : 0;
  const Int64 Stride = DIBStride(Width, BitCount);
  const size_t RowsAt = InfoHeaderSize + TableEntries * 4;
  std::vector<Byte> Out(RowsAt + static_cast<size_t>(Stride * Height), 0);

  PutLE32(Out, 0, InfoHeaderSize);
  PutLE32(Out, 4, Width);
  PutLE32(Out, 8, Height);  // positive: bottom-up
  Out[12] = 1;              // planes
  Out[14] = static_cast<Byte>(BitCount);
  PutLE32(Out, 24, static_cast<Cardinal>(static_cast<Integer>(DpiX * InchesPerMetre)));
  PutLE32(Out, 28, static_cast<Cardinal>(static_cast<Integer>(DpiY * InchesPerMetre)));

  Byte* Table = Out.data() + InfoHeaderSize;
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
  const size_t RowBytes = static_cast<size_t>((static_cast<Int64>(Width) * BitCount + 7) / 8);
  for (Integer Row = 0; Row < Height; ++Row) {
    Byte* Dest = Out.data() + RowsAt + static_cast<size_t>(Stride) * (Height - 1 - Row);
    std::memcpy(Dest, Bitmap->GetScanline(Row), RowBytes);
  }
  return Out;
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

  const bool TopDown = RawHeight < 0;
  const Integer Height = TopDown ? -RawHeight : RawHeight;
  Int64 TableEntries = 0;
  if (BitCount <= 8) {
    const Int64 Full = Int64(1) << BitCount;
    TableEntries = ColorsUsed == 0 || ColorsUsed > Full ? Full : ColorsUsed;
  }
  const Int64 TableAt = HeaderSize + (Masks && HeaderSize == InfoHeaderSize ? 12 : 0);
  const Int64 RowsAt = TableAt + TableEntries * 4;
  const Int64 Stride = DIBStride(Width, BitCount);
  if (Stride > Size || RowsAt + Stride * Height > Size) return false;

  const TIEPixelFormat Format = BitCount == 1 ? ie1g : ie24RGB;
  auto Decoded = std::make_unique<TIEBitmap>();
  if (!Decoded->Allocate(Width, Height, Format)) return false;
  const Byte* Table = DIB + TableAt;
  const size_t RowBytes1 = static_cast<size_t>((Width + 7) / 8);
  for (Integer Row = 0; Row < Height; ++Row) {
    const Byte* Src = DIB + RowsAt + Stride * (TopDown ? Row : Height - 1 - Row);
    Byte* Dest = static_cast<Byte*>(Decoded->GetScanline(Row));
    switch (BitCount) {
      case 1:
        std::memcpy(Dest, Src, RowBytes1);
        break;
      case 4:
      case 8:
        for (Integer X = 0; X < Width; ++X) {
          const Integer Index = BitCount == 8 ? Src[X] : (X % 2 == 0 ? Src[X / 2] >> 4 : Src[X / 2] & 15);
          // Indexes past a short colour table give black.
          if (Index < TableEntries)
            std::memcpy(Dest + X * 3, Table + Index * 4, 3);
          else
            std::memset(Dest + X * 3, 0, 3);
        }
        break;
      case 24:
        std::memcpy(Dest, Src, static_cast<size_t>(Width) * 3);
        break;
      default:
        for (Integer X = 0; X < Width; ++X) std::memcpy(Dest + X * 3, Src + X * 4, 3);
    }
  }
  Bitmap->Assign(Decoded.get());
  return true;
}
