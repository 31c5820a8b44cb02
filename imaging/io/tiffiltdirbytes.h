#pragma once
// Bounded reads of a TIFF directory's values, shared by the filter's directory files: every
// offset counts from the directory's base and nothing is read outside the stream.
#include <array>
#include <vector>

#include "imaging/io/tiffilt.h"
#include "platform/system/Types.h"

// Counts above this leave a string unchanged: no text tag is that long.
constexpr Cardinal TiffMaxStringCount = 0xFFFFF;

// The four bytes of the entry's value field in file order.
std::array<Byte, 4> TiffInlineBytes(const TIFFDirectory& Dir, const TIFFTagEntry& Entry);
// Bytes of the entry's values (count x type size).
Int64 TiffEntryBytes(const TIFFTagEntry& Entry);
// The size of the directory's stream.
Int64 TiffStreamSize(const TIFFDirectory& Dir);
// Count bytes at Offset (from the base) when they all lie inside the stream; else empty.
std::vector<Byte> TiffReadAt(const TIFFDirectory& Dir, Int64 Offset, Int64 Count);
// The entry's data, in the entry or out of line; empty when it is not inside the stream.
std::vector<Byte> TiffEntryData(const TIFFDirectory& Dir, const TIFFTagEntry& Entry);
