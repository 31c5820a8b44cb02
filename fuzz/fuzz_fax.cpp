// The fax decoder over any bytes: the first four choose the strip kind, fill order, EOL fill,
// width and row count, the rest is the strip. Every row is decoded into a buffer of exactly its
// size; pixels past the width must stay white and positions near the data. The rows decoded are
// then coded again with the matching encoder, which must decode to the same rows.
#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/io/tifccitt.h"

namespace {

enum TKind { kHuffman, kOneD, kTwoD, kGroup4 };

struct TStrip {
  TKind Kind;
  Integer FillOrder;
  bool EOLFill;
  Integer Width;
  Integer Height;
};

using TRows = std::vector<std::vector<Byte>>;

Integer RowBytes(Integer Width) {
  return (Width + 7) / 8;
}

void CheckPadding(const std::vector<Byte>& Row, Integer Width) {
  if (Width % 8 == 0) return;
  const Byte Padding = static_cast<Byte>(0xFF >> (Width % 8));
  if ((Row.back() & Padding) != Padding) __builtin_trap();
}

// Decoded rows (a set bit is white).
TRows Decode(const TStrip& Strip, const Byte* Data, Integer Length) {
  TRows Rows;
  std::vector<Byte> Ref(RowBytes(Strip.Width), 0xFF);
  const Int64 Limit = Int64{Length} * 8;
  Integer Pos = 0;
  for (Integer Y = 0; Y < Strip.Height; ++Y) {
    std::vector<Byte> Row(RowBytes(Strip.Width));
    switch (Strip.Kind) {
      case kHuffman: {
        const Integer Used =
            CCITTDecodeHuffmanRow(Row.data(), Data + Pos, Length - Pos, Strip.FillOrder, Strip.Width);
        if (Used < 0 || Used > Length - Pos) __builtin_trap();
        Pos += Used;
        break;
      }
      case kOneD:
        Pos = CCITTDecode1DRow(Row.data(), Data, Length, Strip.FillOrder, Pos, Strip.Width);
        break;
      default:
        Pos = CCITTDecode2DRow(Row.data(), Data, Length, Strip.Kind == kTwoD || Strip.EOLFill,
                               Strip.FillOrder, Pos, Ref.data(), Strip.Width);
        break;
    }
    if (Strip.Kind != kHuffman && (Pos < 0 || Pos > Limit + 64)) __builtin_trap();
    CheckPadding(Row, Strip.Width);
    Rows.push_back(std::move(Row));
  }
  return Rows;
}

// The rows in the encoders' sense (a set bit is black), pixels past the width clear.
TRows ForEncoder(TRows Rows, Integer Width) {
  for (auto& Row : Rows) {
    for (Byte& B : Row) B = static_cast<Byte>(~B);
    if (Width % 8) Row.back() &= static_cast<Byte>(0xFF << (8 - Width % 8));
  }
  return Rows;
}

std::string Encode(const TStrip& Strip, const TRows& Rows) {
  TStringStream Stream;
  bool Aborting = false;
  Integer PendingCount = 0;
  Byte PendingByte = 0;
  std::unique_ptr<Byte[]> RefRow;
  const Integer Fill = Strip.FillOrder;
  for (const auto& Row : Rows) {
    switch (Strip.Kind) {
      case kHuffman:
        CCITTEncodeHuffmanRow(Row.data(), Strip.Width, &Stream, Fill, &Aborting);
        break;
      case kOneD:
        CCITTEncode1DRow(Row.data(), Strip.Width, &Stream, Fill, &Aborting, PendingCount, PendingByte);
        break;
      case kTwoD:
        CCITTG3Encode2DRow(Row.data(), Strip.Width, &Stream, Fill, &Aborting, RefRow, PendingCount,
                           PendingByte);
        break;
      case kGroup4:
        CCITTG4EncodeRow(Row.data(), Strip.Width, &Stream, Fill, &Aborting, RefRow, PendingCount,
                         PendingByte);
        break;
    }
  }
  if (Strip.Kind == kOneD) CCITTEncode1DRow(nullptr, 0, &Stream, Fill, &Aborting, PendingCount, PendingByte);
  if (Strip.Kind == kTwoD)
    CCITTG3Encode2DRow(nullptr, Strip.Width, &Stream, Fill, &Aborting, RefRow, PendingCount, PendingByte);
  if (Strip.Kind == kGroup4)
    CCITTG4EncodeRow(nullptr, Strip.Width, &Stream, Fill, &Aborting, RefRow, PendingCount, PendingByte);
  if (Aborting || RefRow) __builtin_trap();
  return Stream.GetDataString();
}

bool SameRows(const TRows& A, const TRows& B, Integer Width) {
  for (size_t Y = 0; Y < A.size(); ++Y)
    for (Integer X = 0; X < Width; ++X)
      if (((A[Y][X >> 3] ^ B[Y][X >> 3]) & (0x80 >> (X & 7))) != 0) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CCITTInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 4) return 0;
  TStrip Strip;
  Strip.Kind = static_cast<TKind>(Data[0] & 3);
  Strip.FillOrder = (Data[0] & 4) ? 2 : 1;
  Strip.EOLFill = (Data[0] & 8) != 0;
  Strip.Width = (Data[1] | (Data[2] << 8)) % 6001;
  Strip.Height = 1 + Data[3] % 48;
  const auto Length = static_cast<Integer>(std::min<size_t>(Size - 4, 1 << 20));
  // A copy of exactly the strip's size, so that a read past it is seen.
  const std::vector<Byte> Bytes(Data + 4, Data + 4 + Length);
  const TRows Decoded = Decode(Strip, Bytes.data(), Length);
  if (Strip.Width == 0) return 0;  // such rows have no bytes to hand to the encoders

  const std::string Coded = Encode(Strip, ForEncoder(Decoded, Strip.Width));
  const std::vector<Byte> CodedBytes(Coded.begin(), Coded.end());
  if (!SameRows(Decode(Strip, CodedBytes.data(), static_cast<Integer>(CodedBytes.size())), Decoded,
                Strip.Width))
    __builtin_trap();
  return 0;
}
