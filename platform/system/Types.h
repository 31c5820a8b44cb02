#pragma once
// The platform's basic value types, with the widths the stored formats and the arithmetic
// of the program depend on.
#include <cstdint>

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using ShortInt = std::int8_t;
using SmallInt = std::int16_t;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using DWORD = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using Single = float;
using Double = double;
using Extended = long double;  // 80-bit on x86-64, as the original
using TDateTime = double;      // days since 30 Dec 1899, time as the fraction
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

// Left and top are inside, right and bottom are outside.
struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(Integer X, Integer Y) {
  return {X, Y};
}
constexpr TRect Rect(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return {Left, Top, Right, Bottom};
}
constexpr TRect Bounds(Integer Left, Integer Top, Integer Width, Integer Height) {
  return {Left, Top, Left + Width, Top + Height};
}
