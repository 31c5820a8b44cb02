#pragma once
// Copies of bitmap handles, for the classes that hand out or take in handles they must own.
#include "platform/gdi/GdiObject.h"

// A bitmap of the same kind (DIB section or device bitmap), format, orientation and pixels;
// null for a null source or when out of memory.
HBITMAP DuplicateBitmap(HBITMAP Source);
