#pragma once
// The JPEG filter: baseline and progressive JPEG read from and written to any TStream through
// libjpeg-turbo. Rows travel in the library's B-G-R order (the codec's extended colour spaces
// do the swap); the APPn and COM markers of a file are kept in the parameters' marker list and
// written back; ICC, IPTC, EXIF and XMP data reach the parameters.
//
// The codec leaves an error through longjmp: every call into it sits in a small step that owns
// no C++ object, and a failure comes out here as the progress record's Aborting flag or as
// EIEJpegException, never as a jump across C++ frames.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIOParamsVals;
class TStream;

TV_DECLARE_EXCEPTION(EIEJpegException, Exception)

// Decodes the JPEG data found at the stream position or within the next 149 bytes into Bitmap
// and fills IOParams; returns the rows decoded. TablesStream (nullptr, or Stream itself, for
// none) holds the tables of an abbreviated stream. Preview reads the parameters only (Bitmap
// untouched); RawYCbCr delivers Y, Cb, Cr bytes unconverted; ReadMetadata parses IPTC, EXIF
// and XMP from the kept markers; InvertCMYK inverts CMYK samples before their conversion to
// 24 bits (sources that store ink amounts); DropAppliedICC drops the APP2 markers when the
// embedded profile was applied; ReadICCProfile collects the embedded profile; MaxRows limits
// the rows (-1 all); NativePixelFormat keeps grey as ie8g and CMYK as ieCMYK.
// Failures set *Progress.Aborting; only a corrupt TablesStream raises EIEJpegException.
Integer JpegReadStream(TStream* Stream, TStream* TablesStream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                       TIEIOProgress& Progress, bool Preview, bool RawYCbCr, bool ReadMetadata,
                       bool InvertCMYK, bool DropAppliedICC, bool ReadICCProfile, Integer MaxRows,
                       bool NativePixelFormat);

// Encodes Bitmap (any pixel format; others than ie24RGB through a converted copy) with the
// parameters' JPEG options and markers at the stream position. A short write sets Aborting; a
// codec error sets Aborting and raises EIEJpegException.
void JpegWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// The absolute position of the first FF D8 FF that starts at the stream position or at one of
// the next 149 positions, or -1. Search false looks at the stream position only. The position
// is restored.
Int64 JpegFindSOI(TStream* Stream, bool Search);

// The length of the JPEG data from the stream position: its marker segments up to and
// including the end-of-image marker, or to the end of the stream. The position is restored.
Integer JpegStreamLength(TStream* Stream);

// Collects the ICC profile of the APP2 chunks before the first frame into the parameters'
// input profile; the position is restored.
void JpegReadICCProfile(TStream* Stream, TIOParamsVals& IOParams);

// The text of a message code of the codec's classic list ("Corrupted" outside it).
const char* JpegMessageText(Integer Code);

// ---- Step-by-step decompression for other filters (the camera-raw decoder) ----
// Thin wrappers of the codec's calls on a decompressor record; a codec error raises
// EIEJpegException. A caller's fill procedure must not raise: it runs inside the codec.
struct jpeg_decompress_struct;
using TIEJpegDecompress = jpeg_decompress_struct;
// Hands the codec more data through IEJpegSetSourceBuffer; false only to suspend.
using TIEJpegFillInputBuffer = bool (*)(TIEJpegDecompress* Info);

TIEJpegDecompress* IEJpegNewDecompress();
// An error manager without abort flag, attached to Info.
void IEJpegNewErrorManager(TIEJpegDecompress* Info);
void IEJpegCreateDecompress(TIEJpegDecompress* Info);
// The stream source on Stream, without abort flag.
void IEJpegStreamSource(TIEJpegDecompress* Info, TStream* Stream);
void IEJpegSetFillInputBuffer(TIEJpegDecompress* Info, TIEJpegFillInputBuffer Fill);
void IEJpegSetSourceBuffer(TIEJpegDecompress* Info, const Byte* Data, Integer Count);
Integer IEJpegReadHeader(TIEJpegDecompress* Info, bool RequireImage);
void IEJpegStartDecompress(TIEJpegDecompress* Info);
Integer IEJpegOutputWidth(const TIEJpegDecompress* Info);
Integer IEJpegOutputHeight(const TIEJpegDecompress* Info);
Integer IEJpegOutputComponents(const TIEJpegDecompress* Info);
Integer IEJpegOutputScanline(const TIEJpegDecompress* Info);
// Rows of SamplesPerRow bytes from the codec's pool (1: the image pool), freed with the record.
Byte** IEJpegAllocSampleArray(TIEJpegDecompress* Info, Integer Pool, Integer SamplesPerRow, Integer Rows);
Integer IEJpegReadScanlines(TIEJpegDecompress* Info, Byte** Rows, Integer MaxLines);
void IEJpegFinishDecompress(TIEJpegDecompress* Info);
// Also frees the stream source.
void IEJpegDestroyDecompress(TIEJpegDecompress* Info);
void IEJpegFreeDecompress(TIEJpegDecompress* Info);
void IEJpegFreeErrorManager(TIEJpegDecompress* Info);
