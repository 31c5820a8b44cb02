#pragma once
// Resolution fields of the PNG and BMP headers (pixels per metre) against the dots per inch of
// the parameters. Both directions round to the nearest integer, halves to even.
#include "platform/system/Math.h"
#include "platform/system/Types.h"

// Dots per inch of a pixels-per-metre field; 0 stays 0 (the caller puts the default there).
inline Integer IEPixelsPerMetreToDpi(Int64 PixelsPerMetre) {
  return static_cast<Integer>(Round(static_cast<Extended>(PixelsPerMetre) / 100 * 2.54L));
}

inline Int64 IEDpiToPixelsPerMetre(Integer Dpi) {
  return Round(static_cast<Extended>(Dpi) / 2.54L * 100);
}
