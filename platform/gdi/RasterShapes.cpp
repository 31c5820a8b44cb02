// Closed shapes: rectangles, ellipses, rounded rectangles, arcs, chords, pies and polygons.
#include <cmath>

#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/RasterInternals.h"
#include "platform/system/Exceptions.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

bool Rotated(HDC DC) {
  return DC->HasTransform() && (DC->State.World.eM12 != 0 || DC->State.World.eM21 != 0);
}

// A logical box in surface coordinates, corners put in order. In the advanced graphics mode the
// platform takes shape boxes as including their right and bottom edges.
TRect BoxToSurface(HDC DC, Integer L, Integer T, Integer R, Integer B) {
  const TPoint A = DC->ToSurface({L, T}), C = DC->ToSurface({R, B});
  const Integer Inclusive = DC->State.GraphicsMode == GM_ADVANCED ? 1 : 0;
  return {std::min(A.X, C.X), std::min(A.Y, C.Y), std::max(A.X, C.X) + Inclusive,
          std::max(A.Y, C.Y) + Inclusive};
}

// A box worth drawing: not empty, inside the device space.
bool DrawableBox(const TRect& B) {
  return B.Width() > 0 && B.Height() > 0 && InShapeRange(B.TopLeft()) && InShapeRange(B.BottomRight());
}

// A wide PS_INSIDEFRAME pen stays inside the box: its path moves in by half the width.
TRect InsideFrameBox(const TRect& B, const TPenSetup& Pen) {
  if (!Pen.Wide || !Pen.InsideFrame) return B;
  TRect R{B.Left + Pen.Width / 2, B.Top + Pen.Width / 2, B.Right - (Pen.Width - 1) / 2,
          B.Bottom - (Pen.Width - 1) / 2};
  // A pen wider than the box keeps one pixel of path in its middle.
  if (R.Right <= R.Left) {
    R.Left = B.Left + (B.Width() - 1) / 2;
    R.Right = R.Left + 1;
  }
  if (R.Bottom <= R.Top) {
    R.Top = B.Top + (B.Height() - 1) / 2;
    R.Bottom = R.Top + 1;
  }
  return R;
}

// Rows of a shape worth building: the clip box and a margin for the pen and the outline test.
void ShapeRows(HDC DC, const TPenSetup& Pen, Integer& Lo, Integer& Hi) {
  const TRect& C = DC->ClipBox();
  const Integer Margin = (Pen.Wide ? Pen.Width : 0) + 2;
  Lo = C.Top - Margin;
  Hi = C.Bottom + Margin;
}

double AngleOf(double X, double Y, double CX, double CY) {
  return std::atan2(CY - Y, X - CX);
}

// Pixel-index centre of a box.
double MidX(const TRect& B) {
  return B.Left + (B.Width() - 1) / 2.0;
}
double MidY(const TRect& B) {
  return B.Top + (B.Height() - 1) / 2.0;
}

// The ellipse outline pixels from the start radial to the end radial in the DC's arc direction
// (both radials included), in drawing order. The same radial twice gives the whole ellipse.
std::vector<TPoint> ArcPoints(HDC DC, const TRect& B, TPoint S, TPoint E, Integer RowLo, Integer RowHi) {
  const double CX = MidX(B), CY = MidY(B);
  const std::vector<TPoint> Ring = OrderAround(ShapeOutline(EllipseShape(B, RowLo, RowHi)), CX, CY);
  const bool Ccw = DC->State.ArcDirection == AD_COUNTERCLOCKWISE;
  // Radials from the centre of the box as given.
  const double BX = B.Left + B.Width() / 2.0 - 0.5, BY = B.Top + B.Height() / 2.0 - 0.5;
  const double AS = std::atan2(BY - S.Y, S.X - BX), AE = std::atan2(BY - E.Y, E.X - BX);
  auto Rel = [&](double A) {
    double D = std::fmod(Ccw ? A - AS : AS - A, 2 * Pi);
    if (D < 0) D += 2 * Pi;
    return D;
  };
  double Span = Rel(AE);
  if (Span <= 1e-9) Span = 2 * Pi;
  std::vector<std::pair<double, TPoint>> Sel;
  for (const TPoint& P : Ring) {
    const double D = Rel(AngleOf(P.X, P.Y, CX, CY));
    if (D <= Span + 1e-9 || D >= 2 * Pi - 1e-9) Sel.emplace_back(D >= 2 * Pi - 1e-9 ? 0.0 : D, P);
  }
  std::stable_sort(Sel.begin(), Sel.end(), [](const auto& X, const auto& Y) { return X.first < Y.first; });
  std::vector<TPoint> Out;
  for (const auto& [D, P] : Sel) Out.push_back(P);
  return Out;
}

