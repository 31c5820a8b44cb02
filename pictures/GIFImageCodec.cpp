// GIF image data: the LZW decoder that fills a frame's pixels, the sub-block writer, and the
// two compressors (classic LZW with a hashed string table, and run-length codes that any LZW
// decoder reads without the encoder keeping a table).
#include <algorithm>
#include <array>
#include <vector>

#include "pictures/GIFImage.h"

namespace {

constexpr Integer MaxCodeBits = 12;
constexpr Integer MaxCodes = 1 << MaxCodeBits;
// Frames above this many pixels must be backed by data that could fill them before a load
// allocates them: an LZW code of 12 bits yields at most 4096 pixels.
constexpr Int64 LargeAllocationPixels = 16 * 1024 * 1024;
constexpr Int64 MaxPixelsPerDataByte = 2731;

// The decoder's state, one block per decoding.
class TGIFDecoder {
 public:
  TGIFDecoder(TGIFSubImage* Frame, TStream* Stream) : FFrame(Frame), FStream(Stream) {}

  void Run() {
    TGIFSubImage* F = FFrame;
    Byte* Pixels = F->Data();
    Byte MinSize;
    if (FStream->Read(&MinSize, 1) != 1) return;
    const Integer N = std::min<Integer>(MinSize, 8);
    FClear = 1 << N;
    FEnd = FClear + 1;
    FInitSize = N + 1;
    FCodeSize = FInitSize;
    FCodeLimit = 2 * FClear;
    FNextFree = FClear + 2;
    const Integer W = F->GetWidth(), H = F->GetHeight();
    if (Pixels && W > 0 && H > 0) {
      if (!F->GetInterlaced()) {
        const Int64 Count = Int64(W) * H;
        for (Int64 I = 0; I < Count; ++I) {
          const Integer B = ReadByte();
          if (B < 0) break;
          Pixels[I] = static_cast<Byte>(B);
        }
      } else {
        static constexpr Integer Starts[4] = {0, 4, 2, 1};
        static constexpr Integer Steps[4] = {8, 8, 4, 2};
        Integer Pass = 0, Row = 0;
        bool Stop = false;
        for (Integer Done = 0; Done < H && !Stop; ++Done) {
          Byte* P = Pixels + static_cast<std::size_t>(Row) * W;
          for (Integer X = 0; X < W; ++X) {
            const Integer B = ReadByte();
            if (B < 0) {
              Stop = true;
              break;
            }
            P[X] = static_cast<Byte>(B);
          }
          Row += Steps[Pass];
          while (Row >= H && Pass < 3) Row = Starts[++Pass];
        }
      }
    }
    // Normally meets the end code, which consumes the rest of the sub-blocks.
    if (!FEndSeen) {
      const Integer B = ReadByte();
      if (B != -2) SkipSubBlocks();
    }
  }

 private:
  // The rest of the data sub-blocks, up to and including the zero-length one.
  void SkipSubBlocks() {
    if (FZeroBlock) return;
    Byte Len;
    while (FStream->Read(&Len, 1) == 1 && Len != 0) {
      const Int64 Left = FStream->GetSize() - FStream->GetPosition();
      FStream->Seek(std::min<Int64>(Len, Left), soCurrent);
    }
    FZeroBlock = true;
  }

  Integer ReadCode() {
    const bool NeedMore =
        FBitPos + FCodeSize > FValidBits || (FBitPos + FCodeSize == FValidBits && !FFinished);
    if (NeedMore) {
      if (FFinished) {
        if (FBitPos >= FValidBits) FFrame->Warn(1, "Decoder bit buffer under-run");
        return -1;
      }
      const Integer Bytes = FValidBits / 8;
      if (Bytes >= 2) {
        FBuffer[0] = FBuffer[static_cast<std::size_t>(Bytes - 2)];
        FBuffer[1] = FBuffer[static_cast<std::size_t>(Bytes - 1)];
      }
      Byte Len;
      if (FStream->Read(&Len, 1) != 1) return -1;
      if (Len == 0) {
        FZeroBlock = true;
        FFinished = true;
      }
      const Int64 Left = FStream->GetSize() - FStream->GetPosition();
      Integer Count = Len;
      if (Count > Left) {
        FFrame->Warn(1, "Premature end of data");
        Count = static_cast<Integer>(std::max<Int64>(Left, 0));
      }
      if (Count > 0) ReadExact(FStream, FBuffer.data() + 2, Count);
      FBitPos = FBitPos - FValidBits + 16;
      FValidBits = (2 + Count) * 8;
      if (FBitPos + FCodeSize > FValidBits) return ReadCode();
    }
    Integer Code = 0;
    for (Integer I = 0; I < FCodeSize; ++I) {
      const Integer Bit = FBitPos + I;
      if (FBuffer[static_cast<std::size_t>(Bit >> 3)] & (1 << (Bit & 7))) Code |= 1 << I;
    }
    FBitPos += FCodeSize;
    return Code;
  }

