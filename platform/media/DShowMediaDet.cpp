// The media detector over libavformat.
#include "platform/media/DShowMediaDet.h"

#include "platform/system/Strings.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

const AVStream* StreamAt(AVFormatContext* Format, LONG Index) {
  if (!Format || Index < 0 || Index >= static_cast<LONG>(Format->nb_streams)) return nullptr;
  return Format->streams[Index];
}

}  // namespace

TMediaDet::~TMediaDet() {
  Close();
}

void TMediaDet::Close() {
  avformat_close_input(&FFormat);
  FCurrent = 0;
}

HRESULT TMediaDet::put_Filename(const std::u16string& FileName) {
  Close();
  const std::string Path = Utf16ToUtf8(FileName);
  if (avformat_open_input(&FFormat, Path.c_str(), nullptr, nullptr) < 0) return E_FAIL;
  if (avformat_find_stream_info(FFormat, nullptr) < 0) {
    Close();
    return E_FAIL;
  }
  return S_OK;
}

HRESULT TMediaDet::get_OutputStreams(LONG& Count) {
  Count = FFormat ? static_cast<LONG>(FFormat->nb_streams) : 0;
  return FFormat ? S_OK : E_FAIL;
}

HRESULT TMediaDet::put_CurrentStream(LONG Index) {
  if (!StreamAt(FFormat, Index)) return E_INVALIDARG;
  FCurrent = Index;
  return S_OK;
}

HRESULT TMediaDet::get_StreamTypeB(std::u16string& Type) {
  const AVStream* Stream = StreamAt(FFormat, FCurrent);
  if (!Stream) return E_FAIL;
  switch (Stream->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
      Type = MEDIATYPE_Video_String;
      break;
    case AVMEDIA_TYPE_AUDIO:
      Type = MEDIATYPE_Audio_String;
      break;
    default:
      Type = u"{00000000-0000-0000-0000-000000000000}";
  }
  return S_OK;
}

HRESULT TMediaDet::get_FrameRate(double& Rate) {
  const AVStream* Stream = StreamAt(FFormat, FCurrent);
  if (!Stream || Stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) return E_FAIL;
  AVRational Value = Stream->avg_frame_rate;
  if (Value.num <= 0 || Value.den <= 0) Value = Stream->r_frame_rate;
  if (Value.num <= 0 || Value.den <= 0) return E_FAIL;
  Rate = av_q2d(Value);
  return S_OK;
}

HRESULT TMediaDet::get_StreamLength(double& Length) {
  const AVStream* Stream = StreamAt(FFormat, FCurrent);
  if (!Stream) return E_FAIL;
  if (Stream->duration != AV_NOPTS_VALUE && Stream->duration > 0)
    Length = static_cast<double>(Stream->duration) * av_q2d(Stream->time_base);
  else if (FFormat->duration != AV_NOPTS_VALUE && FFormat->duration > 0)
    Length = static_cast<double>(FFormat->duration) / AV_TIME_BASE;
  else
    return E_FAIL;
  return S_OK;
}

HRESULT TMediaDet::get_FrameSize(LONG& Width, LONG& Height) {
  const AVStream* Stream = StreamAt(FFormat, FCurrent);
  if (!Stream || Stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) return E_FAIL;
  Width = Stream->codecpar->width;
  Height = Stream->codecpar->height;
  return S_OK;
}
