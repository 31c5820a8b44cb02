#pragma once
// Ternary raster operations. Bits 16..23 of a ROP3 code are its truth table: bit 4p + 2s + d is
// the result for pattern bit p, source bit s and destination bit d. The platform applies the
// table to every bit of the raw pixels independently, so palette formats combine indices, not
// colours, and BLACKNESS/WHITENESS are the all-zero and all-one pixels.
#include "platform/system/Types.h"

// The codes without a source (PatBlt's).
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
// The codes with a source.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD NOMIRRORBITMAP = 0x80000000;
constexpr DWORD CAPTUREBLT = 0x40000000;

// A ROP4 for MaskBlt: the mask's 1 bits use Fore, its 0 bits Back (its table in bits 24..31).
constexpr DWORD MAKEROP4(DWORD Fore, DWORD Back) {
  return ((Back << 8) & 0xFF000000u) | Fore;
}

constexpr Byte Rop3Index(DWORD Rop) {
  return static_cast<Byte>(Rop >> 16);
}
constexpr Byte Rop4BackIndex(DWORD Rop4) {
  return static_cast<Byte>(Rop4 >> 24);
}

// Whether a truth table depends on the operand at all.
constexpr bool Rop3UsesPattern(Byte Code) {
  return (((Code >> 4) ^ Code) & 0x0F) != 0;
}
constexpr bool Rop3UsesSource(Byte Code) {
  return (((Code >> 2) ^ Code) & 0x33) != 0;
}
constexpr bool Rop3UsesDest(Byte Code) {
  return (((Code >> 1) ^ Code) & 0x55) != 0;
}

// The mix mode (R2_*) of a table that does not depend on the source.
constexpr Integer Rop3ToRop2(Byte Code) {
  return ((Code & 0x03) | ((Code >> 2) & 0x0C)) + 1;
}

// The reference evaluation, minterm by minterm.
constexpr DWORD Rop3Eval(Byte Code, DWORD P, DWORD S, DWORD D) {
  DWORD R = 0;
  for (Integer I = 0; I < 8; ++I)
    if ((Code >> I) & 1) R |= ((I & 4) ? P : ~P) & ((I & 2) ? S : ~S) & ((I & 1) ? D : ~D);
  return R;
}

// R[i] := table(P[i], S[i], D[i]) for raw pixels; R overlaps none of the inputs. Every operand
// must point at N readable values, even one the table ignores.
using TRop3Row = void (*)(DWORD* R, const DWORD* P, const DWORD* S, const DWORD* D, Integer N);
TRop3Row Rop3Row(Byte Code);
