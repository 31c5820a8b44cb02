// Frames of AVI streams as packed DIBs: uncompressed frames straight from their chunks,
// compressed ones through libavcodec's decoder into 24-bit rows.
#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include "platform/media/AviFileInternal.h"

namespace {

// Decoded frames larger than this are refused, so a damaged header cannot ask for gigabytes.
constexpr Int64 MaxFramePixels = Int64{16384} * 16384 / 4;
// Forward jumps longer than this seek instead of reading every frame between.
constexpr LONG ForwardReadLimit = 64;
// The largest frame number taken from a time stamp, so that the one after it is a number too.
constexpr Int64 MaxFrame = 0x7FFFFFFE;

}  // namespace

struct TAviGetFrame {
  TAviStream* Stream = nullptr;       // one reference
  AVFormatContext* Format = nullptr;  // the stream's file's demuxer, not owned
  bool Raw = false;                   // uncompressed DIB chunks
  TAviDibFormat Out;                  // what the frames are handed out as
  TAviDibFormat Source;               // raw: the chunks' layout, palette as read so far
  std::vector<Byte> Dib;              // header, table and rows of the last frame
  LONG DibFrame = -1;                 // the frame Dib holds
  LONG NextFrame = 0;                 // the frame the demuxer reads next
  AVCodecContext* Decoder = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Frame = nullptr;
  SwsContext* Scaler = nullptr;
  bool Draining = false;

  ~TAviGetFrame() {
    sws_freeContext(Scaler);
    av_frame_free(&Frame);
    av_packet_free(&Packet);
    avcodec_free_context(&Decoder);
    AVIStreamRelease(Stream);
  }

  bool Seek(LONG Frame) {
    const int Flags = AVSEEK_FLAG_BACKWARD;
    if (av_seek_frame(Format, Stream->Index, Frame, Flags) < 0 &&
        av_seek_frame(Format, Stream->Index, 0, Flags | AVSEEK_FLAG_ANY) < 0)
      return false;
    if (Decoder) avcodec_flush_buffers(Decoder);
    Draining = false;
    NextFrame = -1;  // known again from the next packet
    return true;
  }

  void StartDib() {
    std::vector<Byte> Header = AviPackDibHeader(Out);
    Dib.resize(Header.size() + static_cast<std::size_t>(Out.ImageBytes()));
    std::memcpy(Dib.data(), Header.data(), Header.size());
  }

  Byte* Rows() { return Dib.data() + 40 + 4 * Out.Palette.size(); }

  // The packet's frame number; NextFrame when it carries none.
  LONG PacketFrame() const {
    const Int64 Stamp = Packet->dts != AV_NOPTS_VALUE ? Packet->dts : Packet->pts;
    return Stamp != AV_NOPTS_VALUE ? static_cast<LONG>(std::clamp<Int64>(Stamp, -1, MaxFrame)) : NextFrame;
  }

  bool TakeRawPacket(LONG Frame) {
    size_t PaletteSize = 0;
    const Byte* Palette = av_packet_get_side_data(Packet, AV_PKT_DATA_PALETTE, &PaletteSize);
    if (Palette && Source.BitCount <= 8)
      for (size_t I = 0; I < Source.Palette.size() && 4 * I + 3 < PaletteSize; ++I) {
        uint32_t Entry;
        std::memcpy(&Entry, Palette + 4 * I, 4);
        Source.Palette[I] = RGBQUAD{static_cast<Byte>(Entry), static_cast<Byte>(Entry >> 8),
                                    static_cast<Byte>(Entry >> 16), 0};
      }
    if (Packet->size == 0 && DibFrame >= 0 && Frame == DibFrame + 1) {
      // An empty chunk repeats the frame before it.
      DibFrame = Frame;
      return true;
    }
    if (Packet->size < Source.ImageBytes()) return false;
    if (Out.BitCount <= 8) Out.Palette = Source.Palette;
    StartDib();
    if (Out.BitCount == Source.BitCount) {
      std::memcpy(Rows(), Packet->data, static_cast<std::size_t>(Source.ImageBytes()));
    } else {
      for (Integer Y = 0; Y < Source.Height; ++Y)
        AviDibRowToBGR24(Source, Packet->data + static_cast<std::size_t>(Y) * Source.RowBytes(),
                         Rows() + static_cast<std::size_t>(Y) * Out.RowBytes());
    }
    DibFrame = Frame;
    return true;
  }

  void* ReadRaw(LONG Frame) {
    // Palette changes travel with the chunks, so palette frames are read from the start.
    const bool Paletted = Source.BitCount <= 8;
    if (NextFrame < 0 || Frame < NextFrame || (!Paletted && Frame > NextFrame + ForwardReadLimit)) {
      if (!Seek(Paletted ? 0 : Frame)) return nullptr;
      DibFrame = -1;
      if (Paletted) Source.Palette = Stream->Dib.Palette;
    }
    while (av_read_frame(Format, Packet) >= 0) {
      if (Packet->stream_index != Stream->Index) {
        av_packet_unref(Packet);
        continue;
      }
      const LONG Got = PacketFrame();
      NextFrame = Got + 1;
      bool Taken = false;
      // Frames before the wanted one are taken too when a later empty chunk may repeat them.
      if (Got == Frame || Got + 1 == Frame)
        Taken = TakeRawPacket(Got);
      else if (Paletted)
        TakeRawPacket(Got);
      av_packet_unref(Packet);
      if (Got == Frame) return Taken ? Dib.data() : nullptr;
      if (Got > Frame) return nullptr;
    }
    NextFrame = -1;
    return nullptr;
  }

