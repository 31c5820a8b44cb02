#pragma once
// Writes small AVI movies with FFmpeg's own encoders and muxer, so that the playback code is
// checked against files it did not write. Frame i has its top half in MovieFrameColour(i) and
// its bottom half in the inverse colour, so that a flipped or shifted frame shows.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include "platform/system/Types.h"

struct TMovieColour {
  Byte R, G, B;
};

inline TMovieColour MovieFrameColour(Integer Index) {
  return TMovieColour{static_cast<Byte>(20 + (Index * 53) % 216), static_cast<Byte>(230 - (Index * 37) % 200),
                      static_cast<Byte>((Index * 91) % 256)};
}

inline TMovieColour InverseColour(TMovieColour C) {
  return TMovieColour{static_cast<Byte>(255 - C.R), static_cast<Byte>(255 - C.G),
                      static_cast<Byte>(255 - C.B)};
}

enum class TMovieCodec { MJPG, Uncompressed };

// Writes Frames frames of Width x Height at Rate frames per second to Path.
// Detailed adds fine noise, so that compressed frames carry as much data as a photograph's.
inline void WriteTestMovie(const std::string& Path, TMovieCodec Kind, Integer Width, Integer Height,
                           Integer Frames, Integer Rate, bool Detailed = false) {
  AVFormatContext* Output = nullptr;
  if (avformat_alloc_output_context2(&Output, nullptr, "avi", Path.c_str()) < 0)
    throw std::runtime_error("no avi muxer");
  const bool Mjpg = Kind == TMovieCodec::MJPG;
  const AVCodec* Codec = avcodec_find_encoder(Mjpg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_RAWVIDEO);
  AVStream* Stream = avformat_new_stream(Output, nullptr);
  AVCodecContext* Encoder = avcodec_alloc_context3(Codec);
  Encoder->width = Width;
  Encoder->height = Height;
  Encoder->time_base = AVRational{1, Rate};
  Encoder->framerate = AVRational{Rate, 1};
  Encoder->pix_fmt = Mjpg ? AV_PIX_FMT_YUVJ422P : AV_PIX_FMT_BGR24;
  if (Mjpg) {
    Encoder->flags |= AV_CODEC_FLAG_QSCALE;
    Encoder->global_quality = FF_QP2LAMBDA * 2;
  }
  if (Output->oformat->flags & AVFMT_GLOBALHEADER) Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(Encoder, Codec, nullptr) < 0) throw std::runtime_error("encoder does not open");
  avcodec_parameters_from_context(Stream->codecpar, Encoder);
  Stream->time_base = Encoder->time_base;
  Stream->avg_frame_rate = AVRational{Rate, 1};
  if (avio_open(&Output->pb, Path.c_str(), AVIO_FLAG_WRITE) < 0)
    throw std::runtime_error("cannot create " + Path);
  if (avformat_write_header(Output, nullptr) < 0) throw std::runtime_error("header not written");

  AVFrame* Frame = av_frame_alloc();
  Frame->width = Width;
  Frame->height = Height;
  Frame->format = Encoder->pix_fmt;
  av_frame_get_buffer(Frame, 0);
  SwsContext* Scaler = sws_getContext(Width, Height, AV_PIX_FMT_BGR24, Width, Height, Encoder->pix_fmt,
                                      SWS_POINT, nullptr, nullptr, nullptr);
  std::vector<Byte> Rgb(static_cast<size_t>(Width) * Height * 3);
  AVPacket* Packet = av_packet_alloc();
  auto Drain = [&] {
    while (avcodec_receive_packet(Encoder, Packet) == 0) {
      av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
      Packet->stream_index = Stream->index;
      av_interleaved_write_frame(Output, Packet);
    }
  };
  for (Integer Index = 0; Index < Frames; ++Index) {
    const TMovieColour Top = MovieFrameColour(Index), Bottom = InverseColour(Top);
    for (Integer Y = 0; Y < Height; ++Y) {
      const TMovieColour C = Y < Height / 2 ? Top : Bottom;
      for (Integer X = 0; X < Width; ++X) {
        Byte* P = &Rgb[(static_cast<size_t>(Y) * Width + X) * 3];
        const Integer Noise =
            Detailed ? static_cast<Integer>((X * 7919 + Y * 104729 + Index * 31) % 49) - 24 : 0;
        auto Channel = [Noise](Byte V) { return static_cast<Byte>(std::clamp(V + Noise, 0, 255)); };
        P[0] = Channel(C.B);
        P[1] = Channel(C.G);
        P[2] = Channel(C.R);
      }
    }
    av_frame_make_writable(Frame);
    const uint8_t* Planes[1] = {Rgb.data()};
    const int Strides[1] = {Width * 3};
    sws_scale(Scaler, Planes, Strides, 0, Height, Frame->data, Frame->linesize);
    Frame->pts = Index;
    avcodec_send_frame(Encoder, Frame);
    Drain();
  }
  avcodec_send_frame(Encoder, nullptr);
  Drain();
  av_write_trailer(Output);
  av_packet_free(&Packet);
  sws_freeContext(Scaler);
  av_frame_free(&Frame);
  avcodec_free_context(&Encoder);
  avio_closep(&Output->pb);
  avformat_free_context(Output);
}

// A movie file in the temporary folder, removed with the object.
class TTestMovie {
 public:
  TTestMovie(const std::string& Name, TMovieCodec Kind, Integer Width, Integer Height, Integer Frames,
             Integer Rate, bool Detailed = false)
      : FPath((std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + Name)).string()) {
    WriteTestMovie(FPath, Kind, Width, Height, Frames, Rate, Detailed);
  }
  ~TTestMovie() { std::filesystem::remove(FPath); }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

// True when the pixel (B, G, R bytes) is within Tolerance of C in every channel.
inline bool NearColour(const Byte* Bgr, TMovieColour C, Integer Tolerance) {
  auto Near = [&](Byte A, Byte B) { return std::abs(Integer(A) - Integer(B)) <= Tolerance; };
  return Near(Bgr[0], C.B) && Near(Bgr[1], C.G) && Near(Bgr[2], C.R);
}
