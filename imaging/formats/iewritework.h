#pragma once
// The pictures the BMP and PNG writers work on when the picture itself has the wrong form: a
// converted copy, and the 1-bit form of a two-colour picture.
#include <memory>

#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// A new picture of Source's size and pixels in Format.
std::unique_ptr<TIEBitmap> IEConvertedCopy(TIEBitmap* Source, TIEPixelFormat Format);

// When Source (any format) holds exactly two colours: an ie1g copy whose set bits are the
// lighter colour, with Dark and Light receiving the two colours; else nil. Lighter means the
// higher grey level (red 21, green 71, blue 8 per cent, rounded to a whole level); on a tie the
// first colour seen is dark.
std::unique_ptr<TIEBitmap> IETwoColorsTo1Bit(TIEBitmap* Source, TIERGBTriple& Dark, TIERGBTriple& Light);
