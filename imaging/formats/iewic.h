#pragma once
// The imaging component's reader and writer, used for HD Photo only (the JPEG XR codec library
// stands in for the platform's imaging component here). TIEWICReader decodes one frame of a
// stream into a TIEBitmap; TIEWICWriter encodes a TIEBitmap as one frame into a stream.
// HdpReadStream and HdpWriteStream are the format's filter procedures; WicAvailable says
// whether the codec library answers, and the registry's HD Photo row exists only when it does.
//
// The codec works on whole pictures in memory: the reader takes the stream from its position to
// its end (refused beyond IEWicMaxStreamSize), the writer encodes into memory and writes the
// file to the stream when it is closed. Pictures are checked against the data before anything
// is allocated. Neither class raises for bad data: a failure sets the abort flag.
//
// Pixel formats read: black and white as ie1g; 8- and 16-bit grey, 48-bit RGB and 32-bit CMYK
// as ie8g, ie16g, ieRGB48 and ieCMYK with the parameters' NativePixelFormat, else as ie24RGB;
// everything else as ie24RGB where the codec converts it. Written: ie1g, ie8g, ie16g, ie24RGB,
// ieCMYK and ieRGB48 as they are, other formats as a 24-bit copy; no alpha channel.
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// The most stream data the reader takes in.
constexpr Int64 IEWicMaxStreamSize = Int64{1} << 30;

// True when the codec library can create its factory; the first answer is kept for the process.
bool WicAvailable();

// One option of the encoder's property bag: a float (VT_R4), a boolean (VT_BOOL), a byte
// (VT_UI1) or a 16-bit word (VT_UI2).
struct TIEWICProperty {
  std::string Name;
  std::variant<Single, bool, Byte, Word> Value;
  bool operator==(const TIEWICProperty&) const = default;
};

// The encoder options with their values after creation; negative qualities are not written.
struct TIEWICEncoderOptions {
  Double DpiX = 0;  // set from the library default by the writer's constructor
  Double DpiY = 0;
  Double ImageQuality = -1;        // 0..1, 1 lossless
  Double CompressionQuality = -1;  // a TIFF option: no meaning for HD Photo
  bool Lossless = false;
  bool UseCodecOptions = false;  // Quality, Overlap and Subsampling instead of ImageQuality
  Byte Quality = 1;              // 1 (lossless) .. 255 (coarsest)
  Byte Overlap = 1;              // 0 none, 1 one level, 2 two levels
  Byte Subsampling = 3;          // 0 4:0:0, 1 4:2:0, 2 4:2:2, 3 4:4:4
  Word HorizontalTileSlices = 0;
  Word VerticalTileSlices = 0;
  bool FrequencyOrder = true;
  Byte TiffCompressionOption = 1;  // a TIFF option: no meaning for HD Photo
};

class TIEWICReader {
 public:
  TIEWICReader();
  ~TIEWICReader();
  TIEWICReader(const TIEWICReader&) = delete;
  TIEWICReader& operator=(const TIEWICReader&) = delete;

  bool IsAvailable() const;
  // Takes the stream from its position to its end and opens a decoder on it; FileType must be
  // 29 (HD Photo). False when no decoder came back.
  bool OpenStream(TStream* Stream, Integer FileType);
  // Frame Index into Bitmap. Params, when given, chooses the native formats and receives the
  // file's size, resolution, sample layout and EXIF tags. A failure sets *AbortFlag (when given).
  void ReadFrame(Integer Index, TIEBitmap* Bitmap, TIOParamsVals* Params, bool* AbortFlag);
  // The size of the frame last read (0 before).
  Integer FrameWidth() const;
  Integer FrameHeight() const;
  void Close();

 private:
  struct TDecoder;
  std::unique_ptr<TDecoder> FDecoder;
  bool FFactory = false;
  Double FDpiX;
  Double FDpiY;
  Integer FFrameWidth = 0;
  Integer FFrameHeight = 0;
  TStream* FStream = nullptr;  // not owned
  Int64 FStreamPosition = 0;
};

class TIEWICWriter {
 public:
  TIEWICWriter();
  // Closes (so the file is written).
  ~TIEWICWriter();
  TIEWICWriter(const TIEWICWriter&) = delete;
  TIEWICWriter& operator=(const TIEWICWriter&) = delete;

  TIEWICEncoderOptions& Options() { return FOptions; }
  // Remembers the stream and its position; FileType must be 29 (HD Photo).
  bool OpenStream(TStream* Stream, Integer FileType);
  // Encodes Bitmap as the file's frame; Params, when given, supply the resolution, the image
  // quality and the lossless flag. False when nothing was encoded.
  bool WriteFrame(TIEBitmap* Bitmap, TIOParamsVals* Params);
  // Writes the encoded file to the stream at its opening position and ends the encoder. False
  // when there was nothing to write or the stream took less; a stream exception passes on.
  bool Close();
  // The property bag the options give, in writing order, each under its condition.
  std::vector<TIEWICProperty> EncoderProperties() const;

 private:
  TIEWICEncoderOptions FOptions;
  bool FFactory = false;
  std::vector<Byte> FEncoded;
  bool FFrameDone = false;
  TStream* FStream = nullptr;  // not owned
  Int64 FStreamPosition = 0;
};

// The filter procedures of the HD Photo row. Reading decodes frame IOParams.ImageIndex (Preview
// changes nothing); writing copies the parameters' descriptive, EXIF and GPS tags into the
// written file. Without the codec library, or on any failure, the abort flag is set.
void HdpReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview);
void HdpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);
