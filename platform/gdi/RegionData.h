#pragma once
// A region as the platform keeps it: rectangles sorted top to bottom, then left to right, and
// grouped in bands of equal top and bottom. Inside a band the rectangles neither overlap nor
// touch; a band directly below another with the same x-spans is merged into it. The list is
// canonical, so two regions covering the same pixels hold the same rectangles. Right and bottom
// edges are outside, as for every rectangle of the platform.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/gdi/PolygonScan.h"
#include "platform/gdi/XForm.h"
#include "platform/system/Types.h"

// Region complexity, as the region and clipping calls report it.
constexpr Integer ERROR = 0;
constexpr Integer NULLREGION = 1;
constexpr Integer SIMPLEREGION = 2;
constexpr Integer COMPLEXREGION = 3;

// Combine modes.
constexpr Integer RGN_AND = 1;
constexpr Integer RGN_OR = 2;
constexpr Integer RGN_XOR = 3;
constexpr Integer RGN_DIFF = 4;
constexpr Integer RGN_COPY = 5;

class TRegionData {
 public:
  TRegionData() = default;
  // The rectangle with its corners put in order; empty when its width or height is 0.
  explicit TRegionData(const TRect& R);

  // The ellipse inscribed in the box: pixel (x, y) is inside when its centre (x + 0.5, y + 0.5)
  // lies inside or on the ellipse through the box's edges. The box is put in order first.
  static TRegionData FromEllipse(Integer Left, Integer Top, Integer Right, Integer Bottom);
  // The box with its corners rounded by quarters of an EllipseWidth x EllipseHeight ellipse
  // (clamped to the box), same pixel rule: a centre is inside when it lies inside or on the
  // ellipse-scaled distance 1 of the box shrunk by half the ellipse on each side. An ellipse
  // as large as the box gives FromEllipse; a zero width or height gives the plain rectangle.
  static TRegionData FromRoundRect(Integer Left, Integer Top, Integer Right, Integer Bottom,
                                   Integer EllipseWidth, Integer EllipseHeight);
  // Polygons by the rules of TPolygonScanner; throws as its constructor does.
  static TRegionData FromPolygon(const TPoint* Points, Integer Count, Integer FillMode);
  static TRegionData FromPolyPolygon(const TPoint* Points, const Integer* Counts, Integer PolyCount,
                                     Integer FillMode);
  // The union of any rectangles in any order; those without pixels (right <= left or
  // bottom <= top) add nothing.
  static TRegionData FromRects(const TRect* Rects, std::size_t Count);
  static TRegionData FromRects(std::vector<TRect> Rects);  // the same, reusing the list
  // A region from the platform's region data block (a 32-byte header: size 32, type 1, count,
  // region size, bounds; then count rectangles of four little-endian int32). The region-size and
  // bounds fields are not trusted. Xform may be null; it may translate and scale (including
  // mirroring), not rotate or shear. None when the block is malformed, shorter than its count
  // needs, or the transform is not supported or leaves the coordinate range.
  static std::optional<TRegionData> FromRgnData(const void* Data, std::size_t Size,
                                                const XFORM* Xform = nullptr);

  // *this := A mode B; A or B may be *this. Returns the complexity of the result, or ERROR
  // (leaving *this as it was) for an unknown mode. RGN_COPY takes A.
  Integer Combine(const TRegionData& A, const TRegionData& B, Integer Mode);
  void SetRect(const TRect& R) { *this = TRegionData(R); }
  void SetEmpty();
  // Clipping helpers. R is taken as given: a rectangle with right <= left or bottom <= top is
  // empty.
  void IntersectRect(const TRect& R);
  void ExcludeRect(const TRect& R);
  // False, leaving the region unchanged, when a coordinate would leave the int32 range.
  bool Offset(Integer Dx, Integer Dy);

  bool Contains(Integer X, Integer Y) const;
  bool IntersectsRect(const TRect& R) const;  // R taken as given, as above
  // The bounding box; (0, 0, 0, 0) for the empty region.
  const TRect& Box() const { return FBox; }
  bool IsEmpty() const { return FRects.empty(); }
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  Integer Complexity() const;
  const std::vector<TRect>& Rects() const { return FRects; }
  bool operator==(const TRegionData& Other) const { return FRects == Other.FRects; }

  // The region-data block: 32 + 16 x count bytes, written little-endian to Buffer.
  std::size_t RgnDataSize() const { return 32 + 16 * FRects.size(); }
  void WriteRgnData(void* Buffer) const;

  // Calls F(const TRect&) for every non-empty intersection of the region with R, in y-x order.
  // Bands above R are skipped by binary search and each band is entered at the first rectangle
  // reaching into R, so a small R costs little even against a large region.
  template <class F>
  void ForEachRectIn(const TRect& R, F&& Fn) const {
    WalkIn(R, [&](const TRect& C) {
      Fn(C);
      return true;
    });
  }

 private:
  // Visits as ForEachRectIn while F returns true; returns false when F stopped the walk.
  template <class F>
  bool WalkIn(const TRect& R, F&& Fn) const;
  // One past the last rectangle of the band starting at P.
  static const TRect* BandEnd(const TRect* P, const TRect* End);
  void UpdateBox();

  std::vector<TRect> FRects;
  TRect FBox;
};

inline const TRect* TRegionData::BandEnd(const TRect* P, const TRect* End) {
  // Galloping search: bands are usually short, sometimes very long.
  const Integer Top = P->Top;
  std::size_t Step = 1;
  const TRect* Lo = P;
  while (static_cast<std::size_t>(End - Lo) > Step && Lo[Step].Top == Top) {
    Lo += Step;
    Step *= 2;
  }
  const TRect* Hi = static_cast<std::size_t>(End - Lo) > Step ? Lo + Step : End;
  return std::partition_point(Lo, Hi, [Top](const TRect& X) { return X.Top == Top; });
}

template <class F>
bool TRegionData::WalkIn(const TRect& R, F&& Fn) const {
  if (R.Left >= R.Right || R.Top >= R.Bottom || FRects.empty()) return true;
  if (R.Left >= FBox.Right || R.Right <= FBox.Left || R.Top >= FBox.Bottom || R.Bottom <= FBox.Top)
    return true;
  const TRect* End = FRects.data() + FRects.size();
  const TRect* P = FRects.data();
  if (R.Top > FBox.Top) P = std::partition_point(P, End, [&](const TRect& X) { return X.Bottom <= R.Top; });
  while (P != End && P->Top < R.Bottom) {
    const TRect* Band = BandEnd(P, End);
    const Integer Top = std::max(P->Top, R.Top);
    const Integer Bottom = std::min(P->Bottom, R.Bottom);
    const TRect* Q = P;
    if (P->Right <= R.Left)
      Q = std::partition_point(P, Band, [&](const TRect& X) { return X.Right <= R.Left; });
    for (; Q != Band && Q->Left < R.Right; ++Q) {
      if (!Fn(TRect{std::max(Q->Left, R.Left), Top, std::min(Q->Right, R.Right), Bottom})) return false;
    }
    P = Band;
  }
  return true;
}
