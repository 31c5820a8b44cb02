#pragma once
// The format registry: one ordered list of TIEFileFormatInfo rows that maps each TIEFileType
// to its description, extensions, save-dialog pages and procedures, with the extension lookup
// and the content detector that TZezudIdIO picks its loaders and savers by.
//
// Which rows exist. The registry knows the row of every format of the library (the table in
// iefileformats.cpp, in registration order), but InitFileFormats registers only the rows of
// formats whose filters are built into the program: JPEG and PNG (this library) always, the
// formats of the further-formats library (imaging/formats) once that library has registered
// its procedures. A format that is not registered has no row: the extension lookup does not
// know it and its content tests do not run (the detector still names the stream headers and
// signatures it checks itself), so the component finds no loader for it.
//
// How imaging/formats joins. This library never includes imaging/formats (nor the view library
// above it). The procedures of those libraries that this one calls are pointers in
// IEFormatProcs, nil until registered. The further-formats library's install call
// (IEFormatsInstall in imaging/formats/ieformats.h), made once before LibraryInitialize, sets
// IEFormatsRegistration; InitFileFormats, run by the I/O library's start-up, calls it before it
// builds the rows, and FreeFileFormats clears IEFormatProcs again. A further format therefore
// joins by its procedures in IEFormatProcs and its row's presence test in the row table.
//
// Threads: built before any component exists and changed only on the user-interface thread;
// background loads read it without a lock.
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;
struct TIEIOProgress;
struct TIERGBTriple;
struct PsDocumentState;
struct PdfDocumentState;
struct TIEPsdLayer;  // imaging/io/iepsdlayer.h

// Picture format codes; 22 and 23 are used by no code path.
using TIEFileType = Integer;
constexpr TIEFileType ioUnknown = 0;
constexpr TIEFileType ioTIFF = 1;
constexpr TIEFileType ioGIF = 2;
constexpr TIEFileType ioJPEG = 3;
constexpr TIEFileType ioPCX = 4;
constexpr TIEFileType ioBMP = 5;
constexpr TIEFileType ioICO = 6;
constexpr TIEFileType ioCUR = 7;
constexpr TIEFileType ioPNG = 8;
constexpr TIEFileType ioWMF = 9;
constexpr TIEFileType ioEMF = 10;
constexpr TIEFileType ioTGA = 11;
constexpr TIEFileType ioPXM = 12;
constexpr TIEFileType ioJP2 = 13;
constexpr TIEFileType ioJ2K = 14;
constexpr TIEFileType ioAVI = 15;  // detected, never registered
constexpr TIEFileType ioWBMP = 16;
constexpr TIEFileType ioPS = 17;
constexpr TIEFileType ioPDF = 18;
constexpr TIEFileType ioDCX = 19;
constexpr TIEFileType ioRAW = 20;
constexpr TIEFileType ioBMPRAW = 21;  // headerless raw bitmap
constexpr TIEFileType ioPSD = 24;
constexpr TIEFileType ioIEV = 25;  // vector objects
constexpr TIEFileType ioLYR = 26;  // layers
constexpr TIEFileType ioALL = 27;  // layers and objects
constexpr TIEFileType ioDICOM = 28;
constexpr TIEFileType ioHDP = 29;

// The three procedure shapes a row stores. Streams are read and written at their position;
// a read or write failure is reported through *Progress.Aborting.
using TIEReadFunction = void (*)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                 TIEIOProgress& Progress, bool Preview);
using TIEWriteFunction = void (*)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                  TIEIOProgress& Progress);
// True when the stream holds the format of FileType; the position is restored.
using TIETestFunction = bool (*)(TStream* Stream, TIEFileType FileType);

// Save-dialog pages (DialogPage bits).
constexpr Word ppJPEG = 4;
constexpr Word ppTIFF = 8;
constexpr Word ppGIF = 16;
constexpr Word ppBMP = 32;
constexpr Word ppPCX = 64;
constexpr Word ppPNG = 128;
constexpr Word ppTGA = 256;
constexpr Word ppJ2000 = 512;

struct TIEFileFormatInfo {
  TIEFileType FileType = ioUnknown;
  std::string FullName;
  std::string Extension;  // "TIF;TIFF;..." without dots; may be empty
  // Loaded and saved by TZezudIdIO's own per-format operations, not by the procedures below.
  bool InternalFormat = false;
  Word DialogPage = 0;
  TIEReadFunction ReadFunction = nullptr;  // nil: not read this way
  TIEWriteFunction WriteFunction = nullptr;
  TIETestFunction TestFunction = nullptr;
};

