#include "imaging/io/iereadlimits.h"

#include "platform/system/Streams.h"

Int64 IEStreamBytesLeft(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  const Int64 Size = Stream->GetSize();
  if (Position < 0 || Size < 0) return -1;
  return Size > Position ? Size - Position : 0;
}

bool IEClaimExceedsData(Int64 Items, Int64 UnitsPerItem, Int64 DataBytes, Int64 UnitsPerByte) {
  if (DataBytes < 0) return false;
  // Both products of two header fields can pass 64 bits.
  __extension__ typedef unsigned __int128 Wide;
  return static_cast<Wide>(Items) * static_cast<Wide>(UnitsPerItem) >
         static_cast<Wide>(DataBytes) * static_cast<Wide>(UnitsPerByte);
}
