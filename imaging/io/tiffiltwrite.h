#pragma once
// What one TiffWriteStream call decides before its pixels go out, and the routines that write
// them: the page writer (tiffiltwrite.cpp) fills TTIFFWriteState through TiffPrepareWriting
// (tiffiltwritework.cpp); the strip and old-style JPEG writers (tiffiltwritestrips.cpp) read it
// and code rows through the strip coders (tiffiltwritecoders.cpp).
#include <memory>
#include <vector>

#include "imaging/io/tiffilt.h"

class TIEQuantizer;

// Compression values the writer produces.
constexpr Word TiffNoCompression = 1;
constexpr Word TiffCCITTHuffman = 2;
constexpr Word TiffCCITTGroup3 = 3;
constexpr Word TiffCCITTGroup4 = 4;
constexpr Word TiffLZW = 5;
constexpr Word TiffOldJpeg = 6;
constexpr Word TiffJpeg = 7;
constexpr Word TiffPackBitsCompression = 32773;
constexpr Word TiffDeflate = 32946;

// PhotometricInterpretation values the writer produces.
constexpr Word TiffWhiteIsZero = 0;
constexpr Word TiffBlackIsZero = 1;
constexpr Word TiffRGB = 2;
constexpr Word TiffPalette = 3;
constexpr Word TiffCMYK = 5;
constexpr Word TiffYCbCr = 6;
constexpr Word TiffCIELab = 8;

inline bool TiffIsCCITT(Word Compression) {
  return Compression >= TiffCCITTHuffman && Compression <= TiffCCITTGroup4;
}

struct TTIFFWriteState {
  explicit TTIFFWriteState(TIOParamsVals& Params);
  ~TTIFFWriteState();

  TIOParamsVals& IOParams;
  // The picture whose rows are written: the caller's or one of the temporary ones below.
  TIEBitmap* Picture = nullptr;
  std::unique_ptr<TIEBitmap> OwnPicture;
  // The caller's alpha channel when it holds a pixel below 255; rows of an added alpha sample.
  TIEBitmap* Alpha = nullptr;

  Word Compression = TiffNoCompression;
  bool TwoDimensional = false;  // Group 3 with Modified READ rows
  bool Predictor = false;       // horizontal differencing of RGB rows
  Word Photometric = TiffRGB;
  Integer JpegQuality = 80;
  Byte JpegColorSpace = 2;  // the JPEG writer's colour choice
  Integer FillOrder = 1;
  // Of the parameters: the depth of quantizer indexes and of 1-sample pictures.
  Integer BitsPerSample = 8;
  Integer SamplesPerPixel = 3;
  bool AddAlpha = false;  // a fourth, alpha, sample after red, green and blue
  TTiffLzwCompressProc LzwCompress = nullptr;
  // Palette and grey pictures written as indexes.
  std::unique_ptr<TIEQuantizer> Quantizer;
  std::vector<TIERGBTriple> Palette;
  std::vector<Integer> StripOffsets;
  std::vector<Integer> StripByteCounts;
};

// Steps before the page: the working picture, the parameters corrected to a combination the
// writer supports (and written back), the compression, photometric interpretation and
// predictor. Bitmap is not nil.
void TiffPrepareWriting(TIEBitmap* Bitmap, TTIFFWriteState& State);

// The pixels in strips: RowsPerStrip, StripOffsets and StripByteCounts go into Entries.
void TiffWriteStrips(TTIFFEntryWriter& Entries, TTIFFWriteState& State);
// The picture as one old-style JPEG stream with its entries.
void TiffWriteOldJpeg(TTIFFEntryWriter& Entries, TTIFFWriteState& State);

// Codes the rows of one strip into a stream; Close ends the strip's code.
class TTIFFStripCoder {
 public:
  virtual ~TTIFFStripCoder() = default;
  virtual void WriteRow(const Byte* Row, Integer Length) = 0;
  virtual void Close() = 0;
};

// The coder of State.Compression for one strip of rows Width pixels wide.
std::unique_ptr<TTIFFStripCoder> TiffCreateStripCoder(TStream* Stream, TIEIOProgress& Progress,
                                                      const TTIFFWriteState& State, Integer Width);
