#pragma once
// The TIFF filter: reads one page of a TIFF stream (strips or tiles, every compression the
// fax, LZW, PackBits, deflate and JPEG codecs give) into a TIEBitmap and writes a picture as
// one page of a little-endian TIFF, new or inserted into an existing file. The EXIF block of
// the imaging core reads and writes its TIFF structure through the same reader and writer.
//
// Files of the filter, one purpose each:
//   tiffiltread.cpp       TiffReadStream
//   tiffiltbridge.cpp     the reader and writer as the imaging core's EXIF procedures
//   tiffiltdir*.cpp       directory walk and typed tag access, metadata blocks, content tests
//   tiffiltexif*.cpp      descriptive, EXIF and GPS tags read and written, TiffInjectExif
//   tiffiltdecode*.cpp    strips, tiles, old-style JPEG, row decompression, predictor
//   tiffiltrows*.cpp      decoded rows into the picture's pixel format
//   tiffiltwrite*.cpp     TiffWriteStream, strips, PackBits, the entry list
// Fax coding is in tifccitt.h, LZW in imaging/formats/tiflzw.h.
//
// Nothing here raises for a malformed file: every failure sets *Progress.Aborting. Every
// offset, count and length taken from a file is checked against the stream's size before use.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/ietiffexiftags.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIEMask;
class TIEMetaParams;
class TStream;

// ---------------------------------------------------------------------------------------------
// Directory and tag access (tiffiltdir*.cpp)

// One 12-byte directory entry. After TiffReadDirectory the four fields are in machine order;
// for a big-endian file a BYTE value in the entry then sits in the top 8 bits of Value and a
// SHORT value in the top 16 bits (in a little-endian file: the low 8 and 16 bits).
struct TIFFTagEntry {
  Word Tag = 0;
  Word Type = 0;
  Cardinal Count = 0;
  Cardinal Value = 0;
};

// One directory being read. Every offset of the file counts from Base.
struct TIFFDirectory {
  bool LittleEndian = true;
  TStream* Stream = nullptr;
  // Empty when no directory has been read.
  std::vector<TIFFTagEntry> Entries;
  Int64 Base = 0;
};

// Loads directory number Index of the chain whose first directory is at Offset; Count := the
// directories walked (the number of pages when Index lies beyond the last). False when no
// entries were loaded. Dir's stream, byte order and base are set by the caller.
bool TiffReadDirectory(Integer Index, Int64 Offset, TIFFDirectory& Dir, Integer& Count);
// Index of the first entry with Tag, -1 when absent.
Integer TiffFindTag(Word Tag, const TIFFDirectory& Dir);
Integer TiffGetInteger(const TIFFDirectory& Dir, Word Tag, Integer Default);
// Value number Index of a SHORT or LONG tag; Default when absent, past the count or of
// another type.
Integer TiffGetIntegerAt(const TIFFDirectory& Dir, Word Tag, Integer Index, Integer Default);
// All values of a SHORT or LONG tag; the count (0, Values empty, when absent or larger than
// the stream).
Integer TiffGetIntegerArray(const TIFFDirectory& Dir, std::vector<Integer>& Values, Word Tag);
Double TiffGetRational(const TIFFDirectory& Dir, Word Tag, Double Default);
Double TiffGetRationalAt(const TIFFDirectory& Dir, Word Tag, Integer Index, Double Default);
// The tag's data (count x type size bytes); empty when absent or not inside the stream.
std::vector<Byte> TiffGetBlock(const TIFFDirectory& Dir, Word Tag);
void TiffGetString(const TIFFDirectory& Dir, Word Tag, bool TrimAtZero, std::string& S);
void TiffGetInlineString(const TIFFDirectory& Dir, Word Tag, std::string& S);
void TiffGetWideString(const TIFFDirectory& Dir, Word Tag, std::u16string& W);
// TiffBytesToDotted and TiffDottedToBytes (2, 2, 0, 0 <-> "2.2.0.0") are the EXIF table's,
// in imaging/core/ietiffexiftags.h.

struct TTIFFVars;
// ColorMap (320) into Vars.ColorMap, 2^Vars.BitsPerSample entries.
void TiffReadColorMap(const TIFFDirectory& Dir, TTIFFVars& Vars);
// ExtraSamples (338) into Vars.ExtraSamples, at most 10 values.
void TiffReadExtraSamples(const TIFFDirectory& Dir, TTIFFVars& Vars);
// BitsPerSample (258) into BitsPerSample (1 when absent); false when two values differ.
bool TiffCheckBitsPerSample(const TIFFDirectory& Dir, Integer& BitsPerSample);

