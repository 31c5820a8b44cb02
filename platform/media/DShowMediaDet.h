#pragma once
// The media detector: a media file's streams, their types and, for the current stream, frame
// rate, length and frame size, read with libavformat without decoding.
#include <string>

#include "platform/devices/ComObjects.h"
#include "platform/system/Types.h"

// The string form of the video major type, as get_StreamTypeB gives it.
inline constexpr const char16_t* MEDIATYPE_Video_String = u"{73646976-0000-0010-8000-00AA00389B71}";
inline constexpr const char16_t* MEDIATYPE_Audio_String = u"{73647561-0000-0010-8000-00AA00389B71}";

struct AVFormatContext;

class TMediaDet {
 public:
  TMediaDet() = default;
  ~TMediaDet();
  TMediaDet(const TMediaDet&) = delete;
  TMediaDet& operator=(const TMediaDet&) = delete;

  // E_FAIL when the file cannot be opened or read.
  HRESULT put_Filename(const std::u16string& FileName);
  HRESULT get_OutputStreams(LONG& Count);
  // E_INVALIDARG for an index out of range.
  HRESULT put_CurrentStream(LONG Index);
  // The current stream's major type as a GUID string in upper case (the video and audio types
  // above, an empty GUID for others).
  HRESULT get_StreamTypeB(std::u16string& Type);
  // Frames per second of a video stream; E_FAIL for others.
  HRESULT get_FrameRate(double& Rate);
  // Seconds.
  HRESULT get_StreamLength(double& Length);
  // The frame size of a video stream; E_FAIL for others.
  HRESULT get_FrameSize(LONG& Width, LONG& Height);

 private:
  void Close();
  AVFormatContext* FFormat = nullptr;
  LONG FCurrent = 0;
};
