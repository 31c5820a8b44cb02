// Bounded reading for the camera raw decoder: every byte a parser or loader takes comes
// through here, so none of them can read past the stream, and a stream that ends early is
// noticed (InputEnded) instead of being looped over.
#include <cmath>
#include <cstring>
#include <string>

#include "imaging/formats/iecameraraw.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

Integer RawGetByte(TCameraRawContext& Context) {
  Byte Value = 0;
  if (Context.Input->Read(&Value, 1) != 1) {
    Context.InputEnded = true;
    return 0;
  }
  return Value;
}

Word RawGet2(TCameraRawContext& Context) {
  const Integer A = RawGetByte(Context);
  const Integer B = RawGetByte(Context);
  return static_cast<Word>(Context.ByteOrder == 0x4949 ? A | B << 8 : A << 8 | B);
}

Cardinal RawGet4(TCameraRawContext& Context) {
  const Cardinal A = RawGetByte(Context);
  const Cardinal B = RawGetByte(Context);
  const Cardinal C = RawGetByte(Context);
  const Cardinal D = RawGetByte(Context);
  return Context.ByteOrder == 0x4949 ? A | B << 8 | C << 16 | D << 24 : A << 24 | B << 16 | C << 8 | D;
}

Integer RawRead(TCameraRawContext& Context, void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  const Integer Got = Context.Input->Read(Buffer, Count);
  const Integer Taken = Got < 0 ? 0 : Got;
  if (Taken < Count) {
    std::memset(static_cast<Byte*>(Buffer) + Taken, 0, static_cast<std::size_t>(Count - Taken));
    Context.InputEnded = true;
  }
  return Taken;
}

Int64 RawTell(TCameraRawContext& Context) {
  return Context.Input->GetPosition();
}

void RawSeek(TCameraRawContext& Context, Int64 Position) {
  if (Position < 0 || Position > Context.InputSize) {
    Context.InputEnded = true;
    Position = Context.InputSize;
  }
  Context.Input->SetPosition(Position);
}

void RawSkip(TCameraRawContext& Context, Int64 Count) {
  RawSeek(Context, RawTell(Context) + Count);
}

Int64 RawRemaining(TCameraRawContext& Context) {
  const Int64 Left = Context.InputSize - RawTell(Context);
  return Left > 0 ? Left : 0;
}

Integer RawMemCompare(const void* A, const void* B, std::size_t Count) {
  return std::memcmp(A, B, Count);
}

Integer RawMemSearch(const void* Haystack, std::size_t Length, const void* Needle, std::size_t NeedleLength) {
  if (NeedleLength == 0 || NeedleLength > Length) return -1;
  const auto* Bytes = static_cast<const Byte*>(Haystack);
  for (std::size_t At = 0; At + NeedleLength <= Length; ++At)
    if (std::memcmp(Bytes + At, Needle, NeedleLength) == 0) return static_cast<Integer>(At);
  return -1;
}

void RawCheckAlloc(const void* Block, const char* Name) {
  if (Block == nullptr) throw Exception(std::string(": Out of memory in ") + Name);
}

Cardinal RawGetBits(TCameraRawContext& Context, Integer N) {
  if (N == 0) return 0;
  Cardinal Result = 0;
  if (N == -1) {
    Context.BitBuffer = 0;
    Context.BitCount = 0;
  } else {
    Result = (Context.BitBuffer << (32 - Context.BitCount)) >> (32 - N);
    Context.BitCount -= N;
  }
  while (Context.BitCount < 25) {
    const Cardinal Next = static_cast<Cardinal>(RawGetByte(Context));
    // Past the end there is nothing to skip and nothing worth refilling with.
    if (Context.InputEnded) {
      Context.BitBuffer <<= 8;
    } else {
      if (Context.ZeroAfterFF && Next == 0xFF) RawGetByte(Context);
      Context.BitBuffer = Context.BitBuffer << 8 | Next;
    }
    Context.BitCount += 8;
  }
  return Result;
}

void RawProgressStart(TCameraRawContext& Context, Integer Rows) {
  Context.Progress.Factor = Rows > 0 ? 100.0 / Rows / 2 : 0;
}

void RawProgressRow(TCameraRawContext& Context, Integer Row) {
  RawProgressReport(Context, static_cast<Integer>(std::nearbyint(Row * Context.Progress.Factor)));
}

void RawProgressReport(TCameraRawContext& Context, Integer Percent) {
  if (Context.Progress.OnProgress) Context.Progress.OnProgress(Context.Progress.Sender, Percent);
}
