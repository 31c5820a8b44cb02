// The playback graph's source and decoder over libavformat, libavcodec and libswscale.
#include "platform/media/DShowDecoder.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr AVRational HundredNanoseconds{1, 10000000};

// Frames per second of a stream; 25 when the file does not say.
AVRational StreamFrameRate(const AVStream* Stream) {
  if (Stream->avg_frame_rate.num > 0 && Stream->avg_frame_rate.den > 0) return Stream->avg_frame_rate;
  if (Stream->r_frame_rate.num > 0 && Stream->r_frame_rate.den > 0) return Stream->r_frame_rate;
  return AVRational{25, 1};
}

}  // namespace

std::unique_ptr<TMediaDecoder> TMediaDecoder::Open(const std::string& FileName) {
  // The libraries' notes (deprecated pixel formats, emulated markers) are not errors.
  static const bool Quiet = [] {
    if (av_log_get_level() > AV_LOG_ERROR) av_log_set_level(AV_LOG_ERROR);
    return true;
  }();
  (void)Quiet;
  std::unique_ptr<TMediaDecoder> Decoder(new TMediaDecoder());
  if (avformat_open_input(&Decoder->FFormat, FileName.c_str(), nullptr, nullptr) < 0) return nullptr;
  if (avformat_find_stream_info(Decoder->FFormat, nullptr) < 0) return nullptr;
  const AVCodec* Codec = nullptr;
  Decoder->FStream = av_find_best_stream(Decoder->FFormat, AVMEDIA_TYPE_VIDEO, -1, -1, &Codec, 0);
  if (Decoder->FStream < 0 || !Codec) return nullptr;
  const AVStream* Stream = Decoder->FFormat->streams[Decoder->FStream];
  Decoder->FCodec = avcodec_alloc_context3(Codec);
  if (!Decoder->FCodec || avcodec_parameters_to_context(Decoder->FCodec, Stream->codecpar) < 0 ||
      avcodec_open2(Decoder->FCodec, Codec, nullptr) < 0)
    return nullptr;
  Decoder->FWidth = Decoder->FCodec->width;
  Decoder->FHeight = Decoder->FCodec->height;
  if (Decoder->FWidth <= 0 || Decoder->FHeight <= 0 ||
      av_image_check_size(static_cast<unsigned>(Decoder->FWidth), static_cast<unsigned>(Decoder->FHeight), 0,
                          nullptr) < 0)
    return nullptr;
  Decoder->FFrame = av_frame_alloc();
  Decoder->FPacket = av_packet_alloc();
  if (!Decoder->FFrame || !Decoder->FPacket) return nullptr;

  const AVRational Rate = StreamFrameRate(Stream);
  Decoder->FFrameDuration = av_rescale_q(1, AVRational{Rate.den, Rate.num}, HundredNanoseconds);
  if (Decoder->FFrameDuration <= 0) Decoder->FFrameDuration = 1;
  if (Stream->duration != AV_NOPTS_VALUE && Stream->duration > 0)
    Decoder->FDuration = av_rescale_q(Stream->duration, Stream->time_base, HundredNanoseconds);
  else if (Decoder->FFormat->duration != AV_NOPTS_VALUE && Decoder->FFormat->duration > 0)
    Decoder->FDuration = av_rescale_q(Decoder->FFormat->duration, AV_TIME_BASE_Q, HundredNanoseconds);
  Decoder->FFrameCount =
      Stream->nb_frames > 0 ? Stream->nb_frames : Decoder->FDuration / Decoder->FFrameDuration;
  if (Decoder->FDuration <= 0) Decoder->FDuration = Decoder->FFrameCount * Decoder->FFrameDuration;
  return Decoder;
}

TMediaDecoder::~TMediaDecoder() {
  sws_freeContext(FScaler);
  av_packet_free(&FPacket);
  av_frame_free(&FFrame);
  avcodec_free_context(&FCodec);
  avformat_close_input(&FFormat);
}

