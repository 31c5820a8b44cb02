#pragma once
// The objects behind the AVI file library's handles (inside the media library).
#include <atomic>
#include <string>
#include <vector>

#include "platform/media/AviFile.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVCodec;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// An uncompressed DIB format: the header's fields this library uses and the colour table.
struct TAviDibFormat {
  Integer Width = 0;
  Integer Height = 0;  // positive: rows bottom-up
  Integer BitCount = 0;
  std::vector<RGBQUAD> Palette;  // for 8 bits or less
  Integer RowBytes() const { return DibRowBytes(Width, BitCount); }
  Int64 ImageBytes() const { return static_cast<Int64>(RowBytes()) * Height; }
  bool SameShape(const TAviDibFormat& Other) const {
    return Width == Other.Width && Height == Other.Height && BitCount == Other.BitCount;
  }
};

// Reads an uncompressed 1-, 4-, 8-, 16-, 24- or 32-bit BI_RGB format of Size bytes; false for
// anything else.
bool AviParseDibFormat(const void* Format, LONG Size, TAviDibFormat& Dib);
// The packed DIB header and colour table of Dib.
std::vector<Byte> AviPackDibHeader(const TAviDibFormat& Dib);
// Row Source of Dib's layout as 24-bit BGR pixels.
void AviDibRowToBGR24(const TAviDibFormat& Dib, const Byte* Source, Byte* Dest);

struct TAviFile {
  std::atomic<ULONG> Refs{1};
  bool Writing = false;
  AVFormatContext* Format = nullptr;  // the demuxer, or the muxer with its open output
  bool HeaderWritten = false;
  bool WriteFailed = false;
  std::vector<struct TAviStream*> Created;  // streams made for writing, not owned
  ~TAviFile();
  // The muxer's header, once, before the first frame; false when it cannot be written.
  bool BeginWriting();
  bool WritePacket(AVPacket* Packet);
};

enum class TAviStreamKind { Read, Plain, Compressed };

struct TAviStream {
  std::atomic<ULONG> Refs{1};
  TAviStreamKind Kind = TAviStreamKind::Read;
  TAviFile* File = nullptr;  // one reference
  Integer Index = -1;        // the stream's number in the file
  AVISTREAMINFOW Info;
  bool HasFormat = false;
  TAviDibFormat Dib;            // the frames written (writing) or the stream's own (reading)
  bool PaletteChanged = false;  // a palette change waits for the next frame
  LONG Length = 0;              // frames written
  // Compressed streams.
  TAviStream* Target = nullptr;  // the plain stream, one reference
  const AVCodec* Codec = nullptr;
  AVICOMPRESSOPTIONS Options;
  AVCodecContext* Encoder = nullptr;
  SwsContext* Scaler = nullptr;
  AVFrame* Frame = nullptr;
  AVPacket* Packet = nullptr;
  std::vector<Byte> Expanded;  // 24-bit rows of palette, 16- and 32-bit frames
  ~TAviStream();
};

// The frame count of a stream being read.
LONG AviReadStreamLength(const TAviStream* Stream);
// Opens the encoder of a compressed stream for frames of Dib's size; false when it refuses.
bool AviOpenEncoder(TAviStream* Stream, Integer Width, Integer Height);
// Writes the encoder's remaining packets.
void AviFlushEncoder(TAviStream* Stream);
HRESULT AviWriteCompressed(TAviStream* Stream, const Byte* Rows, LONG Bytes);
