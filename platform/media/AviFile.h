#pragma once
// The platform's AVI file library (files, streams, frame reading, compressed streams) over
// libavformat's AVI demuxer and muxer and libavcodec's encoders and decoders.
//
// Files and streams are opaque, reference-counted handles: each Open/Get/Create call hands the
// caller one reference, released with AVIFileRelease or AVIStreamRelease in any order (a stream
// keeps its file alive). Frames are addressed by number from 0; a stream's time unit is
// dwScale / dwRate seconds per frame.
//
// Writing: AVIFileOpenW with OF_CREATE, AVIFileCreateStreamW (the plain stream, which takes
// uncompressed DIB frames), optionally AVIMakeCompressedStream over it, then per frame
// AVIStreamSetFormat (the first frame's BITMAPINFOHEADER, plus its colour table for 8 bits or
// less) and AVIStreamWrite of the DIB's rows. The file is finished (index written, OpenDML
// chunks past 1 GB) when its last reference is released. A later format of another size or
// depth than the first is refused (AVIERR_BADFORMAT); a later 8-bit format of the same size
// records a palette change at its position.
//
// Reading: AVIFileOpenW with OF_READ, AVIFileGetStream, AVIStreamInfoW, and frames as packed
// DIBs through AVIStreamGetFrameOpen / AVIStreamGetFrame.
//
// Threads: one thread per file at a time; AVIFileInit and AVIFileExit on the main thread.
#include <cstdint>
#include <string>

#include "platform/gdi/BitmapInfo.h"
#include "platform/system/Environment.h"  // HRESULT, S_OK
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

struct HWND__;
using HWND = HWND__*;

using FOURCC = DWORD;
constexpr FOURCC mmioFOURCC(char A, char B, char C, char D) {
  return static_cast<BYTE>(A) | (static_cast<DWORD>(static_cast<BYTE>(B)) << 8) |
         (static_cast<DWORD>(static_cast<BYTE>(C)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(D)) << 24);
}

constexpr FOURCC streamtypeVIDEO = mmioFOURCC('v', 'i', 'd', 's');
constexpr FOURCC streamtypeAUDIO = mmioFOURCC('a', 'u', 'd', 's');

// Open modes of AVIFileOpenW.
constexpr UINT OF_READ = 0x0000;
constexpr UINT OF_WRITE = 0x0001;
constexpr UINT OF_READWRITE = 0x0002;
constexpr UINT OF_SHARE_DENY_WRITE = 0x0020;
constexpr UINT OF_CREATE = 0x1000;

// Result codes.
constexpr HRESULT AVIERR_OK = 0;
constexpr HRESULT AVIERR_UNSUPPORTED = static_cast<HRESULT>(0x80044065u);
constexpr HRESULT AVIERR_BADFORMAT = static_cast<HRESULT>(0x80044066u);
constexpr HRESULT AVIERR_MEMORY = static_cast<HRESULT>(0x80044067u);
constexpr HRESULT AVIERR_INTERNAL = static_cast<HRESULT>(0x80044068u);
constexpr HRESULT AVIERR_BADFLAGS = static_cast<HRESULT>(0x80044069u);
constexpr HRESULT AVIERR_BADPARAM = static_cast<HRESULT>(0x8004406Au);
constexpr HRESULT AVIERR_BADSIZE = static_cast<HRESULT>(0x8004406Bu);
constexpr HRESULT AVIERR_BADHANDLE = static_cast<HRESULT>(0x8004406Cu);
constexpr HRESULT AVIERR_FILEREAD = static_cast<HRESULT>(0x8004406Du);
constexpr HRESULT AVIERR_FILEWRITE = static_cast<HRESULT>(0x8004406Eu);
constexpr HRESULT AVIERR_FILEOPEN = static_cast<HRESULT>(0x8004406Fu);
constexpr HRESULT AVIERR_COMPRESSOR = static_cast<HRESULT>(0x80044070u);
constexpr HRESULT AVIERR_NOCOMPRESSOR = static_cast<HRESULT>(0x80044071u);
constexpr HRESULT AVIERR_READONLY = static_cast<HRESULT>(0x80044072u);
constexpr HRESULT AVIERR_NODATA = static_cast<HRESULT>(0x80044073u);
constexpr HRESULT AVIERR_BUFFERTOOSMALL = static_cast<HRESULT>(0x80044074u);
constexpr HRESULT AVIERR_CANTCOMPRESS = static_cast<HRESULT>(0x80044075u);
constexpr HRESULT AVIERR_USERABORT = static_cast<HRESULT>(0x800440C6u);
constexpr HRESULT AVIERR_ERROR = static_cast<HRESULT>(0x800440C7u);

