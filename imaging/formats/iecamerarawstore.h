#pragma once
// Shared steps of the packed and plain camera raw loaders: checked sample stores, row reads
// that cannot overrun, and the black level measured from masked columns.
#include <vector>

#include "imaging/formats/iecameraraw.h"

// Stores Value at picture (Row, Col) when that lies inside the picture; samples of rotated or
// reordered layouts that fall outside are dropped.
inline void RawStoreSample(TCameraRawContext& Context, Integer Row, Integer Col, Integer Value) {
  if (static_cast<Cardinal>(Row) < static_cast<Cardinal>(Context.Height) &&
      static_cast<Cardinal>(Col) < static_cast<Cardinal>(Context.Width))
    RawBayerCell(Context, Row, Col) = static_cast<Word>(Value);
}

// A row buffer of Count bytes, or an empty one (with InputEnded set) when the rest of the
// stream could not fill even one such row: a size from the file is never allocated unchecked.
std::vector<Byte> RawRowBuffer(TCameraRawContext& Context, Int64 Count);

// Reads Rows rows into Buffer before each call of Store (Row, Buffer), reporting progress per
// row and stopping at the first row once the stream has ended.
template <typename TStore>
void RawForEachRow(TCameraRawContext& Context, std::vector<Byte>& Buffer, Integer Rows, TStore&& Store) {
  RawProgressStart(Context, Rows);
  for (Integer Row = 0; Row < Rows && !Context.InputEnded; ++Row) {
    RawProgressRow(Context, Row);
    RawRead(Context, Buffer.data(), static_cast<Integer>(Buffer.size()));
    Store(Row, Buffer.data());
  }
}

// Black = Scale x Sum / (MaskedColumns x Rows), kept as it was when no column is masked.
void RawBlackFromMasked(TCameraRawContext& Context, Int64 Sum, Int64 Scale, Int64 MaskedColumns, Int64 Rows);

// 16-bit words of a byte row.
inline Integer RawWordBE(const Byte* Bytes, Integer Index) {
  return Bytes[2 * Index] << 8 | Bytes[2 * Index + 1];
}
inline Integer RawWordLE(const Byte* Bytes, Integer Index) {
  return Bytes[2 * Index] | Bytes[2 * Index + 1] << 8;
}
