#pragma once
// TIETagsHandler: the maker note of an EXIF block (tag 37500) as a normalised directory. A
// camera's private block is read into a copy of its tag directory that is little-endian
// throughout, values included, with every out-of-line value moved behind the entries; it is
// written back with offsets that fit its new place in a new EXIF structure, in the maker's
// byte order.
#include <array>
#include <string>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

// How one maker lays out its block: a signature, then a directory whose out-of-line offsets
// count from the enclosing TIFF structure (OffsetMode 0) or from the maker's own header or
// block start (1). HeaderKind 0: the directory follows the signature; 1: an 8-byte TIFF header
// follows it; 2: a 32-bit little-endian directory offset follows it. ByteOrderMode 0: the
// enclosing file's order; 1: the embedded header's; 2: little-endian; 3: big-endian.
struct TIEEXIFMakerNoteDeviceInfo {
  std::string Signature;
  Byte OffsetMode = 0;
  Byte HeaderKind = 0;
  std::array<Byte, 8> Header{};
  Byte ByteOrderMode = 0;
};

// One 12-byte directory entry; Offset holds an in-line value's bytes in little-endian order.
struct TIEMakerNoteEntry {
  Word Tag = 0;
  Word Type = 0;
  Cardinal Count = 0;
  Cardinal Offset = 0;
};

constexpr Integer ieMakerNoteMaxEntries = 256;
constexpr Integer ieMakerNoteMaxWritten = 65000;

class TIETagsHandler : public TObject {
 public:
  TIETagsHandler() = default;
  TIETagsHandler(const TIETagsHandler&) = delete;
  TIETagsHandler& operator=(const TIETagsHandler&) = delete;

  void Clear();
  void Assign(const TIETagsHandler* Source);
  void SetRawData(std::vector<Byte> Block);
  // Chooses the device record for the raw block.
  void DetectMakerNote();
  // Reads a block of Size bytes at the stream's position, whose stream position 0 is the start
  // of the enclosing TIFF structure; LittleEndian is that structure's byte order. A block that
  // is not a readable directory leaves the handler cleared.
  void ReadFromStream(TStream* Stream, Integer Size, bool LittleEndian);
  // The bytes written at the stream's position (stream position 0 being the start of the
  // enclosing TIFF structure), or 0 with the position set back when the block would exceed
  // ieMakerNoteMaxWritten bytes.
  Integer WriteToStream(TStream* Stream);
  void UpdateTagTable();

  // The normalised directory: 16-bit count, entries, values; offsets from its start.
  TMemoryStream& GetIFD() { return FIFD; }
  const std::vector<TIEMakerNoteEntry>& GetTagTable() const { return FTagTable; }
  const std::vector<Byte>& GetRawData() const { return FRawData; }
  const TIEEXIFMakerNoteDeviceInfo& GetDeviceInfo() const { return FDevice; }

 private:
  bool ReadDirectory(Int64 BlockPosition, bool LittleEndian);

  std::vector<Byte> FRawData;
  TIEEXIFMakerNoteDeviceInfo FDevice;
  TMemoryStream FIFD;
  std::vector<TIEMakerNoteEntry> FTagTable;
};
