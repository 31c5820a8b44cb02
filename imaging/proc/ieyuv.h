#pragma once
// YUV video frames into 24-bit pictures. Each decoder fills every row of an ie24RGB picture
// already allocated at the frame's size from Data; TopDown puts the first data row into row 0,
// otherwise into the last row.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;

// BT.601 with studio range (luma 16 .. 235).
void IEYUVToRGB(Integer Y, Integer U, Integer V, TIERGBTriple& Pixel);

// Planar: the luma plane, then the two chroma planes at half (I420, YV12) or a quarter (YVU9)
// of the width and height; I420 stores U first, the others V.
void IEDecodeI420(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeYV12(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeYVU9(const void* Data, TIEBitmap* Bitmap, bool TopDown);
// Packed: blocks of pixels sharing their chroma samples.
void IEDecodeYUY2(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeUYVY(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeYVYU(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeY211(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeIYU1(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeIYU2(const void* Data, TIEBitmap* Bitmap, bool TopDown);
void IEDecodeY41P(const void* Data, TIEBitmap* Bitmap, bool TopDown);
// One little-endian word per four pixels: U, V in 6 bits, four 5-bit lumas, used as stored.
void IEDecodeCLJR(const void* Data, TIEBitmap* Bitmap, bool TopDown);
