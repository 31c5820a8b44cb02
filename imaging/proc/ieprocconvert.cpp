#include "imaging/proc/ieprocconvert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iequantizer.h"
#include "platform/system/Math.h"

namespace {

inline Byte Nibble(const Byte* Row, Integer X) {
  return (X & 1) ? Row[X >> 1] & 0x0F : Row[X >> 1] >> 4;
}
inline void PutNibble(Byte* Row, Integer X, Byte Value) {
  Row[X >> 1] |= (X & 1) ? Value : static_cast<Byte>(Value << 4);
}
inline Byte Bit(const Byte* Row, Integer X) {
  return (Row[X >> 3] >> (7 - (X & 7))) & 1;
}
inline void PutBit(Byte* Row, Integer X, Byte Value) {
  if (Value) Row[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
}

Integer DestBytes(Integer Bits, Integer Width) {
  switch (Bits) {
    case 1:
      return (Width + 7) / 8;
    case 4:
      return (Width + 1) / 2;
    case 8:
      return Width;
    case 24:
      return 3 * Width;
    default:
      return 0;
  }
}

// Index Get(x) of every pixel stored at DestBits; 24-bit destinations take Palette[index].
template <class FGet>
void WriteIndices(Byte* Dest, Integer DestBits, Integer Width, std::span<const TIERGBTriple> Palette,
                  FGet Get) {
  for (Integer X = 0; X < Width; ++X) {
    const Byte I = Get(X);
    switch (DestBits) {
      case 1:
        PutBit(Dest, X, I);
        break;
      case 4:
        PutNibble(Dest, X, I & 0x0F);
        break;
      case 8:
        Dest[X] = I;
        break;
      case 24:
        if (I < Palette.size()) std::memcpy(Dest + 3 * X, &Palette[I], 3);
        break;
    }
  }
}

Byte QuantizedIndex(const TIEQuantizer* Quantizer, const TIERGBTriple& Color) {
  return static_cast<Byte>(std::max(Quantizer->RGBIndex(Color), 0));
}

}  // namespace

void IEConvertToGray24(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, TObject* Sender,
                       const TIEProgressEvent& OnProgress) {
  if (Bitmap->GetPixelFormat() != ie24RGB) return;
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, Bitmap->GetWidth());
  Y2 = std::min(Y2, Bitmap->GetHeight());
  const Integer Rows = Y2 - Y1;
  const TIEGray8 Gray = TIEGray8::Current();
  for (Integer Y = Y1; Y < Y2; ++Y) {
    auto* Row = static_cast<TIERGBTriple*>(Bitmap->GetScanline(Y));
    for (Integer X = X1; X < X2; ++X) {
      const Byte G = static_cast<Byte>(Gray(Row[X]));
      Row[X] = {G, G, G};
    }
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc((Y - Y1 + 1) * (100.0L / (Rows + 0.5L)))));
  }
}

void IEQuantizeInPlace(TIEBitmap* Bitmap, Integer NumColors, std::span<TIERGBTriple> Palette, TObject* Sender,
                       const TIEProgressEvent& OnProgress) {
  if (Bitmap->GetPixelFormat() != ie24RGB || NumColors <= 0) return;
  std::vector<TIERGBTriple> Own;
  if (Palette.size() < static_cast<size_t>(NumColors)) {
    Own.resize(NumColors);
    Palette = Own;
  }
  const TIEQuantizer Quantizer(Bitmap, Palette, NumColors);
  const Integer Height = Bitmap->GetHeight(), Width = Bitmap->GetWidth();
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<TIERGBTriple*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Integer I = Quantizer.RGBIndex(Row[X]);
      if (I >= 0 && I < NumColors) Row[X] = Palette[I];
    }
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc((Y + 1) * (100.0L / (Height + 0.5L)))));
  }
}

Integer IEConvertRowBitDepth(const Byte* Source, Byte* Dest, Word SourceBits, Word DestBits, Word Width,
                             std::span<const TIERGBTriple> Palette, const TIEQuantizer* Quantizer) {
  const Integer Result = DestBytes(DestBits, Width);
  if (Result == 0) return 0;
  if (DestBits == 1 || DestBits == 4) std::memset(Dest, 0, Result);
  if (SourceBits == DestBits) {
    if (SourceBits == 1 || SourceBits == 4 || SourceBits == 8 || SourceBits == 24)
      std::memcpy(Dest, Source, Result);
    return Result;
  }
  switch (SourceBits) {
    case 24: {
      const auto* Pixels = reinterpret_cast<const TIERGBTriple*>(Source);
      if ((DestBits == 4 || DestBits == 8) && Quantizer)
        WriteIndices(Dest, DestBits, Width, Palette,
                     [&](Integer X) { return QuantizedIndex(Quantizer, Pixels[X]); });
      break;
    }
    case 32:
      if (DestBits == 24)
        for (Integer X = 0; X < Width; ++X) std::memcpy(Dest + 3 * X, Source + 4 * X, 3);
      break;
    case 8:
      if (DestBits == 1 || DestBits == 24)
        WriteIndices(Dest, DestBits, Width, Palette, [&](Integer X) { return Source[X]; });
      break;
    case 1:
      WriteIndices(Dest, DestBits, Width, Palette, [&](Integer X) { return Bit(Source, X); });
      break;
    case 4:
      if (DestBits == 8 || DestBits == 24)
        WriteIndices(Dest, DestBits, Width, Palette, [&](Integer X) { return Nibble(Source, X); });
      break;
    default:
      break;
  }
  return Result;
}
