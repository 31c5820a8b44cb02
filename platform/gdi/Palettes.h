#pragma once
// Logical palettes. The display is a 32-bit true-colour device, so palettes never change the
// screen: a palette selected into a DC maps PALETTEINDEX colours to its entries, and 8-bit and
// lower bitmaps carry their own colour tables.
#include <vector>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"

constexpr BYTE PC_RESERVED = 0x01;
constexpr BYTE PC_EXPLICIT = 0x02;
constexpr BYTE PC_NOCOLLAPSE = 0x04;

struct PALETTEENTRY {
  BYTE peRed = 0;
  BYTE peGreen = 0;
  BYTE peBlue = 0;
  BYTE peFlags = 0;
  constexpr bool operator==(const PALETTEENTRY&) const = default;
};

// The entries follow the header; the array is as large as a palette can be.
struct LOGPALETTE {
  WORD palVersion = 0x300;
  WORD palNumEntries = 0;
  PALETTEENTRY palPalEntry[256] = {};
};

struct TPaletteObject : TGdiObject {
  TPaletteObject() : TGdiObject(OBJ_PAL) {}
  std::vector<PALETTEENTRY> Entries;
};

HPALETTE CreatePalette(const LOGPALETTE* LogPalette);
// 256 entries: the 20 static colours (10 first, 10 last) around a 6x6x6 colour cube (levels 0,
// 51, 102, ..., 255; blue varies fastest, then green, then red) and 20 grey levels 12, 24, ...,
// 240. The device context is not consulted: the display is not a palette device.
HPALETTE CreateHalftonePalette(HDC DC);
UINT GetPaletteEntries(HPALETTE Palette, UINT Start, UINT Count, PALETTEENTRY* Entries);
UINT SetPaletteEntries(HPALETTE Palette, UINT Start, UINT Count, const PALETTEENTRY* Entries);
BOOL ResizePalette(HPALETTE Palette, UINT Count);
// Nearest entry by squared RGB distance; the first one wins on ties. CLR_INVALID for no palette.
UINT GetNearestPaletteIndex(HPALETTE Palette, COLORREF Color);
HPALETTE SelectPalette(HDC DC, HPALETTE Palette, BOOL ForceBackground);
UINT RealizePalette(HDC DC);
// The colour the DC would draw for Color: PALETTEINDEX through its palette, RGB on 8-bit and
// lower bitmaps through their colour table, else Color itself.
COLORREF GetNearestColor(HDC DC, COLORREF Color);
// The system palette of this true-colour display is the halftone palette, whose indices 0..9
// and 246..255 hold the 20 static colours.
UINT GetSystemPaletteEntries(HDC DC, UINT Start, UINT Count, PALETTEENTRY* Entries);

// The 20 static colours, in system palette order (the default palette).
const PALETTEENTRY* DefaultPaletteEntries();
