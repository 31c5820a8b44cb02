// Lines, rectangles, ellipses, polygons and arcs.
#include <cmath>
#include <numbers>

#include "platform/gdiplus/GdiPlusInternals.h"

namespace {

// Builds a path with AddPath and strokes it with Pen.
template <class TBuild>
GpStatus Stroke(GpGraphics* G, const GpPen* Pen, TBuild AddPath) {
  if (!G || !Pen) return InvalidParameter;
  BeginShape(G);
  AddPath(G->Cairo);
  StrokeWithPen(G, Pen);
  FinishDrawing(G);
  return Ok;
}

template <class TBuild>
GpStatus Fill(GpGraphics* G, const GpBrush* Brush, GpFillMode Mode, TBuild AddPath) {
  if (!G || !Brush) return InvalidParameter;
  BeginShape(G);
  AddPath(G->Cairo);
  FillWithBrush(G, Brush, Mode);
  FinishDrawing(G);
  return Ok;
}

void AddPoints(cairo_t* C, const GpPoint* Points, Integer Count, bool Close) {
  for (Integer I = 0; I < Count; ++I) cairo_line_to(C, Points[I].X, Points[I].Y);
  if (Close) cairo_close_path(C);
}

void AddEllipse(cairo_t* C, REAL X, REAL Y, REAL Width, REAL Height) {
  cairo_new_sub_path(C);
  AddArc(C, X, Y, Width, Height, 0, 360);
  cairo_close_path(C);
}

}  // namespace

void AddArc(cairo_t* C, REAL X, REAL Y, REAL Width, REAL Height, REAL Start, REAL Sweep) {
  if (Width <= 0 || Height <= 0) return;
  const double Rx = Width / 2.0, Ry = Height / 2.0;
  // The angles are true angles on the ellipse; cairo takes them on the unit circle it scales.
  auto Parametric = [&](double Degrees) {
    const double A = Degrees * std::numbers::pi / 180;
    const double T = std::atan2(Rx * std::sin(A), Ry * std::cos(A));
    // Keep whole turns so that sweeps beyond 180 degrees stay on their side.
    return T + std::round((A - T) / (2 * std::numbers::pi)) * 2 * std::numbers::pi;
  };
  const double Swept = std::abs(Sweep) >= 360 ? (Sweep > 0 ? 360.0 : -360.0) : Sweep;
  const double From = Parametric(Start);
  const double To =
      std::abs(Swept) >= 360 ? From + Swept * std::numbers::pi / 180 : Parametric(Start + Swept);
  cairo_save(C);
  cairo_translate(C, X + Rx, Y + Ry);
  cairo_scale(C, Rx, Ry);
  if (Swept >= 0)
    cairo_arc(C, 0, 0, 1, From, To);
  else
    cairo_arc_negative(C, 0, 0, 1, From, To);
  cairo_restore(C);
}

GpStatus GdipDrawLine(GpGraphics* G, GpPen* Pen, REAL X1, REAL Y1, REAL X2, REAL Y2) {
  return Stroke(G, Pen, [&](cairo_t* C) {
    cairo_move_to(C, X1, Y1);
    cairo_line_to(C, X2, Y2);
  });
}

GpStatus GdipDrawLinesI(GpGraphics* G, GpPen* Pen, const GpPoint* Points, Integer Count) {
  if (!Points || Count < 2) return InvalidParameter;
  return Stroke(G, Pen, [&](cairo_t* C) { AddPoints(C, Points, Count, false); });
}

GpStatus GdipDrawRectangle(GpGraphics* G, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height) {
  return Stroke(G, Pen, [&](cairo_t* C) { cairo_rectangle(C, X, Y, Width, Height); });
}

GpStatus GdipFillRectangle(GpGraphics* G, GpBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height) {
  return Fill(G, Brush, FillModeAlternate, [&](cairo_t* C) { cairo_rectangle(C, X, Y, Width, Height); });
}

GpStatus GdipDrawEllipse(GpGraphics* G, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height) {
  return Stroke(G, Pen, [&](cairo_t* C) { AddEllipse(C, X, Y, Width, Height); });
}

GpStatus GdipFillEllipse(GpGraphics* G, GpBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height) {
  return Fill(G, Brush, FillModeAlternate, [&](cairo_t* C) { AddEllipse(C, X, Y, Width, Height); });
}

GpStatus GdipDrawPolygonI(GpGraphics* G, GpPen* Pen, const GpPoint* Points, Integer Count) {
  if (!Points || Count < 2) return InvalidParameter;
  return Stroke(G, Pen, [&](cairo_t* C) { AddPoints(C, Points, Count, true); });
}

GpStatus GdipFillPolygonI(GpGraphics* G, GpBrush* Brush, const GpPoint* Points, Integer Count,
                          GpFillMode Mode) {
  if (!Points || Count < 1) return InvalidParameter;
  return Fill(G, Brush, Mode, [&](cairo_t* C) { AddPoints(C, Points, Count, true); });
}

GpStatus GdipDrawArc(GpGraphics* G, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height, REAL Start,
                     REAL Sweep) {
  return Stroke(G, Pen, [&](cairo_t* C) { AddArc(C, X, Y, Width, Height, Start, Sweep); });
}

GpStatus GdipDrawPath(GpGraphics* G, GpPen* Pen, GpPath* Path) {
  if (!Path) return InvalidParameter;
  return Stroke(G, Pen, [&](cairo_t* C) { ReplayPath(C, Path); });
}

GpStatus GdipFillPath(GpGraphics* G, GpBrush* Brush, GpPath* Path) {
  if (!Path) return InvalidParameter;
  return Fill(G, Brush, Path->Mode, [&](cairo_t* C) { ReplayPath(C, Path); });
}
