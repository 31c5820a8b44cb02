#include "imaging/formats/tiflzw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/ieutilsbits.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer ClearCode = 256;
constexpr Integer EndCode = 257;
constexpr Integer FirstFreeCode = 258;
constexpr Integer MinCodeWidth = 9;
constexpr Integer TableEntries = 4097;
constexpr Integer InlineStringSize = 32;
constexpr Integer BufferGrowth = 1024;

// ---- Decoder ----------------------------------------------------------------------------

struct TLzwString {
  Byte* Bytes = nullptr;  // Inline, or the entry's own block for longer strings
  Integer Length = 0;
  Byte Inline[InlineStringSize];
  std::unique_ptr<Byte[]> Block;  // kept across clears and reused, so long strings rarely allocate
  Integer BlockSize = 0;
};

struct TLzwDecoder {
  std::vector<Byte> Buffer;
  Integer Count = 0;  // bytes in Buffer
  const Byte* Data = nullptr;
  Int64 DataBits = 0;
  Integer RowLength = 0;
  Int64 BitPos = 0;
  Integer Width = MinCodeWidth;
  Integer Previous = -1;
  Integer Next = FirstFreeCode;
  bool Overflow = false;
  bool ReverseBits = false;
  std::array<TLzwString, TableEntries> Table;
};

const std::array<Byte, 256>& ReversedBytes() {
  static const std::array<Byte, 256> Table = [] {
    std::array<Byte, 256> T{};
    for (Integer I = 0; I < 256; ++I) {
      Byte B = static_cast<Byte>(I);
      IEReverseBits8(B);
      T[I] = B;
    }
    return T;
  }();
  return Table;
}

std::unique_ptr<TLzwDecoder> MakeDecoder(const Byte* Data, Integer DataLength, Integer RowLength,
                                         Integer FillOrder) {
  auto D = std::make_unique<TLzwDecoder>();
  D->Buffer.assign(static_cast<size_t>(RowLength) + 1, 0);
  D->Data = Data;
  D->DataBits = static_cast<Int64>(std::max(DataLength, 0)) * 8;
  D->RowLength = RowLength;
  D->ReverseBits = FillOrder == 2;
  for (Integer I = 0; I < 256; ++I) {
    TLzwString& S = D->Table[I];
    S.Inline[0] = static_cast<Byte>(I);
    S.Bytes = S.Inline;
    S.Length = 1;
  }
  return D;
}

// The next code, or -1 when the data holds no whole code any more.
Integer ReadCode(TLzwDecoder& D) {
  if (D.BitPos + D.Width > D.DataBits) return -1;
  const Int64 First = D.BitPos >> 3;
  const Int64 Last = std::min<Int64>(First + 4, D.DataBits >> 3);
  Cardinal Word32 = 0;
  for (Int64 I = First; I < First + 4; ++I) {
    Byte B = I < Last ? D.Data[I] : 0;
    if (D.ReverseBits) B = ReversedBytes()[B];
    Word32 = (Word32 << 8) | B;
  }
  const Integer Code = static_cast<Integer>((Word32 << (D.BitPos & 7)) >> (32 - D.Width));
  D.BitPos += D.Width;
  return Code;
}

void Append(TLzwDecoder& D, const TLzwString& S) {
  if (D.Count + S.Length > static_cast<Integer>(D.Buffer.size())) {
    const Integer Needed = D.Count + S.Length - static_cast<Integer>(D.Buffer.size());
    D.Buffer.resize(D.Buffer.size() + ((Needed + BufferGrowth - 1) / BufferGrowth) * BufferGrowth, 0);
  }
  Byte* Out = D.Buffer.data() + D.Count;
  if (S.Length <= 4) {
    for (Integer I = 0; I < S.Length; ++I) Out[I] = S.Bytes[I];
  } else {
    std::memcpy(Out, S.Bytes, static_cast<size_t>(S.Length));
  }
  D.Count += S.Length;
}

