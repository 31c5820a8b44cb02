// Camera raw loaders for sensors stored turned by 45 degrees: each stored row runs along a
// diagonal of the picture. The output stage turns the developed picture back (FujiLayout).
#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawstore.h"

namespace {

// Rows of RowWords 16-bit words after the stream's position; Place (Row, Col, Word) stores one.
template <typename TPlace>
void LoadRotated(TCameraRawContext& Context, Integer RowWords, Integer Rows, bool BigEndian, TPlace&& Place) {
  std::vector<Byte> Buffer = RawRowBuffer(Context, Int64(RowWords) * 2);
  RawForEachRow(Context, Buffer, Rows, [&](Integer Row, const Byte* Bytes) {
    for (Integer Col = 0; Col < RowWords; ++Col)
      Place(Row, Col, BigEndian ? RawWordBE(Bytes, Col) : RawWordLE(Bytes, Col));
  });
  Context.FujiLayout = 1;
}

}  // namespace

void RawLoadFujiS2(TCameraRawContext& Context) {
  constexpr Integer RowWords = 2944, Rows = 2144, Used = 2880;
  RawSkip(Context, (Int64(RowWords) * 24 + 32) * 2);
  LoadRotated(Context, RowWords, Rows, true, [&](Integer Row, Integer Col, Integer Value) {
    if (Col < Used) RawStoreSample(Context, Row + (Col + 1) / 2, Rows - 1 - Row + Col / 2, Value << 2);
  });
}

static void RawLoadFujiCommon(TCameraRawContext& Context, Integer RowLength, Integer LastColumn,
                              Integer Rows) {
  LoadRotated(Context, RowLength, Rows, false, [&](Integer Row, Integer Col, Integer Value) {
    if (Col <= LastColumn)
      RawStoreSample(Context, LastColumn + Row / 2 - Col, Col + (Row + 1) / 2, Value << 2);
  });
}

void RawLoadFujiS5000(TCameraRawContext& Context) {
  RawSkip(Context, 11824);
  RawLoadFujiCommon(Context, 1472, 1423, 2152);
}

void RawLoadFujiS7000(TCameraRawContext& Context) {
  RawLoadFujiCommon(Context, 2048, 2047, 3080);
}

void RawLoadFujiF700(TCameraRawContext& Context) {
  constexpr Integer RowWords = 2944, Rows = 2168, HalfWords = 1472, Used = 1440;
  // Each row holds the primary and the secondary sensor's samples, one half each.
  const Integer First = Context.FujiSecondary ? HalfWords : 0;
  LoadRotated(Context, RowWords, Rows, false, [&](Integer Row, Integer Col, Integer Value) {
    const Integer Sample = Col - First;
    if (Sample >= 0 && Sample < Used)
      RawStoreSample(Context, Row / 2 - Sample + Used - 1, Sample + (Row + 1) / 2, Value);
  });
}
