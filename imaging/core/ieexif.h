#pragma once
// The EXIF block of JPEG files: an APP1 payload of "Exif", 0, 0 and a small TIFF structure
// whose first page holds the EXIF tags and whose second page holds a JPEG thumbnail; the EXIF
// data and thumbnail of TIFF-structured camera raw files; copying the EXIF values between
// parameter objects and turning a thumbnail upright.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIEMetaParams;
class TStream;
class TIEBufferedReadStream;

// The six bytes in front of the TIFF structure.
constexpr Byte IEEXIFHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// What the EXIF block works through: the TIFF filter's reader and writer (ParamsOnly reads
// the tags of page TiffImageIndex into the parameters; a writer without bitmap writes the
// tags only) and the processing library's exact mirror (0 horizontal, 1 vertical) and
// rotation by multiples of 90 degrees (positive: counter-clockwise on screen). The core's own
// stand-ins are in place until those libraries put theirs here at their start-up.
struct TIEExifProcs {
  void (*TiffReadStream)(TIEBitmap* Bitmap, TStream* Stream, TIEMetaParams& Params, TIEIOProgress& Progress,
                         bool ParamsOnly);
  Integer (*TiffWriteStream)(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIEMetaParams& Params,
                             TIEIOProgress& Progress);
  void (*FlipBitmap)(TIEBitmap* Bitmap, Integer Direction);
  void (*RotateBitmap)(TIEBitmap* Bitmap, Integer Angle);
};
extern TIEExifProcs IEExifProcs;

// True when the data starts with "Exif" and a zero byte (the data read as a zero-terminated
// text is "Exif"); never reads past Length.
bool IEIsEXIFBlock(const void* Data, Integer Length);

// Buffer becomes the EXIF block of Params: the tags, then the thumbnail (when there is a
// non-empty one) as a second page in old-style JPEG; the "Exif" header in front WithHeader.
void IESaveEXIFToBuffer(TIEMetaParams& Params, std::vector<Byte>& Buffer, bool WithHeader);
// Reads an EXIF block with header into Params (values, maker note, thumbnail turned upright);
// false, with Params untouched, when the data is no EXIF block.
bool IELoadEXIFFromBuffer(const void* Data, Integer Length, TIEMetaParams& Params);

// The offset from the stream's position of the first TIFF header in the next 128 KB whose
// first-page offset lies inside the stream, or -1; the position is unchanged.
Int64 IESearchTIFFHeader(TIEBufferedReadStream* Stream);
// A camera raw file TIFF-structured from the stream's position: its tags, and the narrower
// non-blank of its first two pages as thumbnail. The position is unchanged.
bool IELoadEXIFFromRawStream(TIEBufferedReadStream* Stream, TIEMetaParams& Params);
// The tags of a TIFF stream straight into Params; the position is unchanged.
bool IELoadEXIFFromTIFFStream(TStream* Stream, TIEMetaParams& Params);

// Every EXIF and GPS value, the tag list, the maker note and (when Source has one) the
// thumbnail; Dest's EXIF description comes from Source's picture description.
void IECopyEXIF(TIEMetaParams& Source, TIEMetaParams& Dest);

// Orientation 2..8 of the EXIF tag applied; anything else leaves the bitmap as it is.
void IEApplyEXIFOrientation(TIEBitmap* Bitmap, Integer Orientation);
