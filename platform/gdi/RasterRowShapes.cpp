// Ellipses and rounded rectangles as one span per row, their outlines and their drawing.
#include <cmath>

#include "platform/gdi/RasterInternals.h"

namespace {

// Row Y of the ellipse through the edges of Box: the pixels whose centres lie inside or on it.
TSpan EllipseRow(const TRect& Box, Integer Y) {
  const double A = Box.Width() / 2.0, B = Box.Height() / 2.0;
  const double CX = Box.Left + A, CY = Box.Top + B;
  const double DY = (Y + 0.5 - CY) / B;
  // The middle row, or the two middle rows of an even height, reach the sides.
  if (2 * static_cast<Int64>(Y) + 1 >= static_cast<Int64>(Box.Top) + Box.Bottom - 1 &&
      2 * static_cast<Int64>(Y) + 1 <= static_cast<Int64>(Box.Top) + Box.Bottom + 1)
    return {Box.Left, Box.Right};
  const double H = A * std::sqrt(std::max(0.0, 1 - DY * DY));
  Integer L = static_cast<Integer>(std::ceil(CX - H - 0.5 - CentreEps));  // FirstPixel, unclamped
  Integer R = static_cast<Integer>(std::floor(CX + H - 0.5 + CentreEps)) + 1;
  if (L >= R) {  // too narrow for a pixel centre: the middle pixel or two
    L = static_cast<Integer>(std::floor(CX - 0.5));
    R = static_cast<Integer>(std::ceil(CX - 0.5)) + 1;
  }
  return {std::max(L, Box.Left), std::min(R, Box.Right)};
}

// Pixels of S row I with a 4-neighbour outside the shape: F(x0, x1) per run, left to right.
template <class F>
void OutlineRuns(const TRowShape& S, std::size_t I, F&& Fn) {
  const TSpan Row = S.Spans[I];
  const bool HasUp = I > 0, HasDown = I + 1 < S.Spans.size();
  if (!HasUp || !HasDown) return Fn(Row.Left, Row.Right);
  const TSpan Up = S.Spans[I - 1], Down = S.Spans[I + 1];
  // The inner part covered above and below.
  const Integer InL = std::max({Up.Left, Down.Left, Row.Left + 1});
  const Integer InR = std::min({Up.Right, Down.Right, Row.Right - 1});
  if (InL >= InR) return Fn(Row.Left, Row.Right);
  Fn(Row.Left, InL);
  Fn(InR, Row.Right);
}

}  // namespace

TRowShape EllipseShape(const TRect& Box, Integer RowLo, Integer RowHi) {
  TRowShape S;
  S.Top = std::max(Box.Top, RowLo);
  const Integer Bottom = std::min(Box.Bottom, RowHi);
  for (Integer Y = S.Top; Y < Bottom; ++Y) S.Spans.push_back(EllipseRow(Box, Y));
  return S;
}

TRowShape RoundRectShape(const TRect& Box, Integer EW, Integer EH, Integer RowLo, Integer RowHi) {
  EW = std::clamp(EW, 1, Box.Width());
  EH = std::clamp(EH, 1, Box.Height());
  const TRect Corner{0, 0, EW, EH};
  TRowShape S;
  S.Top = std::max(Box.Top, RowLo);
  const Integer Bottom = std::min(Box.Bottom, RowHi);
  for (Integer Y = S.Top; Y < Bottom; ++Y) {
    const Integer FromTop = Y - Box.Top, FromBottom = Box.Bottom - 1 - Y;
    Integer R;
    if (2 * FromTop < EH - 1)
      R = FromTop;
    else if (2 * FromBottom < EH - 1)
      R = EH - 1 - FromBottom;
    else {
      S.Spans.push_back({Box.Left, Box.Right});
      continue;
    }
    const TSpan E = EllipseRow(Corner, R);
    S.Spans.push_back({Box.Left + E.Left, Box.Right - (EW - E.Right)});
  }
  return S;
}

std::vector<TPoint> ShapeOutline(const TRowShape& S) {
  std::vector<TPoint> Out;
  for (std::size_t I = 0; I < S.Spans.size(); ++I) {
    const Integer Y = S.Top + static_cast<Integer>(I);
    OutlineRuns(S, I, [&](Integer X0, Integer X1) {
      for (Integer X = X0; X < X1; ++X) Out.push_back({X, Y});
    });
  }
  return Out;
}

