#pragma once
// Drawing calls of the graphics layer: lines, shapes, rectangle and region fills, pixels and
// flood fills. Coordinates are logical; each call maps them, clips and draws once.
// Pixel rules (exact, never anti-aliased):
// - Cosmetic lines (pen width 0 or 1) are 8-connected and never draw their end point; see
//   TLineSteps for the pixel choice. Polyline draws each segment so; its last point is not
//   drawn. The style of a dashed cosmetic pen (dash 18 on 6 off, dot 3/3, dash-dot 9/6/3/6,
//   dash-dot-dot 9/3/3/3/3/3 pixels) restarts with each call and runs on along a polyline;
//   with OPAQUE background mode its gaps take the background colour.
// - Wide pens (width > 1) are filled shapes centred on the path: round, square or flat caps,
//   round, bevel or miter joins (miter limit 10).
// - Rectangle, Ellipse, RoundRect, Chord and Pie touch the pixels [Left, Right) x [Top, Bottom)
//   with a one-pixel pen; the interior is filled first, then the outline drawn over it.
//   Without a pen the filled area is one pixel smaller on the right and bottom, as on the
//   platform. PS_INSIDEFRAME keeps a wide pen inside the box. In GM_ADVANCED the box includes
//   its right and bottom edges; under a rotating or shearing world transform these shapes are
//   drawn as polygons of their transformed outlines.
// - Polygon fills pixels whose centres lie inside (ALTERNATE or WINDING, see TPolygonScanner),
//   then draws the closed outline through the vertices with the pen.
// - The mix mode (SetROP2) applies to pens and brushes of lines and shapes, not to FillRect,
//   FrameRect, SetPixel or FloodFill's surface test.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Rop3.h"

BOOL LineTo(HDC DC, Integer X, Integer Y);
BOOL Polyline(HDC DC, const POINT* Points, Integer Count);
BOOL PolylineTo(HDC DC, const POINT* Points, DWORD Count);
BOOL PolyPolyline(HDC DC, const POINT* Points, const DWORD* Counts, DWORD PolyCount);
// Count = 1 + 3n points: start, then control, control, end per curve; flattened to lines.
BOOL PolyBezier(HDC DC, const POINT* Points, DWORD Count);
BOOL PolyBezierTo(HDC DC, const POINT* Points, DWORD Count);
using LINEDDAPROC = void (*)(Integer X, Integer Y, LPARAM Data);
// Calls Proc for each pixel a cosmetic line from (X1, Y1) to (X2, Y2) lights, end excluded.
BOOL LineDDA(Integer X1, Integer Y1, Integer X2, Integer Y2, LINEDDAPROC Proc, LPARAM Data);

BOOL Rectangle(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
BOOL RoundRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer EllipseWidth,
               Integer EllipseHeight);
BOOL Ellipse(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
// Arcs of the ellipse in the box from the radial through (XStart, YStart) to the one through
// (XEnd, YEnd), in the DC's arc direction (counter-clockwise by default).
BOOL Arc(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer XStart, Integer YStart,
         Integer XEnd, Integer YEnd);
BOOL ArcTo(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer XStart, Integer YStart,
           Integer XEnd, Integer YEnd);
BOOL Chord(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer XStart, Integer YStart,
           Integer XEnd, Integer YEnd);
BOOL Pie(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer XStart, Integer YStart,
         Integer XEnd, Integer YEnd);
BOOL Polygon(HDC DC, const POINT* Points, Integer Count);
BOOL PolyPolygon(HDC DC, const POINT* Points, const Integer* Counts, Integer PolyCount);

// Brush fills of rectangles take the brush as given (no mix mode); right and bottom are
// outside. A brush value from 1 to 31 is a system colour index + 1, as the platform allows.
Integer FillRect(HDC DC, const RECT* Rect, HBRUSH Brush);
Integer FrameRect(HDC DC, const RECT* Rect, HBRUSH Brush);
BOOL InvertRect(HDC DC, const RECT* Rect);
// A one-pixel frame of alternate pixels, inverted (drawing it twice removes it).
BOOL DrawFocusRect(HDC DC, const RECT* Rect);

// Any raster operation that does not use a source (PATCOPY .. WHITENESS, Rop3.h); negative
// sizes extend left/up.
BOOL PatBlt(HDC DC, Integer X, Integer Y, Integer Width, Integer Height, DWORD Rop);

// Regions in logical coordinates. FillRgn and PaintRgn honour the mix mode.
BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush);
BOOL PaintRgn(HDC DC, HRGN Rgn);
BOOL InvertRgn(HDC DC, HRGN Rgn);
// The pixels of the region within Width columns or Height rows of its edge.
BOOL FrameRgn(HDC DC, HRGN Rgn, HBRUSH Brush, Integer Width, Integer Height);

// SetPixel stores the nearest colour the surface holds and returns it; CLR_INVALID outside
// the surface or the clip.
COLORREF SetPixel(HDC DC, Integer X, Integer Y, COLORREF Color);
BOOL SetPixelV(HDC DC, Integer X, Integer Y, COLORREF Color);
COLORREF GetPixel(HDC DC, Integer X, Integer Y);

constexpr UINT FLOODFILLBORDER = 0;
constexpr UINT FLOODFILLSURFACE = 1;
// 4-connected fill with the DC's brush: FLOODFILLBORDER fills up to pixels of Color;
// FLOODFILLSURFACE fills the pixels of Color. FALSE when the start is outside the clip, is the
// border colour, or is not the surface colour. The colour is compared as the surface holds it.
BOOL ExtFloodFill(HDC DC, Integer X, Integer Y, COLORREF Color, UINT Type);
BOOL FloodFill(HDC DC, Integer X, Integer Y, COLORREF Color);