// Metadata blocks of the page (the maker note: of the EXIF directory) into the parameters.
void TiffReadIPTC(const TIFFDirectory& Dir, TIOParamsVals& IOParams);
void TiffReadXMP(const TIFFDirectory& Dir, TIOParamsVals& IOParams);
void TiffReadICCProfile(const TIFFDirectory& Dir, TIOParamsVals& IOParams);
void TiffReadAnnotations(const TIFFDirectory& Dir, TIOParamsVals& IOParams);
void TiffReadMakerNote(const TIFFDirectory& Dir, TIEMetaParams& Params);

// Content tests; the stream position is restored.
bool TiffIsFile(TStream* Stream);
bool TiffIsCameraRaw(TStream* Stream);
bool HdpIsFile(TStream* Stream);

// ---------------------------------------------------------------------------------------------
// Reading (tiffiltread.cpp, tiffiltbridge.cpp)

// The reader's state for one page, cleared at the start of each read.
struct TTIFFVars {
  Integer Width = 0;
  Integer Height = 0;
  Integer SamplesPerPixel = 1;
  Integer BitsPerSample = 1;
  Integer RowsPerStrip = 0;
  Integer TileWidth = -1;  // -1: not tiled
  Integer TileLength = -1;
  Word Photometric = 2;
  Word PlanarConfig = 1;
  Word Orientation = 1;
  Word Compression = 1;
  std::vector<Integer> StripOffsets;
  std::vector<Integer> StripByteCounts;
  std::vector<Integer> TileOffsets;
  std::vector<Integer> TileByteCounts;
  std::vector<TIERGBTriple> ColorMap;
  Integer ResolutionUnit = 2;
  Double XResolution = 0;
  Double YResolution = 0;
  Integer Predictor = 1;
  std::vector<Byte> JPEGTables;
  Integer T4Options = 0;
  Integer FillOrder = 1;
  Double XPosition = 0;
  Double YPosition = 0;
  std::string DocumentName;
  std::string ImageDescription;
  std::string PageName;
  std::array<Integer, 2> PageNumber{};
  std::string Software;
  std::string Artist;
  std::array<Integer, 2> YCbCrSubSampling{2, 2};
  Integer JPEGProc = 0;
  Integer JPEGInterchangeFormat = 0;
  Integer JPEGInterchangeFormatLength = 0;
  TTiffLzwDecompressProc LzwDecompress = nullptr;
  bool LittleEndian = true;
  TIOParamsVals* IOParams = nullptr;
  // The mask alpha goes to; nullptr (and SkipAlpha set) when no alpha is delivered.
  TIEMask* AlphaMask = nullptr;
  bool SkipAlpha = false;
  // The first ExtraSamples value and all of them (at most 10).
  Integer ExtraSample = 0;
  std::vector<Integer> ExtraSamples;
};

// Reads page IOParams.TiffImageIndex into Bitmap and fills IOParams; PageCount := the pages of
// the chain. AlphaMask: nullptr or the caller's mask in; out, the mask holding alpha (made
// here when the page has alpha and none was passed). RelativeOffsets: offsets count from the
// stream position at entry. Thumbnail: the EXIF thumbnail mode (at most 400 x 400, a page
// without size still decoded, the picture cleared first). A missing page or an empty chain is
// no failure: only PageCount tells.
void TiffReadStream(TIEBitmap* Bitmap, TStream* Stream, Integer& PageCount, TIOParamsVals& IOParams,
                    TIEIOProgress& Progress, bool ParamsOnly, std::unique_ptr<TIEMask>& AlphaMask,
                    bool RelativeOffsets, bool IgnoreAlpha, bool Thumbnail);

// From the I/O start-up on, the imaging core's EXIF block reads and writes its TIFF structure
// through this filter; the shut-down gives the core back its own procedures.
void TiffInstallExifProcs();
void TiffRemoveExifProcs();

// ---------------------------------------------------------------------------------------------
// Strip and tile decoding (tiffiltdecode*.cpp)

// Each reads the page's pixels described by Vars into the allocated Bitmap.
void TiffReadStrips(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress);
// All tiles, or only IOParams.TiffTileIndex (Bitmap then has the tile's size).
void TiffReadTiles(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress);
// Compression 6, or data given by JPEGInterchangeFormat; allocates Bitmap itself.
void TiffReadOldJpeg(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress);

