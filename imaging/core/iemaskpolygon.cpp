// TIEMask polygon fill: an even-odd scan-line fill over an edge table with integer stepping.
#include <algorithm>
#include <vector>

#include "imaging/core/iemask.h"

namespace {

// A non-horizontal edge from its top (smaller y) end. X follows the exact line rounded to the
// nearest integer, exact halves towards the top end, with a Bresenham error term.
struct TPolygonEdge {
  Integer TopY;
  Integer BottomY;
  Integer X;
  Integer DX;
  Integer DY;  // > 0
  Integer Error = 0;

  void Advance() {
    X += DX / DY;
    Error += 2 * (DX % DY);
    if (Error > DY) {
      ++X;
      Error -= 2 * DY;
    } else if (Error < -DY) {
      --X;
      Error += 2 * DY;
    }
  }
  // Left of Other on this row, or further left on the next one.
  bool Before(const TPolygonEdge& Other) const {
    if (X != Other.X) return X < Other.X;
    return static_cast<Int64>(DX) * Other.DY < static_cast<Int64>(Other.DX) * DY;
  }
};

std::vector<TPolygonEdge> BuildEdges(const TPoint* Points, Integer Count) {
  std::vector<TPolygonEdge> Edges;
  Edges.reserve(Count);
  for (Integer I = 0; I < Count; ++I) {
    TPoint A = Points[I];
    TPoint B = Points[(I + 1) % Count];
    if (A.Y == B.Y) continue;
    if (B.Y < A.Y) std::swap(A, B);
    Edges.push_back({A.Y, B.Y, A.X, B.X - A.X, B.Y - A.Y});
  }
  // By top row, so that a row's new edges are the next ones in the table.
  std::stable_sort(Edges.begin(), Edges.end(),
                   [](const TPolygonEdge& A, const TPolygonEdge& B) { return A.TopY < B.TopY; });
  return Edges;
}

}  // namespace

void TIEMask::FillPolygon(Integer Value, const TPoint* Points, Integer Count) {
  if (Count <= 0) return;
  const Integer OldX1 = FX1, OldY1 = FY1, OldX2 = FX2, OldY2 = FY2;
  if (Value != 0) {
    for (Integer I = 0; I < Count; ++I) {
      FX1 = std::min(FX1, Points[I].X);
      FY1 = std::min(FY1, Points[I].Y);
      if (Points[I].X > FX2) FX2 = Points[I].X - 1;
      if (Points[I].Y > FY2) FY2 = Points[I].Y - 1;
    }
    ClampBox();
  }
  std::vector<TPolygonEdge> Edges = BuildEdges(Points, Count);
  const auto [MinPoint, MaxPoint] =
      std::minmax_element(Points, Points + Count, [](const TPoint& A, const TPoint& B) { return A.Y < B.Y; });
  std::vector<TPolygonEdge> Active;
  size_t NextEdge = 0;
  Int64 Written = 0;
  const Integer LastRow = std::min(MaxPoint->Y, FHeight - 1);
  for (Integer Y = MinPoint->Y; Y <= LastRow; ++Y) {
    std::erase_if(Active, [Y](const TPolygonEdge& E) { return E.BottomY == Y; });
    for (TPolygonEdge& E : Active) E.Advance();
    for (; NextEdge < Edges.size() && Edges[NextEdge].TopY == Y; ++NextEdge)
      Active.push_back(Edges[NextEdge]);
    // Kept in order of x every row, so that edges crossing each other (a polygon that
    // intersects itself) still pair left with right.
    std::stable_sort(Active.begin(), Active.end(),
                     [](const TPolygonEdge& A, const TPolygonEdge& B) { return A.Before(B); });
    for (size_t I = 0; I + 1 < Active.size(); I += 2)
      Written += FillHorizontalRun(Value, Active[I].X, Y, Active[I + 1].X - 1);
  }
  if (Written == 0) {
    // Nothing changed: the box stays what it was (empty for a new mask).
    FX1 = OldX1;
    FY1 = OldY1;
    FX2 = OldX2;
    FY2 = OldY2;
  }
}

void TIEMask::FillPolygons(Integer Value, const TPoint* Points, Integer Count) {
  Integer Start = 0;
  for (Integer I = 0; I <= Count; ++I) {
    if (I < Count && Points[I].X != IEPolygonSeparator) continue;
    FillPolygon(Value, Points + Start, I - Start);
    Start = I + 1;
  }
  SyncFull();
}
