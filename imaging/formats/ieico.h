#pragma once
// The icon and cursor filter: one image out of a Windows icon (ICO) or cursor (CUR) file, whose
// 1-bit AND part becomes an 8-bit alpha mask. An icon entry may also hold a PNG image, and a
// whole ".ico" may be a BMP file; both are handed to their own readers. Reading never raises for
// bad data (only a native load of an unknown depth raises "Unsupported pixel format"): it sets
// *Progress.Aborting or stops where the data ends.
#include <memory>

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
