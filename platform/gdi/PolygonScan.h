#pragma once
// Scan conversion of polygons with the platform's pixel-centre convention: pixel (x, y) is
// inside when its centre (x + 0.5, y + 0.5) is inside the outline. A centre lying exactly on a
// left edge is inside, one on a right edge is outside; with integer vertices a centre never
// lies on a vertex's row, so top edges are in and bottom edges out. Every polygon is closed
// from its last point back to its first. ALTERNATE counts the crossings to the left of a centre
// (odd is inside); WINDING sums their directions (non-zero is inside). Regions and the
// rasterizer's polygon fills both come from here, so they cover the same pixels.
#include <concepts>
#include <cstddef>
#include <vector>

#include "platform/system/Types.h"

constexpr Integer ALTERNATE = 1;
constexpr Integer WINDING = 2;

// The scan converters accept coordinates within the platform's 27-bit device space.
constexpr Integer ShapeCoordLimit = (1 << 27) - 1;
template <std::integral T>
constexpr bool InShapeRange(T V) {
  return V >= -ShapeCoordLimit && V <= ShapeCoordLimit;
}
constexpr bool InShapeRange(TPoint P) {
  return InShapeRange(P.X) && InShapeRange(P.Y);
}

struct TSpan {
  Integer Left = 0;   // first pixel
  Integer Right = 0;  // one past the last pixel
  constexpr bool operator==(const TSpan&) const = default;
};

class TPolygonScanner {
 public:
  // Counts[i] points of polygon i follow each other in Points. Throws EInvalidArgument for a bad
  // fill mode, a negative count or a missing array, ERangeError for a coordinate beyond
  // ShapeCoordLimit. The arrays are read in the constructor only.
  TPolygonScanner(const TPoint* Points, const Integer* Counts, Integer PolyCount, Integer FillMode);
  // Moves to the next row holding pixels; false when none is left. Rows come top to bottom.
  bool NextRow();
  // Rows above Y are passed over without being scanned (a clip that starts lower).
  void SkipToRow(Integer Y);
  Integer Row() const { return FRow; }
  // The row's spans, sorted, neither overlapping nor touching; valid until the next NextRow.
  const std::vector<TSpan>& Spans() const { return FSpans; }

 private:
  struct TEdge {
    Int64 X0;  // upper end point
    Int64 Y0;
    Int64 Dx;        // to the lower end point
    Int64 Dy;        // > 0
    Integer Top;     // first row whose centre the edge crosses
    Integer Bottom;  // one past the last
    Integer Dir;     // +1 downwards, -1 upwards
  };
  struct TCrossing {
    Int64 X;  // first pixel right of the crossing
    Integer Dir;
  };
  bool ScanRow(Integer Y);

  std::vector<TEdge> FEdges;  // by Top
  std::vector<std::size_t> FActive;
  std::vector<TCrossing> FCrossings;
  std::vector<TSpan> FSpans;
  std::size_t FNext = 0;
  Integer FRow = 0;
  Int64 FNextRow = 0;
  bool FWinding = false;
};
