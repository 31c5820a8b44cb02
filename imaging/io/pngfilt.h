#pragma once
// The PNG reader over libpng: decodes a PNG picture from a stream into a TIEBitmap and fills
// the parameters. Rows arrive from libpng already in the bitmap's layout (B, G, R; grey; palette
// indices; 1-bit); only pictures with alpha and 1-bit palette pictures pass through a buffer.
// The reader raises nothing: every failure (bad data, a short stream) sets *Progress.Aborting,
// and rows decoded before it stay in the bitmap.
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;
struct TIEIOProgress;

// With Preview only the parameters are filled.
void PngReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview);

// True when the stream starts with the PNG signature; reads 8 bytes and moves back by the bytes
// it read. Callers check first that the stream holds more than 8 bytes.
bool PngIsFile(TStream* Stream);
