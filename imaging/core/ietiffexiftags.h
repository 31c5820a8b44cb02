#pragma once
// The EXIF table's fields as TIFF tag entries, both ways: the entries a writer puts into a
// page, its EXIF and its GPS directory, and the values a reader takes from the tags it finds.
// Every TIFF reader and writer of the library (the core's EXIF block procedures and the TIFF
// filter) goes through these, so the EXIF model is the same everywhere.
#include <functional>
#include <string>
#include <vector>

#include "imaging/core/ieexiftags.h"
#include "imaging/core/ietiffhandler.h"
#include "platform/system/Types.h"

class TIEMetaParams;

constexpr Word ieTagMakerNote = 37500;
constexpr Word ieTagUserComment = 37510;

// The bytes 2, 2, 0, 0 <-> the text "2.2.0.0" (a piece that is no number gives 0).
void TiffBytesToDotted(const std::string& S, std::string& T);
void TiffDottedToBytes(const std::string& S, std::string& T);

// The entries of Directory to write for Params, little-endian, unsorted: values of at most
// 4 bytes in Value, larger ones in Data. The EXIF directory's list holds the user comment but
// not the maker note, whose bytes depend on where they go (IEExifMakerNoteAt).
TIETIFFTagList IEExifTagList(TIEMetaParams& Params, TIEExifDirectory Directory);
// The maker note's block for stream position Position (its own offsets may count from the
// file); empty when the note holds 12 bytes or less.
std::vector<Byte> IEExifMakerNoteAt(TIEMetaParams& Params, Int64 Position);

// One tag as a reader found it: type, count and its data bytes in file order (fewer than
// count x type size when the file ends sooner).
struct TIEExifTagData {
  Word Type = 0;
  Cardinal Count = 0;
  std::string Bytes;
};
// Answers whether Directory holds Tag, filling Data.
using TIEExifTagLookup = std::function<bool(TIEExifDirectory Directory, Word Tag, TIEExifTagData& Data)>;
// Every field of the EXIF table from the tags Lookup finds (absent ones get their absent
// value), the EXIF tag list, the user comment, and the setters that keep orientation,
// resolution and description in step. ExifPresent := HasExif. The maker note is the caller's.
void IEExifReadTags(const TIEExifTagLookup& Lookup, bool BigEndian, bool HasExif, TIEMetaParams& Params);
