// Content tests that tell apart cameras sharing a name or a file size, by looking at their data.
#include <cstring>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

// Count bytes at Offset, zeros past the end. A look at data the file may not have is no read
// of the picture, so it leaves the end flag as it was.
void ReadProbe(TCameraRawContext& Context, Int64 Offset, Byte* Buffer, Integer Count) {
  const bool Ended = Context.InputEnded;
  RawSeek(Context, Offset);
  RawRead(Context, Buffer, Count);
  Context.InputEnded = Ended;
}

}  // namespace

bool RawNikonIsCompressed(TCameraRawContext& Context) {
  if (Context.TiffCompression != 34713) return false;
  if (std::strcmp(Context.Model, "D100") != 0) return true;
  // The D100 marks compressed data by non-zero bytes at the end of each 16-byte run.
  Byte Head[256];
  ReadProbe(Context, Context.DataOffset, Head, sizeof Head);
  for (Integer At = 15; At < 256; At += 16)
    if (Head[At] != 0) return true;
  return false;
}

bool RawNikonE990Test(TCameraRawContext& Context) {
  Byte Sample[2000];
  Integer Counts[256] = {};
  ReadProbe(Context, 2383920, Sample, sizeof Sample);
  for (Byte Value : Sample) ++Counts[Value];
  return Counts[0x00] > 400 || Counts[0x55] > 400 || Counts[0xAA] > 400 || Counts[0xFF] > 400;
}

bool RawNikonE2100Test(TCameraRawContext& Context) {
  Byte Runs[1024][12];
  ReadProbe(Context, 0, &Runs[0][0], sizeof Runs);
  for (const Byte* T : Runs) {
    if ((((T[2] & T[4] & T[7] & T[9]) >> 4) & T[1] & T[6] & T[8] & T[11] & 3) != 3) return false;
  }
  return true;
}

bool RawMinoltaZ2Test(TCameraRawContext& Context) {
  Byte Tail[424];
  ReadProbe(Context, Context.InputSize > 424 ? Context.InputSize - 424 : 0, Tail, sizeof Tail);
  for (Byte Value : Tail)
    if (Value != 0) return true;
  return false;
}

bool RawCanonHasLowBits(TCameraRawContext& Context) {
  Byte Head[0x4000];
  ReadProbe(Context, 0, Head, sizeof Head);
  bool HasLowBits = true;
  for (Integer At = 540; At < static_cast<Integer>(sizeof Head) - 2; ++At) {
    if (Head[At] != 0xFF) continue;
    if (Head[At + 1] != 0) return true;
    HasLowBits = false;
  }
  return HasLowBits;
}
