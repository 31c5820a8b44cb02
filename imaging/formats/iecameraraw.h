#pragma once
// The camera raw reader: identifies a camera's undeveloped sensor file, loads its samples and
// develops them into a 24- or 48-bit picture. All decoder state is one TCameraRawContext made
// by the caller for one call; every routine of the unit takes it, nothing lives in globals.
//
// The unit is split by concern, all sharing this header: context and entry
// (iecamerarawentry.cpp), identification and its camera table (iecamerarawidentify.cpp),
// container parsers, entropy-coded loaders, packed and plain loaders, development and output.
//
// Reading rule for every routine: bytes come only through the Raw* reading helpers below,
// which never read past the stream's end. A read at the end delivers zeros and sets
// InputEnded; loaders stop at the next row once it is set and the reader then fails the
// picture with the abort flag. A loader writes Image only through RawBayerCell or with
// coordinates it has checked against ImageHeight x ImageWidth.
#include <cstddef>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

struct TCameraRawContext;

// A loader: reads the sensor data from the stream's position (DataOffset) into Image.
using TCameraRawLoader = void (*)(TCameraRawContext& Context);

// A node of a decoding tree: a node without a first child is a leaf carrying Leaf.
struct TRawDecodeNode {
  TRawDecodeNode* Branch[2];
  Integer Leaf;
};

constexpr Integer RawDecodeNodeCount = 2048;
constexpr Integer RawHistogramSize = 0x2000;
constexpr Integer RawNameLength = 64;

struct TCameraRawContext {
  // ImageHeight rows of ImageWidth cells, four channels each; owned by the reader.
  Word (*Image)[4] = nullptr;
  // The stream the decoder reads (not owned).
  TStream* Input = nullptr;
  Word ByteOrder = 0;  // 0x4949 little-endian, 0x4D4D big-endian
  char Make[RawNameLength] = {};
  char Model[RawNameLength] = {};
  char Model2[RawNameLength] = {};
  Integer Timestamp = 0;
  Integer DataOffset = 0;
  Integer CurveOffset = 0;
  Integer CurveLength = 0;
  Integer TiffCompression = 0;
  Integer TiffPhotometric = 0;
  Integer RawHeight = 0;
  Integer RawWidth = 0;
  Integer TopMargin = 0;
  Integer LeftMargin = 0;
  Integer Height = 0;
  Integer Width = 0;
  Integer Colors = 0;
  Integer Black = 0;
  Integer Maximum = 0;
  Integer ImageHeight = 0;
  Integer ImageWidth = 0;
  Integer Shrink = 0;
  Integer IsCanon = 0;
  Integer IsCmy = 0;
  Integer IsFoveon = 0;
  Integer UseCoefficients = 0;
  Integer Trim = 0;
  Integer Flip = 0;
  Integer XMag = 0;
  Integer YMag = 0;
  Integer ZeroAfterFF = 0;
  Cardinal Filters = 0;
  Word WhiteSample[8][8] = {};
  TCameraRawLoader LoadRaw = nullptr;
  Single Gamma = 0;
  Single Brightness = 0;
  Single RedScale = 0;
  Single BlueScale = 0;
  Integer FourColorRgb = 0;
  Integer DocumentMode = 0;
  Integer QuickInterpolate = 0;
  Integer UseAutoWhiteBalance = 0;
  Integer UseCameraWhiteBalance = 0;
  Integer FujiSecondary = 0;
  Single CameraRed = 0;  // 0 unknown, -1 use the automatic white balance
  Single CameraBlue = 0;
  Single PreMul[4] = {};
  Single Coefficients[3][4] = {};
  Integer Histogram[RawHistogramSize] = {};
  Byte JpegBuffer[4096] = {};
  Cardinal SonyPad[128] = {};
  Integer SonyIndex = 0;
  Cardinal BitBuffer = 0;
  Integer BitCount = 0;
  Integer LeafCount = 0;
  const signed char* RadcSource = nullptr;
  TRawDecodeNode* RadcStart[18] = {};
  TRawDecodeNode* RadcNode = nullptr;
  Integer* VngCode = nullptr;
  TRawDecodeNode DecodeNodes[RawDecodeNodeCount] = {};
  TRawDecodeNode* SecondDecode = nullptr;
  TRawDecodeNode* FreeDecode = nullptr;
  Byte FujiLayout = 0;
  TIEIOProgress Progress;

