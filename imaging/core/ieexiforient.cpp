#include "imaging/core/ieexiforient.h"

#include <cstring>
#include <utility>
#include <vector>

#include "imaging/core/iebitmap.h"

namespace {

// Copies pixel FromX of one row to pixel ToX of another; below 8 bits a pixel is one bit.
void CopyPixel(Integer Bits, const Byte* From, Integer FromX, Byte* To, Integer ToX) {
  if (Bits >= 8) {
    const Integer Bytes = Bits / 8;
    std::memcpy(To + ToX * Bytes, From + FromX * Bytes, Bytes);
    return;
  }
  const Byte Mask = static_cast<Byte>(0x80 >> (ToX % 8));
  if (From[FromX / 8] & (0x80 >> (FromX % 8)))
    To[ToX / 8] |= Mask;
  else
    To[ToX / 8] &= static_cast<Byte>(~Mask);
}

// Pixel (X, Y) of the NewWidth x NewHeight result is source pixel Map(X, Y).
template <class F>
void Remap(TIEBitmap* Bitmap, Integer NewWidth, Integer NewHeight, F Map) {
  const Integer Height = Bitmap->GetHeight(), RowLen = Bitmap->GetRowLen(), Bits = Bitmap->GetBitCount();
  // A file-backed bitmap has one row at a time: the source is copied out first.
  std::vector<Byte> Source(static_cast<std::size_t>(RowLen) * Height);
  for (Integer Y = 0; Y < Height; ++Y)
    std::memcpy(Source.data() + static_cast<std::size_t>(RowLen) * Y, Bitmap->GetScanline(Y), RowLen);
  TIEBitmap Result;
  if (!Result.Allocate(NewWidth, NewHeight, Bitmap->GetPixelFormat())) return;
  Bitmap->CopyPaletteTo(&Result);
  for (Integer Y = 0; Y < NewHeight; ++Y) {
    auto* Out = static_cast<Byte*>(Result.GetScanline(Y));
    for (Integer X = 0; X < NewWidth; ++X) {
      const auto [SX, SY] = Map(X, Y);
      CopyPixel(Bits, Source.data() + static_cast<std::size_t>(RowLen) * SY, SX, Out, X);
    }
  }
  Bitmap->Assign(&Result);
}

}  // namespace

void IEExactFlipBitmap(TIEBitmap* Bitmap, Integer Direction) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (W <= 0 || H <= 0) return;
  if (Direction == 0)
    Remap(Bitmap, W, H, [&](Integer X, Integer Y) { return std::pair(W - 1 - X, Y); });
  else
    Remap(Bitmap, W, H, [&](Integer X, Integer Y) { return std::pair(X, H - 1 - Y); });
}

void IEExactRotateBitmap(TIEBitmap* Bitmap, Integer Angle) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (W <= 0 || H <= 0 || Angle % 90 != 0) return;
  switch ((Angle % 360 + 360) % 360) {
    case 90:  // counter-clockwise: the top-right corner comes to the top left
      Remap(Bitmap, H, W, [&](Integer X, Integer Y) { return std::pair(W - 1 - Y, X); });
      break;
    case 180:
      Remap(Bitmap, W, H, [&](Integer X, Integer Y) { return std::pair(W - 1 - X, H - 1 - Y); });
      break;
    case 270:
      Remap(Bitmap, H, W, [&](Integer X, Integer Y) { return std::pair(Y, H - 1 - X); });
      break;
    default:
      break;
  }
}
