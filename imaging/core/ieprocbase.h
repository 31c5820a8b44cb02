#pragma once
// Small pixel services of the processing library that the bitmap core itself needs: colour
// records, clamping, bit copies of 1-bit rows, byte order of 3-byte pixels.
#include <array>
#include <cmath>
#include <utility>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iecolorspace.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;
class TIEBitmap;

// Pixel n of a 1-bit row lies in byte n div 8 under IEBitMask[n mod 8]; a set bit is white.
constexpr std::array<Byte, 8> IEBitMask = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

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
inline double IEMinFloat(double A, double B) {
  return A >= B ? B : A;
}
inline double IEMaxFloat(double A, double B) {
  return A <= B ? B : A;
}
// Trunc(X) + 1 when X has a positive fraction.
inline Integer IECeil(Extended X) {
  const Extended T = std::trunc(X);
  return static_cast<Integer>(T) + (X - T > 0 ? 1 : 0);
}
// Trunc(X) - 1 when X has a negative fraction.
inline Integer IEFloor(Extended X) {
  const Extended T = std::trunc(X);
  return static_cast<Integer>(T) - (X - T < 0 ? 1 : 0);
}
inline void IESwapInt(Integer& A, Integer& B) {
  std::swap(A, B);
}
// A whole number of degrees divisible by 90 (so -270 and 450 too).
inline bool IEIsMultipleOf90(double Angle) {
  const double T = std::trunc(Angle);
  return T == Angle && std::fmod(T, 90.0) == 0;
}

// B0 in the low byte.
inline Integer IEPackBytes(Byte B0, Byte B1, Byte B2, Byte B3) {
  return static_cast<Integer>(B0 | (B1 << 8) | (B2 << 16) | (static_cast<uint32_t>(B3) << 24));
}
// The grey level with the library's current weights.
inline Integer IEGrayValue(const TIERGBTriple& Pixel) {
  return IEGray8(Pixel);
}
// TColor (0x00BBGGRR) to RGB-packed (0x00RRGGBB) and back; byte 3 cleared.
inline Integer IESwapRB(Integer C) {
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}
// Alpha in the top byte, then red, green, blue; system colours resolved first.
Integer IEColorToARGB(TColor Color, Byte Alpha);
// The low three bytes are equal.
inline bool IESameRGB(Integer A, Integer B) {
  return ((A ^ B) & 0xFFFFFF) == 0;
}
// The entry with the smallest sum of channel differences to Color (RGB-packed); the first of
// equal entries wins, and 0 for an empty palette.
Integer IEFindNearestColor(const TIERGBTriple* Palette, Integer Count, Integer Color);
// Copies Count triples exchanging red and blue.
void IECopyPaletteSwapRB(TIERGBTriple* Dest, const TIERGBTriple* Source, Integer Count);

// Exchanges X1, X2 when X2 < X1 and Y1, Y2 when Y2 < Y1.
void IEOrderCoords(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2);
void IESwapByte(Byte& A, Byte& B);

// 1-bit rows, most significant bit first.
inline bool IEGetBit(const Byte* Row, Integer Index) {
  return (Row[Index >> 3] & (0x80 >> (Index & 7))) != 0;
}
inline void IESetBit(Byte* Row, Integer Index, bool Value) {
  const Byte Mask = static_cast<Byte>(0x80 >> (Index & 7));
  if (Value)
    Row[Index >> 3] |= Mask;
  else
    Row[Index >> 3] &= static_cast<Byte>(~Mask);
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

// Exchanges the first and third 16-bit word of Count 6-byte pixels.
void IESwapRedBlue48(Word* Row, Integer Count);
void IEInvertBytes(Byte* Buffer, Integer Count);
// Bitwise NOT of every row (black and white of a 1-bit picture exchanged).
void IEInvertBitmap(TIEBitmap* Bitmap);
// Same size, both with or both without alpha, equal rows and equal alpha rows.
bool IEBitmapsEqual(TIEBitmap* A, TIEBitmap* B);

// Dest gets Source's size and pixel format and all its rows; an empty Source leaves Dest 1 x 1
// in Source's pixel format.
void IECopyTBitmap(TBitmap* Source, TBitmap* Dest);
