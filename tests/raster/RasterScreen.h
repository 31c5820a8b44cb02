#pragma once
// The headless screen for the raster tests. Its own file keeps the display interface's names
// away from the class library's (both have a TMouseButton).
#include <vector>

#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

struct HWND__;

// Installs the headless display as the back end (once).
void UseHeadlessScreen();

// A window's pixels as painted, 0x00RRGGBB, top row first.
struct TWindowPixels {
  Integer Width = 0;
  Integer Height = 0;
  std::vector<DWORD> Pixels;
  DWORD Pixel(Integer X, Integer Y) const { return Pixels[static_cast<std::size_t>(Y) * Width + X]; }
};
TWindowPixels WindowPixels(HWND__* Wnd);

// Scripted input at screen coordinates (left button), run by the next RunUntilIdle.
void ScreenMoveTo(Integer X, Integer Y);
void ScreenClick(Integer X, Integer Y);
void ScreenPress(Integer X, Integer Y);
void ScreenRelease();
