#pragma once
// The magic wand: the area of similar colour around a picked point, as a polygon outline, as
// mask pixels, or over the whole picture. Pixels of any format are read as RGB; the picture is
// never changed. Similar means every channel within Tolerance of the seed's.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIEMask;

// The neighbour steps in the order the outline trace tries them, and their chain codes.
struct TIEWandDirection {
  Integer DX;
  Integer DY;
  Integer Code;
};
inline constexpr TIEWandDirection IEWandDirections[8] = {{1, 0, 0},  {0, -1, 2},  {-1, 0, 4}, {0, 1, 6},
                                                         {1, -1, 1}, {-1, -1, 3}, {-1, 1, 5}, {1, 1, 7}};

TPoint IEPointAdd(const TPoint& A, const TPoint& B);
TPoint IEPointSub(const TPoint& A, const TPoint& B);

// Each channel of Color within Tolerance of Seed's.
bool IEMagicWandSimilar(const TIERGBTriple& Color, const TIERGBTriple& Seed, Integer Tolerance);

// The outline of the 4-connected area around (X, Y) as vertices on pixel edges (a pixel x spans
// x .. x + 1); empty when (X, Y) lies outside the picture. MaxFilter grows the area by one pixel.
std::vector<TPoint> IEMagicWandPolygon(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Tolerance,
                                       bool MaxFilter);
// Sets Value into Mask at every pixel of the area (and its 3 x 3 neighbours with MaxFilter);
// the mask is not cleared first.
void IEMagicWandFill(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Value, TIEMask* Mask, Integer Tolerance,
                     bool MaxFilter);
// Sets Value into Mask at every pixel similar to the one at (X, Y), connected or not.
void IEMagicWandGlobal(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Value, TIEMask* Mask,
                       Integer Tolerance);
