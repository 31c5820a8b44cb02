// The SIGMA (Foveon) loader: three channels a cell, Huffman-coded differences from a table of
// codes the file carries.
#include <algorithm>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

constexpr Integer FoveonTableSize = 1024;
constexpr Integer FoveonTables = 260;

// A code is its length (top 5 bits) with its value (low 27 bits). A node whose code is in
// the table is that entry's leaf; longer codes than 26 bits end the branch.
TRawDecodeNode* MakeFoveonDecoder(TCameraRawContext& Context, const Cardinal* Codes, Cardinal Length,
                                  Cardinal Value) {
  TRawDecodeNode* Node = RawTakeDecodeNode(Context);
  const Cardinal Code = Length << 27 | Value;
  if (Code != 0)
    for (Integer I = 0; I < FoveonTableSize; ++I)
      if (Codes[I] == Code) {
        Node->Leaf = I;
        return Node;
      }
  if (Length > 26) return Node;
  Node->Branch[0] = MakeFoveonDecoder(Context, Codes, Length + 1, (Value * 2) & 0x7FFFFFF);
  Node->Branch[1] = MakeFoveonDecoder(Context, Codes, Length + 1, (Value * 2 + 1) & 0x7FFFFFF);
  return Node;
}

struct TFoveonBits {
  Integer Position = -1;  // bits left in Word; 0 loads the next word
  Cardinal Word = 0;
};

Integer NextBit(TCameraRawContext& Context, TFoveonBits& Bits) {
  if (Bits.Position == 0) {
    const Cardinal A = RawGetByte(Context), B = RawGetByte(Context), C = RawGetByte(Context),
                   D = RawGetByte(Context);
    Bits.Word = A << 24 | B << 16 | C << 8 | D;
  }
  Bits.Position = (Bits.Position - 1) & 31;
  return static_cast<Integer>(Bits.Word >> Bits.Position & 1);
}

}  // namespace

void RawLoadFoveon(TCameraRawContext& Context) {
  short Differences[FoveonTableSize];
  Cardinal Codes[FoveonTableSize];
  RawSeek(Context, FoveonTables);
  for (short& Diff : Differences) Diff = static_cast<short>(RawGet2(Context));
  for (Cardinal& Code : Codes) Code = RawGet4(Context);
  RawInitDecoder(Context);
  const TRawDecodeNode* Root = MakeFoveonDecoder(Context, Codes, 0, 0);
  TFoveonBits Bits;
  RawProgressStart(Context, Context.RawHeight);
  for (Integer Row = 0; Row < Context.RawHeight && !Context.InputEnded; ++Row) {
    RawProgressRow(Context, Row);
    Integer Predictor[3] = {0, 0, 0};
    // A row that ended on a word boundary is followed by one padding word.
    if (Bits.Position == 0) RawGet4(Context);
    Bits.Position = 0;
    // The stored width comes from the file: a row is not run on past the data's end.
    for (Integer Col = 0; Col < Context.RawWidth && !Context.InputEnded; ++Col) {
      for (Integer& Channel : Predictor) {
        const TRawDecodeNode* Node = Root;
        while (Node->Branch[0] != nullptr) Node = Node->Branch[NextBit(Context, Bits)];
        Channel = RawAddDifference(Channel, Differences[Node->Leaf]);
      }
      const Integer PictureRow = Row - Context.TopMargin;
      const Integer PictureCol = Col - Context.LeftMargin;
      if (!RawInsidePicture(Context, PictureRow, PictureCol) || (PictureRow == 0 && PictureCol == 0))
        continue;
      Word* Pixel = RawPixel(Context, PictureRow, PictureCol);
      for (Integer C = 0; C < 3; ++C)
        if (Predictor[C] > 0) Pixel[C] = static_cast<Word>(std::min(Predictor[C], 0xFFFF));
    }
  }
}
