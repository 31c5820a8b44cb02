#include "imaging/proc/ieyuv.h"

#include <algorithm>
#include <array>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

namespace {

// Where each pixel of a packed block finds its samples.
struct TPackedLayout {
  Integer BlockBytes;
  Integer BlockPixels;
  std::array<Byte, 8> Y, U, V;  // byte offsets in the block, per pixel
};

constexpr TPackedLayout YUY2{4, 2, {0, 2}, {1, 1}, {3, 3}};
constexpr TPackedLayout UYVY{4, 2, {1, 3}, {0, 0}, {2, 2}};
constexpr TPackedLayout YVYU{4, 2, {0, 2}, {3, 3}, {1, 1}};
constexpr TPackedLayout Y211{4, 4, {0, 0, 2, 2}, {1, 1, 1, 1}, {3, 3, 3, 3}};
constexpr TPackedLayout IYU1{6, 4, {1, 2, 4, 5}, {0, 0, 0, 0}, {3, 3, 3, 3}};
constexpr TPackedLayout IYU2{3, 1, {1}, {0}, {2}};
constexpr TPackedLayout Y41P{
    12, 8, {1, 3, 5, 7, 8, 9, 10, 11}, {0, 0, 0, 0, 4, 4, 4, 4}, {2, 2, 2, 2, 6, 6, 6, 6}};

Byte* PictureRow(TIEBitmap* Bitmap, Integer DataRow, bool TopDown) {
  return static_cast<Byte*>(Bitmap->GetScanline(TopDown ? DataRow : Bitmap->GetHeight() - 1 - DataRow));
}

void Store(Byte* Pixel, Integer Y, Integer U, Integer V) {
  TIERGBTriple RGB;
  IEYUVToRGB(Y, U, V, RGB);
  Pixel[0] = RGB.rgbtBlue;
  Pixel[1] = RGB.rgbtGreen;
  Pixel[2] = RGB.rgbtRed;
}

void DecodePacked(const TPackedLayout& L, const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  const Integer Width = Bitmap->GetWidth();
  const Int64 RowBytes = static_cast<Int64>(Width) * L.BlockBytes / L.BlockPixels;
  for (Integer Row = 0; Row < Bitmap->GetHeight(); ++Row) {
    const Byte* Src = static_cast<const Byte*>(Data) + RowBytes * Row;
    Byte* Dest = PictureRow(Bitmap, Row, TopDown);
    for (Integer X = 0; X < Width; ++X) {
      const Byte* Block = Src + static_cast<Int64>(X / L.BlockPixels) * L.BlockBytes;
      const Integer P = X % L.BlockPixels;
      Store(Dest + 3 * X, Block[L.Y[P]], Block[L.U[P]], Block[L.V[P]]);
    }
  }
}

// Luma plane, then the two chroma planes of (Width / Factor) x (Height / Factor).
void DecodePlanar(const void* Data, TIEBitmap* Bitmap, bool TopDown, Integer Factor, bool UFirst) {
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  const Integer ChromaWidth = Width / Factor, ChromaHeight = Height / Factor;
  const Byte* Luma = static_cast<const Byte*>(Data);
  const Byte* First = Luma + static_cast<Int64>(Width) * Height;
  const Byte* Second = First + static_cast<Int64>(ChromaWidth) * ChromaHeight;
  const Byte* UPlane = UFirst ? First : Second;
  const Byte* VPlane = UFirst ? Second : First;
  // A picture narrower or lower than one chroma block has no chroma: neutral grey.
  const bool HasChroma = ChromaWidth > 0 && ChromaHeight > 0;
  for (Integer Row = 0; Row < Height; ++Row) {
    const Byte* Y = Luma + static_cast<Int64>(Width) * Row;
    // A last odd row or column reuses the last chroma sample instead of reading past the plane.
    const Int64 ChromaRow = static_cast<Int64>(std::min(Row / Factor, ChromaHeight - 1)) * ChromaWidth;
    Byte* Dest = PictureRow(Bitmap, Row, TopDown);
    for (Integer X = 0; X < Width; ++X) {
      const Int64 C = ChromaRow + std::min(X / Factor, ChromaWidth - 1);
      Store(Dest + 3 * X, Y[X], HasChroma ? UPlane[C] : 128, HasChroma ? VPlane[C] : 128);
    }
  }
}

}  // namespace

void IEYUVToRGB(Integer Y, Integer U, Integer V, TIERGBTriple& Pixel) {
  const Extended L = (Y - 16) * 1.164L;
  const Integer Cb = U - 128, Cr = V - 128;
  Pixel.rgbtBlue = IEClampByte(static_cast<Integer>(Round(L + 2.018L * Cb)));
  Pixel.rgbtGreen = IEClampByte(static_cast<Integer>(Round(L - 0.813L * Cr - 0.391L * Cb)));
  Pixel.rgbtRed = IEClampByte(static_cast<Integer>(Round(L + 1.596L * Cr)));
}

void IEDecodeI420(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePlanar(Data, Bitmap, TopDown, 2, true);
}
void IEDecodeYV12(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePlanar(Data, Bitmap, TopDown, 2, false);
}
void IEDecodeYVU9(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePlanar(Data, Bitmap, TopDown, 4, false);
}
void IEDecodeYUY2(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(YUY2, Data, Bitmap, TopDown);
}
void IEDecodeUYVY(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(UYVY, Data, Bitmap, TopDown);
}
void IEDecodeYVYU(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(YVYU, Data, Bitmap, TopDown);
}
void IEDecodeY211(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(Y211, Data, Bitmap, TopDown);
}
void IEDecodeIYU1(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(IYU1, Data, Bitmap, TopDown);
}
void IEDecodeIYU2(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(IYU2, Data, Bitmap, TopDown);
}
void IEDecodeY41P(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  DecodePacked(Y41P, Data, Bitmap, TopDown);
}

void IEDecodeCLJR(const void* Data, TIEBitmap* Bitmap, bool TopDown) {
  const Integer Width = Bitmap->GetWidth();
  for (Integer Row = 0; Row < Bitmap->GetHeight(); ++Row) {
    const Byte* Src = static_cast<const Byte*>(Data) + static_cast<Int64>(Width) * Row;
    Byte* Dest = PictureRow(Bitmap, Row, TopDown);
    for (Integer X = 0; X < Width; ++X) {
      const Byte* Block = Src + (X / 4) * 4;
      const Cardinal Word =
          Block[0] | (Block[1] << 8) | (Block[2] << 16) | (static_cast<Cardinal>(Block[3]) << 24);
      const Integer Luma = static_cast<Integer>((Word >> (12 + 5 * (X % 4))) & 31);
      Store(Dest + 3 * X, Luma, static_cast<Integer>(Word & 63), static_cast<Integer>((Word >> 6) & 63));
    }
  }
}
