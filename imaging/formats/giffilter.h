#pragma once
// The GIF filter: reads one frame of a GIF file with the file's and the frame's parameters and
// counts the frames; writes a picture as a GIF file of one frame. Frames are not composed here:
// the component reads frame after frame and lays them over each other by the position,
// disposal and transparency the reader stores. The image data goes through the parameters' LZW
// codec (else the library's). Reading never raises for bad data: it sets the abort flag or
// stops where the data ends; every colour table, block and frame size is bounded by the data.
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;
class TIOParamsVals;

// Reads the frame IOParams.GifImageIndex from the stream's position into Bitmap (ie1g for a
// black-and-white table, ie8p with NativePixelFormat, else ie24RGB) and the parameters;
// FrameCount receives the number of frames of the file (also stored as the image count).
// Preview fills the parameters only. AlphaMask receives an 8-bit mask of the frame's opaque
// pixels (created when nil), or is reset to nil when the frame has no transparent pixel;
// IgnoreAlpha leaves it alone. A frame that the file does not hold leaves Bitmap alone.
void GifReadStream(TStream* Stream, TIEBitmap* Bitmap, Integer& FrameCount, TIOParamsVals& IOParams,
                   TIEIOProgress& Progress, bool Preview, std::unique_ptr<TIEMask>& AlphaMask,
                   bool IgnoreAlpha);

// Writes Bitmap (any pixel format; an alpha channel below 255 becomes the transparent index) as
// one GIF file of IOParams.BitsPerSample bits per pixel, with the GIF options of IOParams and its
// comments. A short write sets the abort flag.
void GifWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// Row Index of an interlaced frame of Height rows holds picture row GifInterlacedRow(Index):
// rows 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then 1, 3 ...
Integer GifInterlacedRow(Integer Index, Integer Height);
