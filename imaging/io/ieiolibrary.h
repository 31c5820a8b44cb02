#pragma once
// Start-up and shut-down of the input/output library, its library-wide settings and its
// debug log.
//
// IORegisterLibraryHooks puts IOLibraryInitialize and IOLibraryFinalize into the imaging
// library's I/O slot; the program (and each test fixture that needs the I/O side) calls it
// once before LibraryInitialize. The settings are plain variables: the start-up writes them
// once on the main thread, any thread reads them afterwards, nothing locks them. A host may
// change them after the start-up.
//
// Settings of the I/O side that the imaging core itself reads live in the core and are set
// here too: IEUsePlatformFileExists (iestreams.h), IETempFolder (iefilebuffer.h),
// IEQuantizerMethod and IENeuQuantQuality (iequantizer.h), ColorManagementEnabled
// (ieconvertcolorrow.h), IECMYKProfileConversion and the CMYK and sRGB profiles
// (iecmykprofile.h).
#include <memory>
#include <string>
#include <vector>

#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Types.h"

class TCriticalSection;
class TStringList;

// The LZW codecs every parameters reset copies (nullptr: none installed). The start-up sets
// them to the library's own codecs, which the further-formats library provides through
// IESetLzwCodecs before the start-up.
extern TGifLzwDecompressProc IEGifLzwDecompressProc;
extern TGifLzwCompressProc IEGifLzwCompressProc;
extern TTiffLzwDecompressProc IETiffLzwDecompressProc;
extern TTiffLzwCompressProc IETiffLzwCompressProc;

struct TIELzwCodecs {
  TGifLzwDecompressProc GifDecompress = nullptr;
  TGifLzwCompressProc GifCompress = nullptr;
  TTiffLzwDecompressProc TiffDecompress = nullptr;
  TTiffLzwCompressProc TiffCompress = nullptr;
};
// The codecs the next start-up installs.
void IESetLzwCodecs(const TIELzwCodecs& Codecs);

// The AVI file library's shut-down; the AVI operations set it when they first start that
// library, and the I/O shut-down calls it then. nullptr: the library was never started.
extern void (*IEAviFileLibraryExit)();

// The scanner log file; empty: no log.
extern std::string IETWainLogFile;

// The row colour conversion of the JPEG and TIFF filters: Count pixels of SourceLayout at
// Source become TargetLayout at Dest (colour layout codes 0..8), with the profiles of IOParams
// when colour management applies.
using TIEConvertColorRowProc = void (*)(void* Source, Byte SourceLayout, void* Dest, Byte TargetLayout,
                                        Integer Count, TIOParamsICC* IOParams);
extern TIEConvertColorRowProc IEConvertColorRowProc;

// Readers that make a buffered read stream pass this as its relative-origin argument.
extern bool IERelativeStreamOrigin;
// The larger side of a rendered metafile, in pixels.
extern Integer IEMetafileMaxSize;

// An external format library: its handle (from dlopen), the format it registered and its lock
// (nullptr when it has none). Nothing in the program adds one; the shut-down unregisters each
// format and closes each library.
struct TIEIOPlugin {
  void* LibraryHandle = nullptr;
  TIEFileType FileType = ioUnknown;
  std::unique_ptr<TCriticalSection> Lock;
};
// nullptr outside the time between start-up and shut-down.
extern std::unique_ptr<std::vector<std::unique_ptr<TIEIOPlugin>>> IEIOPlugins;

// Every call appends one line "<date> <time> : <Message>" to this file and closes it again, so
// lines survive a crash; empty (the default): no log.
extern std::string IEDebugLogFileName;
void WriteDebugLog(const std::string& Message);

// The installed video compressors, in the platform's order: their four-character codes, and
// their descriptions (index i of both names the same compressor). New lists, owned by the
// caller; empty when no compressor is installed.
std::unique_ptr<TStringList> GetVideoCodecFourCCs();
std::unique_ptr<TStringList> GetVideoCodecNames();

void IOLibraryInitialize();
void IOLibraryFinalize();
void IORegisterLibraryHooks();
