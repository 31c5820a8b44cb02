#pragma once
// What the pattern generators share: the constants of their single-precision geometry,
// rounding to whole pixels, the sliders as floats and the empty square they draw on.
#include "platform/system/Math.h"
#include "platform/system/Types.h"

class TCanvas;

constexpr Single PatternPi = 3.141592653589793f;
constexpr Single PatternTwoPi = 6.283185307179586f;

// A coordinate rounded to a whole pixel (to nearest, ties to even).
inline Integer Px(Single V) {
  return static_cast<Integer>(Round(V));
}

// Slider P1..P6 as a float.
Single ParamF(Integer Index);

// ResultBitmap becomes a white square of PatternSize outlined in black, brush white and
// solid; then the pen takes the line width. The pen is set black because a frame drawn in a
// colour an earlier stage left would not close the cells.
TCanvas* StartPatternSquare();