  // One decoded pixel; -1 at the end of the data, -2 at the end code.
  Integer ReadByte() {
    if (FFirstCall) {
      FFirstCall = false;
      return AfterClear();
    }
    if (FSP > 0) return FStack[static_cast<std::size_t>(--FSP)];
    const Integer Code = ReadCode();
    if (Code < 0) return Code;
    if (Code == FClear) return AfterClear();
    if (Code == FEnd) return AtEnd();
    Integer C = Code;
    if (C >= FNextFree) {
      Push(FFirstCode);
      C = FPrevCode;
    }
    while (C >= FClear) {
      if (C >= MaxCodes || FPrefix[static_cast<std::size_t>(C)] == C)
        RaiseGIFError("Circular decoder table entry");
      Push(FSuffix[static_cast<std::size_t>(C)]);
      C = FPrefix[static_cast<std::size_t>(C)];
    }
    FFirstCode = FSuffix[static_cast<std::size_t>(C)];
    Push(FFirstCode);
    if (FNextFree <= MaxCodes - 1) {
      FPrefix[static_cast<std::size_t>(FNextFree)] = static_cast<Word>(FPrevCode);
      FSuffix[static_cast<std::size_t>(FNextFree)] = static_cast<Byte>(FFirstCode);
      ++FNextFree;
      if (FNextFree >= FCodeLimit && FCodeLimit <= MaxCodes - 1) {
        FCodeLimit *= 2;
        ++FCodeSize;
      }
    }
    FPrevCode = Code;
    return FStack[static_cast<std::size_t>(--FSP)];
  }

  Integer AfterClear() {
    for (Integer I = 0; I < MaxCodes; ++I) {
      FSuffix[static_cast<std::size_t>(I)] = static_cast<Byte>(I < FClear ? I : 0);
      FPrefix[static_cast<std::size_t>(I)] = 0;
    }
    FCodeSize = FInitSize;
    FCodeLimit = 2 * FClear;
    FNextFree = FClear + 2;
    FSP = 0;
    Integer Code;
    do Code = ReadCode();
    while (Code == FClear);
    if (Code < 0) return Code;
    if (Code == FEnd) return AtEnd();
    // A first code must be a colour; anything else is damaged data.
    if (Code > FEnd) return -1;
    FFirstCode = FPrevCode = Code;
    return Code;
  }

  Integer AtEnd() {
    FEndSeen = true;
    SkipSubBlocks();
    return -2;
  }

  void Push(Integer Value) {
    // A chain longer than the table can hold has a cycle in it.
    if (FSP >= static_cast<Integer>(FStack.size())) RaiseGIFError("Circular decoder table entry");
    FStack[static_cast<std::size_t>(FSP++)] = static_cast<Byte>(Value);
  }

  TGIFSubImage* FFrame;
  TStream* FStream;
  Integer FInitSize = 0, FCodeSize = 0, FClear = 0, FEnd = 0, FCodeLimit = 0, FNextFree = 0;
  Integer FFirstCode = 0, FPrevCode = 0;
  std::array<Word, MaxCodes> FPrefix{};
  std::array<Byte, MaxCodes> FSuffix{};
  std::array<Byte, MaxCodes + 1> FStack{};
  Integer FSP = 0;
  std::array<Byte, 2 + 255> FBuffer{};
  Integer FBitPos = 0, FValidBits = 0;
  bool FZeroBlock = false, FFinished = false, FFirstCall = true, FEndSeen = false;
};

// Packs bytes into data sub-blocks of up to 255 bytes.
class TGIFWriter {
 public:
  explicit TGIFWriter(TStream* Stream) : FStream(Stream) {}
  ~TGIFWriter() {
    try {
      Flush();
    } catch (...) {
      // The stream refused the last block; the caller's own write reports it.
    }
  }
  TGIFWriter(const TGIFWriter&) = delete;
  TGIFWriter& operator=(const TGIFWriter&) = delete;
  void WriteByte(Byte B) {
    FOutputPending = true;
    FBuffer[static_cast<std::size_t>(FCount++)] = B;
    if (FCount == 256) Flush();
  }
  void Flush() {
    if (FCount <= 1) return;
    FBuffer[0] = static_cast<Byte>(FCount - 1);
    const Integer N = FCount;
    FCount = 1;
    FStream->WriteBuffer(FBuffer.data(), N);
  }