// ---------------------------------------------------------------------------------------------
// Row conversion (tiffiltrows*.cpp)

// One decoded row (unpacked, predictor undone) of Width pixels into bitmap row RowIndex,
// starting at byte XOffset of that row (x x 3 for ieCMYK and ieRGB48, rescaled here).
void TiffConvertRow(TTIFFVars& Vars, Byte* Row, TIEBitmap* Bitmap, Integer RowIndex, Integer XOffset,
                    Integer Width);

// ---------------------------------------------------------------------------------------------
// Writing (tiffiltwrite*.cpp)

// The entries of one directory being written, collected while their out-of-line data goes to
// the stream (each block at an even position). Short writes set *Progress.Aborting. Offsets
// are stream positions.
class TTIFFEntryWriter {
 public:
  TTIFFEntryWriter(TStream* Stream, TIEIOProgress& Progress) : FStream(Stream), FProgress(Progress) {}

  // One or two SHORT values in the entry, more out of line.
  void AddShorts(Word Tag, const std::vector<Integer>& Values);
  void AddShort(Word Tag, Integer Value) { AddShorts(Tag, {Value}); }
  // One LONG value in the entry, more out of line.
  void AddLongs(Word Tag, const std::vector<Integer>& Values);
  void AddLong(Word Tag, Integer Value) { AddLongs(Tag, {Value}); }
  // Nothing for an empty text; otherwise the text and its terminating zero (in the entry up to 3
  // characters, out of line beyond).
  void AddAscii(Word Tag, const std::string& Text);
  // Out of line, each value as a fraction of unsigned 32-bit numbers (SRATIONAL, signed, when a
  // value is negative).
  void AddRationals(Word Tag, const std::vector<Double>& Values);
  void AddRational(Word Tag, Double Value) { AddRationals(Tag, {Value}); }
  // BYTE or UNDEFINED data out of line (at most 4 bytes in the entry).
  void AddBlock(Word Tag, Word Type, const void* Data, Integer Size);
  // An entry whose value is given as is (for example an offset written later).
  void AddEntry(const TIFFTagEntry& Entry) { FEntries.push_back(Entry); }

  // At an even position: the entry count, the entries sorted by tag, NextOffset. Returns the
  // directory's position.
  Int64 WriteDirectory(Cardinal NextOffset);

  TStream* GetStream() const { return FStream; }
  TIEIOProgress& GetProgress() const { return FProgress; }
  std::vector<TIFFTagEntry>& GetEntries() { return FEntries; }

 private:
  TStream* FStream;
  TIEIOProgress& FProgress;
  std::vector<TIFFTagEntry> FEntries;
};

// Writes Bitmap (nullptr: only the descriptive, EXIF and GPS tags) as one page; Append inserts
// it at IOParams.TiffImageIndex (a negative index: last) into the little-endian TIFF at the
// stream. The file's pages (1 for a new file; 0 after any failure, which also sets Aborting).
// The corrected compression, photometric, bits and samples go back into IOParams.
Integer TiffWriteStream(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                        TIEIOProgress& Progress);
// PackBits coding of one row to Stream; a short write sets Aborting.
void TiffPackBits(const Byte* Data, Integer Length, TStream* Stream, bool& Aborting);

// ---------------------------------------------------------------------------------------------
// EXIF and GPS tags (tiffiltexif*.cpp)

// The descriptive tags of Page and the EXIF and GPS directories (each may be nullptr when the
// page has none) into Params, the maker note of the EXIF directory included.
void TiffReadExifTags(const TIFFDirectory& Page, const TIFFDirectory* Exif, const TIFFDirectory* Gps,
                      TIEMetaParams& Params);
// The descriptive tags into Page, then the EXIF directory and, when GpsVersionID is set, the
// GPS directory, each linked from Page.
void TiffWriteExifTags(TTIFFEntryWriter& Page, TIEMetaParams& Params);
// The GPS directory of Params; its position.
Int64 TiffWriteGpsDirectory(TStream* Stream, TIEIOProgress& Progress, TIEMetaParams& Params);
// Copies the descriptive and EXIF tags of IOParams into page PageIndex of a TIFF written by
// another encoder: InStream (or the file InFileName when InStream is nullptr) to OutStream (or
// the file OutFileName).
bool TiffInjectExif(TStream* InStream, TStream* OutStream, const std::string& InFileName,
                    const std::string& OutFileName, Integer PageIndex, TIOParamsVals& IOParams);