enum class TArcKind { Arc, ArcTo, Chord, Pie };

// Shapes under a rotating or shearing world transform: sampled in logical space, transformed
// point by point, and drawn as polygons (or an open polyline for arcs).
std::vector<TPoint> TransformedOutline(HDC DC, const std::vector<TPointF>& Logical) {
  std::vector<TPoint> Out;
  for (const TPointF& P : Logical) {
    double X, Y;
    DC->ToSurfaceF(P.X, P.Y, X, Y);
    const TPoint Q{static_cast<Integer>(std::floor(X + 0.5)), static_cast<Integer>(std::floor(Y + 0.5))};
    if (Out.empty() || !(Out.back() == Q)) Out.push_back(Q);
  }
  return Out;
}

std::vector<TPointF> LogicalEllipseArc(double L, double T, double R, double B, double A0, double Span) {
  const double CX = (L + R) / 2, CY = (T + B) / 2, RX = std::fabs(R - L) / 2, RY = std::fabs(B - T) / 2;
  const Integer N = std::clamp(static_cast<Integer>((RX + RY) * std::fabs(Span) / 2), 8, 8192);
  std::vector<TPointF> Out;
  for (Integer I = 0; I <= N; ++I) {
    const double A = A0 + Span * I / N;
    Out.push_back({CX + RX * std::cos(A), CY - RY * std::sin(A)});
  }
  return Out;
}

void FillPolygonSurface(HDC DC, const std::vector<TPoint>& P, const std::vector<Integer>& Counts,
                        Integer Mode) {
  TBrushPainter Brush(DC, DC->State.Brush);
  if (Brush.IsNull()) return;
  TPolygonScanner Scan(P.data(), Counts.data(), static_cast<Integer>(Counts.size()), Mode);
  const TRect& Box = DC->ClipBox();
  Scan.SkipToRow(Box.Top);
  while (Scan.NextRow()) {
    const Integer Y = Scan.Row();
    if (Y < Box.Top) continue;
    if (Y >= Box.Bottom) break;
    for (const TSpan& S : Scan.Spans())
      ForEachClipSpan(DC, Y, S.Left, S.Right, [&](Integer L, Integer R) { Brush.Span(Y, L, R); });
  }
}

// Polygons in surface coordinates: filled by the fill mode, then outlined.
BOOL DrawPolygons(HDC DC, const std::vector<TPoint>& P, const std::vector<Integer>& Counts,
                  bool Fill = true) {
  try {
    if (Fill) FillPolygonSurface(DC, P, Counts, DC->State.PolyFillMode);
  } catch (const Exception&) {
    return FALSE;
  }
  TPenSetup Pen = MakePenSetup(DC);
  std::size_t At = 0;
  for (Integer C : Counts) {
    Pen.Dash.Pos = 0;
    StrokePolyline(DC, Pen, P.data() + At, static_cast<std::size_t>(C), true);
    At += static_cast<std::size_t>(C);
  }
  return TRUE;
}

// A closed shape under a rotating or shearing transform: its logical outline as one polygon.
BOOL DrawTransformedShape(HDC DC, const std::vector<TPointF>& Logical) {
  const std::vector<TPoint> P = TransformedOutline(DC, Logical);
  return DrawPolygons(DC, P, {static_cast<Integer>(P.size())});
}

