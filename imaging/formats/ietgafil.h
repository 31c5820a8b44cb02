#pragma once
// The Truevision TGA filter: colour-mapped, true-colour and grey pictures, raw or run-length
// packed, with the 2.0 extension area (author, job name, date, key colour, aspect, gamma).
// Reading never raises for bad data: it sets the abort flag or stops where the data ends; every
// size, colour map and packet from the file is bounded by the data before use.
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;

// True for an 18-byte header of a known image type and depth, a colour map type below 2 and a
// non-zero size; the stream position is restored.
bool TgaIsFile(TStream* Stream);

// Reads one picture from the stream's position to its end. Preview fills the parameters only.
// AlphaMask receives the picture's alpha (created when nil) or is reset to nil when every alpha
// is 0; IgnoreAlpha leaves it alone. Pixel depth 4 and packed 1-bit pictures are refused.
void TgaReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha);

// Writes Bitmap (ie24RGB or ie1g; anything else sets the abort flag and writes nothing) as one
// complete file with its extension area and footer, rows top to bottom. The depth follows the
// parameters: 1, 4 or 8 bits with SamplesPerPixel 1 (a quantized palette, or grey with
// TgaGrayLevel), else 32 bits when AlphaMask is given (never packed), else 24. Depths 8 and 24
// are run-length packed when TgaCompressed. A short write sets the abort flag.
void TgaWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    TIEMask* AlphaMask);

// One row of Count pixels of PixelBytes bytes (1 or 3) as run and raw packets; returns the bytes
// written to Out, which must hold Count x (PixelBytes + 1) bytes.
Integer TgaPackRow(const Byte* Pixels, Integer Count, Integer PixelBytes, Byte* Out);
