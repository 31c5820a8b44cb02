// Camera raw loaders for plain sample layouts: 16-bit words in either byte order, 8-bit
// samples, and rows stored shuffled, mirrored or masked with keys from the file.
#include <cstring>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"
#include "imaging/formats/iecamerarawstore.h"

std::vector<Byte> RawRowBuffer(TCameraRawContext& Context, Int64 Count) {
  if (Count <= 0 || Count > RawRemaining(Context)) {
    Context.InputEnded = true;
    return {};
  }
  return std::vector<Byte>(static_cast<std::size_t>(Count));
}

void RawBlackFromMasked(TCameraRawContext& Context, Int64 Sum, Int64 Scale, Int64 MaskedColumns, Int64 Rows) {
  if (MaskedColumns > 0 && Rows > 0)
    Context.Black = static_cast<Integer>(Scale * Sum / (MaskedColumns * Rows));
}

namespace {

// Words of RawWidth a row; the first Width become (word x 256) >> (8 + Shift), kept to 16 bits.
void LoadUnpacked(TCameraRawContext& Context, bool BigEndian, Integer Shift) {
  std::vector<Byte> Buffer = RawRowBuffer(Context, Int64(Context.RawWidth) * 2);
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    for (Integer Col = 0; Col < Context.Width && Col < Context.RawWidth; ++Col) {
      const Integer Word16 = BigEndian ? RawWordBE(Bytes, Col) : RawWordLE(Bytes, Col);
      RawStoreSample(Context, Row, Col, ((Word16 << 8) >> (8 + Shift)) & 0xFFFF);
    }
  });
}

}  // namespace

void RawLoadBigEndian16(TCameraRawContext& Context) {
  LoadUnpacked(Context, true, 0);
}

void RawLoadBigEndianHigh12(TCameraRawContext& Context) {
  LoadUnpacked(Context, true, 2);
}

void RawLoadBigEndianLow12(TCameraRawContext& Context) {
  LoadUnpacked(Context, true, -2);
}

void RawLoadBigEndianLow10(TCameraRawContext& Context) {
  LoadUnpacked(Context, true, -4);
}

void RawLoadLittleEndianHigh12(TCameraRawContext& Context) {
  LoadUnpacked(Context, false, 2);
}

void RawLoadEightBit(TCameraRawContext& Context) {
  std::vector<Byte> Buffer = RawRowBuffer(Context, Context.RawWidth);
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    for (Integer Col = 0; Col < Context.Width && Col < Context.RawWidth; ++Col)
      RawStoreSample(Context, Row, Col, Bytes[Col] << 6);
  });
}

void RawLoadNucore(TCameraRawContext& Context) {
  std::vector<Byte> Buffer = RawRowBuffer(Context, Int64(Context.Width) * 2);
  // One model stores its picture bottom-up as two interleaved fields.
  const bool Fields = Context.Model[0] == 'B' && Context.Width == 2598;
  const Integer Height = Context.Height;
  RawForEachRow(Context, Buffer, Height, [&](Integer Stored, const Byte* Bytes) {
    const Integer Row = Fields ? Height - 1 - Stored / 2 - ((Stored & 1) ? Height / 2 : 0) : Stored;
    for (Integer Col = 0; Col < Context.Width; ++Col)
      RawStoreSample(Context, Row, Col, RawWordLE(Bytes, Col) << 2);
  });
}

void RawLoadKodakEasy(TCameraRawContext& Context) {
  Word Curve[RawCurveSize];
  RawKodakCurve(Context, Curve);
  std::vector<Byte> Buffer = RawRowBuffer(Context, Context.RawWidth);
  if (Context.Width < Context.RawWidth) Context.Black = 0;
  Int64 Masked = 0;
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    for (Integer Col = 0; Col < Context.RawWidth; ++Col) {
      const Integer Value = Curve[Bytes[Col]];
      if (RawInsideMargins(Context, Row, Col))
        RawBayerCell(Context, Row - Context.TopMargin, Col - Context.LeftMargin) =
            static_cast<Word>(Value << 2);
      else
        Masked += Value;
    }
  });
  if (std::strncmp(Context.Model, "DC2", 3) == 0)
    Context.Black = 0;
  else
    RawBlackFromMasked(Context, Masked, 4, Int64(Context.RawWidth) - Context.Width, Context.Height);
}

void RawLoadKodakDC120(TCameraRawContext& Context) {
  static constexpr Integer Multiplier[4] = {162, 192, 187, 92};
  static constexpr Integer Offset[4] = {0, 636, 424, 212};
  constexpr Integer RowBytes = 848;
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowBytes);
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    const Integer Shift = Row * Multiplier[Row & 3] + Offset[Row & 3];
    for (Integer Col = 0; Col < Context.Width && Col < RowBytes; ++Col)
      RawStoreSample(Context, Row, Col, Bytes[(Col + Shift) % RowBytes] << 6);
  });
}

void RawLoadPhaseOne(TCameraRawContext& Context) {
  RawSkip(Context, 8);
  RawSkip(Context, Int64(RawGet4(Context)) + 296);
  const Integer KeyA = RawGet2(Context);
  const Integer KeyB = RawGet2(Context);
  RawSeek(Context, Int64(Context.DataOffset) + Int64(Context.TopMargin) * Context.RawWidth * 2 + 12);
  std::vector<Byte> Buffer = RawRowBuffer(Context, Int64(Context.RawWidth) * 2);
  std::vector<Integer> Words(Buffer.size() / 2);
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    // Each pair of words is masked with the two keys and has its alternate bits exchanged.
    for (std::size_t Col = 0; Col + 1 < Words.size(); Col += 2) {
      const Integer P = RawWordBE(Bytes, static_cast<Integer>(Col)) ^ KeyA;
      const Integer Q = RawWordBE(Bytes, static_cast<Integer>(Col + 1)) ^ KeyB;
      Words[Col] = (Q & 0xAAAA) | (P & 0x5555);
      Words[Col + 1] = (P & 0xAAAA) | (Q & 0x5555);
    }
    for (Integer Col = 0; Col < Context.Width; ++Col) {
      const Integer Source = Col + Context.LeftMargin;
      if (Source >= 0 && Source < static_cast<Integer>(Words.size()))
        RawStoreSample(Context, Row, Col, Words[Source]);
    }
  });
}

void RawLoadIxpress(TCameraRawContext& Context) {
  constexpr Integer RowWords = 4090;
  RawSeek(Context, 49384);
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowWords * 2);
  const Integer Height = Context.Height;
  // Stored bottom row first and mirrored left to right.
  RawForEachRow(Context, Buffer, Height, [&](Integer Stored, const Byte* Bytes) {
    const Integer Row = Height - 1 - Stored;
    for (Integer Col = 0; Col < Context.Width; ++Col) {
      const Integer Source = Context.Width - 1 - Col;
      if (Source < RowWords) RawStoreSample(Context, Row, Col, RawWordLE(Bytes, Source));
    }
  });
}
