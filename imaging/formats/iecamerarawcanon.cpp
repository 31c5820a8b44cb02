// Canon's compressed CRW data: blocks of 64 Huffman-coded differences, eight sensor rows at a
// time, optionally followed by each sample's two low bits stored apart.
#include <memory>
#include <new>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

constexpr Integer BandRows = 8;
constexpr Integer BlockSize = 64;

// One block's differences; the first comes from the first tree, the rest are runs and lengths.
void DecodeBlock(TCameraRawContext& Context, Integer (&Diffs)[BlockSize]) {
  for (Integer& Diff : Diffs) Diff = 0;
  const TRawDecodeNode* Tree = Context.DecodeNodes;
  for (Integer I = 0; I < BlockSize;) {
    const Integer Leaf = RawDecodeSymbol(Context, Tree);
    Tree = Context.SecondDecode;
    if (Leaf == 0 && I != 0) break;
    if (Leaf == 0xFF) {
      ++I;
      continue;
    }
    I += Leaf >> 4;
    const Integer Length = Leaf & 15;
    if (Length != 0) {
      const Integer Diff = RawGetDifference(Context, Length);
      if (I < BlockSize) Diffs[I] = Diff;
    }
    ++I;
  }
}

// Shifts each sample of the band up by two bits taken from the separate low-bit area.
void AddLowBits(TCameraRawContext& Context, Word* Band, Integer Row) {
  const Int64 Save = RawTell(Context);
  RawSeek(Context, 26 + static_cast<Int64>(Row) * Context.RawWidth / 4);
  Word* Sample = Band;
  for (Integer I = 0; I < Context.RawWidth * 2; ++I) {
    const Integer Bits = RawGetByte(Context);
    for (Integer Shift = 0; Shift < 8; Shift += 2, ++Sample) {
      Integer Value = (*Sample << 2) + ((Bits >> Shift) & 3);
      if (Context.RawWidth == 2672 && Value < 512) Value += 2;
      *Sample = static_cast<Word>(Value);
    }
  }
  RawSeek(Context, Save);
}

}  // namespace

void RawLoadCanonCompressed(TCameraRawContext& Context) {
  const Integer RawWidth = Context.RawWidth;
  if (RawWidth < BandRows) return;
  std::unique_ptr<Word[]> Band(new (std::nothrow) Word[static_cast<std::size_t>(BandRows) * RawWidth]);
  RawCheckAlloc(Band.get(), "canon_compressed_load_raw()");
  if (Context.SecondDecode == nullptr) RawInitCanonTables(Context, 0);
  const bool LowBits = RawCanonHasLowBits(Context);
  const Integer Shift = LowBits ? 2 : 4;
  RawSeek(Context, 540 + (LowBits ? static_cast<Int64>(Context.RawHeight) * RawWidth / 4 : 0));
  Context.ZeroAfterFF = 1;
  RawGetBits(Context, -1);
  Integer Carry = 0;
  Int64 Count = 0;
  Integer Base[2] = {512, 512};
  Int64 MarginSum = 0;
  RawProgressStart(Context, Context.RawHeight);
  for (Integer Row = 0; Row < Context.RawHeight && !Context.InputEnded; Row += BandRows) {
    RawProgressRow(Context, Row);
    Word* Sample = Band.get();
    for (Integer Block = 0; Block < RawWidth / 8 && !Context.InputEnded; ++Block) {
      Integer Diffs[BlockSize];
      DecodeBlock(Context, Diffs);
      Diffs[0] = RawAddDifference(Diffs[0], Carry);
      Carry = Diffs[0];
      for (Integer I = 0; I < BlockSize; ++I, ++Sample) {
        if (Count++ % RawWidth == 0) Base[0] = Base[1] = 512;
        Base[I & 1] = RawAddDifference(Base[I & 1], Diffs[I]);
        *Sample = static_cast<Word>(Base[I & 1]);
      }
    }
    if (LowBits) AddLowBits(Context, Band.get(), Row);
    for (Integer R = 0; R < BandRows; ++R) {
      const Integer PictureRow = Row + R - Context.TopMargin;
      if (static_cast<Cardinal>(PictureRow) >= static_cast<Cardinal>(Context.Height)) continue;
      const Word* Line = Band.get() + static_cast<std::size_t>(R) * RawWidth;
      for (Integer Col = 0; Col < RawWidth; ++Col) {
        const Integer PictureCol = Col - Context.LeftMargin;
        if (static_cast<Cardinal>(PictureCol) < static_cast<Cardinal>(Context.Width))
          RawBayerCell(Context, PictureRow, PictureCol) = static_cast<Word>(Line[Col] << Shift);
        else
          MarginSum += Line[Col];
      }
    }
  }
  if (Context.Width < RawWidth && Context.Height > 0)
    Context.Black = static_cast<Integer>((MarginSum << Shift) /
                                         (static_cast<Int64>(RawWidth - Context.Width) * Context.Height));
}
