// Camera raw loaders for packed layouts: samples of 10 or 12 bits packed into byte groups in a
// camera's own order, or read through the bit reader, with rows stored in field order.
#include <cstdlib>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawstore.h"

namespace {

// Unpacks Groups groups of GroupBytes bytes, each into SamplesPerGroup samples.
template <typename TUnpack>
void UnpackGroups(const Byte* Bytes, Integer Groups, Integer GroupBytes, Integer SamplesPerGroup,
                  Integer* Samples, TUnpack&& Unpack) {
  for (Integer G = 0; G < Groups; ++G) Unpack(Bytes + G * GroupBytes, Samples + G * SamplesPerGroup);
}

// The bits a loader takes through the bit reader, counted against the bits the stream holds
// from where reading (re)started. The bit reader reads a few bytes ahead, so its end-of-stream
// mark comes before data that ends with the file has been used up; the count decides instead.
class TBitBudget {
 public:
  explicit TBitBudget(TCameraRawContext& Context) : FContext(Context) { Restart(); }
  // After a seek: the bit reader starts afresh at the stream's position.
  void Restart() {
    FLeft = RawRemaining(FContext) * 8;
    RawGetBits(FContext, -1);
  }
  Integer Get(Integer Bits) {
    FLeft -= Bits;
    return static_cast<Integer>(RawGetBits(FContext, Bits));
  }
  void SkipBytes(Int64 Count) {
    for (Int64 I = 0; I < Count && Left(); ++I) Get(8);
  }
  bool Left() const { return FLeft >= 0; }
  // The stream counts as ended only when the loader used bits it does not hold.
  void Finish() { FContext.InputEnded = !Left(); }

 private:
  TCameraRawContext& FContext;
  Int64 FLeft = 0;
};

// Stored rows of an interleaved two-field layout: field 0 holds the even picture rows.
Integer FieldRow(Integer Stored, Integer Height) {
  const Integer Half = Height / 2;
  return (2 * Stored) % Height + (Half > 0 ? Stored / Half : 0);
}

}  // namespace

void RawLoadCanon600(TCameraRawContext& Context) {
  constexpr Integer RowBytes = 1120, RowSamples = 896;
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowBytes);
  Integer Samples[RowSamples];
  Int64 Masked = 0;
  Integer Row = 0;
  // Even rows are stored first, then the odd ones.
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer, const Byte* Bytes) {
    UnpackGroups(Bytes, RowBytes / 10, 10, 8, Samples, [](const Byte* B, Integer* P) {
      P[0] = B[0] << 2 | B[1] >> 6;
      P[1] = B[2] << 2 | (B[1] >> 4 & 3);
      P[2] = B[3] << 2 | (B[1] >> 2 & 3);
      P[3] = B[4] << 2 | (B[1] & 3);
      P[4] = B[5] << 2 | (B[9] & 3);
      P[5] = B[6] << 2 | (B[9] >> 2 & 3);
      P[6] = B[7] << 2 | (B[9] >> 4 & 3);
      P[7] = B[8] << 2 | B[9] >> 6;
    });
    for (Integer Col = 0; Col < RowSamples; ++Col)
      if (Col < Context.Width)
        RawStoreSample(Context, Row, Col, Samples[Col] << 4);
      else
        Masked += Samples[Col];
    Row += 2;
    if (Row >= Context.Height) Row = 1;
  });
  RawBlackFromMasked(Context, Masked, 16, RowSamples - Context.Width, Context.Height);
}

