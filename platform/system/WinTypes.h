#pragma once
// The platform's C-level value types and helpers shared by the graphics and window layers.
#include <cstdint>

#include "platform/system/Types.h"

using BOOL = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = std::uint16_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR
using HANDLE = void*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;

constexpr COLORREF RGB(BYTE R, BYTE G, BYTE B) {
  return static_cast<COLORREF>(R) | (static_cast<COLORREF>(G) << 8) | (static_cast<COLORREF>(B) << 16);
}
constexpr BYTE GetRValue(COLORREF C) {
  return static_cast<BYTE>(C);
}
constexpr BYTE GetGValue(COLORREF C) {
  return static_cast<BYTE>(C >> 8);
}
constexpr BYTE GetBValue(COLORREF C) {
  return static_cast<BYTE>(C >> 16);
}
constexpr COLORREF PALETTEINDEX(WORD I) {
  return 0x01000000u | I;
}
constexpr COLORREF PALETTERGB(BYTE R, BYTE G, BYTE B) {
  return 0x02000000u | RGB(R, G, B);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr WORD LOWORD(std::uintptr_t V) {
  return static_cast<WORD>(V & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t V) {
  return static_cast<WORD>((V >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t V) {
  return static_cast<BYTE>(V & 0xFF);
}
constexpr BYTE HIBYTE(std::uintptr_t V) {
  return static_cast<BYTE>((V >> 8) & 0xFF);
}
constexpr std::uint32_t MAKELONG(WORD Lo, WORD Hi) {
  return static_cast<std::uint32_t>(Lo) | (static_cast<std::uint32_t>(Hi) << 16);
}
// Signed coordinates packed in an LPARAM, as mouse messages carry them.
constexpr Integer GET_X_LPARAM(LPARAM L) {
  return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(L)));
}
constexpr Integer GET_Y_LPARAM(LPARAM L) {
  return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(L)));
}
constexpr LPARAM MAKELPARAM(Integer Lo, Integer Hi) {
  return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(Lo), static_cast<WORD>(Hi)));
}
constexpr WPARAM MAKEWPARAM(Integer Lo, Integer Hi) {
  return static_cast<WPARAM>(MAKELONG(static_cast<WORD>(Lo), static_cast<WORD>(Hi)));
}
