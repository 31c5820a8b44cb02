#pragma once
// The byte-level rules TIFF-structured blocks share (TIFF directories, EXIF blocks, maker
// notes): the TIFF 6.0 field types and their sizes, and 16- and 32-bit numbers in either byte
// order at a byte address.
#include <cstddef>
#include <utility>

#include "platform/system/Types.h"

// TIFF 6.0 field types.
constexpr Word ietBYTE = 1;
constexpr Word ietASCII = 2;
constexpr Word ietSHORT = 3;
constexpr Word ietLONG = 4;
constexpr Word ietRATIONAL = 5;
constexpr Word ietSBYTE = 6;
constexpr Word ietUNDEFINED = 7;
constexpr Word ietSSHORT = 8;
constexpr Word ietSLONG = 9;
constexpr Word ietSRATIONAL = 10;
constexpr Word ietFLOAT = 11;
constexpr Word ietDOUBLE = 12;

// Bytes per value of a TIFF 6.0 type; any other type counts as 1.
inline Integer IETIFFTypeSize(Word Type) {
  static constexpr Byte Sizes[13] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return Type < 13 ? Sizes[Type] : 1;
}

// Bytes of Count values of Type, in 64 bits so that no count from a file overflows it.
inline Int64 IETIFFValueBytes(Word Type, Cardinal Count) {
  return static_cast<Int64>(Count) * IETIFFTypeSize(Type);
}

inline Word IEGetWord(const Byte* P, bool BigEndian) {
  return BigEndian ? static_cast<Word>(P[0] << 8 | P[1]) : static_cast<Word>(P[1] << 8 | P[0]);
}

inline Cardinal IEGetDWord(const Byte* P, bool BigEndian) {
  return BigEndian ? Cardinal(P[0]) << 24 | Cardinal(P[1]) << 16 | Cardinal(P[2]) << 8 | P[3]
                   : Cardinal(P[3]) << 24 | Cardinal(P[2]) << 16 | Cardinal(P[1]) << 8 | P[0];
}

inline void IEPutWord(Byte* P, Word Value, bool BigEndian) {
  P[BigEndian ? 0 : 1] = static_cast<Byte>(Value >> 8);
  P[BigEndian ? 1 : 0] = static_cast<Byte>(Value);
}

inline void IEPutDWord(Byte* P, Cardinal Value, bool BigEndian) {
  for (Integer I = 0; I < 4; ++I) P[BigEndian ? 3 - I : I] = static_cast<Byte>(Value >> (8 * I));
}

// Turns Bytes of values of Type into the other byte order, element by element: SHORT words,
// LONG and FLOAT double words, the two halves of a RATIONAL, the eight bytes of a DOUBLE.
inline void IESwapTIFFValues(Byte* Data, std::size_t Bytes, Word Type) {
  const std::size_t Element = Type == ietRATIONAL || Type == ietSRATIONAL ? 4 : IETIFFTypeSize(Type);
  if (Element < 2) return;
  for (std::size_t At = 0; At + Element <= Bytes; At += Element)
    for (std::size_t I = 0; I < Element / 2; ++I) std::swap(Data[At + I], Data[At + Element - 1 - I]);
}
