#pragma once
// The conversions between the eleven pixel formats, one table entry per pair: a direct row
// kernel with the palette it writes, colour reduction, or the way through 24-bit colour.
#include "imaging/core/hyiedefs.h"
#include "imaging/core/iepixelrows.h"

// Converts one row of Width pixels; Y is the row number (ordered dither needs it).
using TIERowKernel = void (*)(const Byte* Src, Byte* Dest, Integer Width, Integer Y, const TIERowContext& C);

// What a direct pair writes into the target's palette besides its rows.
enum TIEPaletteWrite : Byte { iepwNone, iepwGreyRamp, iepwBlackWhite };
// How the rows of a pair are made: through a 24-bit row, by a direct kernel, or by colour
// reduction of the whole picture.
enum TIEConversionKind : Byte { ieckVia24, ieckDirect, ieckQuantize };

struct TIEConversion {
  TIEConversionKind Kind = ieckVia24;
  TIERowKernel Kernel = nullptr;
  TIEPaletteWrite Palette = iepwNone;
};

// The entry of the pair; From and To below IEPixelFormatCount. The pairs into ie24RGB are all
// direct (ieNull has none).
const TIEConversion& IEConversionFor(TIEPixelFormat From, TIEPixelFormat To);
