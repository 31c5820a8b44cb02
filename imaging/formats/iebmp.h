#pragma once
// The BMP filter: Windows and OS/2 device-independent bitmaps (12, 40, 64-byte and larger
// headers; 1, 4, 8, 16, 24 and 32 bits; RLE4, RLE8 and bit fields; bottom-up and top-down).
// Reading never raises for bad data: it sets *Progress.Aborting or stops where the data ends;
// every count, offset and palette index from the file is checked before use.
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;

// Reads one bitmap at the stream's position. StreamSize: bytes that belong to the bitmap (0 or
// less: unknown). NoFileHeader: the data starts with the bitmap header
// (a bare resource). AlphaMask receives the 8-bit alpha of a 32-bit file (created when
// nil), or is reset to nil when that alpha says nothing (all 0 or all 255); the caller owns it.
void BmpReadStream(TStream* Stream, TIEBitmap* Bitmap, Int64 StreamSize, TIOParamsVals& IOParams,
                   TIEIOProgress& Progress, bool Preview, bool NoFileHeader,
                   std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha);

// Writes one complete BMP file at the stream's position and leaves the stream at its end.
// SaveAlpha: 32-bit files take the picture's alpha as their fourth byte, else 255.
void BmpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    bool SaveAlpha);

// Run-length decoding of a whole block into an allocated bitmap: the index forms write palette
// indices into an ie8p picture, the RGB forms Palette's colours (256 entries) into an ie24RGB
// one. RowOrigin is 0 for bottom-up data, height - 1 for top-down data.
void BmpDecodeRle8ToIndices(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize,
                            const TIERGBTriple* Palette, TIEIOProgress& Progress, Integer RowOrigin);
void BmpDecodeRle8ToRGB(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize, const TIERGBTriple* Palette,
                        TIEIOProgress& Progress, Integer RowOrigin);
void BmpDecodeRle4ToIndices(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize,
                            const TIERGBTriple* Palette, TIEIOProgress& Progress, Integer RowOrigin);
void BmpDecodeRle4ToRGB(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize, const TIERGBTriple* Palette,
                        TIEIOProgress& Progress, Integer RowOrigin);

// One row of Count palette indices (one per byte) with its end-of-line code; returns the bytes
// written to Output, which must hold 2 x Count + 2 bytes.
Integer BmpEncodeRle8Row(const Byte* Indices, Integer Count, Byte* Output);
Integer BmpEncodeRle4Row(const Byte* Indices, Integer Count, Byte* Output);
