#pragma once
// Pictures as packed device-independent bitmaps (BITMAPINFOHEADER, colour table, rows bottom
// up, each padded to four bytes): what the annotation data of TIFF files embeds for image
// marks, and what the processing library hands to the clipboard and takes from video frames.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;

// 1 for ie1g, 8 for ie8g and ie8p, 24 for ie24RGB; 0 for formats packed through a 24-bit copy.
Integer IEDIBBitCount(TIEPixelFormat Format);
// Bytes of a packed DIB of Width x Height at BitCount (1, 8 or 24): header, colour table, rows.
Int64 IEPackedDIBSize(Integer BitCount, Integer Width, Integer Height);
// Writes the packed DIB of the Width x Height pixels from (X1, Y1) of an ie1g, ie8g, ie8p or
// ie24RGB picture to Out, which holds IEPackedDIBSize bytes, all zero.
void IEWritePackedDIB(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer Width, Integer Height, Integer DpiX,
                      Integer DpiY, Byte* Out);

// The whole picture at DpiX x DpiY dots per inch: ie1g as 1 bit (black, white), ie8g and
// ie8p as 8 bits with their grey ramp or palette, ie24RGB as 24 bits; other formats through a
// 24-bit copy. Empty when the picture has no pixels.
std::vector<Byte> IEPackBitmapToDIB(TIEBitmap* Bitmap, Integer DpiX, Integer DpiY);

// Where the pixels of an uncompressed DIB lie and how to read them.
struct TIEDIBLayout {
  Integer Width = 0;
  Integer Height = 0;  // positive
  bool TopDown = false;
  Integer BitCount = 0;                          // 1, 4, 8, 16, 24 or 32
  const Byte* Table = nullptr;                   // RGBQUAD entries for 4 and 8 bits
  Int64 TableEntries = 0;                        // indexes past them give black
  Cardinal Masks[3] = {0x7C00, 0x03E0, 0x001F};  // red, green, blue of 16-bit pixels
  const Byte* Rows = nullptr;
};
// The rows of Layout into Bitmap, already allocated at its size: ie1g for 1 bit (rows copied
// as they are), ie24RGB for the others.
void IEDecodeDIBRows(const TIEDIBLayout& Layout, TIEBitmap* Bitmap);

// Replaces Bitmap by an uncompressed 1-, 4-, 8-, 24- or 32-bit packed DIB (32 bits also with
// bit-field masks): 1-bit as ie1g, the others as ie24RGB. False, with Bitmap unchanged, when
// the header, colour table or rows do not fit in Size bytes or the layout is another one.
bool IEUnpackDIBToBitmap(const Byte* DIB, Integer Size, TIEBitmap* Bitmap);
