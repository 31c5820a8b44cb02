// GIF LZW: a table decoder that unwinds strings through a fixed stack, and the classic hashed
// encoder (5003-entry open hash with a secondary probe).
#include "imaging/formats/giflzw.h"

#include <array>
#include <memory>

#include "platform/system/Streams.h"

namespace {

constexpr Integer MaxCodeBits = 12;
constexpr Integer TableSize = 1 << MaxCodeBits;

// Codes of Width bits, least significant bit first; Next answers -1 once the data cannot give
// a whole code.
class TCodeReader {
 public:
  TCodeReader(const Byte* Data, Integer Length) : FData(Data), FLength(Length) {}

  Integer Next(Integer Width) {
    while (FBits < Width) {
      if (FPos >= FLength) return -1;
      FAccum |= static_cast<Cardinal>(FData[FPos++]) << FBits;
      FBits += 8;
    }
    const Integer Code = static_cast<Integer>(FAccum & ((1u << Width) - 1));
    FAccum >>= Width;
    FBits -= Width;
    return Code;
  }
  bool WholeBytesLeft() const { return FPos < FLength; }

 private:
  const Byte* FData;
  Integer FLength;
  Integer FPos = 0;
  Cardinal FAccum = 0;
  Integer FBits = 0;
};

class TGifLzwDecoder {
 public:
  TGifLzwDecoder(Integer MinCodeSize, Byte* Dest, Integer DestLength)
      : FMinCodeSize(MinCodeSize),
        FClear(1 << MinCodeSize),
        FEnd(FClear + 1),
        FDest(Dest),
        FDestLength(DestLength) {
    for (Integer I = 0; I < FClear; ++I) {
      FPrefix[I] = -1;
      FSuffix[I] = static_cast<Byte>(I);
      FFirst[I] = static_cast<Byte>(I);
    }
    Reset();
  }

  bool Decode(TCodeReader& Reader) {
    Integer Previous = -1;
    while (FOut < FDestLength) {
      Integer Code = Reader.Next(FWidth);
      if (Code < 0) return true;  // the data ends early
      if (Code == FClear) {
        Reset();
        Previous = -1;
        continue;
      }
      if (Code == FEnd) return Previous >= 0 || !Reader.WholeBytesLeft();
      if (Previous < 0) {
        if (Code >= FNext) Code = 0;  // a first code outside the roots reads as index 0
        Emit(Code);
        Previous = Code;
        continue;
      }
      if (Code > FNext || (Code == FNext && FNext >= TableSize)) return false;
      // A code equal to the next free one is the previous string and its own first byte.
      const Byte First = Code < FNext ? FFirst[Code] : FFirst[Previous];
      if (FNext < TableSize) Add(Previous, First);
      Emit(Code);
      Previous = Code;
    }
    return true;
  }

 private:
  void Reset() {
    FWidth = FMinCodeSize + 1;
    FNext = FEnd + 1;
  }

  void Add(Integer Prefix, Byte Suffix) {
    FPrefix[FNext] = static_cast<SmallInt>(Prefix);
    FSuffix[FNext] = Suffix;
    FFirst[FNext] = FFirst[Prefix];
    ++FNext;
    if (FNext == (1 << FWidth) && FWidth < MaxCodeBits) ++FWidth;
  }

  // Every prefix is below its code, so a string is at most TableSize bytes long.
  void Emit(Integer Code) {
    Integer Depth = 0;
    for (Integer C = Code; C >= 0; C = FPrefix[C]) FStack[Depth++] = FSuffix[C];
    while (Depth > 0 && FOut < FDestLength) FDest[FOut++] = FStack[--Depth];
  }

  Integer FMinCodeSize;
  Integer FClear;
  Integer FEnd;
  Integer FWidth = 0;
  Integer FNext = 0;
  Byte* FDest;
  Integer FDestLength;
  Integer FOut = 0;
  std::array<SmallInt, TableSize> FPrefix{};
  std::array<Byte, TableSize> FSuffix{};
  std::array<Byte, TableSize> FFirst{};
  std::array<Byte, TableSize> FStack{};
};

constexpr Integer HashSize = 5003;
constexpr Integer HashShift = 4;  // 5003 doubled four times reaches 65536: 8 - 4
constexpr Integer SubBlockBytes = 254;

class TGifLzwEncoder {
 public:
  TGifLzwEncoder(TStream* Stream, Integer MinCodeSize)
      : FStream(Stream), FInitBits(MinCodeSize + 1), FClear(1 << MinCodeSize), FEnd(FClear + 1) {}

