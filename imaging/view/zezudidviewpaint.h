#pragma once
// Painting services of the image view that do not need a view: the background painter with its
// fourteen styles and the wallpaper, the two-colour gradient, the unit-wide values the painter
// measures at start-up, and the geometry of layer grips and of the pixel grid. The view's own
// painting (Paint, DrawToBackBuffer) lives in zezudidviewpaint*.cpp beside these.
#include <array>
#include <vector>

#include "imaging/view/zezudidview.h"
#include "platform/gdi/Blit.h"
#include "platform/system/Component.h"

class TBitmap;
class TCanvas;
class TIELayer;
class TPen;
class TPicture;

// Unit-wide values, measured once by IEViewInitGlobals (the view unit's start-up).
struct TIEViewGlobals {
  Integer ScreenBitsPerPixel = 24;
  bool RemoteSession = false;
  Integer ScreenDpiX = 96;
  Integer ScreenDpiY = 96;
  bool CpuHasMMX = false;
  Integer EdgeX = 2, EdgeY = 2;      // the 3-D edge
  Integer BorderX = 1, BorderY = 1;  // the thin border
  Integer HScrollHeight = 16;
  Integer VScrollWidth = 16;
  Integer GridMinZoom = 400;  // the pixel grid is drawn from this zoom on
  TPen* GridPen = nullptr;    // mode pmNot, solid, width 1; owned by the unit
};
TIEViewGlobals& IEViewGlobals();
void IEViewInitGlobals();
// Frees the grid pen and forgets the gradient entry.
void IEViewFreeGlobals();

// The gradient entry, looked up on first use; tests may take it away (nil) to see the painter
// cope with a system that lacks it.
using TIEGradientFillProc = BOOL (*)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);
void IESetGradientFillEntry(TIEGradientFillProc Entry);

// Fills Rect from Color1 (top or left) to Color2 (bottom or right); false, drawing nothing,
// without the gradient entry.
bool IEGradientFillRect(const TRect& Rect, HDC DC, TColor Color1, bool Vertical, TColor Color2);

// Paints Style over Area of Canvas (Bitmap, when given, is the 24-bit platform bitmap behind
// Canvas: the chessboard writes its rows and the soft shadow needs it). Inner is where the
// picture lies (the frame styles draw around it). The wallpaper, when it holds a graphic, comes
// last. At design time the frame styles fall back to a solid fill.
void IEDrawBackground(TComponentState State, TCanvas* Canvas, TBitmap* Bitmap,
                      TIEWallPaperStyle WallPaperStyle, TPicture* WallPaper, TColor GradientEndColor,
                      Byte ChessboardBrushStyle, Integer ChessboardSize, const TRect& Inner,
                      const TRect& Area, TColor Background, TIEBackgroundStyle Style);

// The nine grip squares of a layer drawn last at its ScreenRect and DrawGeometry, in TIEGrip
// order less ieNone: four corners, four side middles, the rotation centre.
using TIELayerGripRects = std::array<TRect, 9>;
TIELayerGripRects IELayerGripRects(TIELayer* Layer, Integer GripSize);

// Control-pixel positions of the grid lines over Count cells spread across Extent pixels from
// Start: Count + 1 values Round(Start + K * Extent / Count).
std::vector<Integer> IEGridLines(Integer Start, Integer Extent, Integer Count);

// Flags the view's back buffer as dirty and invalidates Rect of its window without erasing.
void IEInvalidateViewRect(TZezudIdView* View, const TRect& Rect);
