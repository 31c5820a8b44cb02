#include "platform/gdi/Regions.h"

#include <algorithm>
#include <new>

#include "platform/system/Exceptions.h"

namespace {

bool Valid(HRGN Rgn) {
  return Rgn && Rgn->ObjType == OBJ_REGION;
}

// The shape builders reject bad arguments with exceptions; the handle calls fail instead, also
// when a huge shape does not fit in memory.
template <class F>
HRGN NewRegion(F Build) {
  try {
    return new TRegionObject(Build());
  } catch (const Exception&) {
    return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

HRGN CreateRectRgn(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return new TRegionObject(TRegionData(TRect{Left, Top, Right, Bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* Rect) {
  return Rect ? CreateRectRgn(Rect->Left, Rect->Top, Rect->Right, Rect->Bottom) : nullptr;
}

HRGN CreateEllipticRgn(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return NewRegion([&] { return TRegionData::FromEllipse(Left, Top, Right, Bottom); });
}

HRGN CreateEllipticRgnIndirect(const RECT* Rect) {
  return Rect ? CreateEllipticRgn(Rect->Left, Rect->Top, Rect->Right, Rect->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(Integer Left, Integer Top, Integer Right, Integer Bottom, Integer EllipseWidth,
                        Integer EllipseHeight) {
  return NewRegion(
      [&] { return TRegionData::FromRoundRect(Left, Top, Right, Bottom, EllipseWidth, EllipseHeight); });
}

HRGN CreatePolygonRgn(const POINT* Points, Integer Count, Integer FillMode) {
  return NewRegion([&] { return TRegionData::FromPolygon(Points, Count, FillMode); });
}

HRGN CreatePolyPolygonRgn(const POINT* Points, const Integer* Counts, Integer PolyCount, Integer FillMode) {
  return NewRegion([&] { return TRegionData::FromPolyPolygon(Points, Counts, PolyCount, FillMode); });
}

HRGN ExtCreateRegion(const XFORM* Xform, DWORD Count, const RGNDATA* Data) {
  auto D = TRegionData::FromRgnData(Data, Count, Xform);
  return D ? new TRegionObject(std::move(*D)) : nullptr;
}

Integer CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, Integer Mode) {
  if (!Valid(Dest) || !Valid(Src1)) return ERROR;
  if (Mode == RGN_COPY) return Dest->Data.Combine(Src1->Data, Src1->Data, Mode);
  if (!Valid(Src2)) return ERROR;
  return Dest->Data.Combine(Src1->Data, Src2->Data, Mode);
}

Integer OffsetRgn(HRGN Rgn, Integer Dx, Integer Dy) {
  if (!Valid(Rgn) || !Rgn->Data.Offset(Dx, Dy)) return ERROR;
  return Rgn->Data.Complexity();
}

BOOL PtInRegion(HRGN Rgn, Integer X, Integer Y) {
  return Valid(Rgn) && Rgn->Data.Contains(X, Y);
}

BOOL RectInRegion(HRGN Rgn, const RECT* Rect) {
  if (!Valid(Rgn) || !Rect) return FALSE;
  const TRect R{std::min(Rect->Left, Rect->Right), std::min(Rect->Top, Rect->Bottom),
                std::max(Rect->Left, Rect->Right), std::max(Rect->Top, Rect->Bottom)};
  return Rgn->Data.IntersectsRect(R);
}

Integer GetRgnBox(HRGN Rgn, RECT* Rect) {
  if (!Valid(Rgn) || !Rect) return ERROR;
  *Rect = Rgn->Data.Box();
  return Rgn->Data.Complexity();
}

BOOL EqualRgn(HRGN Rgn1, HRGN Rgn2) {
  return Valid(Rgn1) && Valid(Rgn2) && Rgn1->Data == Rgn2->Data;
}

BOOL SetRectRgn(HRGN Rgn, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!Valid(Rgn)) return FALSE;
  Rgn->Data.SetRect(TRect{Left, Top, Right, Bottom});
  return TRUE;
}

DWORD GetRegionData(HRGN Rgn, DWORD Count, RGNDATA* Data) {
  if (!Valid(Rgn)) return 0;
  const std::size_t Size = Rgn->Data.RgnDataSize();
  if (!Data) return static_cast<DWORD>(Size);
  if (Count < Size) return 0;
  Rgn->Data.WriteRgnData(Data);
  return Count;
}
