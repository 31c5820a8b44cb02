#pragma once
// Pictures as packed device-independent bitmaps (BITMAPINFOHEADER, colour table, rows bottom
// up, each padded to four bytes) in plain byte buffers: what the annotation data of TIFF
// files embeds for image marks.
#include <vector>

#include "platform/system/Types.h"

class TIEBitmap;

// The whole picture at DpiX x DpiY dots per inch: ie1g as 1 bit (black, white), ie8g and
// ie8p as 8 bits with their grey ramp or palette, ie24RGB as 24 bits; other formats through a
// 24-bit copy. Empty when the picture has no pixels.
std::vector<Byte> IEPackBitmapToDIB(TIEBitmap* Bitmap, Integer DpiX, Integer DpiY);

// Replaces Bitmap by an uncompressed 1-, 4-, 8-, 24- or 32-bit packed DIB (32 bits also with
// bit-field masks): 1-bit as ie1g, the others as ie24RGB. False, with Bitmap unchanged, when
// the header, colour table or rows do not fit in Size bytes or the layout is another one.
bool IEUnpackDIBToBitmap(const Byte* DIB, Integer Size, TIEBitmap* Bitmap);