// The shared do-nothing procedures of the built-in rows: they count as present, and the test
// answers false, so built-in rows never take part in the registry's content tests.
void IEPlaceholderRead(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                       bool Preview);
void IEPlaceholderWrite(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);
bool IEPlaceholderTest(TStream* Stream, TIEFileType FileType);

// Registry life: InitFileFormats creates the list and registers the rows of the built formats;
// FreeFileFormats frees it. Both run once, from the I/O library's start-up and shut-down.
void InitFileFormats();
void FreeFileFormats();

// Appends Info; the registry owns it from then on.
void RegisterFileFormat(std::unique_ptr<TIEFileFormatInfo> Info);
// Removes and frees the first row of FileType; nothing when there is none.
void UnregisterFileFormat(TIEFileType FileType);
// The first row of FileType in registration order; nil when none. The row stays owned by the
// registry and lives until it is unregistered or the registry is freed.
TIEFileFormatInfo* FindFileFormatInfo(TIEFileType FileType);
// The row for a file extension, with or without its dot, in any case; nil when none.
TIEFileFormatInfo* FindFileFormatInfoByExtension(std::string_view Ext);
// The FileType of the row for Extension, 0 when none.
TIEFileType IEFileTypeOfExtension(std::string_view Extension);
// Extensions of the first row of FileType; an unknown code or an index past the end gives an
// empty text.
Integer FileFormatExtensionCount(TIEFileType FileType);
std::string FileFormatExtension(TIEFileType FileType, Integer Index);
// The number of registered rows and the row at a 0-based registration index (nil past the end).
Integer FileFormatCount();
TIEFileFormatInfo* FileFormatAt(Integer Index);

// The code of the stream's content, 0 when unknown; the position is the same afterwards.
// Every test reads only what the stream holds; an exception of a read or a test ends the
// detection with what was found so far.
TIEFileType DetectStreamFormat(TStream* Stream);
// True when the stream begins with a RIFF AVI header; the position is restored.
bool AviIsFile(TStream* Stream);
// The code of a named file, from its content reconciled with its extension.
TIEFileType FindFileFormat(std::u16string_view FileName, bool VerifyExtension);

// A content test of a library above this one: true when the stream holds its format; the
// position is restored.
using TIEContentTest = bool (*)(TStream* Stream);