  // Reading state of the helpers below.
  Int64 InputSize = 0;      // the stream's size, taken when the context is prepared
  bool InputEnded = false;  // a read met the end of the stream
};

// ---- Context and entry (iecamerarawentry.cpp) ----

// True when the stream holds a camera raw file a loader exists for; reads but never decodes,
// restores the stream position and raises nothing for bad data.
bool CameraRawIsFile(TStream* Stream);

// Reads the camera raw picture from the stream's start. Preview fills the parameters only.
// Failure (not a raw file, data that ends early) sets the abort flag and leaves Bitmap as it
// was; exceptions of the decoder (out of memory, table overflow) pass through.
void CameraRawReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         bool Preview);

// Prepares a context over Input: every field zero, InputSize taken from the stream.
void RawPrepareContext(TCameraRawContext& Context, TStream* Input);

// Zeroes the bit reader, the leaf counter, the RADC trees and the interpolation scratch.
void RawResetDecoderState(TCameraRawContext& Context);

// ---- Identification (iecamerarawidentify.cpp) ----

// 0 when the file from the stream's position 0 is a supported raw file (the context is filled
// and Input stands at DataOffset), 1 otherwise.
Integer RawIdentify(TCameraRawContext& Context);

// ---- Reading helpers (iecamerarawinput.cpp) ----

// One byte, 0 at the end of the stream (InputEnded set).
Integer RawGetByte(TCameraRawContext& Context);
// 16- and 32-bit unsigned values in ByteOrder, a byte at a time.
Word RawGet2(TCameraRawContext& Context);
Cardinal RawGet4(TCameraRawContext& Context);
// Up to Count bytes into Buffer; the rest of Buffer is zeroed and InputEnded set when the
// stream holds fewer. Returns the bytes read.
Integer RawRead(TCameraRawContext& Context, void* Buffer, Integer Count);
Int64 RawTell(TCameraRawContext& Context);
// Absolute position; a target outside the stream stands at its end and sets InputEnded.
void RawSeek(TCameraRawContext& Context, Int64 Position);
void RawSkip(TCameraRawContext& Context, Int64 Count);
// Bytes left from the stream's position.
Int64 RawRemaining(TCameraRawContext& Context);

// Byte comparison (0 when equal) and search (offset of Needle in Haystack or -1).
Integer RawMemCompare(const void* A, const void* B, std::size_t Count);
Integer RawMemSearch(const void* Haystack, std::size_t Length, const void* Needle, std::size_t NeedleLength);
// Raises Exception ": Out of memory in <Name>" when Block is nil.
void RawCheckAlloc(const void* Block, const char* Name);

// The bit reader: N bits (at most 25), most significant first. N = 0 returns 0 and changes
// nothing; N = -1 empties the buffer and returns 0. With ZeroAfterFF the byte after each 0xFF
// is skipped.
Cardinal RawGetBits(TCameraRawContext& Context, Integer N);

// The filter colour of the cell at (Row, Col): 0..3.
inline Integer RawFilterColor(Cardinal Filters, Integer Row, Integer Col) {
  return static_cast<Integer>((Filters >> ((((Row << 1) & 14) + (Col & 1)) << 1)) & 3);
}
// The Image channel a raw sample at (Row, Col) goes to. Row and Col must lie inside the
// picture (0 <= Row < Height, 0 <= Col < Width; the caller checks).
inline Word& RawBayerCell(TCameraRawContext& Context, Integer Row, Integer Col) {
  return Context.Image[(Row >> Context.Shrink) * Context.ImageWidth + (Col >> Context.Shrink)]
                      [RawFilterColor(Context.Filters, Row, Col)];
}
// Whether a stored (Row, Col) lies inside the picture once the margins are taken off.
inline bool RawInsideMargins(const TCameraRawContext& Context, Integer Row, Integer Col) {
  return static_cast<Cardinal>(Row - Context.TopMargin) < static_cast<Cardinal>(Context.Height) &&
         static_cast<Cardinal>(Col - Context.LeftMargin) < static_cast<Cardinal>(Context.Width);
}

