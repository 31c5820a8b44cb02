#pragma once
// The BMP file format as TBitmap reads and writes it. Every field is read and written
// little-endian one by one; sizes and offsets from the file are checked before anything is
// allocated or read, so a malformed file raises EInvalidGraphic "Bitmap image is not valid"
// and never reads or writes outside its buffers.
//
// Read: BITMAPCOREHEADER (12 bytes, RGBTRIPLE colours), BITMAPINFOHEADER (40) and its larger
// forms up to BITMAPV5HEADER (124); BI_RGB at 1/4/8/16/24/32 bits, BI_BITFIELDS at 16/32
// (masks after a 40-byte header or inside a larger one), BI_RLE8 and BI_RLE4 (decoded).
// Rows keep the file's orientation (top-down files stay top-down).
// Write: BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows; BI_RGB except 16-bit bitmaps
// other than 5-5-5 and 32-bit bitmaps with other masks, which are written with BI_BITFIELDS.
#include "platform/gdi/GdiObject.h"
#include "platform/system/Streams.h"

// Bytes per row of a DIB, in 64 bits so that hostile widths cannot wrap.
constexpr Int64 DibRowBytes64(Integer Width, Integer BitCount) {
  return ((static_cast<Int64>(Width) * BitCount + 31) / 32) * 4;
}

constexpr const char* SInvalidBitmap = "Bitmap image is not valid";

enum class TBmpHeader {
  Required,  // a file: starts with "BM"
  Optional,  // a resource: with or without the file header
};

// Reads one BMP from the stream's position and leaves the position after its pixel data.
// Returns a DIB section the caller owns.
HBITMAP ReadBmp(TStream* Stream, TBmpHeader Header);
// Writes Bitmap (a DIB section or a device bitmap) as a BMP file.
void WriteBmp(TStream* Stream, HBITMAP Bitmap);