 private:
  TStream* FStream;
  std::array<Byte, 256> FBuffer{};
  Integer FCount = 1;
  bool FOutputPending = false;
};

class TGIFEncoder {
 public:
  virtual ~TGIFEncoder() = default;

  void Compress(TStream* Stream, Integer BitsPerPixel, Integer Width, Integer Height, bool Interlace,
                const Byte* Data, Integer ColorCount) {
    FColorCount = ColorCount;
    FBitsPerPixel = std::max<Integer>(BitsPerPixel, 2);
    WriteStreamByte(Stream, static_cast<Byte>(FBitsPerPixel));
    FInitWidth = FBitsPerPixel + 1;
    FWidthBits = FInitWidth;
    FLimit = (1 << FWidthBits) - 1;
    FClearCode = 1 << FBitsPerPixel;
    FEndCode = FClearCode + 1;
    FFirstFree = FClearCode + 2;
    FBucket = 0;
    FBits = 0;
    FWidth = Width;
    FHeight = Height;
    FInterlace = Interlace;
    FData = Data;
    {
      TGIFWriter Writer(Stream);
      FWriter = &Writer;
      if (Data && Height > 0 && Width > 0) {
        BuildWalk();
        CompressPixels();
      }
      Output(FEndCode);
      Writer.Flush();
      FWriter = nullptr;
    }
    WriteStreamByte(Stream, 0);
  }

 protected:
  virtual void Output(Integer Code) {
    if (FBits > 0)
      FBucket = (FBucket & ((1u << FBits) - 1)) | (Cardinal(Code) << FBits);
    else
      FBucket = Cardinal(Code);
    FBits += FWidthBits;
    while (FBits >= 8) {
      FWriter->WriteByte(static_cast<Byte>(FBucket & 0xFF));
      FBucket >>= 8;
      FBits -= 8;
    }
    if (Code == FEndCode && FBits > 0) {
      FWriter->WriteByte(static_cast<Byte>(FBucket & 0xFF));
      FBits = 0;
    }
  }
  virtual void Clear() {
    FClearFlag = true;
    Output(FClearCode);
  }
  virtual void CompressPixels() = 0;

  // The pixels in stream order: rows top down, or the four interlace passes.
  void BuildWalk() {
    FRows.clear();
    if (!FInterlace) {
      for (Integer R = 0; R < FHeight; ++R) FRows.push_back(R);
    } else {
      static constexpr Integer Starts[4] = {0, 4, 2, 1};
      static constexpr Integer Steps[4] = {8, 8, 4, 2};
      for (Integer P = 0; P < 4; ++P)
        for (Integer R = Starts[P]; R < FHeight; R += Steps[P]) FRows.push_back(R);
    }
    FRowIndex = 0;
    FColumn = 0;
  }
  // The next pixel, checked against the colour table; -1 after the last.
  Integer NextPixel() {
    if (FRowIndex >= static_cast<Integer>(FRows.size())) return -1;
    const Byte P =
        FData[static_cast<std::size_t>(FRows[static_cast<std::size_t>(FRowIndex)]) * FWidth + FColumn];
    if (++FColumn >= FWidth) {
      FColumn = 0;
      ++FRowIndex;
    }
    if (P >= FColorCount) RaiseGIFError("Color not in color table");
    return P;
  }

  TGIFWriter* FWriter = nullptr;
  Integer FColorCount = 0;
  Integer FBitsPerPixel = 0;
  Integer FWidth = 0, FHeight = 0;
  bool FInterlace = false;
  const Byte* FData = nullptr;
  Cardinal FBucket = 0;
  Integer FBits = 0;
  bool FClearFlag = false;
  Integer FWidthBits = 0, FInitWidth = 0;
  Integer FLimit = 0;
  Integer FClearCode = 0, FEndCode = 0, FFirstFree = 0;
  std::vector<Integer> FRows;
  Integer FRowIndex = 0, FColumn = 0;
};

// Open addressing over 8009 slots of (key shl 12) or code; all ones is empty.
class THashTable {
 public:
  static constexpr Integer Size = 8009;
  THashTable() { Clear(); }
  void Clear() { FSlots.fill(0xFFFFFFFFu); }
  void Insert(Cardinal Key, Integer Code) {
    Integer H = Hash(Key);
    for (Integer Probe = 0; Taken(H); ++Probe) H = NextSlot(H, Probe);
    FSlots[static_cast<std::size_t>(H)] = (Key << 12) | Cardinal(Code & 0xFFF);
  }
  Integer Lookup(Cardinal Key) const {
    Integer H = Hash(Key);
    for (Integer Probe = 0; Taken(H); ++Probe) {
      if ((FSlots[static_cast<std::size_t>(H)] & 0xFFFFF000u) == (Key << 12))
        return static_cast<Integer>(FSlots[static_cast<std::size_t>(H)] & 0xFFF);
      H = NextSlot(H, Probe);
    }
    return -1;
  }

