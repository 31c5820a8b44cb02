// Compressed AVI streams: frames written to them are encoded with libavcodec and the packets
// written to the plain stream they were made from.
#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "platform/media/AviCompressors.h"
#include "platform/media/AviFileInternal.h"

namespace {

// The encoder's input layout nearest to 24-bit RGB; Motion JPEG takes the 4:2:2 sampling
// that players of such movies expect.
AVPixelFormat EncoderPixelFormat(const AVCodec* Codec) {
  if (Codec->id == AV_CODEC_ID_MJPEG) return AV_PIX_FMT_YUVJ422P;
  std::vector<AVPixelFormat> Usable;
  for (const AVPixelFormat* F = Codec->pix_fmts; F && *F != AV_PIX_FMT_NONE; ++F)
    if (sws_isSupportedOutput(*F)) Usable.push_back(*F);
  if (Usable.empty()) return AV_PIX_FMT_NONE;
  Usable.push_back(AV_PIX_FMT_NONE);
  return avcodec_find_best_pix_fmt_of_list(Usable.data(), AV_PIX_FMT_BGR24, 0, nullptr);
}

void FreeEncoder(TAviStream* Stream) {
  sws_freeContext(Stream->Scaler);
  Stream->Scaler = nullptr;
  av_frame_free(&Stream->Frame);
  av_packet_free(&Stream->Packet);
  avcodec_free_context(&Stream->Encoder);
}

// A context for the options' compressor at that size; nil when it does not open.
AVCodecContext* OpenContext(const AVCodec* Codec, const AVICOMPRESSOPTIONS& Options,
                            const AVISTREAMINFOW& Info, Integer Width, Integer Height, bool GlobalHeader) {
  AVCodecContext* Context = avcodec_alloc_context3(Codec);
  if (!Context) return nullptr;
  Context->width = Width;
  Context->height = Height;
  Context->pix_fmt = EncoderPixelFormat(Codec);
  Context->time_base = AVRational{static_cast<int>(Info.dwScale), static_cast<int>(Info.dwRate)};
  Context->framerate = AVRational{static_cast<int>(Info.dwRate), static_cast<int>(Info.dwScale)};
  Context->thread_count = 1;
  // The container keeps frames in decoding order only: no reordered frames.
  Context->max_b_frames = 0;
  if (Options.dwKeyFrameEvery > 0)
    Context->gop_size = static_cast<int>(std::min<DWORD>(Options.dwKeyFrameEvery, 600));
  // Quality 0..10000 (the default 7500 for -1) as a fixed quantiser of 31 down to 1.
  const DWORD Quality = Options.dwQuality > 10000 ? 7500 : Options.dwQuality;
  Context->flags |= AV_CODEC_FLAG_QSCALE;
  Context->global_quality =
      FF_QP2LAMBDA * std::clamp<int>(31 - static_cast<int>(Quality * 30 / 10000), 1, 31);
  if (Options.dwFlags & AVICOMPRESSF_DATARATE && Options.dwBytesPerSecond > 0)
    Context->bit_rate = Int64{Options.dwBytesPerSecond} * 8;
  if (GlobalHeader) Context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (Context->pix_fmt == AV_PIX_FMT_NONE || avcodec_open2(Context, Codec, nullptr) < 0)
    avcodec_free_context(&Context);
  return Context;
}

void DrainPackets(TAviStream* Stream) {
  TAviStream* Target = Stream->Target;
  while (avcodec_receive_packet(Stream->Encoder, Stream->Packet) == 0) {
    Stream->Packet->stream_index = Target->Index;
    Stream->Packet->duration = 1;
    if (Target->File->WritePacket(Stream->Packet)) ++Target->Length;
    av_packet_unref(Stream->Packet);
  }
}

}  // namespace

HRESULT AVIMakeCompressedStream(PAVISTREAM* Compressed, PAVISTREAM Source, const AVICOMPRESSOPTIONS* Options,
                                const void* Handler) {
  if (!Compressed) return AVIERR_BADPARAM;
  *Compressed = nullptr;
  if (!Source || !Options) return AVIERR_BADHANDLE;
  if (Source->Kind != TAviStreamKind::Plain || Handler) return AVIERR_UNSUPPORTED;
  const TAviCompressor* Compressor = AviFindCompressor(Options->fccHandler);
  if (!Compressor) return AVIERR_NOCOMPRESSOR;
  if (Source->HasFormat || Source->File->HeaderWritten) return AVIERR_UNSUPPORTED;
  if (!Compressor->Encoder) {
    // Uncompressed frames: the plain stream takes them as they are.
    AVIStreamAddRef(Source);
    *Compressed = Source;
    return AVIERR_OK;
  }
  auto* Stream = new TAviStream;
  Stream->File = Source->File;
  AVIFileAddRef(Stream->File);
  Stream->Index = Source->Index;
  Stream->Info = Source->Info;
  Stream->Options = *Options;
  Stream->Options.lpFormat = Stream->Options.lpParms = nullptr;
  Stream->Target = Source;
  AVIStreamAddRef(Source);
  Stream->Codec = Compressor->Encoder;
  Stream->Kind = TAviStreamKind::Compressed;
  Stream->Info.fccHandler = Compressor->Handler;
  // A compressor that refuses frames of the stream's size is known now, not at the first frame.
  const Integer Width = Source->Info.rcFrame.Width(), Height = Source->Info.rcFrame.Height();
  if (Width > 0 && Height > 0) {
    AVCodecContext* Probe = OpenContext(Stream->Codec, Stream->Options, Stream->Info, Width, Height, false);
    if (!Probe) {
      AVIStreamRelease(Stream);
      return AVIERR_UNSUPPORTED;
    }
    avcodec_free_context(&Probe);
  }
  *Compressed = Stream;
  return AVIERR_OK;
}

