#pragma once
// Caps on the picture sizes that file headers claim: a reader asks before it allocates whether
// the data still in the stream could hold the claimed picture, so that a few bytes claiming a
// huge picture are refused instead of allocating it.
#include "platform/system/Types.h"

class TStream;

// Bytes from the stream's position to its end; -1 when the stream cannot tell its size.
Int64 IEStreamBytesLeft(TStream* Stream);

// True when Items x UnitsPerItem units (bytes or pixels; every factor 0 or more) need more than
// DataBytes bytes can give at UnitsPerByte units a byte at most. An unknown amount of data
// (DataBytes < 0) holds anything.
bool IEClaimExceedsData(Int64 Items, Int64 UnitsPerItem, Int64 DataBytes, Int64 UnitsPerByte);
