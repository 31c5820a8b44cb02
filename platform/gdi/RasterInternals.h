#pragma once
// Pieces the rasterizer files share: the cosmetic line stepper, pens as the rasterizer uses
// them, the float shape filler behind wide pens and transformed shapes, and outline pixel
// sets of closed shapes. Everything takes surface coordinates; "Clipped" routines clip
// against the DC, the others are callers-clip.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/gdi/DcInternals.h"

// ---- Cosmetic lines ----
// A line from A to B lights max(|dx|, |dy|) pixels: the end point is never drawn. Along the
// major axis every step moves one pixel; the minor coordinate is the ideal one rounded to the
// nearest pixel, and an exact tie goes to the smaller minor coordinate whichever way the line
// runs, so a line and its reverse light the same pixels except for their end points. In
// Bresenham terms: with e = 2*dminor*i + dmajor - 1 + bias, pixel i has minor offset
// floor(e / (2*dmajor)), where bias = 1 when the minor coordinate decreases along the line.
struct TLineSteps {
  Integer X0 = 0, Y0 = 0;
  Integer Length = 0;  // pixels drawn
  bool XMajor = true;
  Integer SMaj = 1, SMin = 1;  // directions along the major and minor axes
  Int64 DMaj = 0, DMin = 0;    // absolute deltas
  Int64 C = 0;                 // dmajor - 1 + bias

  TLineSteps(TPoint A, TPoint B);
  // Minor offset of pixel I.
  Int64 MinorAt(Int64 I) const { return DMin == 0 ? 0 : (2 * DMin * I + C) / (2 * DMaj); }
  TPoint PixelAt(Int64 I) const;
  // The range [Lo, Hi) of pixel indices inside R; Lo >= Hi when none.
  void RangeIn(const TRect& R, Int64& Lo, Int64& Hi) const;
  TRect Box() const;  // bounding box of the lit pixels
};

// Calls F(x, y, i) for the pixels of the line inside R, in order.
template <class F>
void WalkLine(const TLineSteps& L, const TRect& R, F&& Fn) {
  Int64 Lo, Hi;
  L.RangeIn(R, Lo, Hi);
  if (Lo >= Hi) return;
  const Int64 Den = 2 * L.DMaj;
  Int64 Num = 2 * L.DMin * Lo + L.C;
  Int64 K = L.DMin == 0 ? 0 : Num / Den;
  Int64 Rem = L.DMin == 0 ? 0 : Num % Den;
  Integer Maj = static_cast<Integer>((L.XMajor ? L.X0 : L.Y0) + L.SMaj * Lo);
  Integer Min = static_cast<Integer>((L.XMajor ? L.Y0 : L.X0) + L.SMin * K);
  for (Int64 I = Lo; I < Hi; ++I) {
    if (L.XMajor)
      Fn(Maj, Min, I);
    else
      Fn(Min, Maj, I);
    Maj += L.SMaj;
    Rem += 2 * L.DMin;
    if (Rem >= Den) {
      Rem -= Den;
      Min += L.SMin;
    }
  }
}

// The on/off pattern of a styled cosmetic pen, continued along a polyline.
struct TDash {
  std::vector<std::uint8_t> On;  // one entry per pixel of the period
  Integer Pos = 0;
  bool Active() const { return !On.empty(); }
  bool IsOn(Int64 Offset) const {
    return On[static_cast<std::size_t>((Pos + Offset) % static_cast<Int64>(On.size()))];
  }
  void Advance(Integer N) {
    if (Active()) Pos = static_cast<Integer>((Pos + static_cast<Int64>(N)) % static_cast<Int64>(On.size()));
  }
};

// The DC's pen as the rasterizer draws it.
struct TPenSetup {
  bool Null = true;
  bool Wide = false;  // geometric and wider than one pixel: drawn as filled shapes
  Integer Width = 1;
  UINT EndCap = 0;  // PS_ENDCAP_*
  UINT Join = 0;    // PS_JOIN_*
  bool InsideFrame = false;
  TPixelOp Ink;
  TPixelOp Gap;  // the background colour in the gaps of a styled pen (OPAQUE mode)
  bool HasGap = false;
  TDash Dash;
};
TPenSetup MakePenSetup(HDC DC);

// Draws a cosmetic line A..B (end point excluded) with the pen, clipped against the DC, and
// moves the pen's dash position along.
void DrawCosmeticLineClipped(HDC DC, TPoint A, TPoint B, TPenSetup& Pen);

// ---- Float shapes ----
struct TPointF {
  double X = 0;
  double Y = 0;
};

// A pixel centre this close to a shape's edge counts as on it, whatever the rounding.
constexpr double CentreEps = 1e-9;
// The first pixel whose centre is at or right of X.
inline Integer FirstPixel(double X) {
  return static_cast<Integer>(std::clamp(std::ceil(X - 0.5 - CentreEps), -2.0e9, 2.0e9));
}

