#pragma once
// The PNG writer over libpng: chooses colour type, depth, palette, transparency, background,
// resolution, filter, compression, interlacing and text chunks from the parameters, prepares
// every row and feeds libpng through the stream.
//
// Failures: a libpng error raises EInvalidGraphic "Error on creating PNG" (after every resource
// is freed; no exception passes through libpng); a short write to the stream sets
// *Progress.Aborting, skips the remaining rows and the end chunk.
class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;
struct TIEIOProgress;

// AlphaMask: an 8-bit mask of alpha values, or nil. With SamplesPerPixel 1 a BitsPerSample
// other than 1, 8 or 16 is rewritten to 8 in IOParams.
void PngWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    TIEMask* AlphaMask);
