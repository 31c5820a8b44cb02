#pragma once
// The platform's bitmap description structures as plain value types. They describe bitmaps in
// memory only; files are read and written field by field, never as raw structs.
#include "platform/system/WinTypes.h"

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr DWORD BI_JPEG = 4;
constexpr DWORD BI_PNG = 5;
// The bit fields BI_RGB implies: 5-5-5 at 16 bits per pixel, 0x00RRGGBB at 32.
constexpr DWORD DibMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD DibMasks888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
  constexpr bool operator==(const RGBQUAD&) const = default;
};

struct RGBTRIPLE {
  BYTE rgbtBlue = 0;
  BYTE rgbtGreen = 0;
  BYTE rgbtRed = 0;
};

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;  // bytes per row; a multiple of 2 for DDBs, of 4 for DIB sections
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;  // lowest address of the pixels; DIB sections only
};

struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  LONG biWidth = 0;
  LONG biHeight = 0;  // positive: bottom-up rows; negative: top-down rows
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = BI_RGB;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};

struct CIEXYZ {
  LONG ciexyzX = 0;
  LONG ciexyzY = 0;
  LONG ciexyzZ = 0;
};
struct CIEXYZTRIPLE {
  CIEXYZ ciexyzRed;
  CIEXYZ ciexyzGreen;
  CIEXYZ ciexyzBlue;
};

struct BITMAPV4HEADER {
  DWORD bV4Size = 108;
  LONG bV4Width = 0;
  LONG bV4Height = 0;
  WORD bV4Planes = 1;
  WORD bV4BitCount = 0;
  DWORD bV4V4Compression = BI_RGB;
  DWORD bV4SizeImage = 0;
  LONG bV4XPelsPerMeter = 0;
  LONG bV4YPelsPerMeter = 0;
  DWORD bV4ClrUsed = 0;
  DWORD bV4ClrImportant = 0;
  DWORD bV4RedMask = 0;
  DWORD bV4GreenMask = 0;
  DWORD bV4BlueMask = 0;
  DWORD bV4AlphaMask = 0;
  DWORD bV4CSType = 0;
  CIEXYZTRIPLE bV4Endpoints;
  DWORD bV4GammaRed = 0;
  DWORD bV4GammaGreen = 0;
  DWORD bV4GammaBlue = 0;
};

struct BITMAPV5HEADER {
  DWORD bV5Size = 124;
  LONG bV5Width = 0;
  LONG bV5Height = 0;
  WORD bV5Planes = 1;
  WORD bV5BitCount = 0;
  DWORD bV5Compression = BI_RGB;
  DWORD bV5SizeImage = 0;
  LONG bV5XPelsPerMeter = 0;
  LONG bV5YPelsPerMeter = 0;
  DWORD bV5ClrUsed = 0;
  DWORD bV5ClrImportant = 0;
  DWORD bV5RedMask = 0;
  DWORD bV5GreenMask = 0;
  DWORD bV5BlueMask = 0;
  DWORD bV5AlphaMask = 0;
  DWORD bV5CSType = 0;
  CIEXYZTRIPLE bV5Endpoints;
  DWORD bV5GammaRed = 0;
  DWORD bV5GammaGreen = 0;
  DWORD bV5GammaBlue = 0;
  DWORD bV5Intent = 0;
  DWORD bV5ProfileData = 0;
  DWORD bV5ProfileSize = 0;
  DWORD bV5Reserved = 0;
};

// A header followed by up to 256 colour-table entries (or three masks for BI_BITFIELDS, kept in
// the first three entries as the platform lays them out). Larger than the C declaration, so
// that a caller never has to over-allocate to receive a colour table.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256] = {};
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3] = {0, 0, 0};
  HANDLE dshSection = nullptr;
  DWORD dsOffset = 0;
};

// Bytes per row of a DIB: rows are padded to 4 bytes.
constexpr Integer DibRowBytes(Integer Width, Integer BitCount) {
  return static_cast<Integer>(((static_cast<Int64>(Width) * BitCount + 31) / 32) * 4);
}
// Bytes per row of a device-dependent bitmap's bits as the platform hands them over
// (CreateBitmap, GetBitmapBits, SetBitmapBits, bmWidthBytes): rows are padded to 2 bytes.
constexpr Integer DdbRowBytes(Integer Width, Integer BitCount) {
  return static_cast<Integer>(((static_cast<Int64>(Width) * BitCount + 15) / 16) * 2);
}
