#include "imaging/core/iepixelkernels.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/iebwconvert.h"
#include "imaging/core/iepixelkernelbodies.h"

namespace {

void PlainRgb24ToGray8(const Byte* Src, Byte* Dest, Integer Width, TIEGray8 Gray) {
  IEKernelBodies::Rgb24ToGray8(Src, Dest, Width, Gray);
}
void PlainRgb24To32(const Byte* Src, Byte* Dest, Integer Width) {
  IEKernelBodies::Rgb24To32(Src, Dest, Width);
}
void PlainGray8To24(const Byte* Src, Byte* Dest, Integer Width) {
  IEKernelBodies::Gray8To24(Src, Dest, Width);
}
void PlainSumRgb24(const Byte* Src, Integer Width, UInt64* Sums) {
  IEKernelBodies::SumRgb24(Src, Width, Sums);
}

void PlainRgb24ToDither(const Byte* Src, Byte* Dest, Integer Width, Integer Y, TIEGray8 Gray) {
  IEKernelBodies::Rgb24ToDither(Src, Dest, Width, Y, Gray);
}

void PlainRgb24ToThreshold(const Byte* Src, Byte* Dest, Integer Width, Integer Threshold, TIEGray8 Gray) {
  IEKernelBodies::Rgb24ToThreshold(Src, Dest, Width, Threshold, Gray);
}

constexpr TIEPixelKernels PlainKernels = {PlainRgb24ToGray8, PlainRgb24To32,     PlainGray8To24,
                                          PlainSumRgb24,     PlainRgb24ToDither, PlainRgb24ToThreshold};

constexpr UInt64 HighBits = 0x8080808080808080ull;
constexpr UInt64 LowBits = 0x0101010101010101ull;
// Gathers the low bit of each byte into one byte, byte 0 (the leftmost pixel) at the top.
constexpr UInt64 GatherMostSignificantFirst = 0x8040201008040201ull;

UInt64 Load8(const Byte* P) {
  UInt64 V;
  std::memcpy(&V, P, 8);
  return V;
}

// Packs eight bytes that are each 0 or 0x80 into the bits of one byte.
Byte PackHighBits(UInt64 H) {
  return static_cast<Byte>((((H >> 7) & LowBits) * GatherMostSignificantFirst) >> 56);
}

}  // namespace

const TIEPixelKernels& IEPlainPixelKernels() {
  return PlainKernels;
}

const TIEPixelKernels& IEPixelKernels() {
  static const TIEPixelKernels& Chosen = IEAvx2PixelKernels() ? *IEAvx2PixelKernels() : PlainKernels;
  return Chosen;
}

void IEDitherGray8Row(const Byte* Levels, Byte* Dest, Integer Width, Integer Y) {
  // Per byte: (level | 0x80) - (matrix + 1) keeps its top bit exactly when matrix < level, and
  // never borrows from the next byte.
  Byte Column[8];
  for (Integer I = 0; I < 8; ++I) Column[I] = static_cast<Byte>(IEBayer8x8[I * 8 + (Y & 7)] + 1);
  const UInt64 Matrix = Load8(Column);
  const Integer Whole = Width & ~7;
  for (Integer X = 0; X < Whole; X += 8) {
    const UInt64 L = (Load8(Levels + X) >> 2) & 0x3F3F3F3F3F3F3F3Full;
    Dest[X >> 3] = PackHighBits(((L | HighBits) - Matrix) & HighBits);
  }
  if (Whole < Width)
    IEDitherRow(Dest, Width, Y, [&](Integer X) { return static_cast<Integer>(Levels[X] >> 2); });
}

void IEThresholdGray8Row(const Byte* Levels, Byte* Dest, Integer Width, Integer Threshold) {
  // Each piece is first a byte mask (0x80 where set), a loop the compiler vectorises, then
  // packed eight bytes at a time.
  constexpr Integer Piece = 256;
  alignas(8) Byte Mask[Piece];
  // Compared as bytes, so that the loop stays byte-wide; a threshold above 255 sets nothing.
  const auto Level = static_cast<Byte>(std::clamp(Threshold, 0, 255));
  const Byte SetBit = Threshold > 255 ? 0 : 0x80;
  for (Integer X0 = 0; X0 < Width; X0 += Piece) {
    const Integer Count = Width - X0 < Piece ? Width - X0 : Piece;
    for (Integer I = 0; I < Count; ++I) Mask[I] = Levels[X0 + I] >= Level ? SetBit : 0;
    for (Integer I = Count; I < ((Count + 7) & ~7); ++I) Mask[I] = 0;
    for (Integer I = 0; I < Count; I += 8) Dest[(X0 + I) >> 3] = PackHighBits(Load8(Mask + I));
  }
}