BOOL DrawTransformedArc(HDC DC, TArcKind Kind, Integer L, Integer T, Integer R, Integer B, Integer XS,
                        Integer YS, Integer XE, Integer YE) {
  const double CX = (L + R) / 2.0, CY = (T + B) / 2.0;
  const double AS = std::atan2(CY - YS, XS - CX), AE = std::atan2(CY - YE, XE - CX);
  const bool Ccw = DC->State.ArcDirection == AD_COUNTERCLOCKWISE;
  double Span = Ccw ? AE - AS : AS - AE;
  Span = std::fmod(Span, 2 * Pi);
  if (Span <= 1e-12) Span += 2 * Pi;
  std::vector<TPointF> Pts = LogicalEllipseArc(L, T, R, B, AS, Ccw ? Span : -Span);
  if (Kind == TArcKind::Pie) Pts.push_back({CX, CY});
  if (Kind == TArcKind::ArcTo) {
    Pts.insert(Pts.begin(),
               {static_cast<double>(DC->State.CurPos.X), static_cast<double>(DC->State.CurPos.Y)});
    DC->State.CurPos = {static_cast<Integer>(std::floor(Pts.back().X + 0.5)),
                        static_cast<Integer>(std::floor(Pts.back().Y + 0.5))};
  }
  if (Kind == TArcKind::Chord || Kind == TArcKind::Pie) return DrawTransformedShape(DC, Pts);
  const std::vector<TPoint> P = TransformedOutline(DC, Pts);
  TPenSetup Pen = MakePenSetup(DC);
  StrokePolyline(DC, Pen, P.data(), P.size(), false);
  return TRUE;
}

BOOL DrawArc(HDC DC, TArcKind Kind, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS,
             Integer XE, Integer YE) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (IsRecordingDC(DC))
    EmfRecordArc(DC,
                 Kind == TArcKind::Arc     ? EMR_ARC
                 : Kind == TArcKind::ArcTo ? EMR_ARCTO
                 : Kind == TArcKind::Chord ? EMR_CHORD
                                           : EMR_PIE,
                 L, T, R, B, XS, YS, XE, YE);
  if (Rotated(DC)) return DrawTransformedArc(DC, Kind, L, T, R, B, XS, YS, XE, YE);
  TPenSetup Pen = MakePenSetup(DC);
  const TRect Box = InsideFrameBox(BoxToSurface(DC, L, T, R, B), Pen);
  if (!DrawableBox(Box)) return TRUE;
  const TPoint S = DC->ToSurface({XS, YS}), E = DC->ToSurface({XE, YE});
  Integer RowLo = Box.Top, RowHi = Box.Bottom;
  if (Kind == TArcKind::Arc) ShapeRows(DC, Pen, RowLo, RowHi);
  std::vector<TPoint> P = ArcPoints(DC, Box, S, E, RowLo, RowHi);
  if (P.empty()) return TRUE;
  switch (Kind) {
    case TArcKind::Arc:
      StrokePieces(DC, Pen, P);
      break;
    case TArcKind::ArcTo: {
      const TPoint Cur = DC->ToSurface(DC->State.CurPos);
      const TPoint Line[2] = {Cur, P.front()};
      StrokePolyline(DC, Pen, Line, 2, false);
      StrokePieces(DC, Pen, P);
      DC->State.CurPos = DC->FromSurface(P.back());
      break;
    }
    case TArcKind::Chord:
      DrawClosedShape(DC, P, true);
      break;
    case TArcKind::Pie:
      P.push_back({static_cast<Integer>(std::floor(MidX(Box) + 0.5)),
                   static_cast<Integer>(std::floor(MidY(Box) + 0.5))});
      DrawClosedShape(DC, P, true);
      break;
  }
  return TRUE;
}

}  // namespace

void DrawClosedShape(HDC DC, const std::vector<TPoint>& Ring, bool FillInterior) {
  if (Ring.empty()) return;
  TPenSetup Pen = MakePenSetup(DC);
  const bool Cosmetic = !Pen.Null && !Pen.Wide;
  const TRect Box = DC->ClipBox();
  // The outline's own pixels inside the clip box, by row.
  std::vector<TPoint> Pix;
  if (Cosmetic) {
    const std::size_t N = Ring.size();
    if (N == 1) {
      Pix.push_back(Ring[0]);
    } else {
      for (std::size_t I = 0; I < N; ++I) {
        const TLineSteps L(Ring[I], Ring[(I + 1) % N]);
        WalkLine(L, Box, [&](Integer X, Integer Y, Int64) { Pix.push_back({X, Y}); });
      }
    }
    std::sort(Pix.begin(), Pix.end(), [](TPoint A, TPoint B) { return A.Y != B.Y ? A.Y < B.Y : A.X < B.X; });
    Pix.erase(std::unique(Pix.begin(), Pix.end()), Pix.end());
  }
  if (FillInterior && Ring.size() >= 3) {
    TBrushPainter Brush(DC, DC->State.Brush);
    if (!Brush.IsNull()) {
      std::vector<TPointF> Poly(Ring.size());
      for (std::size_t I = 0; I < Ring.size(); ++I) Poly[I] = {Ring[I].X + 0.5, Ring[I].Y + 0.5};
      TShapeFiller Filler;
      Filler.AddPolygon(Poly.data(), Poly.size(), true);
      std::size_t K = 0;
      auto Paint = [&](Integer Y, Integer X0, Integer X1) {
        if (X0 < X1) ForEachClipSpan(DC, Y, X0, X1, [&](Integer L, Integer R) { Brush.Span(Y, L, R); });
      };
      Filler.Fill(WINDING, Box, [&](Integer Y, Integer X0, Integer X1) {
        if (!Cosmetic) return Paint(Y, X0, X1);
        while (K < Pix.size() && Pix[K].Y < Y) ++K;
        std::size_t J = K;
        while (J < Pix.size() && Pix[J].Y == Y && Pix[J].X < X0) ++J;
        for (; J < Pix.size() && Pix[J].Y == Y && Pix[J].X < X1; ++J) {
          Paint(Y, X0, Pix[J].X);
          X0 = Pix[J].X + 1;
        }
        Paint(Y, X0, X1);
      });
    }
  }
  if (Pen.Null) return;
  if (!Cosmetic || Pen.Dash.Active()) {
    StrokePolyline(DC, Pen, Ring.data(), Ring.size(), true);
    return;
  }
  for (const TPoint& P : Pix)
    if (InClip(DC, P.X, P.Y)) Pen.Ink.Pixel(P.X, P.Y);
}

