#pragma once
// The EXIF block of JPEG files: an APP1 payload of "Exif", 0, 0 and a small TIFF structure
// whose first page holds the EXIF tags and whose second page holds a JPEG thumbnail. The TIFF
// structure itself is built and read by the TIFF filter's procedures in IEExifTiffProcs.
#include "platform/system/Types.h"

// The six bytes in front of the TIFF structure.
constexpr Byte IEEXIFHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// True when the data starts with "Exif" and a zero byte (the data read as a zero-terminated
// text is "Exif"); never reads past Length.
bool IEIsEXIFBlock(const void* Data, Integer Length);