Int64 TMediaDecoder::FrameStart() const {
  const AVStream* Stream = FFormat->streams[FStream];
  Int64 Stamp = FFrame->best_effort_timestamp;
  if (Stamp == AV_NOPTS_VALUE) Stamp = FFrame->pts;
  if (Stamp == AV_NOPTS_VALUE) return 0;
  if (Stream->start_time != AV_NOPTS_VALUE) Stamp -= Stream->start_time;
  return av_rescale_q(Stamp, Stream->time_base, HundredNanoseconds);
}

bool TMediaDecoder::SeekTo(Int64 Position) {
  const AVStream* Stream = FFormat->streams[FStream];
  // Rounded down: the key frame found must start at or before the position.
  Int64 Target =
      av_rescale_q_rnd(Position < 0 ? 0 : Position, HundredNanoseconds, Stream->time_base, AV_ROUND_DOWN);
  if (Stream->start_time != AV_NOPTS_VALUE) Target += Stream->start_time;
  if (av_seek_frame(FFormat, FStream, Target, AVSEEK_FLAG_BACKWARD) < 0 &&
      avformat_seek_file(FFormat, FStream, INT64_MIN, Target, Target, 0) < 0 &&
      av_seek_frame(FFormat, FStream, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE) < 0)
    return false;
  avcodec_flush_buffers(FCodec);
  FDraining = false;
  FSkipBefore = Position;
  return true;
}

// Feeds the decoder one more packet of the video stream (or the end); false at the end.
bool TMediaDecoder::ReadFrame() {
  if (FDraining) return false;
  for (;;) {
    const int Read = av_read_frame(FFormat, FPacket);
    if (Read < 0) {
      FDraining = true;
      avcodec_send_packet(FCodec, nullptr);
      return true;
    }
    const bool Ours = FPacket->stream_index == FStream;
    if (Ours) {
      const int Sent = avcodec_send_packet(FCodec, FPacket);
      av_packet_unref(FPacket);
      // A damaged packet is skipped; the next one may decode.
      if (Sent >= 0 || Sent == AVERROR_INVALIDDATA) return true;
      return Sent == AVERROR(EAGAIN);
    }
    av_packet_unref(FPacket);
  }
}

bool TMediaDecoder::DecodeNext(Int64& StartTime) {
  for (;;) {
    const int Received = avcodec_receive_frame(FCodec, FFrame);
    if (Received == 0) {
      const Int64 Start = FrameStart();
      // After a seek the frames before the target are decoded but not shown.
      if (FSkipBefore >= 0 && Start + FFrameDuration <= FSkipBefore) continue;
      FSkipBefore = -1;
      StartTime = Start;
      return true;
    }
    if (Received == AVERROR_EOF) return false;
    if (Received != AVERROR(EAGAIN) && Received != AVERROR_INVALIDDATA) return false;
    if (!ReadFrame()) return false;
  }
}

const Byte* TMediaDecoder::ConvertToRGB24() {
  // The scaler's vector code may store up to a vector's width beyond a row.
  constexpr size_t SpareBytes = 64;
  const Integer RowBytes = GetRowBytes();
  FRGB.resize(static_cast<size_t>(GetFrameBytes()) + SpareBytes);
  FScaler =
      sws_getCachedContext(FScaler, FFrame->width, FFrame->height, static_cast<AVPixelFormat>(FFrame->format),
                           FWidth, FHeight, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!FScaler) {
    // A frame the converter does not take shows black rather than the previous frame.
    std::fill(FRGB.begin(), FRGB.end(), Byte(0));
    return FRGB.data();
  }
  // Bottom-up: the picture's first row goes to the last row.
  uint8_t* Planes[4] = {FRGB.data() + static_cast<Int64>(FHeight - 1) * RowBytes, nullptr, nullptr, nullptr};
  int Strides[4] = {-RowBytes, 0, 0, 0};
  sws_scale(FScaler, FFrame->data, FFrame->linesize, 0, FFrame->height, Planes, Strides);
  return FRGB.data();
}