// Fills unions of polygons and discs with the pixel-centre rule (pixel (x, y) is inside when
// (x + 0.5, y + 0.5) is). Coordinates are continuous surface coordinates. Polygons added with
// AddOriented are taken with positive orientation whatever their vertex order, so that WINDING
// fills the union of all shapes.
class TShapeFiller {
 public:
  void AddPolygon(const TPointF* P, std::size_t N, bool Oriented);
  void AddDisc(double CX, double CY, double R);
  bool Empty() const { return FEdges.empty() && FDiscs.empty(); }
  // Calls F(y, x0, x1) for each span, rows top to bottom, limited to Bounds.
  template <class F>
  void Fill(Integer FillMode, const TRect& Bounds, F&& Fn);

 private:
  struct TEdge {
    double X0, Y0, X1, Y1;
    Integer Dir;
  };
  struct TDisc {
    double CX, CY, R;
  };
  struct TCross {
    double X;
    Integer Dir;
  };
  // Active-edge bookkeeping: shapes sorted by their tops, those crossing the current row listed.
  void Begin();
  void RowSpans(Integer Y, Integer FillMode, std::vector<TSpan>& Out);
  std::vector<TEdge> FEdges;
  std::vector<TDisc> FDiscs;
  std::vector<TCross> FCross;
  std::vector<std::size_t> FActiveEdges, FActiveDiscs;
  std::size_t FNextEdge = 0, FNextDisc = 0;
  double FTop = 1e300, FBottom = -1e300;
};

template <class F>
void TShapeFiller::Fill(Integer FillMode, const TRect& Bounds, F&& Fn) {
  if (Empty()) return;
  Integer Y0 = static_cast<Integer>(std::max<double>(Bounds.Top, std::floor(FTop - 0.5)));
  Integer Y1 = static_cast<Integer>(std::min<double>(Bounds.Bottom, std::ceil(FBottom)));
  Begin();
  std::vector<TSpan> Spans;
  for (Integer Y = Y0; Y < Y1; ++Y) {
    RowSpans(Y, FillMode, Spans);
    for (const TSpan& S : Spans) {
      const Integer L = std::max(S.Left, Bounds.Left), R = std::min(S.Right, Bounds.Right);
      if (L < R) Fn(Y, L, R);
    }
  }
}

// Wide pens: adds the stroke of a polyline (Closed: back to its first point) to Filler, with
// the pen's caps and joins. Points are pixel coordinates (the stroke is centred on pixel
// centres).
void AddWideStroke(TShapeFiller& Filler, const TPointF* P, std::size_t N, bool Closed, double Width,
                   UINT EndCap, UINT Join);

// Fills the filler's union with Op, clipped against the DC.
void FillShapeClipped(HDC DC, TShapeFiller& Filler, Integer FillMode, const TPixelOp& Op);
void FillShapeClipped(HDC DC, TShapeFiller& Filler, Integer FillMode, const TBrushPainter& Brush);

// Draws a polyline with the DC's pen: cosmetic (end point excluded per segment, dash continued)
// or wide. Points in surface coordinates.
void StrokePolyline(HDC DC, TPenSetup& Pen, const TPoint* P, std::size_t N, bool Closed);
// Strokes a chain of outline pixels as open polylines, split where consecutive pixels are not
// neighbours (pieces of a shape cut at the rows left out).
void StrokePieces(HDC DC, TPenSetup& Pen, const std::vector<TPoint>& P);

// ---- Closed outlines of shapes ----
// A closed outline through pixel positions, drawn with the pen and filled with the brush: the
// brush fills the pixels whose centres lie inside the outline polygon taken through pixel
// centres, minus the outline's own pixels when a pen draws them; then the pen draws the outline
// (cosmetic: each pixel once; wide: stroked along it, round joins).
void DrawClosedShape(HDC DC, const std::vector<TPoint>& Outline, bool FillInterior);

// Shapes given by one span of pixels per row (ellipses and rounded rectangles). Such a shape's
// outline is its pixels with a 4-neighbour outside it: a closed 8-connected curve, so a 4-connected
// fill started inside never leaks out. Spans[i] is row Top + i, [Left, Right) and never empty.
struct TRowShape {
  Integer Top = 0;
  std::vector<TSpan> Spans;
  Integer Bottom() const { return Top + static_cast<Integer>(Spans.size()); }
};
// The pixels whose centres lie inside or on the ellipse through the box edges; the middle row (or
// two rows) reaches the box sides and a row too narrow for a pixel centre keeps its middle
// pixel (or two), so the shape touches all four sides of the box.
// Only rows in [RowLo, RowHi) are built (the clip box with a margin).
TRowShape EllipseShape(const TRect& Box, Integer RowLo, Integer RowHi);
// The box with its corners cut by the quarters of the ellipse EW x EH (clamped to the box).
TRowShape RoundRectShape(const TRect& Box, Integer EW, Integer EH, Integer RowLo, Integer RowHi);
// The outline pixels, by row then column.
std::vector<TPoint> ShapeOutline(const TRowShape& Shape);
// Outline pixels in order around (CX, CY), counter-clockwise on screen starting at angle 0.
std::vector<TPoint> OrderAround(std::vector<TPoint> Pixels, double CX, double CY);
// Fills the shape with the brush and draws its outline with the pen (a cosmetic pen draws the
// outline pixels, a wide pen strokes along them); the brush leaves the outline to the pen.
void DrawRowShape(HDC DC, TPenSetup& Pen, const TRowShape& Shape, double CX, double CY);
