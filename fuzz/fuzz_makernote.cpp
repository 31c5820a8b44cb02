// The maker-note reader: the first byte chooses the enclosing file's byte order (bit 0) and
// how far into the enclosing structure the block sits (offsets of some makers count from
// there); the rest is the block. A block that reads is written back and read again.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iemakernote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const bool LittleEndian = Data[0] & 1;
  const Integer Position = Data[0] >> 1;
  TMemoryStream Stream;
  Stream.SetSize(Position);
  Stream.Seek(Position, soBeginning);
  if (Size > 1) Stream.WriteBuffer(Data + 1, static_cast<Integer>(Size - 1));
  Stream.Seek(Position, soBeginning);
  fuzz::Refusable([&] {
    TIETagsHandler Handler;
    Handler.ReadFromStream(&Stream, static_cast<Integer>(Size - 1), LittleEndian);
    if (Handler.GetTagTable().empty()) return;
    TMemoryStream Written;
    Written.SetSize(Position);
    Written.Seek(Position, soBeginning);
    const Integer Bytes = Handler.WriteToStream(&Written);
    TIETagsHandler Again;
    Written.Seek(Position, soBeginning);
    Again.ReadFromStream(&Written, Bytes, LittleEndian);
    Again.Assign(&Handler);
  });
  return 0;
}
