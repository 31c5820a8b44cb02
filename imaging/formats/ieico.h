#pragma once
// The icon and cursor filter: one image out of a Windows icon (ICO) or cursor (CUR) file, whose
// 1-bit AND part becomes an 8-bit alpha mask. An icon entry may also hold a PNG image, and a
// whole ".ico" may be a BMP file; both are handed to their own readers. Reading never raises for
// bad data (only a native load of an unknown depth raises "Unsupported pixel format"): it sets
// *Progress.Aborting or stops where the data ends.
#include <array>
#include <memory>
#include <span>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;

// Content tests; the stream's position is kept.
bool IcoIsFile(TStream* Stream);
bool CurIsFile(TStream* Stream);

// Loads the entry IOParams.IcoImageIndex (CurImageIndex) names; an index out of range loads
// nothing and is no failure. With Preview only the parameters are filled. AlphaMask receives
// the 8-bit transparency (created when nil) or is reset to nil when every pixel is opaque; the
// caller owns it. IgnoreAlpha: no mask is built or touched. BareResource: the stream holds one
// image without a directory (a cursor's starts with its hot spot), as resources keep them.
void IcoReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                   TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                   bool BareResource = false);
void CurReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                   TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                   bool BareResource = false);

// Writes one icon file with one image per entry of Sizes (width, height), each the picture
// resampled to that size at the depth of the same entry of BitCounts (1, 4, 8, 24 or 32; 0
// takes the parameters' BitsPerSample and SamplesPerPixel; a missing entry counts as 0).
// Pixels whose alpha is below 255 are transparent in the AND part (and index 0, black, at 4
// and 8 bits). IOParams.ColorMap keeps the last quantized palette. No sizes, a size below 1 or
// a short write set *Progress.Aborting.
void IcoWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    std::span<const std::array<Integer, 2>> Sizes, std::span<const Integer> BitCounts);

// The processing library's resampler (the alpha channel follows the picture), handed over by
// its start-up; nil before, and the writer then falls back on the core's box resamplers.
struct TIEIcoProcs {
  void (*ResampleBitmap)(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                         TIEProgressEvent OnProgress, TObject* Sender) = nullptr;
};
extern TIEIcoProcs IEIcoProcs;
