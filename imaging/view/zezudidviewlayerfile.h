#pragma once
// The layer file: a 25-byte header ("ZEZUDIDLAYERS", version, picture storage code, layer
// count), one record per layer and one picture block per layer at the absolute stream
// position its record names. The parser and writer here need only the core library and
// zezudidviewlayerfields.cpp, so the parser can be driven on its own (no view, no window, no
// I/O component); IERegisterLayersDetection lives with the view's layer I/O.
//
// Version history of the records: 1 the base fields, 3 added the magnifier source, the
// resample filter and its switch, the name, the user data block and the mask flag, 4 the
// selectable flag, 6 the shade-outside flag. The writer writes version 6.
#include <optional>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEFieldWriter;

constexpr char IELayersMagic[] = "ZEZUDIDLAYERS";
constexpr Integer IELayersMagicLength = 13;
constexpr Integer IELayersHeaderSize = 25;
constexpr Integer IELayersVersion = 6;
// Picture storage codes besides the file types of the I/O component.
constexpr Integer IELayersRawCompressed = -1;
constexpr Integer IELayersRaw = -2;

struct TIELayersHeader {
  Integer Version = 0;
  Integer Code = 0;
  Integer Count = 0;
};

// One layer record as stored. Fields that the file's version lacks are empty.
struct TIELayerFileRecord {
  bool Visible = true;
  bool VisibleBox = true;
  Integer Transparency = 255;
  Integer PosX = 0;
  Integer PosY = 0;
  bool ClipToBackground = false;
  bool Locked = false;
  bool MagnifierEnabled = false;
  double MagnifierRate = 2.0;
  Byte MagnifierStyle = 0;
  std::optional<Byte> MagnifierSource;  // from version 3
  Byte BlendOperation = 0;
  Integer Width = 0;
  Integer Height = 0;
  std::optional<TResampleFilter> ResampleFilter;  // from version 3, with the next four
  std::optional<bool> UseResampleFilter;
  std::optional<std::string> Name;
  std::optional<std::vector<Byte>> UserData;
  std::optional<bool> IsMask;
  std::optional<bool> Selectable;    // from version 4
  std::optional<bool> ShadeOutside;  // from version 6
  Int64 PicturePosition = 0;         // absolute position of the picture block
  // The stored bytes of a raw picture block (codes -1 and -2), its length field excluded.
  std::vector<Byte> RawPicture;
};

struct TIELayersFile {
  TIELayersHeader Header;
  std::vector<TIELayerFileRecord> Layers;
};

// Reads the 25 header bytes at the stream's position; true when the magic matches (the
// stream is then just past the header).
bool IEReadLayersHeader(TStream* Stream, TIELayersHeader& Header);
// True when a layer file with a version above 0 begins at the stream's position; the
// position is restored in every case.
bool IsLayersStream(TStream* Stream);

// Lets the I/O component's content detection recognise layer files (file type 26). Call after
// the I/O library's start-up, which clears the detector's procedures.
void IERegisterLayersDetection();

enum class TIELayersParseResult { NotLayers, BadVersion, Damaged, Ok };
// Reads header, records and the raw picture blocks, checking every count, length and position
// against what the stream holds. Nothing is allocated beyond the bytes actually present.
// Only Ok fills File completely.
TIELayersParseResult IEParseLayersStream(TStream* Stream, TIELayersFile& File);

void IEWriteLayersHeader(TIEFieldWriter& W, const TIELayersHeader& Header);
// Fields 1 to 22 of a version-6 record (the picture position follows separately).
void IEWriteLayerRecordFields(TIEFieldWriter& W, const TIELayerFileRecord& Record);
