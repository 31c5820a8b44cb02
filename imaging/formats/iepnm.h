#pragma once
// The PNM filter: portable bitmaps, greymaps and pixmaps in their ASCII ("P1" to "P3") and raw
// ("P4" to "P6") forms. The header's comments travel through IOParams.PxmComments, so a loaded
// file keeps them when saved again. Reading never raises for bad data: it sets the abort flag
// or stops where the data ends.
#include <string>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// The next token at the stream position: a run of ASCII letters and digits (the byte after it is
// consumed), or "#" and a comment's text without its surrounding blanks; empty at the end.
void PnmReadToken(TStream* Stream, std::string& Token);

// True for a "P1" to "P6" header with a positive width and height; the position is restored.
bool PnmIsFile(TStream* Stream);

// One picture at the stream position; with Preview only the parameters are filled. Rows short
// of data keep what was read; a size far beyond what the stream holds is refused.
void PnmReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview);

// Writes "P4" for 1-bit pictures, "P5" for 8-bit grey, else "P6" with 8 or 16-bit samples, as the
// picture and its bits per sample and samples per pixel say; a picture none of these fits fails.
void PnmWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);
