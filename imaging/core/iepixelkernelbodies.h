#pragma once
// The bodies of the pixel kernels, written so that the compiler vectorises them; included by
// the plain and the AVX2 unit, which wrap them in functions of their own target.
#include <cstring>

#include "imaging/core/iepixelkernels.h"

#define IE_KERNEL_BODY [[gnu::always_inline]] inline

namespace IEKernelBodies {

IE_KERNEL_BODY void Rgb24ToGray8(const Byte* Src, Byte* Dest, Integer Width, TIEGray8 Gray) {
  const auto WR = static_cast<Cardinal>(Gray.WR);
  const auto WG = static_cast<Cardinal>(Gray.WG);
  const auto WB = static_cast<Cardinal>(Gray.WB);
  for (Integer X = 0; X < Width; ++X) {
    const Byte* P = Src + 3 * X;
    Dest[X] = static_cast<Byte>((P[2] * WR + P[1] * WG + P[0] * WB) / 100u);
  }
}

IE_KERNEL_BODY void Rgb24To32(const Byte* Src, Byte* Dest, Integer Width) {
  for (Integer X = 0; X < Width; ++X) {
    Dest[4 * X] = Src[3 * X];
    Dest[4 * X + 1] = Src[3 * X + 1];
    Dest[4 * X + 2] = Src[3 * X + 2];
    Dest[4 * X + 3] = 255;
  }
}

IE_KERNEL_BODY void Gray8To24(const Byte* Src, Byte* Dest, Integer Width) {
  for (Integer X = 0; X < Width; ++X) {
    const Byte V = Src[X];
    Dest[3 * X] = V;
    Dest[3 * X + 1] = V;
    Dest[3 * X + 2] = V;
  }
}

IE_KERNEL_BODY void SumRgb24(const Byte* Src, Integer Width, UInt64* Sums) {
  // Eight pixels are three 64-bit words; their even and odd bytes add up in 16-bit lanes, which
  // hold 255 blocks of sums before they are emptied. Byte p of a block is channel p mod 3.
  constexpr UInt64 EvenBytes = 0x00FF00FF00FF00FFull;
  constexpr Integer BlocksPerFlush = 255;
  UInt64 Channel[3] = {0, 0, 0};  // B, G, R
  const Integer Blocks = Width / 8;
  for (Integer B0 = 0; B0 < Blocks; B0 += BlocksPerFlush) {
    const Integer End = Blocks - B0 < BlocksPerFlush ? Blocks : B0 + BlocksPerFlush;
    UInt64 Lanes[3][2] = {{0, 0}, {0, 0}, {0, 0}};
    for (Integer Block = B0; Block < End; ++Block) {
      for (Integer W = 0; W < 3; ++W) {
        UInt64 Word;
        std::memcpy(&Word, Src + 24 * Block + 8 * W, 8);
        Lanes[W][0] += Word & EvenBytes;
        Lanes[W][1] += (Word >> 8) & EvenBytes;
      }
    }
    for (Integer W = 0; W < 3; ++W)
      for (Integer Odd = 0; Odd < 2; ++Odd)
        for (Integer K = 0; K < 4; ++K)
          Channel[(8 * W + 2 * K + Odd) % 3] += (Lanes[W][Odd] >> (16 * K)) & 0xFFFF;
  }
  for (Integer X = Blocks * 8; X < Width; ++X)
    for (Integer C = 0; C < 3; ++C) Channel[C] += Src[3 * X + C];
  Sums[0] += Channel[2];
  Sums[1] += Channel[1];
  Sums[2] += Channel[0];
}

// Grey levels of a piece of the row at a time on the stack; pieces are whole bytes of bits.
IE_KERNEL_BODY void Rgb24ToDither(const Byte* Src, Byte* Dest, Integer Width, Integer Y, TIEGray8 Gray) {
  constexpr Integer Piece = 2048;
  Byte Levels[Piece];
  for (Integer X0 = 0; X0 < Width; X0 += Piece) {
    const Integer Count = Width - X0 < Piece ? Width - X0 : Piece;
    Rgb24ToGray8(Src + 3 * X0, Levels, Count, Gray);
    IEDitherGray8Row(Levels, Dest + X0 / 8, Count, Y);
  }
}

IE_KERNEL_BODY void Rgb24ToThreshold(const Byte* Src, Byte* Dest, Integer Width, Integer Threshold,
                                     TIEGray8 Gray) {
  constexpr Integer Piece = 2048;
  Byte Levels[Piece];
  for (Integer X0 = 0; X0 < Width; X0 += Piece) {
    const Integer Count = Width - X0 < Piece ? Width - X0 : Piece;
    Rgb24ToGray8(Src + 3 * X0, Levels, Count, Gray);
    IEThresholdGray8Row(Levels, Dest + X0 / 8, Count, Threshold);
  }
}

}  // namespace IEKernelBodies
