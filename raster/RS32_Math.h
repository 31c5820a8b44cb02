#pragma once
// 16.16 fixed-point arithmetic. Shifts of signed values are arithmetic; sums wrap around in
// 32 bits as the processor's do.
#include "platform/system/Types.h"
#include "raster/RS32_Types.h"

inline Integer FixedToIntFloor(TFixed16 X) {
  return X >> 16;
}
inline Integer FixedToIntCeil(TFixed16 X) {
  return static_cast<Integer>(static_cast<Cardinal>(X) + 0xFFFFu) >> 16;
}
// 0x7FFF, not 0x8000: exact halves round down.
inline Integer FixedToIntRound(TFixed16 X) {
  return static_cast<Integer>(static_cast<Cardinal>(X) + 0x7FFFu) >> 16;
}
// Bits 16-47 of the signed 64-bit product.
inline TFixed16 FixedMultiply(TFixed16 A, TFixed16 B) {
  return static_cast<TFixed16>((static_cast<Int64>(A) * B) >> 16);
}
// (A x 65536) div B, truncating toward zero; a zero divisor raises EDivByZero.
TFixed16 FixedDivide(TFixed16 A, TFixed16 B);
