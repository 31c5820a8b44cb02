#include "imaging/core/hyieutils.h"

Int64 IEMinFileSizeOverride = -1;
bool IEAllowFileFallback = true;
bool IEAllowChunks = true;
