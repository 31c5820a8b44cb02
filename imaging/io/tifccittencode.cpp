// Fax encoding: codes are looked up in the constant tables and appended to a row's byte buffer,
// whose whole bytes go to the stream; the bits of a partial last byte wait for the next row.
#include <cstdlib>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/tifccittcodes.h"

namespace ccitt {
namespace {

// Collects bits most significant first; bytes leave in the stream's fill order.
class TBitWriter {
 public:
  TBitWriter(Integer Width, Integer FillOrder, Integer PendingCount = 0, Byte PendingByte = 0)
      : FReversed(FillOrder == 2) {
    // Room for the worst row (7 bits a pixel) with its EOLs, tag bit and the pending bits; the
    // buffer grows past it rather than overflow.
    FBytes.reserve(static_cast<size_t>(RowBytes(Width)) * 7 + 16);
    FCount = std::clamp(PendingCount, 0, 7);
    if (FCount > 0) {
      if (FReversed) IEReverseBits8(PendingByte);
      FBits = PendingByte >> (8 - FCount);
    }
  }

  void Put(Cardinal Value, Integer Length) {
    FBits = (FBits << Length) | (Value & ((uint64_t{1} << Length) - 1));
    FCount += Length;
    while (FCount >= 8) {
      FCount -= 8;
      Emit(static_cast<Byte>(FBits >> FCount));
    }
    FBits &= (uint64_t{1} << FCount) - 1;
  }
  void Put(const CCITTCodeEntry& Entry) { Put(Entry.Code, Entry.Length); }

  // Zero bits up to the next byte boundary.
  void PadToByte() {
    if (FCount > 0) Put(0, 8 - FCount);
  }

  // Writes the whole bytes and hands back the bits of a partial last byte.
  void Flush(TStream* Stream, bool* AbortFlag, Integer& PendingCount, Byte& PendingByte) {
    Write(Stream, AbortFlag);
    PendingCount = FCount;
    Byte Last = static_cast<Byte>(FBits << (8 - FCount));
    if (FReversed) IEReverseBits8(Last);
    PendingByte = FCount > 0 ? Last : 0;
  }

  // Pads and writes everything.
  void Close(TStream* Stream, bool* AbortFlag) {
    PadToByte();
    Write(Stream, AbortFlag);
  }

 private:
  void Emit(Byte Value) {
    if (FReversed) IEReverseBits8(Value);
    FBytes.push_back(Value);
  }
  void Write(TStream* Stream, bool* AbortFlag) {
    if (FBytes.empty()) return;
    bool Ignored = false;
    IESafeStreamWrite(Stream, AbortFlag ? *AbortFlag : Ignored, FBytes.data(),
                      static_cast<Integer>(FBytes.size()));
    FBytes.clear();
  }

