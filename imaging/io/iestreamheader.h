#pragma once
// The 12-byte header the component's stream savers put in front of their data when its
// StreamHeaders is on, so that pictures can follow one another in one stream: four magic
// bytes ("TIFF", "PCX2" or "JFIF"), four zero bytes, then the length of the data that follows
// (32-bit little-endian).
#include <array>
#include <string_view>

#include "platform/system/Types.h"

class TStream;

constexpr Integer IEStreamHeaderSize = 12;

struct TIEStreamHeader {
  std::array<char, 4> Magic{};
  Cardinal Length = 0;

  // The first Wanted.size() magic bytes (at most four) are Wanted.
  bool HasMagic(std::string_view Wanted) const {
    return Wanted.size() <= Magic.size() && Wanted == std::string_view(Magic.data(), Wanted.size());
  }
};

// Reads a header at the stream position; false when the stream ends within it (the position
// is then wherever the short read left it).
bool IEReadStreamHeader(TStream* Stream, TIEStreamHeader& Header);

// The end of the data a header at Start announces, capped at the stream's end: a length taken
// from the stream is never trusted beyond the bytes that are there.
Int64 IEStreamHeaderDataEnd(TStream* Stream, Int64 Start, Cardinal Length);

// Saving: 12 placeholder bytes at the position, to be filled by IEWriteStreamHeader once the
// data after them is written.
void IEReserveStreamHeader(TStream* Stream);
// Writes at Start the header of the data from Start + 12 to the stream position, then returns
// to that position.
void IEWriteStreamHeader(TStream* Stream, Int64 Start, std::string_view Magic);