 private:
  static Integer Hash(Cardinal Key) { return static_cast<Integer>((Key ^ (Key >> 4)) % Size); }
  bool Taken(Integer H) const { return (FSlots[static_cast<std::size_t>(H)] & 0xFFFFF000u) != 0xFFFFF000u; }
  // The doubling probe can cycle short of a free slot; after a table's worth of probes the
  // walk goes on one slot at a time, which always ends (the table is never full).
  static Integer NextSlot(Integer H, Integer Probe) {
    if (Probe >= Size) return H == 0 ? Size - 1 : H - 1;
    Integer N = H == 0 ? -1 : H - (Size - H);
    if (N < 0) N += Size;
    return N;
  }
  std::array<Cardinal, Size> FSlots;
};

class TLZWEncoder : public TGIFEncoder {
 protected:
  void Output(Integer Code) override {
    TGIFEncoder::Output(Code);
    if (FNextFree > FLimit || FClearFlag) {
      if (FClearFlag) {
        FWidthBits = FInitWidth;
        FLimit = (1 << FWidthBits) - 1;
        FClearFlag = false;
      } else {
        ++FWidthBits;
        FLimit = FWidthBits == MaxCodeBits ? MaxCodes : (1 << FWidthBits) - 1;
      }
    }
  }
  void Clear() override {
    FTable.Clear();
    FNextFree = FClearCode + 2;
    TGIFEncoder::Clear();
  }
  void CompressPixels() override {
    Clear();
    Integer Prefix = NextPixel();
    for (Integer P = NextPixel(); P >= 0; P = NextPixel()) {
      const Cardinal Key = (Cardinal(Prefix) << 8) | Cardinal(P);
      const Integer Code = FTable.Lookup(Key);
      if (Code >= 0) {
        Prefix = Code;
        continue;
      }
      Output(Prefix);
      Prefix = P;
      if (FNextFree < MaxCodes - 1)
        FTable.Insert(Key, FNextFree++);
      else
        Clear();
    }
    Output(Prefix);
  }

 private:
  Integer FNextFree = 0;
  THashTable FTable;
};

class TRLEEncoder : public TGIFEncoder {
 protected:
  void Clear() override {
    FBump = FBumpStart;
    FClearAt = FClearStart;
    FCodesSinceClear = 0;
    FLongest = 0;
    TGIFEncoder::Clear();
    FWidthBits = FInitWidth;
  }
  void CompressPixels() override {
    FBumpStart = FClearCode - 1;
    FClearStart = FBitsPerPixel <= 3 ? 9 : FClearCode - 2;
    FRunCodeLimit = (MaxCodes - 1) - FFirstFree;
    Clear();
    FPixel = -1;
    FRun = 0;
    for (Integer P = NextPixel(); P >= 0; P = NextPixel()) {
      if (FRun > 0 && P != FPixel) Flush();
      if (P == FPixel) {
        ++FRun;
      } else {
        FPixel = P;
        FRun = 1;
      }
    }
    if (FRun > 0) Flush();
  }

