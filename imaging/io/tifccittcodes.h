#pragma once
// What the fax decoder and encoder share: the code tables, the decode trees and the bit
// searches over rows.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "imaging/io/tifccitt.h"

namespace ccitt {

constexpr Integer RunCodeCount = 128;
constexpr Integer InnerNode = 128;  // also the decoders' "no code here"
constexpr Integer FirstMakeUp = 64;
constexpr Integer LongestMakeUpIndex = 103;  // 2560 pixels
constexpr Integer LongestMakeUp = 2560;
constexpr Integer EolIndex = 104;
constexpr Integer LastEolIndex = 127;  // what the decoders read past the data
constexpr Integer EolRun = -3;

using TRunCodes = std::array<CCITTCodeEntry, RunCodeCount>;
extern const TRunCodes WhiteCodes;
extern const TRunCodes BlackCodes;
inline const TRunCodes& RunCodes(bool Black) {
  return Black ? BlackCodes : WhiteCodes;
}

// The two-dimensional mode codes, tried in table order; a vertical mode's Run is its offset
// a1 - b1.
enum TMode : Integer {
  mdZeros,  // twelve zero bits
  mdPass,
  mdHorizontal,
  mdVerticalL3,
  mdVertical0 = mdVerticalL3 + 3,
  mdVerticalR3 = mdVertical0 + 3,
  mdUncompressed10,
  mdUncompressed12,
  mdEol,
  ModeCount
};
extern const std::array<CCITTCodeEntry, ModeCount> ModeCodes;

// The roots of the decode trees; both have no children outside CCITTInitialize..CCITTFinalize.
const CCITTTreeNode& DecodeTree(bool Black);

// Row bits: pixel X is bit 7 - X mod 8 of byte X div 8.
inline bool RowBit(const Byte* Row, Integer X) {
  return (Row[X >> 3] & (0x80 >> (X & 7))) != 0;
}

// The first pixel at or after From whose bit is Set, Width when none is left. Whole bytes of
// the other value are skipped a word, then a byte at a time; the row is read only up to its
// last byte.
inline Integer FindBit(const Byte* Row, Integer From, Integer Width, bool Set) {
  if (From < 0) From = 0;
  const Byte Skip = Set ? 0x00 : 0xFF;
  Integer X = From;
  while (X < Width && (X & 7) != 0) {
    if (RowBit(Row, X) == Set) return X;
    ++X;
  }
  const Integer WholeBytes = Width >> 3;
  Integer Index = X >> 3;
  const uint64_t SkipWord = Set ? 0 : ~uint64_t{0};
  while (Index + 8 <= WholeBytes) {
    uint64_t Word8;
    std::memcpy(&Word8, Row + Index, sizeof Word8);
    if (Word8 != SkipWord) break;
    Index += 8;
  }
  while (Index < WholeBytes && Row[Index] == Skip) ++Index;
  X = std::max(X, Index << 3);
  if (Index < WholeBytes) {
    const Byte Bits = Set ? Row[Index] : static_cast<Byte>(~Row[Index]);
    return X + std::countl_zero(Bits);
  }
  while (X < Width && RowBit(Row, X) != Set) ++X;
  return std::min(X, Width);
}

// Clears pixels From .. To - 1 (cut to 0 .. Width): a byte fill inside, masks at the edges.
inline void ClearBits(Byte* Row, Integer From, Integer To, Integer Width) {
  From = std::max(From, 0);
  To = std::min(To, Width);
  if (From >= To) return;
  const Integer First = From >> 3;
  const Integer Last = (To - 1) >> 3;
  const Byte Head = static_cast<Byte>(0xFF >> (From & 7));
  const Byte Tail = static_cast<Byte>(0xFF << (7 - ((To - 1) & 7)));
  if (First == Last) {
    Row[First] &= static_cast<Byte>(~(Head & Tail));
    return;
  }
  Row[First] &= static_cast<Byte>(~Head);
  if (Last > First + 1) std::memset(Row + First + 1, 0, Last - First - 1);
  Row[Last] &= static_cast<Byte>(~Tail);
}

// The reference row's changing elements b1 and b2 for the coding position A0 (negative: before
// the row, where the pixel counts as white) and the colour of the run at A0. BlackBit is the
// bit value of black in the reference row (set when encoding, clear when decoding).
struct TChanges {
  Integer B1;
  Integer B2;
};
inline TChanges ReferenceChanges(const Byte* Ref, Integer A0, bool Black, Integer Width, bool BlackBit) {
  const bool Own = Black == BlackBit;  // the bit value of the current colour
  Integer Start;
  if (A0 < 0)
    Start = Black ? FindBit(Ref, 0, Width, Own) : -1;
  else
    Start = FindBit(Ref, A0, Width, Own);
  const Integer B1 = Start >= Width ? Width : FindBit(Ref, Start + 1, Width, !Own);
  const Integer B2 = B1 >= Width ? Width : FindBit(Ref, B1 + 1, Width, Own);
  return {B1, B2};
}

inline Integer RowBytes(Integer Width) {
  return Width > 0 ? (Width + 7) / 8 : 0;
}

}  // namespace ccitt
