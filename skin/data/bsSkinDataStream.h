#pragma once
// The 32-bit little-endian numbers of stored skins (versions, lengths, picture counts).
#include "platform/system/Streams.h"

// Raises EReadError when the stream ends first.
inline Integer ReadSkinInt32(TStream* S) {
  Byte B[4];
  S->ReadBuffer(B, 4);
  return static_cast<Integer>(B[0] | (B[1] << 8) | (B[2] << 16) | (Cardinal{B[3]} << 24));
}

inline void WriteSkinInt32(TStream* S, Integer V) {
  const Cardinal U = static_cast<Cardinal>(V);
  const Byte B[4] = {static_cast<Byte>(U), static_cast<Byte>(U >> 8), static_cast<Byte>(U >> 16),
                     static_cast<Byte>(U >> 24)};
  S->WriteBuffer(B, 4);
}

// The payload version this system writes; readers take any version up to it.
constexpr Integer StoredSkinVersion = 3;
