// Channel rows of PSD files, raw or PackBits-packed.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepsdcursor.h"

void PsdUnpackRow(const Byte* In, Integer InCount, Byte* Out, Integer OutCount) {
  Integer I = 0, O = 0;
  while (I < InCount && O < OutCount) {
    const auto Control = static_cast<ShortInt>(In[I++]);
    if (Control >= 0) {
      const Integer Count = std::min({Control + 1, InCount - I, OutCount - O});
      std::memcpy(Out + O, In + I, Count);
      I += Control + 1;
      O += Count;
    } else if (Control != -128) {  // -128 is a no-op
      if (I >= InCount) break;
      const Integer Count = std::min(1 - Control, OutCount - O);
      std::memset(Out + O, In[I++], Count);
      O += Count;
    }
  }
}

void PsdReadChannel(TPsdCursor& Cursor, const Word* Counts, Integer Rows, const TPsdChannelSlot& Slot,
                    Integer Depth, Integer Width, TIEBitmap* Bitmap) {
  const Integer RowBytes = PsdRowBytes(Width, Depth);
  if (Slot.Kind == TPsdChannelSlot::None) {
    Int64 Total = 0;
    for (Integer Y = 0; Y < Rows; ++Y) Total += Counts ? Counts[Y] : RowBytes;
    Cursor.Skip(Total);
    return;
  }
  std::vector<Byte> Row(RowBytes), Packed;
  for (Integer Y = 0; Y < Rows; ++Y) {
    if (Counts) {
      Packed.resize(Counts[Y]);
      Cursor.Read(Packed.data(), Counts[Y]);
      std::fill(Row.begin(), Row.end(), Byte{0});
      PsdUnpackRow(Packed.data(), Counts[Y], Row.data(), RowBytes);
    } else {
      Cursor.Read(Row.data(), RowBytes);
    }
    PsdStoreRow(Slot, Depth, Row.data(), Bitmap, Y);
  }
}