void RawLoadCanonA5(TCameraRawContext& Context) {
  const Int64 RowBytes = Int64(Context.RawWidth) * 10 / 8;
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowBytes);
  const Integer Groups = static_cast<Integer>(Buffer.size() / 10);
  std::vector<Integer> Samples(static_cast<std::size_t>(Groups) * 8);
  Int64 Masked = 0;
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    UnpackGroups(Bytes, Groups, 10, 8, Samples.data(), [](const Byte* B, Integer* P) {
      P[0] = B[1] << 2 | B[0] >> 6;
      P[1] = B[0] << 4 | B[3] >> 4;
      P[2] = B[3] << 6 | B[2] >> 2;
      P[3] = B[2] << 8 | B[5];
      P[4] = B[4] << 2 | B[7] >> 6;
      P[5] = B[7] << 4 | B[6] >> 4;
      P[6] = B[6] << 6 | B[9] >> 2;
      P[7] = B[9] << 8 | B[8];
    });
    for (Integer Col = 0; Col < static_cast<Integer>(Samples.size()); ++Col) {
      const Integer Value = Samples[Col] & 0x3FF;
      if (Col < Context.Width)
        RawStoreSample(Context, Row, Col, Value << 4);
      else
        Masked += Value;
    }
  });
  RawBlackFromMasked(Context, Masked, 16, Int64(Context.RawWidth) - Context.Width, Context.Height);
}

void RawLoadNikonE2100(TCameraRawContext& Context) {
  const Int64 RowBytes = Int64(Context.Width) * 3 / 2;
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowBytes);
  const Integer Groups = static_cast<Integer>(Buffer.size() / 12);
  std::vector<Integer> Samples(static_cast<std::size_t>(Groups) * 8);
  Integer Row = 0;
  // The even rows come first; a gap separates them from the odd rows.
  RawProgressStart(Context, Context.Height);
  for (Integer Stored = 0; Stored < Context.Height && !Context.InputEnded; ++Stored, Row += 2) {
    RawProgressRow(Context, Stored);
    if (Row >= Context.Height) {
      RawSkip(Context, Context.Width == 1616 ? 8792 : 424);
      Row = 1;
    }
    RawRead(Context, Buffer.data(), static_cast<Integer>(Buffer.size()));
    UnpackGroups(Buffer.data(), Groups, 12, 8, Samples.data(), [](const Byte* B, Integer* P) {
      P[0] = B[2] >> 4 | B[3] << 4;
      P[1] = B[1] | B[2] << 8;
      P[2] = B[7] >> 4 | B[0] << 4;
      P[3] = B[6] | B[7] << 8;
      P[4] = B[4] >> 4 | B[5] << 4;
      P[5] = B[4] << 8 | B[11];
      P[6] = B[9] >> 4 | B[10] << 4;
      P[7] = B[8] | B[9] << 8;
    });
    for (Integer Col = 0; Col < static_cast<Integer>(Samples.size()); ++Col)
      RawStoreSample(Context, Row, Col, (Samples[Col] & 0xFFF) << 2);
  }
}

void RawLoadCasioQV5700(TCameraRawContext& Context) {
  constexpr Integer RowBytes = 3232, UsedBytes = 3220;
  std::vector<Byte> Buffer = RawRowBuffer(Context, RowBytes);
  Integer Samples[UsedBytes / 5 * 4];
  RawForEachRow(Context, Buffer, Context.Height, [&](Integer Row, const Byte* Bytes) {
    UnpackGroups(Bytes, UsedBytes / 5, 5, 4, Samples, [](const Byte* B, Integer* P) {
      P[0] = B[0] << 2 | B[1] >> 6;
      P[1] = B[1] << 4 | B[2] >> 4;
      P[2] = B[2] << 6 | B[3] >> 2;
      P[3] = B[3] << 8 | B[4];
    });
    for (Integer Col = 0; Col < UsedBytes / 5 * 4; ++Col)
      RawStoreSample(Context, Row, Col, (Samples[Col] & 0x3FF) << 4);
  });
}