// A code that stands for a string: a single byte or an entry made since the last clear.
bool HasString(const TLzwDecoder& D, Integer Code) {
  return Code >= 0 && Code < D.Next && Code != ClearCode && Code != EndCode;
}

// The string of the previous code followed by LastByte; false when the table is full.
bool AddEntry(TLzwDecoder& D, Byte LastByte) {
  if (D.Overflow) return false;
  // Damaged data may leave no previous string; the entry is then skipped.
  if (!HasString(D, D.Previous)) return true;
  const TLzwString& Prefix = D.Table[D.Previous];
  TLzwString& Entry = D.Table[D.Next];
  const Integer Length = Prefix.Length + 1;
  if (Length <= InlineStringSize) {
    Entry.Bytes = Entry.Inline;
  } else {
    if (Entry.BlockSize < Length) {
      Entry.BlockSize = std::max(Length, 2 * InlineStringSize);
      Entry.Block = std::make_unique<Byte[]>(static_cast<size_t>(Entry.BlockSize));
    }
    Entry.Bytes = Entry.Block.get();
  }
  std::memcpy(Entry.Bytes, Prefix.Bytes, static_cast<size_t>(Prefix.Length));
  Entry.Bytes[Prefix.Length] = LastByte;
  Entry.Length = Length;
  ++D.Next;
  // One code earlier than plain LZW, as TIFF writers switch.
  if (D.Next == 511) D.Width = 10;
  if (D.Next == 1023) D.Width = 11;
  if (D.Next == 2047) D.Width = 12;
  if (D.Next >= TableEntries) D.Overflow = true;
  return true;
}

// Fills the buffer up to one row; false when the strip is damaged.
bool DecodeRow(TLzwDecoder& D) {
  if (D.Count > D.RowLength) {
    D.Count -= D.RowLength;
    std::memmove(D.Buffer.data(), D.Buffer.data() + D.RowLength, static_cast<size_t>(D.Count));
  } else {
    D.Count = 0;
  }
  if (D.Overflow) return false;
  while (D.Count < D.RowLength) {
    Integer Code = ReadCode(D);
    if (Code < 0) break;
    if (D.Previous == -1) D.Previous = Code;
    if (Code == ClearCode) {
      D.Next = FirstFreeCode;
      D.Width = MinCodeWidth;
      D.Previous = -1;
      Code = ReadCode(D);
      if (Code < 0 || Code == EndCode) break;
      if (Code >= D.Next) {
        D.Overflow = true;
        return false;
      }
      Append(D, D.Table[Code]);
      D.Previous = Code;
    } else if (Code == EndCode) {
      break;
    } else if (Code < D.Next) {
      Append(D, D.Table[Code]);
      if (!AddEntry(D, D.Table[Code].Bytes[0])) return false;
      D.Previous = Code;
    } else if (Code == D.Next) {
      if (!HasString(D, D.Previous)) return false;
      if (!AddEntry(D, D.Table[D.Previous].Bytes[0])) return false;
      Append(D, D.Table[Code]);
      D.Previous = Code;
    } else {
      break;
    }
  }
  return true;
}

// ---- Encoder ----------------------------------------------------------------------------

constexpr Integer HashSize = 5003;
constexpr Integer HashShift = 4;  // 5003 doubled four times reaches 65536
constexpr Integer TableClearAt = 4094;
constexpr Integer BlockFlushAt = 254;

struct TLzwEncoder {
  TStream* Stream = nullptr;
  Integer Width = MinCodeWidth;
  Integer MaxCode = 511;
  Integer FreeCode = FirstFreeCode;
  bool ClearFlag = false;
  Integer Prefix = -1;  // -1 until the first byte arrives
  std::array<Integer, HashSize> Keys;
  std::array<Word, HashSize> Codes{};
  Cardinal Bits = 0;
  Integer BitCount = 0;
  std::array<Byte, 256> Block{};
  Integer BlockCount = 0;
};

