// Kodak's own codings: the RADC tree coder of the DC40 and DC50, and the block coders of
// compression 65000 for mosaic (photometric 32803) and YCbCr data.
#include <algorithm>
#include <cstring>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

// ---- RADC ----

constexpr Integer RadcEntries = 386;
using TRadcBuffer = short[3][RadcEntries];

TRawDecodeNode* BuildFromTable(TCameraRawContext& Context, Integer Level) {
  TRawDecodeNode* Node = RawTakeDecodeNode(Context);
  if (Level < Context.RadcSource[0]) {
    Node->Branch[0] = BuildFromTable(Context, Level + 1);
    Node->Branch[1] = BuildFromTable(Context, Level + 1);
  } else {
    Node->Leaf = Context.RadcSource[1];
    Context.RadcSource += 2;
  }
  return Node;
}

Integer RadcToken(TCameraRawContext& Context, Integer Tree) {
  if (Context.RadcSource == nullptr) {
    Context.RadcSource = RawRadcSource;
    for (auto*& Start : Context.RadcStart) Start = BuildFromTable(Context, 0);
  }
  if (Tree == 18) {
    if (Context.Model[2] == '4') return static_cast<Integer>(RawGetBits(Context, 5) << 3) + 4;
    return static_cast<Integer>(RawGetBits(Context, 6) << 2) + 2;
  }
  return RawDecodeSymbol(Context, Context.RadcStart[Tree]);
}

Integer RadcPredictor(const TRadcBuffer& Buffer, Integer Channel, Integer Y, Integer X) {
  if (Channel > 0) return (Buffer[Y - 1][X] + Buffer[Y][X + 1]) / 2;
  return (Buffer[Y - 1][X + 1] + 2 * Buffer[Y - 1][X] + Buffer[Y][X + 1]) / 4;
}

// Sets the 2 x 2 entries left of Col (right to left), each from Value(Y, X).
template <typename TValue>
void SetPair(TRadcBuffer& Buffer, Integer Col, TValue Value) {
  for (Integer Y = 1; Y < 3; ++Y)
    for (Integer X = Col + 1; X >= Col; --X) Buffer[Y][X] = static_cast<short>(Value(Y, X));
}

// Decodes one pass of a channel into buffer rows 1 and 2 from the right edge leftwards.
void RadcPass(TCameraRawContext& Context, TRadcBuffer& Buffer, Integer Channel, Integer Mul, Integer Half) {
  auto Predicted = [&](Integer Y, Integer X) { return RadcPredictor(Buffer, Channel, Y, X); };
  Buffer[1][Half] = Buffer[2][Half] = static_cast<short>(Mul << 7);
  Integer Tree = 1;
  Integer Col = Half;
  while (Col > 0) {
    Tree = RadcToken(Context, Tree);
    if (Tree != 0) {
      Col -= 2;
      if (Tree == 8)
        SetPair(Buffer, Col, [&](Integer, Integer) { return RadcToken(Context, 18) * Mul; });
      else
        SetPair(Buffer, Col,
                [&](Integer Y, Integer X) { return RadcToken(Context, Tree + 10) * 16 + Predicted(Y, X); });
      continue;
    }
    Integer Repeats;
    do {
      Repeats = Col > 2 ? RadcToken(Context, 9) + 1 : 1;
      for (Integer Rep = 0; Rep < 8 && Rep < Repeats && Col > 0; ++Rep) {
        Col -= 2;
        SetPair(Buffer, Col, Predicted);
        if (Rep & 1) {
          const Integer Step = RadcToken(Context, 10) << 4;
          SetPair(Buffer, Col, [&](Integer Y, Integer X) { return Buffer[Y][X] + Step; });
        }
      }
    } while (Repeats == 9);
  }
}

void RadcStore(TCameraRawContext& Context, const TRadcBuffer& Buffer, Integer Channel, Integer Pass,
               Integer Mul, Integer Row, Integer Half) {
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < Half; ++X) {
      const Integer Value = std::max((Buffer[Y + 1][X] << 4) / Mul, 0);
      const Integer CellRow = Channel > 0 ? Row + Y * 2 + Channel - 1 : Row + Pass * 2 + Y;
      const Integer CellCol = Channel > 0 ? X * 2 + 2 - Channel : X * 2 + Y;
      if (RawInsidePicture(Context, CellRow, CellCol))
        RawBayerCell(Context, CellRow, CellCol) = static_cast<Word>(std::min(Value, 0xFFFF));
    }
}

