#pragma once
// The world-transform matrix of the platform. A point (x, y) maps to
//   x' = x * eM11 + y * eM21 + eDx,   y' = x * eM12 + y * eM22 + eDy.
#include "platform/system/Types.h"

using FLOAT = Single;

struct XFORM {
  FLOAT eM11 = 1;
  FLOAT eM12 = 0;
  FLOAT eM21 = 0;
  FLOAT eM22 = 1;
  FLOAT eDx = 0;
  FLOAT eDy = 0;
};
