// Sony's scrambled DSC-F828 data: a key from the file seeds a pad that is XORed over the head
// and the sensor rows.
#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

#include <memory>
#include <new>

namespace {

constexpr Integer SonyKeyTable = 200896;
constexpr Integer SonyHead = 164600;
constexpr Integer SonyData = 862144;
constexpr Integer SonyColumns = 3343;

Cardinal BigEndian4(const Byte* Bytes) {
  return static_cast<Cardinal>(Bytes[0]) << 24 | Bytes[1] << 16 | Bytes[2] << 8 | Bytes[3];
}

}  // namespace

void RawSonyDescramble(TCameraRawContext& Context, Byte* Data, Integer Count, bool Fresh, Cardinal Key) {
  Cardinal* Pad = Context.SonyPad;
  if (Fresh) {
    for (Integer P = 0; P < 4; ++P) Pad[P] = Key = Key * 48828125 + 1;
    Pad[3] = Pad[3] << 1 | (Pad[0] ^ Pad[2]) >> 31;
    for (Integer P = 4; P < 127; ++P)
      Pad[P] = (Pad[P - 4] ^ Pad[P - 2]) << 1 | (Pad[P - 3] ^ Pad[P - 1]) >> 31;
    Context.SonyIndex = 127;
  }
  for (Integer I = 0; I < Count; ++I, Data += 4) {
    const Integer At = Context.SonyIndex++;
    const Cardinal Mask = Pad[At & 127] = Pad[(At + 1) & 127] ^ Pad[(At + 65) & 127];
    for (Integer B = 0; B < 4; ++B) Data[B] ^= static_cast<Byte>(Mask >> (24 - 8 * B));
  }
}

void RawLoadSony(TCameraRawContext& Context) {
  const Integer RawWidth = Context.RawWidth;
  if (RawWidth < SonyColumns) return;
  RawSeek(Context, SonyKeyTable);
  const Integer KeyIndex = RawGetByte(Context);
  RawSeek(Context, SonyKeyTable + 4 * KeyIndex - 1);
  Byte KeyBytes[4];
  RawRead(Context, KeyBytes, 4);
  Cardinal Key = BigEndian4(KeyBytes);
  Byte Head[40];
  RawSeek(Context, SonyHead);
  RawRead(Context, Head, sizeof Head);
  RawSonyDescramble(Context, Head, 10, true, Key);
  Key = 0;
  for (Integer I = 25; I > 21; --I) Key = Key << 8 | Head[I];
  std::unique_ptr<Byte[]> Line(new (std::nothrow) Byte[static_cast<std::size_t>(RawWidth) * 2]);
  RawCheckAlloc(Line.get(), "sony_load_raw()");
  RawSeek(Context, SonyData);
  Int64 MarginSum = 0;
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && !Context.InputEnded; ++Row) {
    RawProgressRow(Context, Row);
    RawRead(Context, Line.get(), RawWidth * 2);
    RawSonyDescramble(Context, Line.get(), RawWidth / 2, Row == 0, Key);
    for (Integer Col = 0; Col < SonyColumns; ++Col) {
      const Word Value = static_cast<Word>(Line[2 * Col] << 8 | Line[2 * Col + 1]);
      const Integer PictureCol = Col - Context.LeftMargin;
      if (static_cast<Cardinal>(PictureCol) < static_cast<Cardinal>(Context.Width))
        RawBayerCell(Context, Row, PictureCol) = Value;
      else
        MarginSum += Value;
    }
  }
  if (Context.Width < SonyColumns && Context.Height > 0)
    Context.Black =
        static_cast<Integer>(MarginSum / (static_cast<Int64>(SonyColumns - Context.Width) * Context.Height));
}