// Sample flags of AVIStreamWrite.
constexpr DWORD AVIIF_LIST = 0x00000001;
constexpr DWORD AVIIF_KEYFRAME = 0x00000010;

// AVICOMPRESSOPTIONS.dwFlags.
constexpr DWORD AVICOMPRESSF_INTERLEAVE = 0x00000001;
constexpr DWORD AVICOMPRESSF_DATARATE = 0x00000002;
constexpr DWORD AVICOMPRESSF_KEYFRAMES = 0x00000004;
constexpr DWORD AVICOMPRESSF_VALID = 0x00000008;

// AVISaveOptions flags.
constexpr UINT ICMF_CHOOSE_KEYFRAME = 0x0001;
constexpr UINT ICMF_CHOOSE_DATARATE = 0x0002;
constexpr UINT ICMF_CHOOSE_PREVIEW = 0x0004;

// The handler code of uncompressed frames.
constexpr FOURCC comptypeDIB = mmioFOURCC('D', 'I', 'B', ' ');

struct AVISTREAMINFOW {
  DWORD fccType = 0;
  DWORD fccHandler = 0;
  DWORD dwFlags = 0;
  DWORD dwCaps = 0;
  WORD wPriority = 0;
  WORD wLanguage = 0;
  DWORD dwScale = 0;
  DWORD dwRate = 0;  // dwRate / dwScale frames per second
  DWORD dwStart = 0;
  DWORD dwLength = 0;  // frames
  DWORD dwInitialFrames = 0;
  DWORD dwSuggestedBufferSize = 0;
  DWORD dwQuality = 0;  // 0..10000; 0xFFFFFFFF the codec's default
  DWORD dwSampleSize = 0;
  RECT rcFrame;
  DWORD dwEditCount = 0;
  DWORD dwFormatChangeCount = 0;
  char16_t szName[64] = {};
};

struct AVIFILEINFOW {
  DWORD dwMaxBytesPerSec = 0;
  DWORD dwFlags = 0;
  DWORD dwCaps = 0;
  DWORD dwStreams = 0;
  DWORD dwSuggestedBufferSize = 0;
  DWORD dwWidth = 0;
  DWORD dwHeight = 0;
  DWORD dwScale = 0;
  DWORD dwRate = 0;
  DWORD dwLength = 0;  // frames of the longest stream, in its units
  DWORD dwEditCount = 0;
  char16_t szFileType[64] = {};
};

struct AVICOMPRESSOPTIONS {
  DWORD fccType = 0;
  DWORD fccHandler = 0;  // the compressor's code; 0 or comptypeDIB: uncompressed
  DWORD dwKeyFrameEvery = 0;
  DWORD dwQuality = 0;  // 0..10000; 0xFFFFFFFF the codec's default
  DWORD dwBytesPerSecond = 0;
  DWORD dwFlags = 0;
  void* lpFormat = nullptr;
  DWORD cbFormat = 0;
  void* lpParms = nullptr;
  DWORD cbParms = 0;
  DWORD dwInterleaveEvery = 0;
};

struct TAviFile;
struct TAviStream;
struct TAviGetFrame;
using PAVIFILE = TAviFile*;
using PAVISTREAM = TAviStream*;
using PGETFRAME = TAviGetFrame*;

// The library's start-up and shut-down; every other call works without them.
void AVIFileInit();
void AVIFileExit();