BOOL Rectangle(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordBox(DC, EMR_RECTANGLE, Left, Top, Right, Bottom);
  if (Rotated(DC)) {
    const double L = Left, T = Top, R = Right, B = Bottom;
    return DrawTransformedShape(DC, {{L, T}, {R, T}, {R, B}, {L, B}});
  }
  TPenSetup Pen = MakePenSetup(DC);
  const TRect B = InsideFrameBox(BoxToSurface(DC, Left, Top, Right, Bottom), Pen);
  if (!DrawableBox(B)) return TRUE;
  TBrushPainter Brush(DC, DC->State.Brush);
  if (Pen.Null) {
    FillRectClipped(DC, {B.Left, B.Top, B.Right - 1, B.Bottom - 1}, Brush);
    return TRUE;
  }
  if (Pen.Wide || Pen.Dash.Active()) {
    FillRectClipped(DC, {B.Left, B.Top, B.Right - 1, B.Bottom - 1}, Brush);
    const TPoint Ring[4] = {
        {B.Left, B.Top}, {B.Right - 1, B.Top}, {B.Right - 1, B.Bottom - 1}, {B.Left, B.Bottom - 1}};
    const std::size_t N = B.Width() == 1 && B.Height() == 1 ? 1 : 4;
    if (N == 1) {
      if (InClip(DC, B.Left, B.Top)) Pen.Ink.Pixel(B.Left, B.Top);
    } else {
      StrokePolyline(DC, Pen, Ring, N, true);
    }
    return TRUE;
  }
  FillRectClipped(DC, {B.Left + 1, B.Top + 1, B.Right - 1, B.Bottom - 1}, Brush);
  ForEachFrameRect(B, [&](const TRect& F) { FillRectClipped(DC, F, Pen.Ink); });
  return TRUE;
}

BOOL Ellipse(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordBox(DC, EMR_ELLIPSE, Left, Top, Right, Bottom);
  if (Rotated(DC)) {
    return DrawTransformedShape(DC, LogicalEllipseArc(Left, Top, Right, Bottom, 0, 2 * Pi));
  }
  TPenSetup Pen = MakePenSetup(DC);
  const TRect B = InsideFrameBox(BoxToSurface(DC, Left, Top, Right, Bottom), Pen);
  if (!DrawableBox(B)) return TRUE;
  // Without a pen the fill is one pixel smaller on the right and bottom.
  const TRect Fill = Pen.Null ? TRect{B.Left, B.Top, B.Right - 1, B.Bottom - 1} : B;
  if (Fill.Width() <= 0 || Fill.Height() <= 0) return TRUE;
  Integer Lo, Hi;
  ShapeRows(DC, Pen, Lo, Hi);
  DrawRowShape(DC, Pen, EllipseShape(Fill, Lo, Hi), MidX(Fill), MidY(Fill));
  return TRUE;
}

