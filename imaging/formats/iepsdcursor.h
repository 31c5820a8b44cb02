#pragma once
// The PSD reader's view of its stream: one cursor that knows where the data ends, so that every
// count, length and offset the file gives is checked before it is used. A read or seek past the
// end raises TPsdTruncated, which the reader's entry point turns into the abort flag.
#include <vector>

#include "imaging/formats/iepsdchannels.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

class TIEBitmap;

struct TPsdTruncated {};

class TPsdCursor {
 public:
  explicit TPsdCursor(TStream* Stream) : FStream(Stream), FEnd(Stream->GetSize()) {}
  Int64 Position() { return FStream->GetPosition(); }
  Int64 End() const { return FEnd; }
  Int64 Left() { return FEnd - Position(); }
  void Seek(Int64 Position) {
    if (Position < 0 || Position > FEnd) throw TPsdTruncated{};
    FStream->SetPosition(Position);
  }
  void Skip(Int64 Count) { Seek(Position() + Count); }
  void Read(void* Out, Int64 Count) {
    if (Count < 0 || Count > Left() || FStream->Read(Out, static_cast<Integer>(Count)) != Count)
      throw TPsdTruncated{};
  }
  std::vector<Byte> Bytes(Int64 Count) {
    if (Count < 0 || Count > Left()) throw TPsdTruncated{};
    std::vector<Byte> Data(static_cast<size_t>(Count));
    Read(Data.data(), Count);
    return Data;
  }
  Byte U8() {
    Byte B = 0;
    Read(&B, 1);
    return B;
  }
  Word U16() {
    Byte B[2];
    Read(B, 2);
    return static_cast<Word>((B[0] << 8) | B[1]);
  }
  Cardinal U32() {
    Byte B[4];
    Read(B, 4);
    return (Cardinal{B[0]} << 24) | (Cardinal{B[1]} << 16) | (Cardinal{B[2]} << 8) | B[3];
  }
  Integer S32() { return static_cast<Integer>(U32()); }

 private:
  TStream* FStream;
  Int64 FEnd;
};

// Expands PackBits data In[0 .. InCount) into Out[0 .. OutCount); a packet that would pass the
// end of either is cut there, and bytes the data does not reach stay as they were.
void PsdUnpackRow(const Byte* In, Integer InCount, Byte* Out, Integer OutCount);

// One channel's rows at the cursor: Counts holds the packed size of each of Rows rows (nil for
// raw rows of PsdRowBytes bytes). Each row goes through PsdStoreRow into Bitmap; a None slot
// steps over the rows without storing them.
void PsdReadChannel(TPsdCursor& Cursor, const Word* Counts, Integer Rows, const TPsdChannelSlot& Slot,
                    Integer Depth, Integer Width, TIEBitmap* Bitmap);