 private:
  void Plain(Integer Code) {
    FClearFlag = false;
    TGIFEncoder::Output(Code);
    ++FCodesSinceClear;
    if (FCodesSinceClear >= FBump) {
      ++FWidthBits;
      FBump += 1 << (FWidthBits - 1);
    }
    if (FCodesSinceClear >= FClearAt) Clear();
  }
  static Integer ISqrt(Integer X) {
    if (X < 2) return X;
    Integer R = 1;
    for (Integer V = X; V; V >>= 2) R <<= 1;
    for (;;) {
      const Integer V = (X / R + R) / 2;
      if (V == R || V == R + 1) return R;
      R = V;
    }
  }
  static Integer TriangleCost(Integer R, Integer M) {
    const Integer T = M * (M + 1) / 2;
    Integer Cost = 0;
    while (R >= T) {
      Cost += M;
      R -= T;
    }
    if (R > 0) {
      Integer K = ISqrt(R);
      while (K * (K + 1) >= 2 * R) --K;
      while (K * (K + 1) < 2 * R) ++K;
      Cost += K;
    }
    return Cost;
  }
  void ResetClearThreshold() {
    FClearAt = FClearStart;
    if (FCodesSinceClear >= FClearAt) Clear();
  }
  void Flush() {
    if (FRun == 1)
      Plain(FPixel);
    else if (FClearFlag)
      FlushFromClear(FRun);
    else if (FLongest < 2 || FTablePixel != FPixel)
      FlushClearOrRepeat(FRun);
    else
      FlushWithTable(FRun);
    FRun = 0;
  }
  void FlushFromClear(Integer R) {
    FClearAt = FRunCodeLimit;
    FTablePixel = FPixel;
    Integer K = 1;
    while (R > 0) {
      if (K == 1) {
        FLongest = 1;
        Plain(FPixel);
        --R;
      } else if (R >= K) {
        FLongest = K;
        Plain(FFirstFree + K - 2);
        R -= K;
      } else if (R == 1) {
        ++FLongest;
        Plain(FPixel);
        R = 0;
      } else {
        ++FLongest;
        Plain(FFirstFree + R - 2);
        R = 0;
      }
      K = FCodesSinceClear == 0 ? 1 : K + 1;
    }
    ResetClearThreshold();
  }
  void FlushClearOrRepeat(Integer R) {
    if (1 + TriangleCost(R, FRunCodeLimit) < R) {
      Clear();
      FlushFromClear(R);
    } else {
      for (; R > 0; --R) Plain(FPixel);
    }
  }
  void FlushWithTable(Integer R) {
    Integer N = R / FLongest;
    Integer Left = R % FLongest;
    Integer Extra = Left > 0 ? 1 : 0;
    if (FCodesSinceClear + N + Extra > FRunCodeLimit) {
      N = FRunCodeLimit - FCodesSinceClear;
      Left = R - N * FLongest;
      Extra = 1 + TriangleCost(Left, FRunCodeLimit);
    }
    if (1 + TriangleCost(R, FRunCodeLimit) < N + Extra) {
      Clear();
      FlushFromClear(R);
      return;
    }
    FClearAt = FRunCodeLimit;
    for (; N > 0; --N) Plain(FFirstFree + FLongest - 2);
    if (Left > 0) {
      if (FClearFlag)
        FlushFromClear(Left);
      else if (Left == 1)
        Plain(FPixel);
      else
        Plain(FFirstFree + Left - 2);
    }
    ResetClearThreshold();
  }

  Integer FRunCodeLimit = 0;
  Integer FBumpStart = 0, FClearStart = 0;
  Integer FPixel = -1;
  Integer FRun = 0;
  Integer FLongest = 0;
  Integer FTablePixel = 0;
  Integer FCodesSinceClear = 0;
  Integer FClearAt = 0, FBump = 0;
};

}  // namespace

void TGIFSubImage::Decode(TStream* Stream) {
  const Int64 Count = Int64(GetWidth()) * GetHeight();
  if (Count > LargeAllocationPixels &&
      Count / MaxPixelsPerDataByte > Stream->GetSize() - Stream->GetPosition())
    RaiseGIFError("Premature end of data");
  AllocPixels();
  if (!FPixels.empty())
    std::fill(FPixels.begin(), FPixels.end(),
              (FHasTransparency && FControlExt) ? FControlExt->GetTransparentIndex() : Byte(0));
  auto Decoder = std::make_unique<TGIFDecoder>(this, Stream);
  Decoder->Run();
}

void TGIFSubImage::Encode(TStream* Stream) {
  Integer Colors, Bits;
  if (FLocalColors->Count() > 0) {
    Colors = FLocalColors->Count();
    Bits = FLocalColors->Depth();
  } else {
    Bits = FImage->MaxBitsPerPixel();
    Colors = 1 << Bits;
  }
  std::unique_ptr<TGIFEncoder> Encoder;
  if (FImage->Encoding == geRLE)
    Encoder = std::make_unique<TRLEEncoder>();
  else
    Encoder = std::make_unique<TLZWEncoder>();
  Encoder->Compress(Stream, Bits, GetWidth(), GetHeight(), GetInterlaced(), Data(), Colors);
}
