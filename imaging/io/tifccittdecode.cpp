// Fax decoding: codes are found by walking the decode trees over a 32-bit look-ahead window;
// nothing outside the row, the reference row and the data is touched, however damaged the data.
#include <climits>

#include "imaging/core/ieutilsbits.h"
#include "imaging/io/tifccittcodes.h"

namespace ccitt {
namespace {

// Bit positions are integers: longer data is read only up to this many bytes, so that every
// position, with the codes read past the end, stays in range.
constexpr Integer MaxDataLength = (INT_MAX - 1024) / 8;
// Runs are summed up to here; anything longer is cut to the row anyway.
constexpr Integer MaxRun = 1 << 30;

class TBitReader {
 public:
  TBitReader(const Byte* Data, Integer DataLength, Integer FillOrder)
      : FData(Data), FLength(std::clamp(DataLength, 0, MaxDataLength)), FReversed(FillOrder == 2) {}

  Integer Length() const { return FLength; }
  Integer Limit() const { return FLength * 8; }
  bool InData(Integer Pos) const { return (Pos >> 3) < FLength; }

  // The 32 bits from Pos with the bit at Pos the most significant; bits past the data are 0.
  Cardinal Peek(Integer Pos) const {
    const Integer Index = Pos >> 3;
    Byte Bytes[4] = {0, 0, 0, 0};
    if (Index + 4 <= FLength)
      std::memcpy(Bytes, FData + Index, 4);
    else
      for (Integer I = 0; I < 4 && Index + I < FLength; ++I) Bytes[I] = FData[Index + I];
    if (!FReversed) {
      const Cardinal Value =
          Cardinal{Bytes[0]} << 24 | Cardinal{Bytes[1]} << 16 | Cardinal{Bytes[2]} << 8 | Bytes[3];
      return Value << (Pos & 7);
    }
    Cardinal Value = Cardinal{Bytes[3]} << 24 | Cardinal{Bytes[2]} << 16 | Cardinal{Bytes[1]} << 8 | Bytes[0];
    Value >>= Pos & 7;
    IEReverseBits32(Value);
    return Value;
  }
  bool Bit(Integer Pos) const { return (Peek(Pos) >> 31) != 0; }

