#pragma once
// The bridge between OpenJPEG and the library's streams: codec streams that read and write the
// caller's TStream from its position on, and a codec whose messages end in a recorded failure
// instead of text on the console. Both own their OpenJPEG objects and free them with themselves.
#include <openjpeg.h>

#include "platform/system/Types.h"

class TStream;

// An OpenJPEG stream over Stream, offsets counted from the stream's position at creation. The
// caller's stream stays open. Exceptions of the stream end as failed transfers inside the codec.
class TJpeg2000Stream {
 public:
  TJpeg2000Stream(TStream* Stream, bool Input);
  ~TJpeg2000Stream();
  TJpeg2000Stream(const TJpeg2000Stream&) = delete;
  TJpeg2000Stream& operator=(const TJpeg2000Stream&) = delete;
  opj_stream_t* Get() const { return FHandle; }
  // Bytes from the start to the stream's end when it was created (reading), -1 unknown.
  Int64 GetDataBytes() const { return FDataBytes; }

 private:
  TStream* FStream;
  Int64 FStart;
  Int64 FDataBytes = -1;
  opj_stream_t* FHandle = nullptr;

  static OPJ_SIZE_T ReadProc(void* Buffer, OPJ_SIZE_T Count, void* Data);
  static OPJ_SIZE_T WriteProc(void* Buffer, OPJ_SIZE_T Count, void* Data);
  static OPJ_OFF_T SkipProc(OPJ_OFF_T Count, void* Data);
  static OPJ_BOOL SeekProc(OPJ_OFF_T Offset, void* Data);
};

// A decoder or encoder; any error message of the codec marks it failed.
class TJpeg2000Codec {
 public:
  explicit TJpeg2000Codec(opj_codec_t* Handle);
  ~TJpeg2000Codec();
  TJpeg2000Codec(const TJpeg2000Codec&) = delete;
  TJpeg2000Codec& operator=(const TJpeg2000Codec&) = delete;
  opj_codec_t* Get() const { return FHandle; }
  bool GetFailed() const { return FFailed; }

 private:
  opj_codec_t* FHandle;
  bool FFailed = false;
};

// Owns an OpenJPEG image.
struct TJpeg2000ImageDeleter {
  void operator()(opj_image_t* Image) const { opj_image_destroy(Image); }
};