  void Encode(const Byte* Indices, Integer Count) {
    FBits = FInitBits;
    FMaxCode = (1 << FBits) - 1;
    FNextFree = FClear + 2;
    ClearHash();
    Output(FClear);
    if (Count > 0) {
      Integer Prefix = Indices[0];
      for (Integer I = 1; I < Count; ++I) Prefix = Step(Prefix, Indices[I]);
      Output(Prefix);
    }
    Output(FEnd);
    if (FAccumBits > 0) PutByte(static_cast<Byte>(FAccum));
    FlushBlock();
  }

 private:
  // The code that continues Prefix with Pixel, or Pixel after Prefix went out.
  Integer Step(Integer Prefix, Integer Pixel) {
    const Integer Key = (Pixel << MaxCodeBits) + Prefix;
    Integer Index = (Pixel << HashShift) ^ Prefix;
    if (FKeys[Index] == Key) return FCodes[Index];
    if (FKeys[Index] >= 0) {
      const Integer Displacement = Index == 0 ? 1 : HashSize - Index;
      do {
        Index -= Displacement;
        if (Index < 0) Index += HashSize;
        if (FKeys[Index] == Key) return FCodes[Index];
      } while (FKeys[Index] > 0);
    }
    Output(Prefix);
    if (FNextFree < TableSize) {
      FCodes[Index] = static_cast<Word>(FNextFree++);
      FKeys[Index] = Key;
    } else {
      ClearHash();
      FNextFree = FClear + 2;
      FClearPending = true;
      Output(FClear);
    }
    return Pixel;
  }

  void ClearHash() { FKeys.fill(-1); }

  void Output(Integer Code) {
    FAccum |= static_cast<Cardinal>(Code) << FAccumBits;
    FAccumBits += FBits;
    while (FAccumBits >= 8) {
      PutByte(static_cast<Byte>(FAccum));
      FAccum >>= 8;
      FAccumBits -= 8;
    }
    if (FNextFree > FMaxCode || FClearPending) {
      if (FClearPending) {
        FBits = FInitBits;
        FMaxCode = (1 << FBits) - 1;
        FClearPending = false;
      } else {
        ++FBits;
        // The width never passes 12: at 12 bits the table is cleared before it could.
        FMaxCode = FBits == MaxCodeBits ? TableSize : (1 << FBits) - 1;
      }
    }
  }

  void PutByte(Byte Value) {
    FBlock[FBlockFill++] = Value;
    if (FBlockFill >= SubBlockBytes) FlushBlock();
  }

  void FlushBlock() {
    if (FBlockFill == 0) return;
    const Byte Size = static_cast<Byte>(FBlockFill);
    FStream->Write(&Size, 1);
    FStream->Write(FBlock.data(), FBlockFill);
    FBlockFill = 0;
  }

  TStream* FStream;
  Integer FInitBits;
  Integer FClear;
  Integer FEnd;
  Integer FBits = 0;
  Integer FMaxCode = 0;
  Integer FNextFree = 0;
  bool FClearPending = false;
  std::array<Integer, HashSize> FKeys{};
  std::array<Word, HashSize> FCodes{};
  Cardinal FAccum = 0;
  Integer FAccumBits = 0;
  std::array<Byte, 256> FBlock{};
  Integer FBlockFill = 0;
};

}  // namespace

bool GifLzwDecompress(const Byte* Data, Integer DataLength, Integer MinCodeSize, Byte* Dest,
                      Integer DestLength) {
  if (MinCodeSize < 2 || MinCodeSize > 9) return false;
  if (!Data || DataLength <= 0 || !Dest || DestLength <= 0) return true;
  TCodeReader Reader(Data, DataLength);
  // The tables are 16 KB: kept off the stack of worker threads.
  const auto Decoder = std::make_unique<TGifLzwDecoder>(MinCodeSize, Dest, DestLength);
  return Decoder->Decode(Reader);
}

void GifLzwCompress(TStream* Stream, Integer MinCodeSize, const Byte* Indices, Integer Count) {
  const Integer Size = MinCodeSize < 2 ? 2 : MinCodeSize;
  const Byte SizeByte = static_cast<Byte>(Size);
  Stream->Write(&SizeByte, 1);
  const auto Encoder = std::make_unique<TGifLzwEncoder>(Stream, Size);
  Encoder->Encode(Indices, Count);
  const Byte Terminator = 0;
  Stream->Write(&Terminator, 1);
}