std::vector<TPoint> OrderAround(std::vector<TPoint> Pixels, double CX, double CY) {
  constexpr double TwoPi = 6.28318530717958647692;
  std::vector<std::pair<double, double>> Key(Pixels.size());
  std::vector<std::size_t> Index(Pixels.size());
  for (std::size_t I = 0; I < Pixels.size(); ++I) {
    double A = std::atan2(CY - Pixels[I].Y, Pixels[I].X - CX);
    if (A < 0) A += TwoPi;
    Key[I] = {A, std::hypot(Pixels[I].X - CX, Pixels[I].Y - CY)};
    Index[I] = I;
  }
  std::sort(Index.begin(), Index.end(), [&](std::size_t A, std::size_t B) { return Key[A] < Key[B]; });
  std::vector<TPoint> Out(Pixels.size());
  for (std::size_t I = 0; I < Index.size(); ++I) Out[I] = Pixels[Index[I]];
  return Out;
}

void DrawRowShape(HDC DC, TPenSetup& Pen, const TRowShape& S, double CX, double CY) {
  const TBrushPainter Brush(DC, DC->State.Brush);
  auto Paint = [&](Integer Y, Integer X0, Integer X1) {
    if (X0 < X1 && !Brush.IsNull())
      ForEachClipSpan(DC, Y, X0, X1, [&](Integer L, Integer R) { Brush.Span(Y, L, R); });
  };
  if (Pen.Null || Pen.Wide) {
    for (std::size_t I = 0; I < S.Spans.size(); ++I)
      Paint(S.Top + static_cast<Integer>(I), S.Spans[I].Left, S.Spans[I].Right);
    if (Pen.Null) return;
  } else {
    // The brush fills between the outline runs of each row.
    for (std::size_t I = 0; I < S.Spans.size(); ++I) {
      const Integer Y = S.Top + static_cast<Integer>(I);
      Integer From = S.Spans[I].Left;
      OutlineRuns(S, I, [&](Integer X0, Integer X1) {
        Paint(Y, From, X0);
        From = X1;
      });
      Paint(Y, From, S.Spans[I].Right);
    }
  }
  std::vector<TPoint> Outline = ShapeOutline(S);
  if (!Pen.Wide && !Pen.Dash.Active()) {
    for (const TPoint& P : Outline)
      if (InClip(DC, P.X, P.Y)) Pen.Ink.Pixel(P.X, P.Y);
    return;
  }
  const std::vector<TPoint> Ring = OrderAround(std::move(Outline), CX, CY);
  if (Pen.Wide) {
    // Pieces cut off by the rows left out are stroked apart.
    std::size_t Start = 0;
    const std::size_t N = Ring.size();
    std::size_t Cut = N;
    for (std::size_t I = 0; I < N; ++I) {
      const TPoint A = Ring[I], B = Ring[(I + 1) % N];
      if (std::abs(A.X - B.X) > 1 || std::abs(A.Y - B.Y) > 1) {
        Cut = I;
        break;
      }
    }
    if (Cut == N) {
      StrokePolyline(DC, Pen, Ring.data(), N, true);
      return;
    }
    std::vector<TPoint> Piece;
    Start = (Cut + 1) % N;
    for (std::size_t K = 0; K < N; ++K) {
      const TPoint P = Ring[(Start + K) % N];
      if (!Piece.empty() && (std::abs(P.X - Piece.back().X) > 1 || std::abs(P.Y - Piece.back().Y) > 1)) {
        StrokePolyline(DC, Pen, Piece.data(), Piece.size(), false);
        Piece.clear();
      }
      Piece.push_back(P);
    }
    if (Piece.size() > 1) StrokePolyline(DC, Pen, Piece.data(), Piece.size(), false);
    return;
  }
  for (std::size_t I = 0; I < Ring.size(); ++I) {
    const TPoint P = Ring[I];
    if (!InClip(DC, P.X, P.Y)) continue;
    if (Pen.Dash.IsOn(static_cast<Int64>(I)))
      Pen.Ink.Pixel(P.X, P.Y);
    else if (Pen.HasGap)
      Pen.Gap.Pixel(P.X, P.Y);
  }
}