// Red and blue were coded as differences from the green beside them.
void RadcRestoreColours(TCameraRawContext& Context, Integer Row) {
  for (Integer Y = Row; Y < Row + 4 && Y < Context.Height; ++Y)
    for (Integer X = (Y & 1) != 0 ? 2 : 1; X < Context.Width - 1; X += 2) {
      Word& Cell = RawBayerCell(Context, Y, X);
      const Integer Value =
          (RawBayerCell(Context, Y, X - 1) + RawBayerCell(Context, Y, X + 1)) / 2 + 2 * Cell - 4096;
      Cell = static_cast<Word>(std::clamp(Value, 0, 0xFFFF));
    }
}

// ---- Compression 65000 ----

struct TKodakBlock {
  Byte Lengths[384];
  unsigned long long Buffer = 0;
  Integer Buffered = 0;
};

// Reads a block's nibble table; false when the block is stored uncompressed (the stream then
// stands at the block's start again).
bool ReadBlockLengths(TCameraRawContext& Context, TKodakBlock& Block, Integer Count) {
  const Int64 Start = RawTell(Context);
  bool Compressed = true;
  for (Integer I = 0; I < Count; I += 2) {
    const Integer Byte = RawGetByte(Context);
    Block.Lengths[I] = static_cast<::Byte>(Byte & 15);
    Block.Lengths[I + 1] = static_cast<::Byte>(Byte >> 4);
    if (Block.Lengths[I] > 12 || (I + 1 < Count && Block.Lengths[I + 1] > 12)) Compressed = false;
  }
  Block.Buffer = 0;
  Block.Buffered = 0;
  if (!Compressed) {
    RawSeek(Context, Start);
    return false;
  }
  if ((Count & 7) == 4) {
    Block.Buffer = static_cast<unsigned long long>(RawGetByte(Context)) << 8;
    Block.Buffer |= static_cast<unsigned long long>(RawGetByte(Context));
    Block.Buffered = 16;
  }
  return true;
}

Integer NextDifference(TCameraRawContext& Context, TKodakBlock& Block, Integer Length) {
  if (Block.Buffered < Length) {
    // Four bytes join above the buffered bits, as two byte-swapped 16-bit words.
    static constexpr Integer Significance[4] = {1, 0, 3, 2};
    unsigned long long Word32 = 0;
    for (Integer Shift : Significance)
      Word32 |= static_cast<unsigned long long>(RawGetByte(Context)) << (Shift * 8);
    Block.Buffer |= Word32 << Block.Buffered;
    Block.Buffered += 32;
  }
  Integer Diff = static_cast<Integer>(Block.Buffer & ((1ull << Length) - 1));
  Block.Buffer >>= Length;
  Block.Buffered -= Length;
  if (Length != 0 && (Diff & (1 << (Length - 1))) == 0) Diff -= (1 << Length) - 1;
  return Diff;
}

// Eight 12-bit samples in six big-endian words.
void ReadStoredSamples(TCameraRawContext& Context, Integer (&Samples)[8]) {
  Integer W[6];
  for (Integer& Word16 : W) Word16 = RawGetByte(Context) << 8 | RawGetByte(Context);
  Samples[0] = (W[0] >> 12) << 8 | (W[2] >> 12) << 4 | W[4] >> 12;
  Samples[1] = (W[1] >> 12) << 8 | (W[3] >> 12) << 4 | W[5] >> 12;
  for (Integer I = 0; I < 6; ++I) Samples[I + 2] = W[I] & 0xFFF;
}

Word CurveValue(const Word* Curve, Integer Value) {
  return static_cast<Word>(Curve[std::clamp(Value, 0, RawCurveSize - 1)] * 4);
}

}  // namespace

