// The AVI file library's files and streams: opening, creating, information, formats and the
// writing of uncompressed frames.
#include "platform/media/AviFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/media/AviFileInternal.h"
#include "platform/system/Strings.h"

namespace {

void QuietLibraries() {
  // The libraries' notes on damaged or unusual files are not errors of the program.
  static const bool Done = [] {
    if (av_log_get_level() > AV_LOG_ERROR) av_log_set_level(AV_LOG_ERROR);
    return true;
  }();
  (void)Done;
}

AVMediaType MediaTypeOf(DWORD Type) {
  if (Type == streamtypeVIDEO) return AVMEDIA_TYPE_VIDEO;
  if (Type == streamtypeAUDIO) return AVMEDIA_TYPE_AUDIO;
  return AVMEDIA_TYPE_UNKNOWN;
}

// The uncompressed layout of a stream read from a file, when its frames are DIB rows.
bool ReadRawFormat(const AVStream* Stream, TAviDibFormat& Dib) {
  const AVCodecParameters* Par = Stream->codecpar;
  if (Par->codec_id != AV_CODEC_ID_RAWVIDEO) return false;
  const DWORD Tag = Par->codec_tag;
  if (Tag != 0 && Tag != comptypeDIB && Tag != mmioFOURCC('R', 'G', 'B', ' ')) return false;
  Dib.Width = Par->width;
  Dib.Height = std::abs(Par->height);
  Dib.BitCount = Par->bits_per_coded_sample;
  if (Dib.Width <= 0 || Dib.Height <= 0 || Dib.Width > 32768 || Dib.Height > 32768) return false;
  switch (Dib.BitCount) {
    case 1:
    case 4:
    case 8: {
      Dib.Palette.assign(std::size_t{1} << Dib.BitCount, RGBQUAD{});
      // The demuxer keeps the colour table that follows the header as extra data.
      const std::size_t Entries = std::min<std::size_t>(Dib.Palette.size(), Par->extradata_size / 4);
      for (std::size_t I = 0; I < Entries; ++I) {
        const Byte* Q = Par->extradata + 4 * I;
        Dib.Palette[I] = RGBQUAD{Q[0], Q[1], Q[2], 0};
      }
      return true;
    }
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

void FillReadInfo(TAviStream* S) {
  const AVStream* Stream = S->File->Format->streams[S->Index];
  const AVCodecParameters* Par = Stream->codecpar;
  AVISTREAMINFOW& Info = S->Info;
  Info.fccType = Par->codec_type == AVMEDIA_TYPE_VIDEO   ? streamtypeVIDEO
                 : Par->codec_type == AVMEDIA_TYPE_AUDIO ? streamtypeAUDIO
                                                         : 0;
  Info.fccHandler = Par->codec_tag;
  Info.dwScale = static_cast<DWORD>(std::max(Stream->time_base.num, 0));
  Info.dwRate = static_cast<DWORD>(std::max(Stream->time_base.den, 0));
  Info.dwLength = static_cast<DWORD>(AviReadStreamLength(S));
  Info.dwQuality = 0xFFFFFFFFu;
  Info.rcFrame = RECT{0, 0, Par->width, std::abs(Par->height)};
  S->HasFormat = ReadRawFormat(Stream, S->Dib);
  if (!S->HasFormat) {
    // Compressed frames are described by the size and depth they decode to.
    S->Dib.Width = Par->width;
    S->Dib.Height = std::abs(Par->height);
    S->Dib.BitCount = 24;
  }
  Info.dwSuggestedBufferSize = static_cast<DWORD>(std::clamp<Int64>(S->Dib.ImageBytes(), 0, 0x7FFFFFFF));
}

// A new stream handle holding a reference to File.
TAviStream* NewStream(TAviFile* File, TAviStreamKind Kind) {
  auto* Stream = new TAviStream;
  Stream->Kind = Kind;
  Stream->File = File;
  AVIFileAddRef(File);
  return Stream;
}

}  // namespace

// ---- Start-up -----------------------------------------------------------------------------

void AVIFileInit() {
  QuietLibraries();
}

void AVIFileExit() {}

// ---- Files --------------------------------------------------------------------------------

TAviFile::~TAviFile() {
  if (!Format) return;
  if (Writing) {
    if (HeaderWritten) av_write_trailer(Format);
    avio_closep(&Format->pb);
    avformat_free_context(Format);
  } else {
    avformat_close_input(&Format);
  }
}

bool TAviFile::BeginWriting() {
  if (HeaderWritten) return true;
  if (WriteFailed || Format->nb_streams == 0) return false;
  for (TAviStream* Stream : Created) {
    AVCodecParameters* Par = Format->streams[Stream->Index]->codecpar;
    if (Par->codec_id != AV_CODEC_ID_NONE) continue;
    // A stream that never had a format: uncompressed 24-bit frames of its rectangle.
    Par->codec_type = AVMEDIA_TYPE_VIDEO;
    Par->codec_id = AV_CODEC_ID_RAWVIDEO;
    Par->width = std::max(Stream->Info.rcFrame.Right - Stream->Info.rcFrame.Left, 1);
    Par->height = std::max(Stream->Info.rcFrame.Bottom - Stream->Info.rcFrame.Top, 1);
    Par->bits_per_coded_sample = 24;
    Par->format = AV_PIX_FMT_BGR24;
  }
  // DIB rows are written as they come, bottom-up, under a positive height.
  AVDictionary* Options = nullptr;
  av_dict_set(&Options, "flipped_raw_rgb", "1", 0);
  const int Written = avformat_write_header(Format, &Options);
  av_dict_free(&Options);
  if (Written < 0) {
    WriteFailed = true;
    return false;
  }
  // The muxer takes the palettes that come with the frames only from PAL8 streams; the header
  // is written with the depth's own layout, which 1- and 4-bit frames do not name as PAL8.
  for (TAviStream* Stream : Created) {
    AVCodecParameters* Par = Format->streams[Stream->Index]->codecpar;
    if (Par->codec_id == AV_CODEC_ID_RAWVIDEO && Par->bits_per_coded_sample <= 8)
      Par->format = AV_PIX_FMT_PAL8;
  }
  HeaderWritten = true;
  return true;
}

bool TAviFile::WritePacket(AVPacket* Packet) {
  if (!BeginWriting()) return false;
  if (av_write_frame(Format, Packet) < 0) {
    WriteFailed = true;
    return false;
  }
  return true;
}

HRESULT AVIFileOpenW(PAVIFILE* File, const std::u16string& FileName, UINT Mode, const void* Handler) {
  if (!File) return AVIERR_BADPARAM;
  *File = nullptr;
  if (Handler) return AVIERR_UNSUPPORTED;
  QuietLibraries();
  const std::string Name = Utf16ToUtf8(FileName);
  auto* Result = new TAviFile;
  if (Mode & OF_CREATE) {
    Result->Writing = true;
    if (avformat_alloc_output_context2(&Result->Format, nullptr, "avi", nullptr) < 0) {
      delete Result;
      return AVIERR_MEMORY;
    }
    if (avio_open(&Result->Format->pb, Name.c_str(), AVIO_FLAG_WRITE) < 0) {
      delete Result;
      return AVIERR_FILEOPEN;
    }
  } else {
    const AVInputFormat* Avi = av_find_input_format("avi");
    const int Error = avformat_open_input(&Result->Format, Name.c_str(), Avi, nullptr);
    if (Error < 0) {
      delete Result;
      return Error == AVERROR(ENOENT) || Error == AVERROR(EACCES) || Error == AVERROR(EISDIR)
                 ? AVIERR_FILEOPEN
                 : AVIERR_BADFORMAT;
    }
  }
  *File = Result;
  return AVIERR_OK;
}

ULONG AVIFileAddRef(PAVIFILE File) {
  return File ? ++File->Refs : 0;
}

ULONG AVIFileRelease(PAVIFILE File) {
  if (!File) return 0;
  const ULONG Left = --File->Refs;
  if (Left == 0) delete File;
  return Left;
}

HRESULT AVIFileInfoW(PAVIFILE File, AVIFILEINFOW* Info, LONG Size) {
  if (!File || !Info) return AVIERR_BADHANDLE;
  AVIFILEINFOW Result;
  Result.dwStreams = File->Format->nb_streams;
  const std::u16string Type = u"AVI";
  std::copy(Type.begin(), Type.end(), Result.szFileType);
  for (Cardinal I = 0; I < File->Format->nb_streams; ++I) {
    AVISTREAMINFOW StreamInfo;
    if (File->Writing) {
      auto Found = std::find_if(File->Created.begin(), File->Created.end(),
                                [I](const TAviStream* S) { return S->Index == static_cast<Integer>(I); });
      if (Found == File->Created.end()) continue;
      AVIStreamInfoW(*Found, &StreamInfo, sizeof StreamInfo);
    } else {
      TAviStream Probe;
      Probe.File = File;
      Probe.Index = static_cast<Integer>(I);
      FillReadInfo(&Probe);
      Probe.File = nullptr;
      StreamInfo = Probe.Info;
    }
    if (StreamInfo.fccType != streamtypeVIDEO || Result.dwRate != 0) continue;
    Result.dwWidth = static_cast<DWORD>(StreamInfo.rcFrame.Width());
    Result.dwHeight = static_cast<DWORD>(StreamInfo.rcFrame.Height());
    Result.dwScale = StreamInfo.dwScale;
    Result.dwRate = StreamInfo.dwRate;
    Result.dwLength = StreamInfo.dwLength;
    Result.dwSuggestedBufferSize = StreamInfo.dwSuggestedBufferSize;
  }
  std::memcpy(static_cast<void*>(Info), &Result,
              std::min<std::size_t>(std::max<LONG>(Size, 0), sizeof Result));
  return AVIERR_OK;
}

HRESULT AVIFileGetStream(PAVIFILE File, PAVISTREAM* Stream, DWORD Type, LONG Index) {
  if (!Stream) return AVIERR_BADPARAM;
  *Stream = nullptr;
  if (!File) return AVIERR_BADHANDLE;
  const AVMediaType Wanted = MediaTypeOf(Type);
  LONG Seen = 0;
  for (Cardinal I = 0; I < File->Format->nb_streams; ++I) {
    if (Type != 0 && File->Format->streams[I]->codecpar->codec_type != Wanted) continue;
    if (Seen++ != Index) continue;
    if (File->Writing) {
      auto Found = std::find_if(File->Created.begin(), File->Created.end(),
                                [I](const TAviStream* S) { return S->Index == static_cast<Integer>(I); });
      if (Found == File->Created.end()) return AVIERR_NODATA;
      AVIStreamAddRef(*Found);
      *Stream = *Found;
      return AVIERR_OK;
    }
    TAviStream* Result = NewStream(File, TAviStreamKind::Read);
    Result->Index = static_cast<Integer>(I);
    FillReadInfo(Result);
    *Stream = Result;
    return AVIERR_OK;
  }
  return AVIERR_NODATA;
}

HRESULT AVIFileCreateStreamW(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFOW* Info) {
  if (!Stream) return AVIERR_BADPARAM;
  *Stream = nullptr;
  if (!File || !Info) return AVIERR_BADHANDLE;
  if (!File->Writing) return AVIERR_READONLY;
  if (File->HeaderWritten || Info->fccType != streamtypeVIDEO) return AVIERR_UNSUPPORTED;
  if (Info->dwRate == 0 || Info->dwScale == 0 || Info->dwRate > 0x7FFFFFFF || Info->dwScale > 0x7FFFFFFF)
    return AVIERR_BADPARAM;
  AVStream* Created = avformat_new_stream(File->Format, nullptr);
  if (!Created) return AVIERR_MEMORY;
  Created->time_base = AVRational{static_cast<int>(Info->dwScale), static_cast<int>(Info->dwRate)};
  Created->avg_frame_rate = AVRational{static_cast<int>(Info->dwRate), static_cast<int>(Info->dwScale)};
  Created->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  TAviStream* Result = NewStream(File, TAviStreamKind::Plain);
  Result->Index = Created->index;
  Result->Info = *Info;
  Result->Info.dwLength = 0;
  File->Created.push_back(Result);
  *Stream = Result;
  return AVIERR_OK;
}

// ---- Streams ------------------------------------------------------------------------------

TAviStream::~TAviStream() {
  if (Kind == TAviStreamKind::Compressed) AviFlushEncoder(this);
  if (Kind == TAviStreamKind::Plain && File) {
    // A stream that got no frame still goes into the header: an empty movie is a valid one.
    if (!File->HeaderWritten) File->BeginWriting();
    File->Created.erase(std::remove(File->Created.begin(), File->Created.end(), this), File->Created.end());
  }
  AVIStreamRelease(Target);
  AVIFileRelease(File);
}

ULONG AVIStreamAddRef(PAVISTREAM Stream) {
  return Stream ? ++Stream->Refs : 0;
}

ULONG AVIStreamRelease(PAVISTREAM Stream) {
  if (!Stream) return 0;
  const ULONG Left = --Stream->Refs;
  if (Left == 0) delete Stream;
  return Left;
}

HRESULT AVIStreamInfoW(PAVISTREAM Stream, AVISTREAMINFOW* Info, LONG Size) {
  if (!Stream || !Info) return AVIERR_BADHANDLE;
  AVISTREAMINFOW Result = Stream->Info;
  if (Stream->Kind != TAviStreamKind::Read) Result.dwLength = static_cast<DWORD>(Stream->Length);
  std::memcpy(static_cast<void*>(Info), &Result,
              std::min<std::size_t>(std::max<LONG>(Size, 0), sizeof Result));
  return AVIERR_OK;
}

LONG AVIStreamStart(PAVISTREAM Stream) {
  return Stream ? static_cast<LONG>(Stream->Info.dwStart) : -1;
}

LONG AVIStreamLength(PAVISTREAM Stream) {
  if (!Stream) return -1;
  return Stream->Kind == TAviStreamKind::Read ? static_cast<LONG>(Stream->Info.dwLength) : Stream->Length;
}

LONG AVIStreamSampleToTime(PAVISTREAM Stream, LONG Sample) {
  if (!Stream || Stream->Info.dwRate == 0) return -1;
  // Wider than 64 bits: a damaged header may hold any scale.
  const long double Ms = static_cast<long double>(Sample) * 1000 * Stream->Info.dwScale / Stream->Info.dwRate;
  return static_cast<LONG>(std::clamp<long double>(std::floor(Ms), -0x7FFFFFFF, 0x7FFFFFFF));
}

LONG AVIStreamTimeToSample(PAVISTREAM Stream, LONG Time) {
  if (!Stream || Stream->Info.dwScale == 0) return -1;
  const long double Sample =
      static_cast<long double>(Time) * Stream->Info.dwRate / (1000.0L * Stream->Info.dwScale);
  return static_cast<LONG>(std::clamp<long double>(std::floor(Sample), -0x7FFFFFFF, 0x7FFFFFFF));
}

HRESULT AVIStreamReadFormat(PAVISTREAM Stream, LONG, void* Format, LONG* Size) {
  if (!Stream || !Size) return AVIERR_BADHANDLE;
  if (Stream->Dib.Width <= 0) return AVIERR_NODATA;
  std::vector<Byte> Packed = AviPackDibHeader(Stream->Dib);
  if (Stream->Kind == TAviStreamKind::Read && !Stream->HasFormat) {
    // Compressed frames: their code in biCompression.
    const DWORD Tag = Stream->File->Format->streams[Stream->Index]->codecpar->codec_tag;
    for (Integer I = 0; I < 4; ++I) Packed[16 + I] = static_cast<Byte>(Tag >> (8 * I));
  }
  if (!Format) {
    *Size = static_cast<LONG>(Packed.size());
    return AVIERR_OK;
  }
  const LONG Count = std::min<LONG>(*Size, static_cast<LONG>(Packed.size()));
  if (Count > 0) std::memcpy(Format, Packed.data(), static_cast<std::size_t>(Count));
  *Size = std::max<LONG>(Count, 0);
  return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM Stream, LONG, const void* Format, LONG Size) {
  if (!Stream) return AVIERR_BADHANDLE;
  if (Stream->Kind == TAviStreamKind::Read) return AVIERR_READONLY;
  TAviDibFormat Dib;
  if (!AviParseDibFormat(Format, Size, Dib)) return AVIERR_BADFORMAT;
  if (Stream->HasFormat) {
    // Only the palette may change once frames have a format.
    if (!Stream->Dib.SameShape(Dib)) return AVIERR_BADFORMAT;
    if (Dib.Palette != Stream->Dib.Palette) {
      Stream->Dib.Palette = std::move(Dib.Palette);
      Stream->PaletteChanged = true;
    }
    return AVIERR_OK;
  }
  if (Stream->File->HeaderWritten) return AVIERR_UNSUPPORTED;
  if (Stream->Kind == TAviStreamKind::Compressed) {
    if (!AviOpenEncoder(Stream, Dib.Width, Dib.Height)) return AVIERR_BADFORMAT;
  } else {
    AVCodecParameters* Par = Stream->File->Format->streams[Stream->Index]->codecpar;
    Par->codec_type = AVMEDIA_TYPE_VIDEO;
    Par->codec_id = AV_CODEC_ID_RAWVIDEO;
    Par->codec_tag = 0;
    Par->width = Dib.Width;
    Par->height = Dib.Height;
    Par->bits_per_coded_sample = Dib.BitCount;
    Par->format = Dib.BitCount == 32   ? AV_PIX_FMT_BGRA
                  : Dib.BitCount == 24 ? AV_PIX_FMT_BGR24
                  : Dib.BitCount == 16 ? AV_PIX_FMT_RGB555LE
                  : Dib.BitCount == 8  ? AV_PIX_FMT_PAL8
                                       : AV_PIX_FMT_NONE;
  }
  Stream->Dib = std::move(Dib);
  Stream->HasFormat = true;
  Stream->PaletteChanged = Stream->Dib.BitCount <= 8;
  Stream->Info.rcFrame = RECT{0, 0, Stream->Dib.Width, Stream->Dib.Height};
  return AVIERR_OK;
}

namespace {

// The palette as the muxer takes it with a frame: 256 entries of 0xAARRGGBB.
bool AttachPalette(AVPacket* Packet, const std::vector<RGBQUAD>& Palette) {
  auto* Side =
      reinterpret_cast<uint32_t*>(av_packet_new_side_data(Packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE));
  if (!Side) return false;
  std::memset(Side, 0, AVPALETTE_SIZE);
  for (std::size_t I = 0; I < Palette.size() && I < 256; ++I)
    Side[I] = 0xFF000000u | (Palette[I].rgbRed << 16) | (Palette[I].rgbGreen << 8) | Palette[I].rgbBlue;
  return true;
}

}  // namespace

HRESULT AVIStreamWrite(PAVISTREAM Stream, LONG Start, LONG Samples, const void* Buffer, LONG Bytes, DWORD,
                       LONG* SamplesWritten, LONG* BytesWritten) {
  if (SamplesWritten) *SamplesWritten = 0;
  if (BytesWritten) *BytesWritten = 0;
  if (!Stream) return AVIERR_BADHANDLE;
  if (Stream->Kind == TAviStreamKind::Read) return AVIERR_READONLY;
  if (!Stream->HasFormat) return AVIERR_BADFORMAT;
  if (Samples != 1 || Start != Stream->Length || !Buffer) return AVIERR_BADPARAM;
  const Int64 Needed = Stream->Dib.ImageBytes();
  if (Bytes < Needed) return AVIERR_BADSIZE;
  HRESULT Result = AVIERR_OK;
  if (Stream->Kind == TAviStreamKind::Compressed) {
    Result = AviWriteCompressed(Stream, static_cast<const Byte*>(Buffer), Bytes);
  } else {
    AVPacket* Packet = av_packet_alloc();
    if (!Packet || av_new_packet(Packet, static_cast<int>(Needed)) < 0) {
      av_packet_free(&Packet);
      return AVIERR_MEMORY;
    }
    std::memcpy(Packet->data, Buffer, static_cast<std::size_t>(Needed));
    Packet->pts = Packet->dts = Stream->Length;
    Packet->duration = 1;
    Packet->stream_index = Stream->Index;
    Packet->flags |= AV_PKT_FLAG_KEY;  // uncompressed frames stand alone
    if (Stream->Dib.BitCount <= 8 && Stream->PaletteChanged) {
      if (!AttachPalette(Packet, Stream->Dib.Palette)) Result = AVIERR_MEMORY;
      Stream->PaletteChanged = false;
    }
    if (Result == AVIERR_OK && !Stream->File->WritePacket(Packet)) Result = AVIERR_FILEWRITE;
    av_packet_free(&Packet);
    if (Result == AVIERR_OK) ++Stream->Length;
  }
  if (Result != AVIERR_OK) return Result;
  if (SamplesWritten) *SamplesWritten = 1;
  if (BytesWritten) *BytesWritten = static_cast<LONG>(Needed);
  return AVIERR_OK;
}

// ---- The compression dialog ---------------------------------------------------------------

HRESULT AVISaveOptionsFree(Integer Count, AVICOMPRESSOPTIONS** Options) {
  if (!Options) return AVIERR_OK;
  for (Integer I = 0; I < Count; ++I) {
    if (!Options[I]) continue;
    std::free(Options[I]->lpFormat);
    std::free(Options[I]->lpParms);
    Options[I]->lpFormat = Options[I]->lpParms = nullptr;
    Options[I]->cbFormat = Options[I]->cbParms = 0;
  }
  return AVIERR_OK;
}