// Mode OF_READ opens an existing file (AVIERR_FILEOPEN when it cannot be read,
// AVIERR_BADFORMAT when it is no movie); OF_CREATE (with OF_WRITE) creates a new AVI file
// (AVIERR_FILEOPEN when it cannot be created). Handler must be nil.
HRESULT AVIFileOpenW(PAVIFILE* File, const std::u16string& FileName, UINT Mode, const void* Handler);
// The count left; the file is finished and closed with its last reference.
ULONG AVIFileRelease(PAVIFILE File);
ULONG AVIFileAddRef(PAVIFILE File);
HRESULT AVIFileInfoW(PAVIFILE File, AVIFILEINFOW* Info, LONG Size);
// The Index-th stream of type Type (0: of any type); AVIERR_NODATA when there is none.
HRESULT AVIFileGetStream(PAVIFILE File, PAVISTREAM* Stream, DWORD Type, LONG Index);
// A new video stream in a file being written. Info gives fccType "vids", dwRate and dwScale;
// AVIERR_READONLY on a file opened for reading.
HRESULT AVIFileCreateStreamW(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFOW* Info);

ULONG AVIStreamRelease(PAVISTREAM Stream);
ULONG AVIStreamAddRef(PAVISTREAM Stream);
HRESULT AVIStreamInfoW(PAVISTREAM Stream, AVISTREAMINFOW* Info, LONG Size);
LONG AVIStreamStart(PAVISTREAM Stream);
// Frames; -1 for a nil stream.
LONG AVIStreamLength(PAVISTREAM Stream);
// Milliseconds from the start to the frame, computed in 64 bits; -1 for a nil stream.
LONG AVIStreamSampleToTime(PAVISTREAM Stream, LONG Sample);
// The frame at or before the time in milliseconds; -1 for a nil stream.
LONG AVIStreamTimeToSample(PAVISTREAM Stream, LONG Time);
// The stream's format at Pos (a BITMAPINFOHEADER and its colour table). Format nil: *Size
// receives the size needed; else at most *Size bytes are copied and *Size becomes the count.
HRESULT AVIStreamReadFormat(PAVISTREAM Stream, LONG Pos, void* Format, LONG* Size);
// Sets the format of the frames from Pos on; see the head of this file.
HRESULT AVIStreamSetFormat(PAVISTREAM Stream, LONG Pos, const void* Format, LONG Size);
// Appends Samples frames (1 for video) at Start, which must be the stream's length: Buffer
// holds Bytes bytes of DIB rows in the stream's format, bottom row first. SamplesWritten and
// BytesWritten may be nil.
HRESULT AVIStreamWrite(PAVISTREAM Stream, LONG Start, LONG Samples, const void* Buffer, LONG Bytes,
                       DWORD Flags, LONG* SamplesWritten, LONG* BytesWritten);

// A frame reader of a video stream. Wanted nil: the stream's own DIB format for uncompressed
// frames, 24-bit RGB for compressed ones; else Wanted's bit count (8, 16 and 32 are taken as
// 24 unless the stream has that count itself). Nil when no decoder reads the stream.
PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM Stream, const BITMAPINFOHEADER* Wanted);
// The packed DIB (header, colour table, rows bottom-up) of frame Pos; it stays valid until the
// next call with the same reader or its close. Nil past the end or when the frame cannot be
// decoded.
void* AVIStreamGetFrame(PGETFRAME Frames, LONG Pos);
HRESULT AVIStreamGetFrameClose(PGETFRAME Frames);

// A stream that compresses the frames written to it with Options' compressor and writes them
// to Source (the plain stream of a file being written). AVIERR_NOCOMPRESSOR when no
// compressor has that code; AVIERR_UNSUPPORTED when it cannot compress frames of the source's
// size (rcFrame); AVIERR_MEMORY. Handler must be nil.
HRESULT AVIMakeCompressedStream(PAVISTREAM* Compressed, PAVISTREAM Source, const AVICOMPRESSOPTIONS* Options,
                                const void* Handler);

// The compression dialog: a list of the installed compressors for each of the Count streams;
// fills *Options[i] and answers TRUE when the user confirmed, FALSE when cancelled.
BOOL AVISaveOptions(HWND Owner, UINT Flags, Integer Count, PAVISTREAM* Streams, AVICOMPRESSOPTIONS** Options);
// Frees what AVISaveOptions allocated inside the options (lpFormat, lpParms); not the records.
HRESULT AVISaveOptionsFree(Integer Count, AVICOMPRESSOPTIONS** Options);
