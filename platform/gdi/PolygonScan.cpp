#include "platform/gdi/PolygonScan.h"

#include <algorithm>
#include <cstdlib>

#include "platform/system/Exceptions.h"

namespace {

Int64 CeilDiv(Int64 N, Int64 D) {  // D > 0
  Int64 Q = N / D;
  if (N % D > 0) ++Q;
  return Q;
}

void CheckCoord(Integer V) {
  if (!InShapeRange(V)) throw ERangeError("Polygon coordinate out of range");
}

}  // namespace

TPolygonScanner::TPolygonScanner(const TPoint* Points, const Integer* Counts, Integer PolyCount,
                                 Integer FillMode) {
  if (FillMode != ALTERNATE && FillMode != WINDING) throw EInvalidArgument("Invalid polygon fill mode");
  if (PolyCount < 0 || (PolyCount > 0 && !Counts)) throw EInvalidArgument("Invalid polygon count");
  FWinding = FillMode == WINDING;
  std::size_t Total = 0;
  for (Integer I = 0; I < PolyCount; ++I) {
    if (Counts[I] < 0) throw EInvalidArgument("Invalid polygon point count");
    Total += static_cast<std::size_t>(Counts[I]);
  }
  if (Total > 0 && !Points) throw EInvalidArgument("Missing polygon points");
  FEdges.reserve(Total);
  const TPoint* First = Points;
  for (Integer I = 0; I < PolyCount; ++I) {
    const Integer N = Counts[I];
    for (Integer K = 0; K < N; ++K) {
      CheckCoord(First[K].X);
      CheckCoord(First[K].Y);
    }
    // Fewer than three points enclose nothing; their edges would cancel anyway.
    for (Integer K = 0; N >= 3 && K < N; ++K) {
      TPoint A = First[K];
      TPoint B = First[K + 1 < N ? K + 1 : 0];
      if (A.Y == B.Y) continue;  // a horizontal edge crosses no row centre
      Integer Dir = 1;
      if (A.Y > B.Y) {
        std::swap(A, B);
        Dir = -1;
      }
      FEdges.push_back(
          TEdge{A.X, A.Y, static_cast<Int64>(B.X) - A.X, static_cast<Int64>(B.Y) - A.Y, A.Y, B.Y, Dir});
    }
    First += N;
  }
  std::sort(FEdges.begin(), FEdges.end(), [](const TEdge& L, const TEdge& R) { return L.Top < R.Top; });
  if (!FEdges.empty()) FNextRow = FEdges.front().Top;
}

bool TPolygonScanner::NextRow() {
  for (;;) {
    if (FActive.empty()) {
      if (FNext == FEdges.size()) return false;
      FNextRow = std::max<Int64>(FNextRow, FEdges[FNext].Top);
    }
    const auto Y = static_cast<Integer>(FNextRow);
    ++FNextRow;
    // Edges join before the ended ones leave: after a skip, an edge may start and end above Y.
    while (FNext < FEdges.size() && FEdges[FNext].Top <= Y) FActive.push_back(FNext++);
    std::erase_if(FActive, [&](std::size_t I) { return FEdges[I].Bottom <= Y; });
    if (ScanRow(Y)) {
      FRow = Y;
      return true;
    }
  }
}

void TPolygonScanner::SkipToRow(Integer Y) {
  FNextRow = std::max<Int64>(FNextRow, Y);
}

bool TPolygonScanner::ScanRow(Integer Y) {
  FCrossings.clear();
  for (std::size_t I : FActive) {
    const TEdge& E = FEdges[I];
    // Crossing at yc = Y + 0.5: x = X0 + (yc - Y0) * Dx / Dy. Pixels from ceil(x - 0.5) on lie
    // right of it (a centre exactly on the edge counts as right of it).
    const Int64 N = 2 * E.X0 * E.Dy + (2 * static_cast<Int64>(Y) + 1 - 2 * E.Y0) * E.Dx - E.Dy;
    FCrossings.push_back(TCrossing{CeilDiv(N, 2 * E.Dy), E.Dir});
  }
  std::sort(FCrossings.begin(), FCrossings.end(),
            [](const TCrossing& L, const TCrossing& R) { return L.X < R.X; });
  FSpans.clear();
  Integer Count = 0;
  bool Inside = false;
  Int64 Start = 0;
  for (std::size_t I = 0; I < FCrossings.size();) {
    const Int64 X = FCrossings[I].X;
    for (; I < FCrossings.size() && FCrossings[I].X == X; ++I) Count += FCrossings[I].Dir;
    const bool Now = FWinding ? Count != 0 : (Count & 1) != 0;
    if (Now == Inside) continue;
    if (Now)
      Start = X;
    else
      FSpans.push_back(TSpan{static_cast<Integer>(Start), static_cast<Integer>(X)});
    Inside = Now;
  }
  return !FSpans.empty();
}