void FlushBlock(TLzwEncoder& E) {
  if (E.BlockCount > 0 && E.Stream) E.Stream->Write(E.Block.data(), E.BlockCount);
  E.BlockCount = 0;
}

void PutByte(TLzwEncoder& E, Byte B) {
  E.Block[E.BlockCount++] = B;
  if (E.BlockCount >= BlockFlushAt) FlushBlock(E);
}

void Output(TLzwEncoder& E, Integer Code) {
  E.Bits = (E.Bits << E.Width) | static_cast<Cardinal>(Code);
  E.BitCount += E.Width;
  while (E.BitCount >= 8) {
    E.BitCount -= 8;
    PutByte(E, static_cast<Byte>(E.Bits >> E.BitCount));
  }
  // Grows one code before plain LZW would, matching the decoder's early switch.
  if (E.ClearFlag) {
    E.Width = MinCodeWidth;
    E.MaxCode = 511;
    E.ClearFlag = false;
  } else if (E.FreeCode >= E.MaxCode && E.Width < 12) {
    ++E.Width;
    E.MaxCode = (1 << E.Width) - 1;
  }
}

void ClearHash(TLzwEncoder& E) {
  E.Keys.fill(-1);
}

void Encode(TLzwEncoder& E, const Byte* Data, Integer Count) {
  Integer I = 0;
  if (E.Prefix < 0 && Count > 0) E.Prefix = Data[I++];
  for (; I < Count; ++I) {
    const Integer C = Data[I];
    const Integer Key = (C << 12) + E.Prefix;
    Integer Index = (C << HashShift) ^ E.Prefix;
    if (E.Keys[Index] == Key) {
      E.Prefix = E.Codes[Index];
      continue;
    }
    if (E.Keys[Index] >= 0) {
      const Integer Displacement = Index == 0 ? 1 : HashSize - Index;
      bool Found = false;
      do {
        Index -= Displacement;
        if (Index < 0) Index += HashSize;
        Found = E.Keys[Index] == Key;
      } while (!Found && E.Keys[Index] > 0);
      if (Found) {
        E.Prefix = E.Codes[Index];
        continue;
      }
    }
    Output(E, E.Prefix);
    E.Prefix = C;
    if (E.FreeCode < TableClearAt) {
      E.Codes[Index] = static_cast<Word>(E.FreeCode++);
      E.Keys[Index] = Key;
    } else {
      ClearHash(E);
      E.FreeCode = FirstFreeCode;
      E.ClearFlag = true;
      Output(E, ClearCode);
    }
  }
}

void Finish(TLzwEncoder& E) {
  if (E.Prefix >= 0) Output(E, E.Prefix);
  Output(E, EndCode);
  if (E.BitCount > 0) PutByte(E, static_cast<Byte>(E.Bits << (8 - E.BitCount)));
  FlushBlock(E);
}

}  // namespace

Byte* TiffLzwDecompress(const Byte* Data, Integer DataLength, Integer RowLength, void*& Context,
                        Integer FillOrder) {
  if (!Data) {
    delete static_cast<TLzwDecoder*>(Context);
    Context = nullptr;
    return nullptr;
  }
  if (!Context) {
    if (RowLength <= 0) return nullptr;
    Context = MakeDecoder(Data, DataLength, RowLength, FillOrder).release();
  }
  TLzwDecoder& D = *static_cast<TLzwDecoder*>(Context);
  return DecodeRow(D) ? D.Buffer.data() : nullptr;
}

void TiffLzwCompress(const Byte* Data, Integer Count, TStream* Stream, void*& Context) {
  if (!Data) {
    if (auto* E = static_cast<TLzwEncoder*>(Context)) {
      Finish(*E);
      delete E;
    }
    Context = nullptr;
    return;
  }
  if (!Context) {
    auto E = std::make_unique<TLzwEncoder>();
    E->Stream = Stream;
    ClearHash(*E);
    Output(*E, ClearCode);
    Context = E.release();
  }
  Encode(*static_cast<TLzwEncoder*>(Context), Data, std::max(Count, 0));
}
