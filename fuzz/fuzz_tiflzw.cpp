// The TIFF LZW decoder over any bytes: the first two choose the row length and the fill order,
// the rest is the strip, held in a buffer of exactly its size. Rows are asked for until the
// decoder refuses one or the strip's worth is out; the bytes decoded are then coded again and
// must decode to the same bytes.
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/formats/tiflzw.h"

namespace {

constexpr Integer MaxRows = 256;

std::vector<Byte> DecodeRows(const std::vector<Byte>& Strip, Integer RowLength, Integer FillOrder,
                             Integer Rows) {
  std::vector<Byte> Decoded;
  void* Context = nullptr;
  for (Integer Row = 0; Row < Rows; ++Row) {
    const Byte* Bytes =
        TiffLzwDecompress(Strip.data(), static_cast<Integer>(Strip.size()), RowLength, Context, FillOrder);
    if (!Bytes) break;
    Decoded.insert(Decoded.end(), Bytes, Bytes + RowLength);
  }
  if (Context) TiffLzwDecompress(nullptr, 0, 0, Context, FillOrder);
  if (Context) __builtin_trap();
  return Decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  const Integer RowLength = 1 + (Data[0] | ((Data[1] & 1) << 8));
  const Integer FillOrder = (Data[1] & 2) ? 2 : 1;
  const std::vector<Byte> Strip(Data + 2, Data + Size);
  const std::vector<Byte> Decoded = DecodeRows(Strip, RowLength, FillOrder, MaxRows);

  TMemoryStream Coded;
  void* Context = nullptr;
  for (size_t Pos = 0; Pos < Decoded.size(); Pos += RowLength)
    TiffLzwCompress(Decoded.data() + Pos, RowLength, &Coded, Context);
  TiffLzwCompress(nullptr, 0, &Coded, Context);
  const auto* Bytes = static_cast<const Byte*>(Coded.GetMemory());
  const std::vector<Byte> Again(Bytes, Bytes + Coded.GetSize());
  const Integer Rows = static_cast<Integer>(Decoded.size()) / RowLength;
  if (DecodeRows(Again, RowLength, 1, Rows) != Decoded) __builtin_trap();
  return 0;
}
