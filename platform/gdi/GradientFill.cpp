// GradientFill: rectangles shaded along one axis and triangles shaded barycentrically.
#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/PolygonScan.h"

namespace {

// Colours in the vertices' 16-bit channels: blue, green, red, alpha.
struct TChannels {
  Int64 C[4];
};

TChannels ChannelsOf(const TRIVERTEX& V) {
  return {{V.Blue, V.Green, V.Red, V.Alpha}};
}

DWORD PixelOf(const TSurface& S, const Int64 C[4]) {
  const auto B = static_cast<Byte>(C[0] >> 8), G = static_cast<Byte>(C[1] >> 8),
             R = static_cast<Byte>(C[2] >> 8);
  if (S.Format == TSurfaceFormat::pf32)
    return (static_cast<DWORD>(C[3] >> 8) << 24) | (static_cast<DWORD>(R) << 16) |
           (static_cast<DWORD>(G) << 8) | B;
  return ColorToPixel(S, RGB(R, G, B));
}

void FillRect(HDC DC, const TSurface& S, const TRIVERTEX& V0, const TRIVERTEX& V1, bool Vertical) {
  TPoint A = DC->ToSurface({V0.x, V0.y}), B = DC->ToSurface({V1.x, V1.y});
  // The colours follow their vertices along the shading axis.
  TChannels From = ChannelsOf(V0), To = ChannelsOf(V1);
  if (Vertical ? A.Y > B.Y : A.X > B.X) std::swap(From, To);
  const TRect R{std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
  if (IsEmptyRect(R)) return;
  const Int64 Length = Vertical ? R.Height() : R.Width();
  const auto PixelAt = [&](Integer Pos) {
    Int64 C[4];
    for (Integer K = 0; K < 4; ++K) C[K] = From.C[K] + (To.C[K] - From.C[K]) * Pos / Length;
    return PixelOf(S, C);
  };
  std::vector<DWORD> Line;
  ForEachClipRect(DC, R, [&](const TRect& C) {
    if (Vertical) {
      for (Integer Y = C.Top; Y < C.Bottom; ++Y) FillSpanRaw(S, Y, C.Left, C.Right, 0, PixelAt(Y - R.Top));
      return;
    }
    Line.resize(static_cast<std::size_t>(C.Width()));
    for (Integer X = C.Left; X < C.Right; ++X)
      Line[static_cast<std::size_t>(X - C.Left)] = PixelAt(X - R.Left);
    for (Integer Y = C.Top; Y < C.Bottom; ++Y) PackRow(S, S.Row(Y), C.Left, C.Width(), Line.data());
  });
}

// floor(N / D) and N - D * floor(N / D) for D > 0.
void FloorDiv(__int128 N, Int64 D, Int64& Q, Int64& R) {
  __int128 Qw = N / D;
  if (N % D < 0) --Qw;
  Q = static_cast<Int64>(Qw);
  R = static_cast<Int64>(N - Qw * D);
}

void FillTriangle(HDC DC, const TSurface& S, const TRIVERTEX* Tri[3]) {
  TPoint P[3];
  for (Integer I = 0; I < 3; ++I) {
    P[I] = DC->ToSurface({Tri[I]->x, Tri[I]->y});
    if (!InShapeRange(P[I])) return;
  }
  const Int64 X1 = P[0].X, Y1 = P[0].Y, X2 = P[1].X, Y2 = P[1].Y, X3 = P[2].X, Y3 = P[2].Y;
  Int64 Area = (X2 - X1) * (Y3 - Y1) - (X3 - X1) * (Y2 - Y1);
  if (Area == 0) return;
  const Int64 Sign = Area > 0 ? 1 : -1;
  Area *= Sign;
  TChannels C[3] = {ChannelsOf(*Tri[0]), ChannelsOf(*Tri[1]), ChannelsOf(*Tri[2])};
  Int64 Lo[4], Hi[4], Step[4];
  for (Integer K = 0; K < 4; ++K) {
    Lo[K] = std::min({C[0].C[K], C[1].C[K], C[2].C[K]});
    Hi[K] = std::max({C[0].C[K], C[1].C[K], C[2].C[K]});
    // The weights change by (Y2 - Y3, Y3 - Y1, Y1 - Y2) per pixel to the right.
    Step[K] = Sign * ((Y2 - Y3) * C[0].C[K] + (Y3 - Y1) * C[1].C[K] + (Y1 - Y2) * C[2].C[K]);
  }
  Int64 StepQ[4], StepR[4];
  for (Integer K = 0; K < 4; ++K) FloorDiv(Step[K], Area, StepQ[K], StepR[K]);

  const Integer Count = 3;
  TPolygonScanner Scan(P, &Count, 1, ALTERNATE);
  std::vector<DWORD> Line;
  while (Scan.NextRow()) {
    const Int64 Y = Scan.Row();
    for (const TSpan& Span : Scan.Spans()) {
      ForEachClipSpan(DC, Scan.Row(), Span.Left, Span.Right, [&](Integer A, Integer B) {
        const Int64 X = A;
        // Twice the signed areas of the sub-triangles opposite each vertex, at (X, Y).
        const Int64 W1 = Sign * ((X2 - X) * (Y3 - Y) - (X3 - X) * (Y2 - Y));
        const Int64 W2 = Sign * ((X3 - X) * (Y1 - Y) - (X1 - X) * (Y3 - Y));
        const Int64 W3 = Area - W1 - W2;
        Int64 Q[4], R[4];
        for (Integer K = 0; K < 4; ++K)
          FloorDiv(static_cast<__int128>(W1) * C[0].C[K] + static_cast<__int128>(W2) * C[1].C[K] +
                       static_cast<__int128>(W3) * C[2].C[K],
                   Area, Q[K], R[K]);
        Line.resize(static_cast<std::size_t>(B - A));
        for (Integer I = 0; I < B - A; ++I) {
          Int64 V[4];
          for (Integer K = 0; K < 4; ++K) V[K] = std::clamp(Q[K], Lo[K], Hi[K]);
          Line[static_cast<std::size_t>(I)] = PixelOf(S, V);
          for (Integer K = 0; K < 4; ++K) {
            Q[K] += StepQ[K];
            R[K] += StepR[K];
            if (R[K] >= Area) R[K] -= Area, ++Q[K];
          }
        }
        PackRow(S, S.Row(Scan.Row()), A, B - A, Line.data());
      });
    }
  }
}

}  // namespace

BOOL GradientFill(HDC DC, const TRIVERTEX* Vertices, ULONG NumVertices, const void* Mesh, ULONG NumMesh,
                  ULONG Mode) {
  if (!IsDeviceContext(DC) || (!Vertices && NumVertices) || (!Mesh && NumMesh)) return BlitFailed();
  if (Mode != GRADIENT_FILL_RECT_H && Mode != GRADIENT_FILL_RECT_V && Mode != GRADIENT_FILL_TRIANGLE)
    return BlitFailed();
  if (IsRecordingDC(DC)) EmfRecordGradientFill(DC, Vertices, NumVertices, Mesh, NumMesh, Mode);
  const auto* Rects = static_cast<const GRADIENT_RECT*>(Mesh);
  const auto* Tris = static_cast<const GRADIENT_TRIANGLE*>(Mesh);
  // Every index is checked before anything is drawn.
  for (ULONG I = 0; I < NumMesh; ++I) {
    const bool Bad = Mode == GRADIENT_FILL_TRIANGLE
                         ? (Tris[I].Vertex1 >= NumVertices || Tris[I].Vertex2 >= NumVertices ||
                            Tris[I].Vertex3 >= NumVertices)
                         : (Rects[I].UpperLeft >= NumVertices || Rects[I].LowerRight >= NumVertices);
    if (Bad) return BlitFailed();
  }
  const TSurface& S = DC->Surface();
  for (ULONG I = 0; I < NumMesh; ++I) {
    if (Mode == GRADIENT_FILL_TRIANGLE) {
      const TRIVERTEX* Tri[3] = {&Vertices[Tris[I].Vertex1], &Vertices[Tris[I].Vertex2],
                                 &Vertices[Tris[I].Vertex3]};
      FillTriangle(DC, S, Tri);
    } else {
      FillRect(DC, S, Vertices[Rects[I].UpperLeft], Vertices[Rects[I].LowerRight],
               Mode == GRADIENT_FILL_RECT_V);
    }
  }
  return TRUE;
}
