#pragma once
// The TIFF reading and writing the EXIF block needs, over TIETIFFHandler: the descriptive,
// EXIF and GPS tags of a page to and from TIEMetaParams, a thumbnail page in old-style JPEG,
// and the pixels of old-style JPEG and uncompressed 8-bit grey or RGB pages. They are the
// EXIF block's TIFF procedures until the I/O start-up puts the TIFF filter's in IEExifProcs;
// both map the tags through ietiffexiftags.h.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIEMetaParams;
class TStream;

// Reads page Params.TiffImageIndex of the TIFF structure that starts at the stream's position
// (its offsets count from there); the position is unchanged afterwards. ParamsOnly: its tags
// into Params; otherwise its picture into Bitmap. Sets *Progress.Aborting when the structure
// or the picture cannot be read.
void IEExifTiffReadStream(TIEBitmap* Bitmap, TStream* Stream, TIEMetaParams& Params, TIEIOProgress& Progress,
                          bool ParamsOnly);

// Without Bitmap: a new little-endian TIFF at the stream's position, holding Params' tags in
// page 0. With Bitmap and Append: Bitmap as a new last page of the TIFF that starts at stream
// position 0, in old-style JPEG. The number of pages written or found; failures set Aborting.
Integer IEExifTiffWriteStream(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIEMetaParams& Params,
                              TIEIOProgress& Progress);