BOOL RoundRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer EllipseWidth,
               Integer EllipseHeight) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (EllipseWidth <= 0 || EllipseHeight <= 0) return Rectangle(DC, Left, Top, Right, Bottom);
  if (IsRecordingDC(DC)) EmfRecordRoundRect(DC, Left, Top, Right, Bottom, EllipseWidth, EllipseHeight);
  if (Rotated(DC)) {
    // Corners as quarter ellipses sampled in logical space.
    const double L = std::min(Left, Right), R = std::max(Left, Right), T = std::min(Top, Bottom),
                 B = std::max(Top, Bottom);
    const double EW = std::min<double>(EllipseWidth, R - L), EH = std::min<double>(EllipseHeight, B - T);
    std::vector<TPointF> Pts;
    const double Corners[4][3] = {
        {R - EW, T, 0}, {L, T, Pi / 2}, {L, B - EH, Pi}, {R - EW, B - EH, 1.5 * Pi}};
    for (const auto& C : Corners) {
      const auto Q = LogicalEllipseArc(C[0], C[1], C[0] + EW, C[1] + EH, C[2], Pi / 2);
      Pts.insert(Pts.end(), Q.begin(), Q.end());
    }
    return DrawTransformedShape(DC, Pts);
  }
  TPenSetup Pen = MakePenSetup(DC);
  const TRect B = InsideFrameBox(BoxToSurface(DC, Left, Top, Right, Bottom), Pen);
  if (!DrawableBox(B)) return TRUE;
  Integer EW = EllipseWidth, EH = EllipseHeight;
  if (DC->HasTransform()) {
    EW = std::abs(static_cast<Integer>(std::lround(EW * DC->State.World.eM11)));
    EH = std::abs(static_cast<Integer>(std::lround(EH * DC->State.World.eM22)));
  }
  const TRect Fill = Pen.Null ? TRect{B.Left, B.Top, B.Right - 1, B.Bottom - 1} : B;
  if (Fill.Width() <= 0 || Fill.Height() <= 0) return TRUE;
  Integer Lo, Hi;
  ShapeRows(DC, Pen, Lo, Hi);
  DrawRowShape(DC, Pen, RoundRectShape(Fill, std::max(EW, 1), std::max(EH, 1), Lo, Hi), MidX(Fill),
               MidY(Fill));
  return TRUE;
}

BOOL Arc(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS, Integer XE, Integer YE) {
  return DrawArc(DC, TArcKind::Arc, L, T, R, B, XS, YS, XE, YE);
}
BOOL ArcTo(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS, Integer XE,
           Integer YE) {
  return DrawArc(DC, TArcKind::ArcTo, L, T, R, B, XS, YS, XE, YE);
}
BOOL Chord(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS, Integer XE,
           Integer YE) {
  return DrawArc(DC, TArcKind::Chord, L, T, R, B, XS, YS, XE, YE);
}
BOOL Pie(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS, Integer XE, Integer YE) {
  return DrawArc(DC, TArcKind::Pie, L, T, R, B, XS, YS, XE, YE);
}

BOOL Polygon(HDC DC, const POINT* Points, Integer Count) {
  if (!IsDeviceContext(DC) || !Points || Count < 2) return FALSE;
  std::vector<TPoint> P(static_cast<std::size_t>(Count));
  if (IsRecordingDC(DC)) EmfRecordPoints(DC, EMR_POLYGON, Points, static_cast<DWORD>(Count));
  for (Integer I = 0; I < Count; ++I) P[static_cast<std::size_t>(I)] = DC->ToSurface(Points[I]);
  return DrawPolygons(DC, P, {Count});
}

BOOL PolyPolygon(HDC DC, const POINT* Points, const Integer* Counts, Integer PolyCount) {
  if (!IsDeviceContext(DC) || !Points || !Counts || PolyCount <= 0) return FALSE;
  if (IsRecordingDC(DC)) {
    const std::vector<DWORD> N(Counts, Counts + PolyCount);
    EmfRecordPolyPoints(DC, EMR_POLYPOLYGON, Points, N.data(), static_cast<DWORD>(PolyCount));
  }
  std::vector<Integer> C(Counts, Counts + PolyCount);
  std::size_t Total = 0;
  for (Integer N : C) {
    if (N < 2) return FALSE;
    Total += static_cast<std::size_t>(N);
  }
  std::vector<TPoint> P(Total);
  for (std::size_t I = 0; I < Total; ++I) P[I] = DC->ToSurface(Points[I]);
  return DrawPolygons(DC, P, C);
}
