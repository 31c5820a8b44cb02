#pragma once
// The interactive display back end: the screen shown in one resizable SDL2 desktop window.
// The screen is the window's client area, pixel for pixel; resizing the window resizes the
// screen (a ScreenResize event). Input comes from the same window.
#include <memory>
#include <string>
#include <vector>

#include "platform/user/DisplayBackend.h"

// Opens the desktop window at Requested (0 x 0: 1280 x 800), shrunk to the desktop's usable
// area. Returns nullptr when SDL cannot start (no display, no renderer) or while another SDL
// display is alive (SDL has one event queue per process), so the caller can fall back to the
// headless back end. The reason goes to stderr. Call on the main thread.
std::unique_ptr<TDisplayBackend> CreateSdlDisplay(TSize Requested = {0, 0});

// The same for the back-end choice (InitDisplayBackend): the caller installs the display and
// never frees it; at exit the desktop window closes and SDL ends, and the object stays as an
// inert back end for whatever still runs then. nullptr as above.
TDisplayBackend* OpenSdlDisplay();

// The desktop window's title (UTF-8): applies now and to SDL displays created later.
void SetSdlWindowTitle(const std::string& Title);

// What the desktop window shows, read back from the renderer as 0x00RRGGBB pixels (top row
// first). False when Backend is not an SDL display or nothing was presented yet. For tests.
bool ReadSdlDisplayPixels(TDisplayBackend& Backend, std::vector<DWORD>& Pixels, TSize& Size);
