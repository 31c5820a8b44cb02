#pragma once
// Parameter objects the image view reads: one per scroll bar, and the mouse wheel's.
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEScrollBarParams : public TObject {
 public:
  // Multiples of the view's line unit; -1: one unit for a line, the visible extent for a page.
  Integer LineStep = -1;
  Integer PageStep = -1;
  // False: the view scrolls only when the thumb is released.
  bool Tracking = true;
};

// The wheel's action.
constexpr Byte iewaNone = 0;
constexpr Byte iewaScroll = 1;
constexpr Byte iewaZoom = 2;
// How its Value counts.
constexpr Byte iewvAbsolute = 0;  // scroll units or zoom points
constexpr Byte iewvPercent = 1;   // of the view extent or of the current zoom, never less than 1

class TIEMouseWheelParams : public TObject {
 public:
  bool InvertDirection = false;
  Byte Action = iewaZoom;
  Byte Variation = iewvPercent;
  Integer Value = 8;
  // True: a wheel zoom keeps the point under the mouse in place; false: it zooms about the view.
  bool ZoomPosition = false;
};
