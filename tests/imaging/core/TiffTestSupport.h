#pragma once
// Hand-made TIFF-structured bytes for the directory, maker-note and EXIF tests: numbers in
// either byte order appended to a byte vector, and directories built from entry rows.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/core/ieioparams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffhandler.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

namespace tifftest {

using TBytes = std::vector<Byte>;

inline void AddWord(TBytes& Out, Word Value, bool BigEndian) {
  Out.resize(Out.size() + 2);
  IEPutWord(Out.data() + Out.size() - 2, Value, BigEndian);
}

inline void AddDWord(TBytes& Out, Cardinal Value, bool BigEndian) {
  Out.resize(Out.size() + 4);
  IEPutDWord(Out.data() + Out.size() - 4, Value, BigEndian);
}

inline void AddText(TBytes& Out, std::string_view Text) {
  Out.insert(Out.end(), Text.begin(), Text.end());
}

// One directory entry; Value is the 32-bit field as a number (an offset, or a LONG).
struct TEntry {
  Word Tag;
  Word Type;
  Cardinal Count;
  Cardinal Value;
};

// A SHORT held in the entry sits in the field's first two bytes, in the file's order.
inline Cardinal InlineShort(Word Value, bool BigEndian) {
  return BigEndian ? Cardinal(Value) << 16 : Value;
}

inline void AddDirectory(TBytes& Out, const std::vector<TEntry>& Entries, Cardinal Next, bool BigEndian) {
  AddWord(Out, static_cast<Word>(Entries.size()), BigEndian);
  for (const auto& E : Entries) {
    AddWord(Out, E.Tag, BigEndian);
    AddWord(Out, E.Type, BigEndian);
    AddDWord(Out, E.Count, BigEndian);
    AddDWord(Out, E.Value, BigEndian);
  }
  AddDWord(Out, Next, BigEndian);
}

inline TBytes StreamBytes(TMemoryStream& Stream) {
  const auto* Data = static_cast<const Byte*>(Stream.GetMemory());
  return TBytes(Data, Data + Stream.GetSize());
}

inline void Load(TMemoryStream& Stream, const TBytes& Bytes) {
  Stream.Clear();
  if (!Bytes.empty()) Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream.Seek(0, soBeginning);
}

// A maker note without signature (offsets count from the enclosing TIFF structure) holding an
// out-of-line text: it reads back only when its offsets were made for the place it is written at.
inline void FillMakerNote(TIEMetaParams& Params) {
  using namespace std::string_literals;
  TBytes Block;
  AddDirectory(Block, {{1, ietASCII, 12, 2 + 12 + 4}}, 0, false);
  AddText(Block, "maker text\0\0"s);
  TMemoryStream Stream;
  Load(Stream, Block);
  Params.GetExifMakerNote().ReadFromStream(&Stream, static_cast<Integer>(Block.size()), true);
}

inline std::string MakerNoteText(TIEMetaParams& Params) {
  const auto& Table = Params.GetExifMakerNote().GetTagTable();
  if (Table.size() != 1) return {};
  const auto* Data = static_cast<const char*>(Params.GetExifMakerNote().GetIFD().GetMemory());
  return std::string(Data + Table[0].Offset, Table[0].Count);
}

// The EXIF and GPS values both TIFF-structure tests write and read back; each test adds its own.
inline void FillCommonExif(TIEMetaParams& Params) {
  Params.ExifPresent = true;
  Params.ExifImageDescription = "a picture";
  Params.ExifMake = "Maker";
  Params.SetExifXResolution(72);
  Params.SetExifYResolution(96.5);
  Params.SetExifExposureTime(0.004);
  Params.SetExifExposureBiasValue(-0.7);
  Params.SetExifFlash(16);
  Params.ExifISOSpeedRatings = {200, 0};
  Params.ExifExifVersion = "0220";
  Params.ExifDateTimeOriginal = "2026:12:11 03:30:00";
  Params.ExifUserComment = u"Grüße";
  Params.ExifXPTitle = u"Title";
  Params.ExifWhitePoint = {0.3127, 0.329};
  Params.ExifRating = 4;
  Params.GpsVersionID = "2.2.0.0";
  Params.GpsLatitudeRef = "N";
  Params.GpsLatitude = {51, 30, 12.5};
  Params.GpsDestLatitudeRef = "S";
  Params.GpsDestLongitudeRef = "E";
  Params.GpsAltitudeRef = "1";
  Params.GpsAltitude = 12.25;
  Params.GpsMapDatum = "WGS-84";
  FillMakerNote(Params);
}

}  // namespace tifftest
