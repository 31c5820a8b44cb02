#pragma once
// The value types every unit of the raster library shares: pixels, fixed-point numbers,
// rectangles of them and the small enumerations of the bitmap.
#include <vector>

#include "platform/system/Types.h"

// Alpha in bits 24-31, red 16-23, green 8-15, blue 0-7; in memory blue, green, red, alpha.
using TColor32 = Cardinal;
using PColor32 = TColor32*;
using TArrayOfColor32 = std::vector<TColor32>;
using TArrayOfInteger = std::vector<Integer>;

// 16.16 fixed point; a 24.8 coordinate is a plain Integer holding 256 x the position.
using TFixed16 = Integer;
constexpr TFixed16 FixedOne = 0x10000;

struct TFixedPoint {
  TFixed16 X = 0;
  TFixed16 Y = 0;
  constexpr bool operator==(const TFixedPoint&) const = default;
};

struct TFloatPoint {
  Single X = 0;
  Single Y = 0;
  constexpr bool operator==(const TFloatPoint&) const = default;
};

struct TRectFixed {
  TFixed16 Left = 0;
  TFixed16 Top = 0;
  TFixed16 Right = 0;
  TFixed16 Bottom = 0;
  constexpr bool operator==(const TRectFixed&) const = default;
};

struct TRectFloat {
  Single Left = 0;
  Single Top = 0;
  Single Right = 0;
  Single Bottom = 0;
  constexpr bool operator==(const TRectFloat&) const = default;
};

enum TDrawMode : Byte { dmOpaque, dmBlend, dmCustom, dmTransparent };
enum TCombineMode : Byte { cmBlend, cmMerge };
enum TWrapMode : Byte { wmClamp, wmRepeat, wmMirror };
enum TEdgeRounding : Byte { erNearest, erOuter, erInner };
