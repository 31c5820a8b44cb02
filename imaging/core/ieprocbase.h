#pragma once
// Small pixel services of the processing library that the bitmap core itself needs: colour
// records, clamping, bit copies of 1-bit rows, byte order of 3-byte pixels.
#include "imaging/core/hyiedefs.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;

// The colour as B, G, R; system colours are resolved first.
TIERGBTriple IEColorToRGB(TColor Color);
TIERGBTriple IEMakeRGB(Byte Red, Byte Green, Byte Blue);

// Lo when Value <= Lo, else the smaller of Value and Hi.
inline Integer IEClamp(Integer Value, Integer Lo, Integer Hi) {
  if (Value <= Lo) return Lo;
  return Value < Hi ? Value : Hi;
}
inline Byte IEClampByte(Integer Value) {
  return static_cast<Byte>(Value < 0 ? 0 : (Value > 255 ? 255 : Value));
}
inline Integer IEMin(Integer A, Integer B) {
  return A < B ? A : B;
}
inline Integer IEMax(Integer A, Integer B) {
  return A > B ? A : B;
}
// Exchanges X1, X2 when X2 < X1 and Y1, Y2 when Y2 < Y1.
void IEOrderCoords(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2);
void IESwapByte(Byte& A, Byte& B);

// 1-bit rows, most significant bit first.
inline bool IEGetBit(const Byte* Row, Integer Index) {
  return (Row[Index >> 3] & (0x80 >> (Index & 7))) != 0;
}
// Copies BitCount bits from bit SourceBit of Source to bit DestBit of Dest, leaving the other
// bits of Dest's edge bytes unchanged; reading stays within SourceRowBytes bytes.
void IECopyBits(Byte* Dest, const Byte* Source, Integer DestBit, Integer SourceBit, Integer BitCount,
                Integer SourceRowBytes);
void IECopyBitsOneByOne(Byte* Dest, const Byte* Source, Integer DestBit, Integer Count, Integer SourceBit);

// Exchanges the first and third byte of Count 3-byte pixels.
void IESwapRedBlue(Byte* Row, Integer Count);
// The same over palette triples; Ignored has no effect.
void IESwapRedBlueTriples(TIERGBTriple* Triples, Integer Ignored, Integer Count);

// Dest gets Source's size and pixel format and all its rows.
void IECopyTBitmap(TBitmap* Source, TBitmap* Dest);