  bool ConvertDecoded() {
    const Integer Width = Frame->width, Height = Frame->height;
    if (Width != Out.Width || Height != Out.Height || !Scaler) {
      if (Width <= 0 || Height <= 0 || Int64{Width} * Height > MaxFramePixels) return false;
      Out.Width = Width;
      Out.Height = Height;
      sws_freeContext(Scaler);
      Scaler = sws_getContext(Width, Height, static_cast<AVPixelFormat>(Frame->format), Width, Height,
                              AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
      if (!Scaler) return false;
    }
    StartDib();
    const Integer Stride = Out.RowBytes();
    uint8_t* Planes[1] = {Rows() + static_cast<std::size_t>(Height - 1) * Stride};
    const int Strides[1] = {-Stride};
    sws_scale(Scaler, Frame->data, Frame->linesize, 0, Height, Planes, Strides);
    return true;
  }

  void* ReadDecoded(LONG Wanted) {
    if (Wanted < NextFrame || NextFrame < 0 || Wanted > NextFrame + ForwardReadLimit) {
      if (!Seek(Wanted)) return nullptr;
    }
    // Bounded by the packets the file holds: every pass reads one or ends.
    for (;;) {
      const int Received = avcodec_receive_frame(Decoder, Frame);
      if (Received == 0) {
        Int64 Stamp = Frame->best_effort_timestamp;
        if (Stamp == AV_NOPTS_VALUE) Stamp = Frame->pts;
        const LONG Got =
            Stamp == AV_NOPTS_VALUE ? NextFrame : static_cast<LONG>(std::clamp<Int64>(Stamp, -1, MaxFrame));
        NextFrame = Got + 1;
        if (Got >= Wanted) {
          const bool Converted = Got == Wanted && ConvertDecoded();
          av_frame_unref(Frame);
          if (!Converted) return nullptr;
          DibFrame = Got;
          return Dib.data();
        }
        av_frame_unref(Frame);
        continue;
      }
      if (Received == AVERROR_EOF || Draining) {
        NextFrame = -1;
        return nullptr;
      }
      if (av_read_frame(Format, Packet) < 0) {
        Draining = true;
        avcodec_send_packet(Decoder, nullptr);
        continue;
      }
      if (Packet->stream_index == Stream->Index) {
        if (NextFrame < 0) NextFrame = PacketFrame();
        avcodec_send_packet(Decoder, Packet);  // a damaged packet is skipped
      }
      av_packet_unref(Packet);
    }
  }
};

LONG AviReadStreamLength(const TAviStream* Stream) {
  const AVStream* S = Stream->File->Format->streams[Stream->Index];
  Int64 Length = 0;
  if (S->duration != AV_NOPTS_VALUE && S->duration > 0)
    Length = S->duration;
  else if (S->nb_frames > 0)
    Length = S->nb_frames;
  else
    Length = avformat_index_get_entries_count(S);
  return static_cast<LONG>(std::clamp<Int64>(Length, 0, 0x7FFFFFFF));
}

PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM Stream, const BITMAPINFOHEADER* Wanted) {
  if (!Stream || Stream->Kind != TAviStreamKind::Read) return nullptr;
  AVFormatContext* Format = Stream->File->Format;
  const AVCodecParameters* Par = Format->streams[Stream->Index]->codecpar;
  if (Par->codec_type != AVMEDIA_TYPE_VIDEO) return nullptr;
  auto* Frames = new TAviGetFrame;
  Frames->Stream = Stream;
  AVIStreamAddRef(Stream);
  Frames->Format = Format;
  Frames->Packet = av_packet_alloc();
  Frames->Frame = av_frame_alloc();
  if (!Frames->Packet || !Frames->Frame) {
    delete Frames;
    return nullptr;
  }
  if (Stream->HasFormat) {
    Frames->Raw = true;
    Frames->Source = Stream->Dib;
    Frames->Out = Stream->Dib;
    if (Wanted && Wanted->biBitCount != Stream->Dib.BitCount) {
      Frames->Out.BitCount = 24;
      Frames->Out.Palette.clear();
    }
    return Frames;
  }
  const AVCodec* Codec = avcodec_find_decoder(Par->codec_id);
  Frames->Decoder = Codec ? avcodec_alloc_context3(Codec) : nullptr;
  if (!Frames->Decoder || avcodec_parameters_to_context(Frames->Decoder, Par) < 0) {
    delete Frames;
    return nullptr;
  }
  Frames->Decoder->thread_count = 1;
  Frames->Decoder->max_pixels = MaxFramePixels;
  if (avcodec_open2(Frames->Decoder, Codec, nullptr) < 0) {
    delete Frames;
    return nullptr;
  }
  Frames->Out.BitCount = 24;
  return Frames;
}

void* AVIStreamGetFrame(PGETFRAME Frames, LONG Pos) {
  if (!Frames || Pos < 0 || Pos >= static_cast<LONG>(Frames->Stream->Info.dwLength)) return nullptr;
  if (Pos == Frames->DibFrame && !Frames->Dib.empty()) return Frames->Dib.data();
  return Frames->Raw ? Frames->ReadRaw(Pos) : Frames->ReadDecoded(Pos);
}

HRESULT AVIStreamGetFrameClose(PGETFRAME Frames) {
  if (!Frames) return AVIERR_BADHANDLE;
  delete Frames;
  return AVIERR_OK;
}
