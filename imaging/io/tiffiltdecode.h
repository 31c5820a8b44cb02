#pragma once
// What the strip and tile decoders of the TIFF filter share between their files
// (tiffiltdecode*.cpp): the per-strip decoding state, the row decompression, the predictor and
// the strip decoders. Every read of strip data stays inside the buffer the state was given.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Types.h"

class TIEBitmap;

// Compression tag values the decoders tell apart.
constexpr Word TiffCompressionNone = 1;
constexpr Word TiffCompressionHuffman = 2;
constexpr Word TiffCompressionFax3 = 3;
constexpr Word TiffCompressionFax4 = 4;
constexpr Word TiffCompressionLzw = 5;
constexpr Word TiffCompressionOldJpeg = 6;
constexpr Word TiffCompressionJpeg = 7;
constexpr Word TiffCompressionDeflate = 8;
constexpr Word TiffCompressionPackBits = 32773;
constexpr Word TiffCompressionOldDeflate = 32946;

// No pixel layout takes more samples or wider ones; pages beyond decode nothing.
constexpr Integer TiffMaxSamples = 16;
constexpr Integer TiffMaxBitsPerSample = 16;
// Planar pages keep one buffer per plane.
constexpr Integer TiffMaxPlanes = 10;

// One page being decoded: where its pixels go and how far the load's progress has come.
struct TTiffDecodeJob {
  const TIFFDirectory& Dir;
  TTIFFVars& Vars;
  TIEBitmap* Bitmap;
  TIEIOProgress& Progress;
  // Strips or tiles of the page (a single one hands the JPEG reader the load's progress).
  Integer Pieces = 0;
  Integer LastPercent = -1;
};

// Bytes of one decoded row of Width pixels: all samples (planar configuration 1) or one
// sample (configuration 2) per pixel. 0 when no layout can use the page's rows.
Integer TiffRowLength(const TTIFFVars& Vars, Integer Width, bool OnePlane);

// The decoding state of one strip, tile or plane, released with it.
class TTiffStripState {
 public:
  // Rows: the rows the strip holds. OnePlane: a plane of a planar page (one sample per pixel).
  TTiffStripState(TTIFFVars& Vars, Byte* Data, Integer DataLength, Integer RowLength, Integer Width,
                  Integer Rows, bool OnePlane);
  ~TTiffStripState();
  TTiffStripState(const TTiffStripState&) = delete;
  TTiffStripState& operator=(const TTiffStripState&) = delete;

  TTIFFVars& Vars;
  Byte* Data;
  Integer DataLength;
  Integer RowLength;
  Integer Width;
  Integer Rows;
  bool OnePlane;
  Integer DataPos = 0;
  Integer CCITTBitPos = 0;
  // The fax decoders' reference row, white at the start of the strip.
  std::vector<Byte> RefRow;
  void* LzwState = nullptr;
  // The whole strip inflated on its first row (deflate).
  std::vector<Byte> InflatedStrip;
  bool Inflated = false;
  // Room for the decoded row unpacked to one byte per sample.
  std::vector<Byte> RowBuffer;
  // The packed row while samples of odd bit counts are spread out.
  std::vector<Byte> PackedRow;
  // The decoded row: RowBuffer, or the strip data itself for uncompressed whole-byte samples.
  Byte* Row;
};

enum class TTiffRowResult { Decoded, DataEnded, Failed };

// Decompresses the next row of the strip into State.Row and unpacks samples of fewer than 8
// bits. DataEnded: an uncompressed strip holds no further whole row. Failed: the LZW codec
// refused the strip.
TTiffRowResult TiffDecodeRow(Integer RowInStrip, TTiffStripState& State);

// Undoes the horizontal predictor over Width pixels of a decoded row (samples in file order).
// SingleChannel: the row holds one sample per pixel whatever the page has.
void TiffUndoPredictor(const TTIFFVars& Vars, Byte* Row, Integer Width, bool SingleChannel);

// Decodes Rows rows of Width pixels from a strip or tile in memory into the picture rows
// FirstRow.., starting at column Column.
void TiffDecodeStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width, Byte* Data,
                     Integer DataLength, Integer Column);
// The same for planar configuration 2: one buffer per sample plane.
void TiffDecodePlanarStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width,
                           std::vector<std::vector<Byte>>& Planes);
// A JPEG (compression 7) strip or tile.
void TiffDecodeJpegStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width, const Byte* Data,
                         Integer DataLength, Integer Column);

// Counts one decoded row and reports the load's progress when its percentage changed.
void TiffCountRow(TTiffDecodeJob& Job);
// The byte offset of Column in a row of Format, as the row conversion takes it; -1 for formats
// tiles cannot be placed in.
Integer TiffColumnOffset(TIEPixelFormat Format, Integer Column);
