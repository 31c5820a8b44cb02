#pragma once
// A caller's DIB description (BITMAPINFO) read once, the same way for DIB sections,
// GetDIBits/SetDIBits and the device transfers (StretchDIBits, SetDIBitsToDevice).
#include <vector>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

constexpr bool ValidDibDepth(Integer Bpp) {
  return Bpp == 1 || Bpp == 4 || Bpp == 8 || Bpp == 16 || Bpp == 24 || Bpp == 32;
}

// True for what the layer can read: a header of at least 40 bytes, width > 0, height not 0,
// a DIB depth, BI_RGB, or BI_BITFIELDS at 16 or 32 bits with three non-zero masks (they follow
// a 40-byte header and sit at the same offset inside the larger headers). Masks receives the bit
// fields, BI_RGB's implied ones included.
bool ReadDibFormat(const BITMAPINFO* Info, DWORD Masks[3]);
// The colour table after the header (8 bits per pixel and less; empty above): biClrUsed entries,
// or all 2^bpp when that is 0 or too many. DIB_RGB_COLORS entries lose their reserved byte;
// DIB_PAL_COLORS entries are WORD indices into DC's palette (DC may be null).
std::vector<RGBQUAD> ReadColorTable(HDC DC, const BITMAPINFO* Info, UINT Usage);
// Rows rows of a DIB in Info's format as a surface, row order as biHeight's sign says. Masks
// and Colors come from the readers above; the surface points into Colors.
TSurface DibSurface(const BITMAPINFO* Info, const DWORD Masks[3], const std::vector<RGBQUAD>& Colors,
                    const void* Bits, Integer Rows);
