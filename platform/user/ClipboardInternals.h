#pragma once
// Conversions between clipboard formats. Every reader stays inside the block's GlobalSize;
// each result is a new block (or bitmap) the caller owns, null when the source is unusable.
#include <string>

#include "platform/gdi/GdiObject.h"
#include "platform/user/GlobalMemory.h"

// The text of a CF_TEXT (UTF-8) or CF_UNICODETEXT (UTF-16) block, up to its terminating 0.
std::string ClipboardText(HGLOBAL Mem, bool Unicode);
// A movable block with the text, 0-terminated, as CF_TEXT or CF_UNICODETEXT.
HGLOBAL TextBlock(const std::string& Utf8, bool Unicode);
// A packed DIB (BITMAPINFOHEADER, masks, colours, bits) of the bitmap: its own depth up to 8
// bits, else 32 bits.
HGLOBAL DibFromBitmap(HBITMAP Bitmap);
// A DIB section from a packed DIB (BITMAPINFOHEADER or V5 header).
HBITMAP BitmapFromDib(HGLOBAL Dib);
// The same image with a BITMAPV5HEADER (sRGB) / with a BITMAPINFOHEADER.
HGLOBAL DibV5FromDib(HGLOBAL Dib);
HGLOBAL DibFromDibV5(HGLOBAL Dib);
