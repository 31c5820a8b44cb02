#pragma once
// The interactive display back end of a desktop: every visible top-level window of the window
// layer is a borderless desktop window of its own at the same place, and the screen is the
// monitor. The window layer keeps drawing the frames; the desktop moves, sizes, minimises,
// restores, closes and activates through the usual messages.
#include <memory>
#include <optional>
#include <vector>

#include "platform/user/DisplayBackend.h"

// Starts SDL on the desktop. Returns nullptr when SDL cannot start or another SDL display is
// alive (SDL has one event queue per process); the reason goes to stderr. Main thread only.
std::unique_ptr<TDisplayBackend> CreateSdlDesktop();

// The same for the back-end choice (InitDisplayBackend): the caller installs it and never
// frees it; at exit its windows close and SDL ends. nullptr as above.
TDisplayBackend* OpenSdlDesktop();

// Whether a compositing desktop shows alpha: there constant alpha becomes the window's opacity
// and per-pixel alpha windows lose only their clear pixels; without one, a window shows its
// opaque picture inside its region, per-pixel alpha windows cut at half alpha. (SDL gives
// desktop windows no alpha channel: partly clear pixels show their colour.) Asked of the
// desktop unless set here (nullopt: ask again); applies to back ends made later.
void SetSdlDesktopCompositing(std::optional<bool> Compositing);

// What the desktop window of Window shows, as the X server holds it (0x00RRGGBB), and its
// shape. For tests; false when there is none.
bool ReadSdlDesktopWindow(TDisplayBackend& Backend, HWND Window, std::vector<DWORD>& Pixels, TSize& Size);
bool ReadSdlDesktopShape(TDisplayBackend& Backend, HWND Window, std::vector<TRect>& Rects);
// The X window id of Window's desktop window (0: none). For tests.
unsigned long SdlDesktopWindowId(TDisplayBackend& Backend, HWND Window);
