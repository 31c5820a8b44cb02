#pragma once
// The source and decoder of the playback graph: one media file's first video stream read
// with libavformat, decoded with libavcodec and converted to bottom-up RGB24 rows with
// libswscale. Used by one thread at a time.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Types.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

class TMediaDecoder {
 public:
  // nullptr when the file cannot be opened or has no video stream a decoder takes.
  static std::unique_ptr<TMediaDecoder> Open(const std::string& FileName);
  ~TMediaDecoder();
  TMediaDecoder(const TMediaDecoder&) = delete;
  TMediaDecoder& operator=(const TMediaDecoder&) = delete;

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  // The video stream's length and one frame's duration, in 100-ns units; its frame count.
  Int64 GetDuration() const { return FDuration; }
  Int64 GetFrameDuration() const { return FFrameDuration; }
  Int64 GetFrameCount() const { return FFrameCount; }
  // Bytes of one RGB24 row (width x 3 padded to 4) and of a whole frame.
  Integer GetRowBytes() const { return (FWidth * 3 + 3) & ~3; }
  Integer GetFrameBytes() const { return GetRowBytes() * FHeight; }

  // The next DecodeNext gives the frame whose time span holds Position (100 ns).
  bool SeekTo(Int64 Position);
  // Decodes the next frame and gives its start time (100 ns); false at the end or on an
  // error of the stream.
  bool DecodeNext(Int64& StartTime);
  // The last decoded frame as bottom-up RGB24 rows of GetRowBytes(): GetFrameBytes() bytes,
  // valid until the next call.
  const Byte* ConvertToRGB24();

 private:
  TMediaDecoder() = default;
  bool ReadFrame();
  Int64 FrameStart() const;

  AVFormatContext* FFormat = nullptr;
  AVCodecContext* FCodec = nullptr;
  AVFrame* FFrame = nullptr;
  AVPacket* FPacket = nullptr;
  SwsContext* FScaler = nullptr;
  Integer FStream = -1;
  Integer FWidth = 0, FHeight = 0;
  Int64 FDuration = 0;
  Int64 FFrameDuration = 0;
  Int64 FFrameCount = 0;
  Int64 FSkipBefore = -1;  // after a seek: frames ending at or before this are dropped
  bool FDraining = false;
  // The converted frame; the converter may write a little past the last row, hence spare bytes.
  std::vector<Byte> FRGB;
};
