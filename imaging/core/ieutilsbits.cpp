#include "imaging/core/ieutilsbits.h"

#include <array>
#include <bit>
#include <climits>

#include "imaging/core/iebitmap.h"

namespace {
constexpr std::array<Byte, 256> ReversedBytes = [] {
  std::array<Byte, 256> Table{};
  for (int I = 0; I < 256; ++I)
    for (int Bit = 0; Bit < 8; ++Bit)
      if (I & (1 << Bit)) Table[I] |= static_cast<Byte>(0x80 >> Bit);
  return Table;
}();
}  // namespace

Integer IEBitMaskWidth(Cardinal Mask) {
  if (Mask == 0) return 0;
  return std::countr_one(Mask >> std::countr_zero(Mask));
}

Integer IEBitMaskEnd(Cardinal Mask) {
  if (Mask == 0) return -1;
  const Integer Highest = 31 - std::countl_zero(Mask);
  return std::has_single_bit(Mask) ? Highest : Highest + 1;
}

void IEReverseBits8(Byte& B) {
  B = ReversedBytes[B];
}

void IEReverseBits32(Cardinal& V) {
  V = __builtin_bswap32(V);
  V = ((V & 0xAAAAAAAAu) >> 1) | ((V & 0x55555555u) << 1);
  V = ((V & 0xCCCCCCCCu) >> 2) | ((V & 0x33333333u) << 2);
  V = ((V & 0xF0F0F0F0u) >> 4) | ((V & 0x0F0F0F0Fu) << 4);
}

Integer IEColorCount(Integer BitsPerSample, Integer SamplesPerPixel) {
  if (SamplesPerPixel <= 0 || BitsPerSample <= 0) return 1;
  const Int64 Bits = Int64(BitsPerSample) * SamplesPerPixel;
  return Bits >= 31 ? INT_MAX : Integer(1) << Bits;
}

Integer IEVclPixelFormatToBitCount(TPixelFormat Format) {
  switch (Format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
      return 15;
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pf32bit:
      return 32;
    default:
      return 0;
  }
}

TIEPixelFormat IEVclPixelFormatToIE(TPixelFormat Format) {
  switch (Format) {
    case pf1bit:
      return ie1g;
    case pf4bit:
    case pf8bit:
      return ie8p;
    default:
      return ie24RGB;
  }
}

Int64 IETBitmapRowLen(Integer Width, TPixelFormat Format) {
  return IEBitmapRowLen(Width, IEVclPixelFormatToBitCount(Format), 32);
}
