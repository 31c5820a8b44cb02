#pragma once
// The WBMP filter: type-0 wireless bitmaps, one bit a pixel (1 = white, as in ie1g), with the
// size in multi-byte integers. Reading never raises for bad data: it sets the abort flag or
// stops where the data ends.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// The largest width and height the writer produces.
constexpr Integer WbmpMaxSide = 255;

// One multi-byte integer of at most 4 bytes: seven bits a byte, most significant first, a set top
// bit announcing another byte.
Integer WbmpReadMultiByte(TStream* Stream);

// One picture at the stream position as ie1g; with Preview only the parameters are filled. A size
// far beyond what the stream holds is refused; a short file keeps its remaining rows as allocated.
void WbmpReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    bool Preview);

// Writes Bitmap as 1 bit, fitted into WbmpMaxSide x WbmpMaxSide keeping its proportions; the
// caller's picture is never changed and the parameters are not consulted.
void WbmpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);