void RawLoadKodakRadc(TCameraRawContext& Context) {
  const Integer Half = Context.Width / 2;
  // The buffers hold 384 entries a row beside their guard entries; the pass steps in pairs.
  if (Half <= 0 || Half > RadcEntries - 2 || (Half & 1) != 0) {
    Context.InputEnded = true;
    return;
  }
  RawInitDecoder(Context);
  Context.RadcSource = nullptr;
  RawGetBits(Context, -1);
  TRadcBuffer Buffers[3];
  for (auto& Buffer : Buffers)
    for (auto& Line : Buffer) std::fill(std::begin(Line), std::end(Line), short{2048});
  Integer Last[3] = {16, 16, 16};
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && !Context.InputEnded; Row += 4) {
    RawProgressRow(Context, Row);
    Integer Mul[3];
    for (Integer& M : Mul) M = static_cast<Integer>(RawGetBits(Context, 6));
    // A zero multiplier cannot scale anything: the data is corrupt.
    if (Mul[0] == 0 || Mul[1] == 0 || Mul[2] == 0) {
      Context.InputEnded = true;
      return;
    }
    for (Integer C = 0; C < 3; ++C) {
      Integer Value = ((0x1000000 / Last[C] + 0x7FF) >> 12) * Mul[C];
      const Integer Shift = Value > 65564 ? 10 : 12;
      const Integer Round = (1 << (Shift - 1)) - 1;
      Value <<= 12 - Shift;
      for (auto& Line : Buffers[C])
        for (short& Entry : Line) Entry = static_cast<short>((Entry * Value + Round) >> Shift);
      Last[C] = Mul[C];
    }
    for (Integer C = 0; C < 3; ++C) {
      for (Integer Pass = 0; Pass <= (C == 0 ? 1 : 0); ++Pass) {
        RadcPass(Context, Buffers[C], C, Mul[C], Half);
        RadcStore(Context, Buffers[C], C, Pass, Mul[C], Row, Half);
        const Integer From = C == 0 ? 1 : 0;
        std::memmove(Buffers[C][0] + From, Buffers[C][2], sizeof(short) * (RadcEntries - From));
      }
    }
    RadcRestoreColours(Context, Row);
  }
}

void RawLoadKodakCompressed(TCameraRawContext& Context) {
  Word Curve[RawCurveSize];
  RawKodakCurve(Context, Curve);
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && !Context.InputEnded; ++Row) {
    RawProgressRow(Context, Row);
    for (Integer Col = 0; Col < Context.Width; Col += 256) {
      const Integer Length = std::min(256, Context.Width - Col);
      TKodakBlock Block;
      const bool Compressed = ReadBlockLengths(Context, Block, Length);
      Integer Predictor[2] = {0, 0};
      Integer Stored[8] = {};
      for (Integer I = 0; I < Length; ++I) {
        Integer Value;
        if (Compressed) {
          Value = Predictor[I & 1] += NextDifference(Context, Block, Block.Lengths[I]);
        } else {
          if ((I & 7) == 0) ReadStoredSamples(Context, Stored);
          Value = Stored[I & 7];
        }
        RawBayerCell(Context, Row, Col + I) = CurveValue(Curve, Value);
      }
    }
  }
}

void RawLoadKodakYuv(TCameraRawContext& Context) {
  Word Curve[RawCurveSize];
  RawKodakCurve(Context, Curve);
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && !Context.InputEnded; Row += 2) {
    RawProgressRow(Context, Row);
    for (Integer Col = 0; Col < Context.Width; Col += 128) {
      const Integer Length = std::min(384, ((Context.Width - Col + 1) * 3) & ~3);
      TKodakBlock Block;
      ReadBlockLengths(Context, Block, Length);
      Integer Y[4] = {}, Cb = 0, Cr = 0;
      for (Integer Pair = 0; Pair < Length / 6; ++Pair) {
        const Byte* Lengths = Block.Lengths + Pair * 6;
        Y[0] = NextDifference(Context, Block, Lengths[0]) + Y[1];
        Y[1] = NextDifference(Context, Block, Lengths[1]) + Y[0];
        Y[2] = NextDifference(Context, Block, Lengths[2]) + Y[3];
        Y[3] = NextDifference(Context, Block, Lengths[3]) + Y[2];
        Cb += NextDifference(Context, Block, Lengths[4]);
        Cr += NextDifference(Context, Block, Lengths[5]);
        for (Integer I = 0; I < 4; ++I) {
          const Integer PixelRow = Row + I / 2;
          const Integer PixelCol = Col + Pair * 2 + (I & 1);
          if (!RawInsidePicture(Context, PixelRow, PixelCol)) continue;
          const Integer Rgb[3] = {Y[I] + Cr, Y[I], Y[I] + Cb};
          Word* Pixel = RawPixel(Context, PixelRow, PixelCol);
          for (Integer C = 0; C < 3; ++C)
            if (Rgb[C] > 0) Pixel[C] = CurveValue(Curve, Rgb[C]);
        }
      }
    }
  }
}
