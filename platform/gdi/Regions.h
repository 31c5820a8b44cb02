#pragma once
// Region handles. Every Create* call returns a new region owned by the caller, who frees it
// with DeleteObject; nullptr means failure. Coordinates are device pixels; right and bottom
// edges are outside.
#include <cstddef>
#include <utility>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/XForm.h"

struct TRegionObject : TGdiObject {
  TRegionObject() : TGdiObject(OBJ_REGION) {}
  explicit TRegionObject(TRegionData D) : TGdiObject(OBJ_REGION), Data(std::move(D)) {}
  TRegionData Data;
};

constexpr DWORD RDH_RECTANGLES = 1;

// The header of the region-data block; the rectangles follow it in Buffer.
struct RGNDATAHEADER {
  DWORD dwSize;    // 32
  DWORD iType;     // RDH_RECTANGLES
  DWORD nCount;    // rectangles in Buffer
  DWORD nRgnSize;  // bytes of the rectangles, 0 allowed
  RECT rcBound;
};

struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
};

static_assert(sizeof(RGNDATAHEADER) == 32 && offsetof(RGNDATA, Buffer) == 32);

HRGN CreateRectRgn(Integer Left, Integer Top, Integer Right, Integer Bottom);
HRGN CreateRectRgnIndirect(const RECT* Rect);
HRGN CreateEllipticRgn(Integer Left, Integer Top, Integer Right, Integer Bottom);
HRGN CreateEllipticRgnIndirect(const RECT* Rect);
HRGN CreateRoundRectRgn(Integer Left, Integer Top, Integer Right, Integer Bottom, Integer EllipseWidth,
                        Integer EllipseHeight);
HRGN CreatePolygonRgn(const POINT* Points, Integer Count, Integer FillMode);
HRGN CreatePolyPolygonRgn(const POINT* Points, const Integer* Counts, Integer PolyCount, Integer FillMode);
// Count is the size of Data in bytes. Xform may be null; translations and scalings are honoured,
// a rotating or shearing transform fails.
HRGN ExtCreateRegion(const XFORM* Xform, DWORD Count, const RGNDATA* Data);

// Dest := Src1 mode Src2 (Src2 unused for RGN_COPY); Dest may be one of the sources.
// Returns the complexity of Dest, or ERROR leaving Dest as it was.
Integer CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, Integer Mode);
Integer OffsetRgn(HRGN Rgn, Integer Dx, Integer Dy);
BOOL PtInRegion(HRGN Rgn, Integer X, Integer Y);
BOOL RectInRegion(HRGN Rgn, const RECT* Rect);
Integer GetRgnBox(HRGN Rgn, RECT* Rect);
BOOL EqualRgn(HRGN Rgn1, HRGN Rgn2);
BOOL SetRectRgn(HRGN Rgn, Integer Left, Integer Top, Integer Right, Integer Bottom);
// With Data null: the bytes the region needs. Otherwise writes the block when Count is large
// enough and returns Count, else 0.
DWORD GetRegionData(HRGN Rgn, DWORD Count, RGNDATA* Data);
