// A forward reader over a stream for the byte-wise format readers: reads through an 8192-byte
// buffer; bytes past the stream's end read as 0 and mark it ended.
#pragma once

#include <algorithm>
#include <array>

#include "platform/system/Streams.h"

class TIEBufferedSource {
 public:
  explicit TIEBufferedSource(TStream* Stream) : FStream(Stream) {}
  Byte Next() {
    if (FPos >= FFill) Refill();
    if (FPos >= FFill) {
      FEnded = true;
      return 0;
    }
    return FBuffer[FPos++];
  }
  void Read(Byte* Out, Integer Count) {
    for (Integer I = 0; I < Count; ++I) Out[I] = Next();
  }
  void Skip(Int64 Count) {
    while (Count > 0 && !FEnded) {
      if (FPos >= FFill) Refill();
      if (FPos >= FFill) {
        FEnded = true;
        return;
      }
      const Integer Step = static_cast<Integer>(std::min<Int64>(Count, FFill - FPos));
      FPos += Step;
      Count -= Step;
    }
  }
  bool Ended() const { return FEnded; }

 private:
  void Refill() {
    FPos = 0;
    FFill = std::max<Integer>(FStream->Read(FBuffer.data(), static_cast<Integer>(FBuffer.size())), 0);
  }
  TStream* FStream;
  std::array<Byte, 8192> FBuffer{};
  Integer FFill = 0;
  Integer FPos = 0;
  bool FEnded = false;
};