 private:
  const Byte* FData;
  Integer FLength;
  bool FReversed;
};

struct TFound {
  Integer Index;  // InnerNode: no code
  Integer Length;
};

// Past the data every read is an EOL, so running out of data ends the row.
TFound DecodeCode(const TBitReader& In, bool Black, Integer Pos) {
  if (!In.InData(Pos)) return {LastEolIndex, RunCodes(Black)[LastEolIndex].Length};
  const Cardinal Window = In.Peek(Pos);
  const CCITTTreeNode* Node = &DecodeTree(Black);
  for (Integer Bit = 0; Bit < 32; ++Bit) {
    Node = ((Window << Bit) & 0x80000000u) ? Node->Child1.get() : Node->Child0.get();
    if (!Node) break;
    if (Node->Value != InnerNode) return {Node->Value, Bit + 1};
  }
  return {InnerNode, 1};
}

void FillWhite(Byte* Row, Integer Width) {
  if (Width > 0) std::memset(Row, 0xFF, RowBytes(Width));
}

Integer Decode1D(Byte* Row, const TBitReader& In, Integer Pos, Integer Width) {
  FillWhite(Row, Width);
  bool Black = false;
  bool MakeUpPending = false;
  Integer A = 0;
  Integer RowStart = Pos;
  while (A < Width || MakeUpPending) {
    const TFound Found = DecodeCode(In, Black, Pos);
    if (Found.Index == InnerNode) {
      ++Pos;
      ++RowStart;
      continue;
    }
    const Integer CodeStart = Pos;
    Pos += Found.Length;
    const Integer Run = RunCodes(Black)[Found.Index].Run;
    if (Run == EolRun) {
      if (CodeStart == RowStart) continue;  // the row's leading EOL
      if (Black) ClearBits(Row, A, Width, Width);
      break;
    }
    if (Run > 0) {
      if (Black) ClearBits(Row, A, A + Run, Width);
      A = std::min(A + Run, Width);
    }
    if (Found.Index >= FirstMakeUp) {
      MakeUpPending = true;
    } else {
      MakeUpPending = false;
      Black = !Black;
    }
  }
  return Pos;
}

// A run of one colour inside a horizontal mode: make-up codes closed by a terminating code.
// -1 when an EOL, an ignored code or no code comes first.
Integer ReadRun(const TBitReader& In, bool Black, Integer& Pos) {
  Integer Sum = 0;
  for (;;) {
    const TFound Found = DecodeCode(In, Black, Pos);
    if (Found.Index == InnerNode) {
      ++Pos;
      return -1;
    }
    Pos += Found.Length;
    const Integer Run = RunCodes(Black)[Found.Index].Run;
    if (Run < 0) return -1;
    Sum = std::min(Sum + Run, MaxRun);
    if (Found.Index < FirstMakeUp) return Sum;
  }
}

// The mode code at the front of Window; ModeCount when none matches.
Integer MatchMode(Cardinal Window) {
  for (Integer Mode = 0; Mode < ModeCount; ++Mode) {
    const CCITTCodeEntry& Entry = ModeCodes[Mode];
    if ((Window >> (32 - Entry.Length)) == Entry.Code) return Mode;
  }
  return ModeCount;
}

// After twelve zero bits: the position behind the first set bit, or -1 when the data ends first.
Integer SkipFill(const TBitReader& In, Integer Pos) {
  while (Pos < In.Limit()) {
    const Cardinal Window = In.Peek(Pos);
    if (Window != 0) return Pos + std::countl_zero(Window) + 1;
    Pos += 32;
  }
  return -1;
}

// Uncompressed mode only moves the coding position: its pixels are not painted.
void SkipUncompressed(const TBitReader& In, Integer& Pos, Integer& A0, bool& Black, Integer Width) {
  A0 = std::max(A0, 0);
  while (Pos < In.Limit() && A0 < Width) {
    const Integer Zeros = std::countl_zero(In.Peek(Pos));
    const Integer N = Zeros < 11 ? Zeros + 1 : 0;
    if (N == 0) return;
    Pos += N;
    if (N <= 6) {
      A0 += std::min(N, 5);
      continue;
    }
    Black = !In.Bit(Pos);  // exit code: the tag bit gives the next colour, 1 white
    ++Pos;
    A0 += N - 7;
    return;
  }
}

Integer Decode2D(Byte* Row, const TBitReader& In, bool EOLFill, Integer Pos, Byte* RefRow, Integer Width) {
  FillWhite(Row, Width);
  Integer A0 = -1;
  bool Black = false;
  const Integer RowStart = Pos;
  const Integer Limit = In.Limit();
  while (A0 < Width && Pos < Limit) {
    const Integer CodeStart = Pos;
    Integer Mode = MatchMode(In.Peek(Pos));
    Pos += Mode == ModeCount ? 12 : ModeCodes[Mode].Length;  // no code: read as twelve zero bits
    if (Mode == mdZeros && EOLFill) {
      const Integer After = SkipFill(In, Pos);
      if (After < 0) {
        Pos = Limit;
      } else {
        Pos = After;
        Mode = mdEol;
      }
    }
    switch (Mode) {
      case mdEol:
        if (CodeStart == RowStart) {
          const bool OneDimensional = In.Bit(Pos);
          ++Pos;
          if (OneDimensional) {
            Pos = Decode1D(Row, In, std::min(Pos, Limit), Width);
            A0 = Width;
          }
          break;
        }
        // Ends this row; the next row's call finds the EOL at its own start.
        if (Black && A0 >= 0) ClearBits(Row, A0, Width, Width);
        Pos = CodeStart;
        A0 = Width;
        break;
      case mdPass: {
        const TChanges Changes = ReferenceChanges(RefRow, A0, Black, Width, false);
        A0 = std::max(A0, 0);
        if (Black) ClearBits(Row, A0, Changes.B2, Width);
        A0 = Changes.B2;
        break;
      }
      case mdHorizontal: {
        Integer Run1 = ReadRun(In, Black, Pos);
        Integer Run2 = Run1 < 0 ? -1 : ReadRun(In, !Black, Pos);
        if (Run2 < 0) break;  // an EOL or a code to ignore inside: the mode is dropped
        A0 = std::max(A0, 0);
        Run1 = std::min(Run1, Width - A0);
        if (Black) ClearBits(Row, A0, A0 + Run1, Width);
        A0 += Run1;
        Run2 = std::min(Run2, Width - A0);
        if (!Black) ClearBits(Row, A0, A0 + Run2, Width);
        A0 += Run2;
        break;
      }
      case mdUncompressed10:
      case mdUncompressed12:
        SkipUncompressed(In, Pos, A0, Black, Width);
        break;
      case mdZeros:
      case ModeCount:
        break;
      default: {  // vertical
        const Integer A1 = ReferenceChanges(RefRow, A0, Black, Width, false).B1 + ModeCodes[Mode].Run;
        A0 = std::max(A0, 0);
        if (Black) ClearBits(Row, A0, A1, Width);
        Black = !Black;
        A0 = A1;
        break;
      }
    }
  }
  if (Width > 0) std::memcpy(RefRow, Row, RowBytes(Width));
  return Pos;
}

Integer StartPosition(const TBitReader& In, Integer BitPos) {
  return std::clamp(BitPos, 0, In.Limit());
}

}  // namespace
}  // namespace ccitt

Integer CCITTDecode1DRow(Byte* Row, const Byte* Data, Integer DataLength, Integer FillOrder, Integer BitPos,
                         Integer Width) {
  const ccitt::TBitReader In(Data, DataLength, FillOrder);
  return ccitt::Decode1D(Row, In, ccitt::StartPosition(In, BitPos), std::max(Width, 0));
}

Integer CCITTDecodeHuffmanRow(Byte* Row, const Byte* Data, Integer DataLength, Integer FillOrder,
                              Integer Width) {
  const ccitt::TBitReader In(Data, DataLength, FillOrder);
  const Integer Pos = ccitt::Decode1D(Row, In, 0, std::max(Width, 0));
  // The EOL read past the data is not data used: the caller never steps beyond its strip.
  return std::min((Pos + 7) / 8, In.Length());
}

Integer CCITTDecode2DRow(Byte* Row, const Byte* Data, Integer DataLength, bool EOLFill, Integer FillOrder,
                         Integer BitPos, Byte* RefRow, Integer Width) {
  const ccitt::TBitReader In(Data, DataLength, FillOrder);
  return ccitt::Decode2D(Row, In, EOLFill, ccitt::StartPosition(In, BitPos), RefRow, std::max(Width, 0));
}