// The procedures of the libraries above this one that this library calls; nil until those
// libraries register them (see the top of this file). A format's row is registered when its
// procedures are.
struct TIEFormatProcs {
  // BMP: StreamSize 0 reads to the end of the bitmap's own data; NoFileHeader: the data starts
  // with the bitmap header; a returned AlphaMask is the picture's transparency, owned by the
  // caller.
  void (*BmpReadStream)(TStream* Stream, TIEBitmap* Bitmap, Int64 StreamSize, TIOParamsVals& IOParams,
                        TIEIOProgress& Progress, bool Preview, bool NoFileHeader,
                        std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) = nullptr;
  void (*BmpWriteStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         bool HandleAlpha) = nullptr;
  // PNG writer; a non-nil AlphaMask is written as the alpha channel.
  void (*PngWriteStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         TIEMask* AlphaMask) = nullptr;
  // A picture of exactly two colours as an ie1g copy whose set bits are the lighter colour;
  // nil for other pictures. The TIFF writer's 1-bit pages use it.
  std::unique_ptr<TIEBitmap> (*TwoColorsTo1Bit)(TIEBitmap* Source, TIERGBTriple& Dark,
                                                TIERGBTriple& Light) = nullptr;
  // TGA: a returned AlphaMask is the picture's alpha, owned by the caller; a non-nil AlphaMask
  // given to the writer is written as the alpha channel.
  void (*TgaReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                        bool Preview, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) = nullptr;
  void (*TgaWriteStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         TIEMask* AlphaMask) = nullptr;
  // GIF: reads the frame IOParams.GifImageIndex and counts the frames; a returned AlphaMask is
  // the frame's transparency, owned by the caller.
  void (*GifReadStream)(TStream* Stream, TIEBitmap* Bitmap, Integer& FrameCount, TIOParamsVals& IOParams,
                        TIEIOProgress& Progress, bool Preview, std::unique_ptr<TIEMask>& AlphaMask,
                        bool IgnoreAlpha) = nullptr;
  TIEWriteFunction GifWriteStream = nullptr;
  // PSD: the reader fills Bitmap (may be nil) with the merged picture and Layers (may be nil)
  // with the layers it reads; the writer takes the merged picture and the layers.
  void (*PsdReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                        bool LoadLayers, std::vector<TIEPsdLayer>* Layers) = nullptr;
  void (*PsdWriteStream)(TStream* Stream, TIOParamsVals& IOParams, TIEIOProgress& Progress, TIEBitmap* Bitmap,
                         const std::vector<TIEPsdLayer>& Layers) = nullptr;
  // ICO and CUR readers (BareResource: one image without directory); a returned AlphaMask is
  // the picture's transparency, owned by the caller. The ICO writer writes one image per size,
  // at the bit count of the same index.
  void (*IcoReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                        TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                        bool BareResource) = nullptr;
  void (*CurReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                        TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                        bool BareResource) = nullptr;
  void (*IcoWriteStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         std::span<const std::array<Integer, 2>> Sizes,
                         std::span<const Integer> BitCounts) = nullptr;
  // Headerless pixel data into an allocated picture, laid out as the parameters' Raw* fields say.
  void (*HeaderlessRawReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                  TIEIOProgress& Progress) = nullptr;
  // PNM and WBMP readers and writers.
  TIEReadFunction PnmReadStream = nullptr;
  TIEWriteFunction PnmWriteStream = nullptr;
  TIEReadFunction WbmpReadStream = nullptr;
  TIEWriteFunction WbmpWriteStream = nullptr;
  // JPEG 2000 reader (JP2 file or code stream) and writer (Format 0 JP2 file, 1 code stream).
  void (*Jpeg2000ReadStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                             TIEIOProgress& Progress) = nullptr;
  void (*Jpeg2000WriteStream)(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Integer Format,
                              TIEIOProgress& Progress) = nullptr;
  // HD Photo reader and writer over the system's imaging component, and whether that answers.
  TIEReadFunction HdpReadStream = nullptr;
  TIEWriteFunction HdpWriteStream = nullptr;
  bool (*WicAvailable)() = nullptr;
  // PostScript and PDF writers of complete one-page documents, and the closers of a document
  // left open: each finishes it at its recorded end and frees the state.
  TIEWriteFunction PostScriptAddPage = nullptr;
  TIEWriteFunction PdfAddPage = nullptr;
  void (*PostScriptEndFile)(std::unique_ptr<PsDocumentState> State, TStream* Stream) = nullptr;
  void (*PdfWriteDocument)(std::unique_ptr<PdfDocumentState> State, TStream* Stream,
                           TIOParamsVals& IOParams) = nullptr;
  // DICOM reader (read-only format): the frame of the parameters' image index and every element.
  void (*DicomReadStream)(TStream* Stream, TIOParamsVals& IOParams, TIEBitmap* Bitmap,
                          TIEIOProgress& Progress, bool Preview) = nullptr;

  // Camera raw reader (read-only format).
  TIEReadFunction CameraRawReadStream = nullptr;

  // Content tests of the detector, in its order; the view library's three come last.
  TIEContentTest DicomIsFile = nullptr;
  TIEContentTest IcoIsFile = nullptr;
  TIEContentTest CurIsFile = nullptr;
  TIEContentTest TgaIsFile = nullptr;
  TIEContentTest PnmIsFile = nullptr;
  TIEContentTest Jpeg2000IsJp2File = nullptr;
  TIEContentTest Jpeg2000IsCodeStream = nullptr;
  TIEContentTest WmfIsFile = nullptr;
  TIEContentTest EmfIsFile = nullptr;
  TIEContentTest PsdIsFile = nullptr;
  TIEContentTest CameraRawIsFile = nullptr;
  TIEContentTest IsIEVStream = nullptr;
  TIEContentTest IsLayersStream = nullptr;
  TIEContentTest IsAllStream = nullptr;
};
extern TIEFormatProcs IEFormatProcs;

// Fills IEFormatProcs; nil when the further-formats library is not in the program.
using TIEFormatsRegistration = void (*)();
extern TIEFormatsRegistration IEFormatsRegistration;
