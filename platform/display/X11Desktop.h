#pragma once
// What the per-window SDL back end asks of the X desktop directly, where SDL has no call for it:
// window shapes, owners and opacity (SDL's own calls for these leave no trace on X here),
// whether a compositing manager runs, and reading back what a window shows. Every call is a no-op (false,
// empty) off X11.
#include <SDL.h>

#include <string>
#include <vector>

#include "platform/system/Types.h"

// The X window of an SDL window; 0 off X11.
unsigned long X11WindowId(SDL_Window* Window);
// Shapes Window to the union of Rects (window coordinates); null Rects: the whole window.
void SetX11WindowShape(SDL_Window* Window, const std::vector<TRect>* Rects);
// The rectangles the window's shape holds; false when it has none (the whole window shows).
bool GetX11WindowShape(SDL_Window* Window, std::vector<TRect>& Rects);
// True when a compositing manager owns the screen: opacity is shown.
bool X11CompositorPresent();
// Where the pointer is now on the screen; false off X11. (SDL's global mouse state may hold an
// old position on X servers without raw input events.)
bool X11PointerPosition(TPoint& Position);
// The window the desktop keeps Window above (WM_TRANSIENT_FOR); null: none.
void SetX11TransientFor(SDL_Window* Window, SDL_Window* Owner);
// The opacity a compositing manager shows the window with (_NET_WM_WINDOW_OPACITY), 0 to 1.
void SetX11Opacity(SDL_Window* Window, float Opacity);
// The window's pixels as the X server holds them, 0x00RRGGBB top row first. False when they
// cannot be read.
bool ReadX11WindowPixels(SDL_Window* Window, std::vector<DWORD>& Pixels, TSize& Size);