// Progress of a loader: factor 100 / Rows / 2 into the context's copy, then one report per row
// (round(Row x factor) percent) while a progress procedure is assigned.
void RawProgressStart(TCameraRawContext& Context, Integer Rows);
void RawProgressRow(TCameraRawContext& Context, Integer Row);
// A percent report of the reader's later stages.
void RawProgressReport(TCameraRawContext& Context, Integer Percent);

// ---- Container parsers and tests (parse) ----
void RawParseTiff(TCameraRawContext& Context, Integer Base);
void RawParseCiff(TCameraRawContext& Context, Integer Offset, Integer Length);
void RawParseRollei(TCameraRawContext& Context);
void RawParseFoveon(TCameraRawContext& Context);
bool RawNikonIsCompressed(TCameraRawContext& Context);
bool RawNikonE990Test(TCameraRawContext& Context);
bool RawNikonE2100Test(TCameraRawContext& Context);
bool RawMinoltaZ2Test(TCameraRawContext& Context);
// EXIF strings, pixel dimensions, thumbnail and maker note of a CIFF file.
void CiffReadMetadata(TStream* Stream, TIOParamsVals& IOParams);

// ---- Loaders (parse: entropy-coded; develop: packed and plain) ----
void RawLoadCanonCompressed(TCameraRawContext& Context);
void RawLoadLosslessJpeg(TCameraRawContext& Context);
void RawLoadNikonCompressed(TCameraRawContext& Context);
void RawLoadKodakRadc(TCameraRawContext& Context);
void RawLoadKodakCompressed(TCameraRawContext& Context);
void RawLoadKodakYuv(TCameraRawContext& Context);
void RawLoadSony(TCameraRawContext& Context);
void RawLoadFoveon(TCameraRawContext& Context);
void RawLoadCanon600(TCameraRawContext& Context);
void RawLoadCanonA5(TCameraRawContext& Context);
void RawLoadNikon(TCameraRawContext& Context);
void RawLoadNikonE2100(TCameraRawContext& Context);
void RawLoadNikonE950(TCameraRawContext& Context);
void RawLoadOlympusC(TCameraRawContext& Context);
void RawLoadPacked12(TCameraRawContext& Context);
void RawLoadBigEndian16(TCameraRawContext& Context);
void RawLoadBigEndianHigh12(TCameraRawContext& Context);
void RawLoadBigEndianLow12(TCameraRawContext& Context);
void RawLoadBigEndianLow10(TCameraRawContext& Context);
void RawLoadLittleEndianHigh12(TCameraRawContext& Context);
void RawLoadEightBit(TCameraRawContext& Context);
void RawLoadCasioQV5700(TCameraRawContext& Context);
void RawLoadNucore(TCameraRawContext& Context);
void RawLoadKodakEasy(TCameraRawContext& Context);
void RawLoadKodakDC120(TCameraRawContext& Context);
void RawLoadKodakJpeg(TCameraRawContext& Context);
void RawLoadRollei(TCameraRawContext& Context);
void RawLoadPhaseOne(TCameraRawContext& Context);
void RawLoadIxpress(TCameraRawContext& Context);
void RawLoadFujiS2(TCameraRawContext& Context);
void RawLoadFujiS5000(TCameraRawContext& Context);
void RawLoadFujiS7000(TCameraRawContext& Context);
void RawLoadFujiF700(TCameraRawContext& Context);

// ---- Development and output (develop) ----
void RawNikonE950Coefficients(TCameraRawContext& Context);
void RawSonyCoefficients(TCameraRawContext& Context);
void RawFoveonCoefficients(TCameraRawContext& Context);
void RawBlendCoefficients(TCameraRawContext& Context, Single Weight);
void RawGmcyCoefficients(TCameraRawContext& Context);
void RawScaleColors(TCameraRawContext& Context);
void RawFoveonInterpolate(TCameraRawContext& Context);
void RawInterpolate(TCameraRawContext& Context);
void RawConvertToRgb(TCameraRawContext& Context);
// Writes the developed Image into Bitmap (24-bit, or 48-bit with Deep) through the 0x10000
// entry scale table the reader owns.
void RawWritePicture(TCameraRawContext& Context, TIEBitmap* Bitmap, bool Deep, Double* ScaleTable);
void RawFujiRotate24(TIEBitmap* Bitmap);
void RawFujiRotate48(TIEBitmap* Bitmap);
