#pragma once
// The EXIF model of the library as one table: every EXIF and GPS value of TIEMetaParams with
// its tag, directory, form in the file, absent values and when it is written. Reset, copy,
// the EXIF reader and the EXIF writer all walk it.
#include <span>
#include <string>
#include <variant>

#include "platform/system/Types.h"

class TIEMetaParams;

enum class TIEExifDirectory : Byte { Page, Exif, Gps };

enum class TIEExifKind : Byte {
  Text,        // ASCII; more than 4 bytes are cut at the first zero
  InlineText,  // ASCII taken whole, written in the entry (count = length)
  Rational,    // Count rationals
  Short,       // Count integers
  Undefined,   // an integer in one UNDEFINED byte
  WideText,    // BYTE holding UTF-16 text and a zero character
  GpsVersion,  // four bytes as dotted text
  ByteText,    // one BYTE kept as decimal text
};

enum class TIEExifWrite : Byte {
  Present,      // written when any value differs from the reset value (texts: not empty)
  Listed,       // written when the tag is in ExifTags
  Always,       // written whatever the value (texts: not empty)
  NonNegative,  // written when 0 or more
};

using TIEExifFieldRef = std::variant<std::string*, std::u16string*, Double*, Integer*>;

struct TIEExifField {
  Word Tag;
  TIEExifDirectory Directory;
  TIEExifKind Kind;
  Byte Count;
  Double ResetValue;  // after ResetEXIF
  Double ReadAbsent;  // what the reader stores when the file has no such tag
  TIEExifWrite Write;
  TIEExifFieldRef (*Field)(TIEMetaParams& Params);
};

std::span<const TIEExifField> IEExifFields();

// Sets every value of the field (Count of them) to Value; texts are emptied.
void IEExifSetAll(const TIEExifField& Field, TIEMetaParams& Params, Double Value);
// Copies the field's values from Source to Dest.
void IEExifCopyField(const TIEExifField& Field, TIEMetaParams& Source, TIEMetaParams& Dest);
// True when some value differs from Value (texts: not empty).
bool IEExifDiffers(const TIEExifField& Field, TIEMetaParams& Params, Double Value);
