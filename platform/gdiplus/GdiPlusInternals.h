#pragma once
// The objects behind the flat handles, shared by the drawing, pen/brush and path units.
#include <cairo.h>

#include <vector>

#include "platform/gdiplus/GdiPlusFlat.h"

struct GpGraphics {
  HDC DC = nullptr;
  cairo_surface_t* Surface = nullptr;
  cairo_t* Cairo = nullptr;
  // Bitmaps other than top-down 32-bit DIB sections are drawn on this copy and written back.
  HBITMAP CopiedFrom = nullptr;
  std::vector<DWORD> Copy;
  bool AntiAlias = false;
  cairo_matrix_t World;  // the world transform; the device half-pixel shift is applied on top
};

struct GpPen {
  ARGB Color = 0;
  REAL Width = 1;
  GpDashStyle Dash = DashStyleSolid;
  std::vector<REAL> CustomDashes;  // in pen widths
  GpLineJoin Join = LineJoinMiter;
};

// An arc (X, Y, Width, Height, Start, Sweep) or a line (X1, Y1, X2, Y2); figures join up.
struct TPathPart {
  bool IsArc;
  REAL V[6];
};
struct GpPath {
  GpFillMode Mode = FillModeAlternate;
  std::vector<TPathPart> Parts;
};

struct GpMatrix {
  cairo_matrix_t M;
};

// A start-up is in effect.
bool GdiplusStarted();
// Sets Cairo's source to an ARGB colour (not premultiplied).
void SetSourceArgb(cairo_t* Cairo, ARGB Color);
// Strokes the current path with Pen, under the world transform.
void StrokeWithPen(GpGraphics* Graphics, const GpPen* Pen);
// Prepares Cairo for a shape: clears the path and sets the world transform and anti-aliasing.
void BeginShape(GpGraphics* Graphics);
// Fills the current path with Brush (anchored at the device origin) by Mode.
void FillWithBrush(GpGraphics* Graphics, const GpBrush* Brush, GpFillMode Mode);
// Writes a copied bitmap back after a drawing call.
void FinishDrawing(GpGraphics* Graphics);
// Appends an elliptical arc of the box (degrees, clockwise) to Cairo's path.
void AddArc(cairo_t* Cairo, REAL X, REAL Y, REAL Width, REAL Height, REAL Start, REAL Sweep);
// Adds Path's figures to Cairo's path.
void ReplayPath(cairo_t* Cairo, const GpPath* Path);
