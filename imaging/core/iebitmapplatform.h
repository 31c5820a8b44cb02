#pragma once
// Colour tables of platform bitmaps as the imaging bitmap reads and writes them; internal to
// the bitmap's own units.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/gdi/Palettes.h"

class TBitmap;

// The bitmap's colour table (empty for bitmaps without one).
std::vector<PALETTEENTRY> IEPlatformColorTable(TBitmap* Bitmap);
// Entries R, G, B from the B, G, R triples, flags 0.
void IESetPlatformPalette(TBitmap* Bitmap, const TIERGBTriple* Entries, Integer Count);
