// Float shapes: the union of polygons and discs sampled at pixel centres, and the stroke of
// wide pens built from them.
#include "platform/gdi/RasterInternals.h"

namespace {

constexpr double MiterLimit = 10.0;

}  // namespace

void TShapeFiller::AddPolygon(const TPointF* P, std::size_t N, bool Oriented) {
  if (N < 3) return;
  Integer Flip = 1;
  if (Oriented) {
    double Area = 0;
    for (std::size_t I = 0; I < N; ++I) {
      const TPointF& A = P[I];
      const TPointF& B = P[(I + 1) % N];
      Area += A.X * B.Y - B.X * A.Y;
    }
    // Negative area (y down): edges going down lie on the left, so the inside winds +1.
    if (Area > 0) Flip = -1;
  }
  for (std::size_t I = 0; I < N; ++I) {
    const TPointF& A = P[I];
    const TPointF& B = P[(I + 1) % N];
    if (A.Y == B.Y) continue;
    if (!std::isfinite(A.X) || !std::isfinite(A.Y) || !std::isfinite(B.X) || !std::isfinite(B.Y)) continue;
    if (A.Y < B.Y)
      FEdges.push_back({A.X, A.Y, B.X, B.Y, Flip});
    else
      FEdges.push_back({B.X, B.Y, A.X, A.Y, -Flip});
    FTop = std::min(FTop, std::min(A.Y, B.Y));
    FBottom = std::max(FBottom, std::max(A.Y, B.Y));
  }
}

void TShapeFiller::AddDisc(double CX, double CY, double R) {
  if (!(R > 0) || !std::isfinite(CX) || !std::isfinite(CY)) return;
  FDiscs.push_back({CX, CY, R});
  FTop = std::min(FTop, CY - R);
  FBottom = std::max(FBottom, CY + R);
}

void TShapeFiller::Begin() {
  std::sort(FEdges.begin(), FEdges.end(), [](const TEdge& A, const TEdge& B) { return A.Y0 < B.Y0; });
  std::sort(FDiscs.begin(), FDiscs.end(),
            [](const TDisc& A, const TDisc& B) { return A.CY - A.R < B.CY - B.R; });
  FActiveEdges.clear();
  FActiveDiscs.clear();
  FNextEdge = FNextDisc = 0;
}

// Rows must come in increasing order after Begin.
void TShapeFiller::RowSpans(Integer Y, Integer FillMode, std::vector<TSpan>& Out) {
  Out.clear();
  FCross.clear();
  const double YC = Y + 0.5;
  while (FNextEdge < FEdges.size() && FEdges[FNextEdge].Y0 <= YC) FActiveEdges.push_back(FNextEdge++);
  while (FNextDisc < FDiscs.size() && FDiscs[FNextDisc].CY - FDiscs[FNextDisc].R < YC)
    FActiveDiscs.push_back(FNextDisc++);
  std::erase_if(FActiveEdges, [&](std::size_t I) { return FEdges[I].Y1 <= YC; });
  std::erase_if(FActiveDiscs, [&](std::size_t I) { return FDiscs[I].CY + FDiscs[I].R <= YC; });
  for (std::size_t I : FActiveEdges) {
    const TEdge& E = FEdges[I];
    FCross.push_back({E.X0 + (YC - E.Y0) * (E.X1 - E.X0) / (E.Y1 - E.Y0), E.Dir});
  }
  for (std::size_t I : FActiveDiscs) {
    const TDisc& D = FDiscs[I];
    const double DY = YC - D.CY;
    if (DY <= -D.R || DY >= D.R) continue;
    const double H = std::sqrt(D.R * D.R - DY * DY);
    FCross.push_back({D.CX - H, 1});
    FCross.push_back({D.CX + H, -1});
  }
  if (FCross.empty()) return;
  std::sort(FCross.begin(), FCross.end(), [](const TCross& A, const TCross& B) { return A.X < B.X; });
  Integer Wind = 0;
  double Start = 0;
  for (const TCross& C : FCross) {
    const bool Was = FillMode == WINDING ? Wind != 0 : (Wind & 1) != 0;
    Wind += FillMode == WINDING ? C.Dir : 1;
    const bool Is = FillMode == WINDING ? Wind != 0 : (Wind & 1) != 0;
    if (!Was && Is) {
      Start = C.X;
    } else if (Was && !Is) {
      const Integer L = FirstPixel(Start), R = FirstPixel(C.X);
      if (L < R) {
        if (!Out.empty() && Out.back().Right >= L)
          Out.back().Right = std::max(Out.back().Right, R);
        else
          Out.push_back({L, R});
      }
    }
  }
}

