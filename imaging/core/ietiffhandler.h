#pragma once
// TIETIFFHandler: a whole TIFF file held as data. Every page is a list of tag entries with
// their values, strip, tile and JPEG data and sub-directories in memory, so tags can be found,
// changed and copied between files and the file (or one page) written back with every offset
// recomputed, without decoding a picture.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

struct TIETIFFTagEntry;
using TIETIFFTagList = std::vector<TIETIFFTagEntry>;

// One IFD entry. In-line values (at most 4 bytes) stay in Value, larger ones in Data, both in
// the file's byte order. A sub-directory tag owns its nested list; a data-offset tag owns one
// block per piece (strip, tile or JPEG stream) and is of type LONG.
struct TIETIFFTagEntry {
  Word Tag = 0;
  Word Type = 0;
  Cardinal Count = 0;
  std::array<Byte, 4> Value{};
  std::vector<Byte> Data;
  std::unique_ptr<TIETIFFTagList> SubIFD;
  std::vector<std::vector<Byte>> Pieces;
  bool HasPieces = false;
};

// The value SetValue stores: a number or a text.
using TIETIFFValue = std::variant<Int64, Double, std::string>;

// Tags with their own meaning to the handler.
constexpr Word ieTagStripOffsets = 273;
constexpr Word ieTagStripByteCounts = 279;
constexpr Word ieTagCompression = 259;
constexpr Word ieTagJPEGInterchangeFormat = 513;
constexpr Word ieTagJPEGInterchangeFormatLength = 514;
constexpr Word ieTagExifIFD = 34665;
constexpr Word ieTagGpsIFD = 34853;
constexpr Word ieTagInteropIFD = 40965;

// An entry of Count values of Type whose bytes (in the file's order) are Bytes: in the entry
// when they fit in 4 bytes, else in its data.
TIETIFFTagEntry IEMakeTIFFEntry(Word Tag, Word Type, Cardinal Count, std::vector<Byte> Bytes);

// Positions the stream on an even byte, writing one zero byte when it is odd; the position.
Int64 IEAlignStreamToWord(TStream* Stream);

class TIETIFFHandler : public TObject {
 public:
  // Empty: no pages, little-endian, version 42.
  TIETIFFHandler() = default;
  explicit TIETIFFHandler(std::string_view FileName);
  explicit TIETIFFHandler(TStream* Stream);
  TIETIFFHandler(const TIETIFFHandler&) = delete;
  TIETIFFHandler& operator=(const TIETIFFHandler&) = delete;

  // False for a missing file. Other file errors raise.
  bool ReadFile(std::string_view FileName);
  // Reads from the stream's position 0 (all offsets are stream positions); false when the
  // header is not TIFF. Everything read is bounded by the stream: values past its end are
  // cut, a chain of pages or sub-directories that loops is followed once.
  bool ReadStream(TStream* Stream);

  // Writes at the stream's position, which is where offsets count from: write at 0. A
  // PageIndex outside the pages writes them all. Stream errors raise.
  void WriteStream(TStream* Stream, Integer PageIndex);
  // One page's directory and data at the stream's position (made even first), offsets counted
  // from stream position 0, with no next page; the directory's position. Appends a page to a
  // file whose other pages stay where they are.
  Int64 WritePage(TStream* Stream, Integer PageIndex);
  // A file written whole or not at all.
  void WriteFile(std::string_view FileName, Integer PageIndex);

  Integer FindTagInList(const TIETIFFTagList& List, Integer Tag) const;
  // -1 also for a page that does not exist.
  Integer FindTag(Integer PageIndex, Integer Tag) const;

  // Value Index of the entry, inside the entry or its block; nil past the values held.
  const Byte* GetValuePtr(const TIETIFFTagEntry& Entry, Integer Index) const;
  // BYTE, ASCII, UNDEFINED: unsigned byte; SBYTE: signed; SHORT, SSHORT: 16 bits unsigned;
  // LONG, SLONG: 32 bits; others and missing values 0.
  Integer GetValue(const TIETIFFTagList& List, Integer EntryIndex, Integer Index) const;
  // 0 when the tag is absent.
  Integer GetIntegerByCode(const TIETIFFTagList& List, Integer Tag, Integer Index) const;

  // Replaces the tag by one value of Type (RATIONAL as value x 10000 / 10000, ASCII with its
  // terminating zero), appended unsorted.
  void SetValue(TIETIFFTagList& List, Word Tag, const TIETIFFValue& Value, Word Type);
  // The entry goes with everything it owns; a negative index does nothing.
  void DeleteTagFromList(TIETIFFTagList& List, Integer EntryIndex);
  void DeleteTag(Integer PageIndex, Integer EntryIndex);
  void DeletePage(Integer PageIndex);
  void FreeData();
  void SortPage(Integer PageIndex);
  static void SortList(TIETIFFTagList& List);

  // Only between handlers of one byte order: replaces the tag in the destination by a deep
  // copy of the source entry.
  void CopyTag(Integer SourcePage, Integer EntryIndex, Integer DestPage, const TIETIFFHandler& Source);
  void CopyTagFromList(const TIETIFFTagList& SourceList, Integer EntryIndex, TIETIFFTagList& DestList,
                       const TIETIFFHandler& Source);

  static bool IsSubIFDTag(Integer Tag);
  // The data-offset tag and its byte-count tag, or -1 and -1 when Tag is not one of them.
  void GetOffsetLengthTags(Integer Tag, Integer& OffsetTag, Integer& LengthTag) const;

  // Numbers in the file's byte order.
  Word XWord(const Byte* P) const;
  Cardinal XDWord(const Byte* P) const;

  bool GetBigEndian() const { return FBigEndian; }
  void SetBigEndian(bool Value) { FBigEndian = Value; }
  Word GetVersion() const { return FVersion; }
  Integer GetPageCount() const { return static_cast<Integer>(FPages.size()); }
  TIETIFFTagList& GetPage(Integer PageIndex) { return FPages.at(PageIndex); }
  // A new empty page at Index (clamped to the pages).
  TIETIFFTagList& InsertPage(Integer Index);

 private:
  struct TReadState;
  Int64 ReadHeader(TStream* Stream);
  void ReadIFD(TReadState& State, Int64 Offset, Integer Index, TIETIFFTagList* List, Integer Depth);
  bool ReadEntry(TReadState& State, TIETIFFTagEntry& Entry, Integer Depth);
  void ReadPieces(TReadState& State, TIETIFFTagList& List);
  void WriteIFD(TStream* Stream, TIETIFFTagList& List, Int64& DataPosition);
  std::array<Byte, 12> WriteTagData(TStream* Stream, const TIETIFFTagEntry& Entry, Int64& DataPosition);
  void PutEntry(Byte* Out, Word Tag, Word Type, Cardinal Count, const Byte* Value) const;

  bool FBigEndian = false;
  Word FVersion = 42;
  std::vector<TIETIFFTagList> FPages;
};
