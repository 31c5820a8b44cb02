#pragma once
// The pixel-access layer. A surface is a block of rows in one of the DIB formats; every bitmap
// and every window target is drawn through one. Rows are addressed from the top (y = 0) with a
// signed stride, so bottom-up DIBs need no special case. Pixel values are in the surface's own
// format ("raw pixels"); COLORREF values cross the boundary through ColorToPixel/PixelToColor.
// Callers clip: nothing here checks coordinates except in debug builds.
#include <cassert>
#include <cstring>

#include "platform/gdi/BitmapInfo.h"

enum class TSurfaceFormat : Byte {
  pf1,        // palette index, most significant bit leftmost
  pf4,        // palette index, high nibble leftmost
  pf8,        // palette index
  pf16,       // 16-bit little-endian word split by the masks (555 by default)
  pf24,       // blue, green, red bytes
  pf32,       // 0x00RRGGBB little-endian word (blue byte first); the top byte is alpha
  pf32Masks,  // 32-bit word split by masks other than the 0x00RRGGBB layout
};

struct TSurface {
  Integer Width = 0;
  Integer Height = 0;
  Integer Bpp = 32;
  TSurfaceFormat Format = TSurfaceFormat::pf32;
  NativeInt Stride = 0;             // bytes from row y to row y + 1; negative for bottom-up DIBs
  Byte* Row0 = nullptr;             // row y = 0, the top row
  const RGBQUAD* Colors = nullptr;  // colour table of the 1/4/8-bit formats
  Integer ColorCount = 0;
  DWORD Masks[3] = {DibMasks888[0], DibMasks888[1], DibMasks888[2]};  // red, green, blue (pf16, pf32Masks)

  Byte* Row(Integer Y) const {
    assert(Y >= 0 && Y < Height);
    return Row0 + static_cast<NativeInt>(Y) * Stride;
  }
  bool Contains(Integer X, Integer Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
  TRect Bounds() const { return {0, 0, Width, Height}; }
  // All bits a raw pixel of this format can hold.
  DWORD PixelMask() const { return Bpp >= 32 ? 0xFFFFFFFFu : ((1u << Bpp) - 1u); }
  bool IsIndexed() const { return Bpp <= 8; }
};

// Describes Bits (rows of DibRowBytes(Width, BitCount), bottom-up when Height > 0) as a surface.
// Masks are only read for 16 and 32 bpp with BI_BITFIELDS; Colors for 1/4/8 bpp.
TSurface DescribeDib(void* Bits, Integer Width, Integer Height, Integer BitCount, DWORD Compression,
                     const DWORD* Masks, const RGBQUAD* Colors, Integer ColorCount);

// COLORREF (an explicit RGB; palette flags are resolved by the caller) to a raw pixel. Indexed
// formats take the nearest colour-table entry by squared RGB distance, the first one on ties.
DWORD ColorToPixel(const TSurface& S, COLORREF Color);
// Raw pixel to the RGB it shows.
COLORREF PixelToColor(const TSurface& S, DWORD Pixel);

// Nearest entry of a colour table, by squared RGB distance; the first wins on ties.
Integer NearestColorIndex(const RGBQUAD* Colors, Integer Count, COLORREF Color);
// The same search over any table: EntryColor(Entries[I]) is entry I's RGB.
template <class TEntry, class TEntryColor>
Integer NearestEntry(const TEntry* Entries, Integer Count, COLORREF Color, TEntryColor EntryColor) {
  const Integer R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
  Integer Best = 0;
  Integer BestDist = 0x7FFFFFFF;
  for (Integer I = 0; I < Count; ++I) {
    const COLORREF E = EntryColor(Entries[I]);
    const Integer DR = GetRValue(E) - R, DG = GetGValue(E) - G, DB = GetBValue(E) - B;
    const Integer D = DR * DR + DG * DG + DB * DB;
    if (D < BestDist) {
      BestDist = D;
      Best = I;
      if (D == 0) break;
    }
  }
  return Best;
}

// Both colour tables hold the same entries.
bool SameColorTables(const TSurface& A, const TSurface& B);
// Raw pixels of A are raw pixels of B: the same depth and layout, masks and colour table.
bool SameFormat(const TSurface& A, const TSurface& B);

// A 24-bit pixel (blue, green, red bytes) at P as 0x00RRGGBB, and back (the top byte dropped).
inline DWORD Load24(const Byte* P) {
  return P[0] | (P[1] << 8) | (P[2] << 16);
}
inline void Store24(Byte* P, DWORD V) {
  P[0] = static_cast<Byte>(V);
  P[1] = static_cast<Byte>(V >> 8);
  P[2] = static_cast<Byte>(V >> 16);
}

inline DWORD GetRawPixel(const TSurface& S, Integer X, Integer Y) {
  assert(S.Contains(X, Y));
  const Byte* P = S.Row(Y);
  switch (S.Bpp) {
    case 32: {
      DWORD V;
      std::memcpy(&V, P + X * 4, 4);
      return V;
    }
    case 24:
      return Load24(P + X * 3);
    case 16:
      P += X * 2;
      return P[0] | (P[1] << 8);
    case 8:
      return P[X];
    case 4:
      return (X & 1) ? (P[X >> 1] & 0x0F) : (P[X >> 1] >> 4);
    default:
      return (P[X >> 3] >> (7 - (X & 7))) & 1;
  }
}

inline void PutRawPixel(const TSurface& S, Integer X, Integer Y, DWORD V) {
  assert(S.Contains(X, Y));
  Byte* P = S.Row(Y);
  switch (S.Bpp) {
    case 32:
      std::memcpy(P + X * 4, &V, 4);
      break;
    case 24:
      Store24(P + X * 3, V);
      break;
    case 16:
      P += X * 2;
      P[0] = static_cast<Byte>(V);
      P[1] = static_cast<Byte>(V >> 8);
      break;
    case 8:
      P[X] = static_cast<Byte>(V);
      break;
    case 4: {
      Byte& B = P[X >> 1];
      B = (X & 1) ? static_cast<Byte>((B & 0xF0) | (V & 0x0F))
                  : static_cast<Byte>((B & 0x0F) | ((V & 0x0F) << 4));
      break;
    }
    default: {
      Byte& B = P[X >> 3];
      const Byte Bit = static_cast<Byte>(0x80 >> (X & 7));
      B = (V & 1) ? static_cast<Byte>(B | Bit) : static_cast<Byte>(B & ~Bit);
      break;
    }
  }
}