void AddWideStroke(TShapeFiller& Filler, const TPointF* P, std::size_t N, bool Closed, double Width,
                   UINT EndCap, UINT Join) {
  std::vector<TPointF> Q;
  Q.reserve(N);
  for (std::size_t I = 0; I < N; ++I) {
    const TPointF C{P[I].X + 0.5, P[I].Y + 0.5};  // the stroke is centred on pixel centres
    if (Q.empty() || Q.back().X != C.X || Q.back().Y != C.Y) Q.push_back(C);
  }
  if (Closed && Q.size() > 1 && Q.back().X == Q.front().X && Q.back().Y == Q.front().Y) Q.pop_back();
  if (Q.size() < 2) return;
  const double H = Width / 2;
  const std::size_t M = Q.size();
  const std::size_t Segs = Closed ? M : M - 1;
  std::vector<TPointF> Dir(Segs);
  for (std::size_t I = 0; I < Segs; ++I) {
    const TPointF& A = Q[I];
    const TPointF& B = Q[(I + 1) % M];
    const double Len = std::hypot(B.X - A.X, B.Y - A.Y);
    Dir[I] = {(B.X - A.X) / Len, (B.Y - A.Y) / Len};
  }
  const bool Square = EndCap == PS_ENDCAP_SQUARE;
  for (std::size_t I = 0; I < Segs; ++I) {
    TPointF A = Q[I], B = Q[(I + 1) % M];
    const TPointF U = Dir[I], Nrm{-U.Y * H, U.X * H};
    if (!Closed && Square) {
      if (I == 0) A = {A.X - U.X * H, A.Y - U.Y * H};
      if (I + 1 == Segs) B = {B.X + U.X * H, B.Y + U.Y * H};
    }
    const TPointF Quad[4] = {{A.X + Nrm.X, A.Y + Nrm.Y},
                             {B.X + Nrm.X, B.Y + Nrm.Y},
                             {B.X - Nrm.X, B.Y - Nrm.Y},
                             {A.X - Nrm.X, A.Y - Nrm.Y}};
    Filler.AddPolygon(Quad, 4, true);
  }
  // Joins at the inner vertices (every vertex of a closed path).
  const std::size_t First = Closed ? 0 : 1, Last = Closed ? M : M - 1;
  for (std::size_t J = First; J < Last; ++J) {
    const TPointF V = Q[J];
    if (Join == PS_JOIN_ROUND) {
      Filler.AddDisc(V.X, V.Y, H);
      continue;
    }
    const TPointF U1 = Dir[(J + Segs - 1) % Segs], U2 = Dir[J % Segs];
    const double Cross = U1.X * U2.Y - U1.Y * U2.X, Dot = U1.X * U2.X + U1.Y * U2.Y;
    if (std::fabs(Cross) < 1e-12 && Dot > 0) continue;  // straight on
    const TPointF N1{-U1.Y * H, U1.X * H}, N2{-U2.Y * H, U2.X * H};
    // The outer side is away from the turn.
    const double S = ((N1.X + N2.X) * (U2.X - U1.X) + (N1.Y + N2.Y) * (U2.Y - U1.Y)) > 0 ? -1.0 : 1.0;
    const TPointF A{V.X + S * N1.X, V.Y + S * N1.Y}, B{V.X + S * N2.X, V.Y + S * N2.Y};
    if (Join == PS_JOIN_MITER && 1 + Dot > 1e-12 && std::sqrt(2 / (1 + Dot)) <= MiterLimit) {
      const TPointF Mi{V.X + S * (N1.X + N2.X) / (1 + Dot), V.Y + S * (N1.Y + N2.Y) / (1 + Dot)};
      const TPointF Poly[4] = {V, A, Mi, B};
      Filler.AddPolygon(Poly, 4, true);
    } else {
      const TPointF Tri[3] = {V, A, B};
      Filler.AddPolygon(Tri, 3, true);
    }
  }
  if (!Closed && EndCap == PS_ENDCAP_ROUND) {
    Filler.AddDisc(Q.front().X, Q.front().Y, H);
    Filler.AddDisc(Q.back().X, Q.back().Y, H);
  }
}

void FillShapeClipped(HDC DC, TShapeFiller& Filler, Integer FillMode, const TPixelOp& Op) {
  const TRect Box = DC->ClipBox();
  Filler.Fill(FillMode, Box, [&](Integer Y, Integer X0, Integer X1) {
    ForEachClipSpan(DC, Y, X0, X1, [&](Integer L, Integer R) { Op.Span(Y, L, R); });
  });
}

void FillShapeClipped(HDC DC, TShapeFiller& Filler, Integer FillMode, const TBrushPainter& Brush) {
  if (Brush.IsNull()) return;
  const TRect Box = DC->ClipBox();
  Filler.Fill(FillMode, Box, [&](Integer Y, Integer X0, Integer X1) {
    ForEachClipSpan(DC, Y, X0, X1, [&](Integer L, Integer R) { Brush.Span(Y, L, R); });
  });
}