bool AviOpenEncoder(TAviStream* Stream, Integer Width, Integer Height) {
  FreeEncoder(Stream);
  AVFormatContext* Format = Stream->File->Format;
  const bool GlobalHeader = (Format->oformat->flags & AVFMT_GLOBALHEADER) != 0;
  Integer CodedWidth = Width, CodedHeight = Height;
  Stream->Encoder = OpenContext(Stream->Codec, Stream->Options, Stream->Info, Width, Height, GlobalHeader);
  if (!Stream->Encoder) {
    // Block coders take sizes in steps of 4 only: such frames are coded stretched to the next
    // step rather than leaving the movie without frames.
    CodedWidth = (Width + 3) / 4 * 4;
    CodedHeight = (Height + 3) / 4 * 4;
    if (CodedWidth != Width || CodedHeight != Height)
      Stream->Encoder =
          OpenContext(Stream->Codec, Stream->Options, Stream->Info, CodedWidth, CodedHeight, GlobalHeader);
  }
  if (!Stream->Encoder) return false;
  Stream->Frame = av_frame_alloc();
  Stream->Packet = av_packet_alloc();
  if (!Stream->Frame || !Stream->Packet) {
    FreeEncoder(Stream);
    return false;
  }
  Stream->Frame->width = CodedWidth;
  Stream->Frame->height = CodedHeight;
  Stream->Frame->format = Stream->Encoder->pix_fmt;
  Stream->Scaler = sws_getContext(Width, Height, AV_PIX_FMT_BGR24, CodedWidth, CodedHeight,
                                  Stream->Encoder->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!Stream->Scaler || av_frame_get_buffer(Stream->Frame, 0) < 0) {
    FreeEncoder(Stream);
    return false;
  }
  AVStream* Out = Format->streams[Stream->Index];
  avcodec_parameters_from_context(Out->codecpar, Stream->Encoder);
  Stream->Target->HasFormat = true;
  Stream->Target->Dib.Width = CodedWidth;
  Stream->Target->Dib.Height = CodedHeight;
  Stream->Target->Dib.BitCount = 24;
  Stream->Target->Info.fccHandler = Stream->Info.fccHandler;
  Stream->Target->Info.rcFrame = RECT{0, 0, CodedWidth, CodedHeight};
  return true;
}

HRESULT AviWriteCompressed(TAviStream* Stream, const Byte* Rows, LONG) {
  if (!Stream->Encoder) return AVIERR_BADFORMAT;
  const TAviDibFormat& Dib = Stream->Dib;
  const Integer RowBytes = Dib.RowBytes();
  const Byte* Bottom = Rows;
  Integer Stride = RowBytes;
  if (Dib.BitCount != 24) {
    // Other depths become 24-bit rows first.
    const Integer Row24 = ((Dib.Width * 3 + 3) / 4) * 4;
    Stream->Expanded.resize(static_cast<std::size_t>(Row24) * Dib.Height);
    for (Integer Y = 0; Y < Dib.Height; ++Y)
      AviDibRowToBGR24(Dib, Rows + static_cast<std::size_t>(Y) * RowBytes,
                       Stream->Expanded.data() + static_cast<std::size_t>(Y) * Row24);
    Bottom = Stream->Expanded.data();
    Stride = Row24;
  }
  if (av_frame_make_writable(Stream->Frame) < 0) return AVIERR_MEMORY;
  // DIB rows run bottom-up: start at the last row and step backwards.
  const uint8_t* Planes[1] = {Bottom + static_cast<std::size_t>(Dib.Height - 1) * Stride};
  const int Strides[1] = {-Stride};
  sws_scale(Stream->Scaler, Planes, Strides, 0, Dib.Height, Stream->Frame->data, Stream->Frame->linesize);
  Stream->Frame->pts = Stream->Length;
  if (avcodec_send_frame(Stream->Encoder, Stream->Frame) < 0) return AVIERR_COMPRESSOR;
  DrainPackets(Stream);
  if (Stream->File->WriteFailed) return AVIERR_FILEWRITE;
  ++Stream->Length;
  return AVIERR_OK;
}

void AviFlushEncoder(TAviStream* Stream) {
  if (Stream->Encoder && avcodec_send_frame(Stream->Encoder, nullptr) == 0) DrainPackets(Stream);
  FreeEncoder(Stream);
}
