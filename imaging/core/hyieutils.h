#pragma once
// Library start-up and shut-down, the library-wide settings the bitmap core reads, process
// facts and the thread pool.
#include "platform/system/Types.h"

// Picture size in bytes from which new bitmaps go to a temporary file; -1 lets each bitmap
// derive it from the memory available.
extern Int64 IEMinFileSizeOverride;
// A bitmap whose memory allocation fails may move to a temporary file.
extern bool IEAllowFileFallback;
// A large bitmap may be held in several memory chunks.
extern bool IEAllowChunks;