void RawLoadRollei(TCameraRawContext& Context) {
  const Int64 Stride = Context.RawWidth;
  if (Stride <= 0) return;
  Int64 Head = 0;
  Int64 Tail = Stride * Context.RawHeight * 5 / 8;
  auto Store = [&](Int64 Index, Integer Sample) {
    const Int64 Row = Index / Stride - Context.TopMargin;
    const Int64 Col = Index % Stride - Context.LeftMargin;
    if (Row >= 0 && Row < Context.Height && Col >= 0 && Col < Context.Width)
      RawStoreSample(Context, static_cast<Integer>(Row), static_cast<Integer>(Col), (Sample & 0x3FF) << 4);
  };
  // Each record holds five 16-bit samples whose top six bits pack three more samples; a
  // partial record at the end is not data.
  Byte B[10];
  while (RawRemaining(Context) >= 10) {
    RawRead(Context, B, 10);
    Cardinal Packed = 0;
    for (Integer I = 0; I < 10; I += 2) {
      Store(Head++, B[I] << 8 | B[I + 1]);
      Packed = Packed << 6 | B[I] >> 2;
    }
    for (Integer Shift = 20; Shift >= 0; Shift -= 10) Store(Tail++, static_cast<Integer>(Packed >> Shift));
  }
}

void RawLoadNikon(TCameraRawContext& Context) {
  const bool DropsEveryTenth = Context.TiffCompression == 34713;
  const bool Fields = Context.Model[0] == 'E';
  const bool SecondHalf = Fields && std::atoi(Context.Model + 1) < 5000;
  if (Context.RawWidth <= 0) return;  // rows that take no data would never reach the end
  TBitBudget Bits(Context);
  RawProgressStart(Context, Context.Height);
  for (Integer Stored = 0; Stored < Context.Height && Bits.Left(); ++Stored) {
    RawProgressRow(Context, Stored);
    const Integer Row = Fields ? FieldRow(Stored, Context.Height) : Stored;
    // Older models keep the odd field in the second half of the file.
    if (Row == 1 && SecondHalf) {
      RawSeek(Context, Context.InputSize / 2);
      Bits.Restart();
    }
    for (Integer Col = 0; Col < Context.RawWidth && Bits.Left(); ++Col) {
      RawStoreSample(Context, Row, Col - Context.LeftMargin, Bits.Get(12) << 2);
      if (DropsEveryTenth && Col % 10 == 9) Bits.Get(8);
    }
  }
  Bits.Finish();
}

void RawLoadNikonE950(TCameraRawContext& Context) {
  TBitBudget Bits(Context);
  RawProgressStart(Context, Context.Height);
  for (Integer Stored = 0; Stored < Context.Height && Bits.Left(); ++Stored) {
    RawProgressRow(Context, Stored);
    const Integer Row = (2 * Stored) % Context.Height;
    for (Integer Col = 0; Col < Context.Width && Bits.Left(); ++Col)
      RawStoreSample(Context, Row, Col, Bits.Get(10) << 4);
    Bits.SkipBytes(28);
  }
  Bits.Finish();
}

void RawLoadOlympusC(TCameraRawContext& Context) {
  // Each field starts on a 2048-byte boundary after the previous one.
  const Int64 FieldBytes = (Int64(Context.Width) * Context.Height * 3 / 4 + 2047) / 2048 * 2048;
  if (Context.Width <= 0) return;
  TBitBudget Bits(Context);
  RawProgressStart(Context, Context.Height);
  for (Integer Stored = 0; Stored < Context.Height && Bits.Left(); ++Stored) {
    RawProgressRow(Context, Stored);
    const Integer Row = FieldRow(Stored, Context.Height);
    if (Row < 2) {
      RawSeek(Context, Context.DataOffset + Row * FieldBytes);
      Bits.Restart();
    }
    for (Integer Col = 0; Col < Context.Width && Bits.Left(); ++Col)
      RawStoreSample(Context, Row, Col, Bits.Get(12) << 2);
  }
  Bits.Finish();
}

void RawLoadPacked12(TCameraRawContext& Context) {
  // RawWidth counts the bytes of a stored row here.
  const Int64 Padding = Int64(Context.RawWidth) - Int64(Context.Width) * 3 / 2;
  if (Context.Width <= 0 && Padding <= 0) return;
  TBitBudget Bits(Context);
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && Bits.Left(); ++Row) {
    RawProgressRow(Context, Row);
    for (Integer Col = 0; Col < Context.Width && Bits.Left(); ++Col)
      RawStoreSample(Context, Row, Col, Bits.Get(12) << 2);
    Bits.SkipBytes(Padding);
  }
  Bits.Finish();
}