  std::vector<Byte> FBytes;
  uint64_t FBits = 0;  // the FCount bits not yet in a byte
  Integer FCount = 0;
  bool FReversed;
};

void PutRun(TBitWriter& Out, bool Black, Integer Run) {
  const TRunCodes& Codes = RunCodes(Black);
  while (Run >= 64) {
    const CCITTCodeEntry& MakeUp =
        Codes[Run <= LongestMakeUp ? FirstMakeUp - 1 + Run / 64 : LongestMakeUpIndex];
    Out.Put(MakeUp);
    Run -= MakeUp.Run;
  }
  Out.Put(Codes[Run]);
}

// Runs alternate from white, each as long as the next stretch of equal pixels; a row that
// starts black starts with a white run of 0.
void Encode1D(TBitWriter& Out, const Byte* Row, Integer Width) {
  bool Black = false;
  for (Integer A = 0; A < Width; Black = !Black) {
    const Integer End = FindBit(Row, A, Width, !Black);
    PutRun(Out, Black, End - A);
    A = End;
  }
}

// A0 is the coding position (-1 before the row) and Black the colour of the run at A0; A1 is
// where that run ends in the row, B1 and B2 the matching changes of the reference row.
void Encode2D(TBitWriter& Out, const Byte* Row, const Byte* Ref, Integer Width) {
  Integer A0 = -1;
  bool Black = false;
  while (A0 < Width) {
    const Integer A1 = FindBit(Row, std::max(A0, 0), Width, !Black);
    const TChanges Changes = ReferenceChanges(Ref, A0, Black, Width, true);
    if (Changes.B2 < A1) {
      Out.Put(ModeCodes[mdPass]);
      A0 = Changes.B2;
    } else if (std::abs(A1 - Changes.B1) <= 3) {
      Out.Put(ModeCodes[mdVertical0 + A1 - Changes.B1]);
      A0 = A1;
      Black = !Black;
    } else {
      const Integer A2 = FindBit(Row, A1, Width, Black);
      Out.Put(ModeCodes[mdHorizontal]);
      PutRun(Out, Black, A1 - std::max(A0, 0));
      PutRun(Out, !Black, A2 - A1);
      A0 = A2;
    }
  }
}

void NewReferenceRow(std::unique_ptr<Byte[]>& RefRow, Integer Width) {
  RefRow = std::make_unique<Byte[]>(static_cast<size_t>((Width + 31) / 32) * 4);  // cleared: all white
}

void CopyReferenceRow(std::unique_ptr<Byte[]>& RefRow, const Byte* Row, Integer Width) {
  std::memcpy(RefRow.get(), Row, RowBytes(Width));
}

}  // namespace
}  // namespace ccitt

void CCITTEncodeHuffmanRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder,
                           bool* AbortFlag) {
  ccitt::TBitWriter Out(Width, FillOrder);
  ccitt::Encode1D(Out, Row, Width);
  Out.Close(Stream, AbortFlag);
}

void CCITTEncode1DRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                      Integer& PendingCount, Byte& PendingByte) {
  ccitt::TBitWriter Out(Width, FillOrder, PendingCount, PendingByte);
  if (!Row) {
    Out.Close(Stream, AbortFlag);
    PendingCount = 0;
    PendingByte = 0;
    return;
  }
  // Readers of Group 3 strips find each row behind its EOL; without them other programs lose
  // the rows after the first.
  Out.Put(ccitt::RunCodes(false)[ccitt::EolIndex]);
  ccitt::Encode1D(Out, Row, Width);
  Out.Flush(Stream, AbortFlag, PendingCount, PendingByte);
}

void CCITTG3Encode2DRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                        std::unique_ptr<Byte[]>& RefRow, Integer& PendingCount, Byte& PendingByte) {
  using namespace ccitt;
  TBitWriter Out(Width, FillOrder, PendingCount, PendingByte);
  Out.Put(RunCodes(false)[EolIndex]);
  if (!Row) {
    Out.Close(Stream, AbortFlag);
    PendingCount = 0;
    PendingByte = 0;
    RefRow.reset();
    return;
  }
  // Only the strip's first row is one-dimensional: the tag bit says which kind follows.
  if (!RefRow) {
    Out.Put(1, 1);
    Encode1D(Out, Row, Width);
    NewReferenceRow(RefRow, Width);
  } else {
    Out.Put(0, 1);
    Encode2D(Out, Row, RefRow.get(), Width);
  }
  CopyReferenceRow(RefRow, Row, Width);
  Out.Flush(Stream, AbortFlag, PendingCount, PendingByte);
}

void CCITTG4EncodeRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                      std::unique_ptr<Byte[]>& RefRow, Integer& PendingCount, Byte& PendingByte) {
  using namespace ccitt;
  TBitWriter Out(Width, FillOrder, PendingCount, PendingByte);
  if (!Row) {
    Out.Put(RunCodes(false)[EolIndex]);
    Out.Put(RunCodes(false)[EolIndex]);
    Out.Close(Stream, AbortFlag);
    PendingCount = 0;
    PendingByte = 0;
    RefRow.reset();
    return;
  }
  if (!RefRow) NewReferenceRow(RefRow, Width);
  Encode2D(Out, Row, RefRow.get(), Width);
  CopyReferenceRow(RefRow, Row, Width);
  Out.Flush(Stream, AbortFlag, PendingCount, PendingByte);
}
