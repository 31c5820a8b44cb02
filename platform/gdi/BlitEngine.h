#pragma once
// The engine under BitBlt, StretchBlt, MaskBlt, StretchDIBits and SetDIBitsToDevice. The public
// calls turn their logical coordinates into surface rectangles once and fill in a request; the
// engine clips it (destination clip, source bounds, mask bounds), picks the row producer for
// the stretch mode and runs one loop per clip rectangle over raw rows.
#include <optional>

#include "platform/gdi/BlitRows.h"
#include "platform/gdi/Rop3.h"

struct TBlitRequest {
  HDC Dst = nullptr;
  TRect DstRect;                  // ordered, destination surface coordinates
  const TSurface* Src = nullptr;  // null when no raster operation reads the source
  TColorSide SrcSide;             // its S is ignored: Src is used
  TRect SrcRect;                  // ordered, source surface coordinates; may reach outside Src
  bool FlipX = false;             // mirrored: the source's right column lands on the left
  bool FlipY = false;
  Byte Rop = 0xCC;                 // ROP3 truth table (for the mask's 1 bits)
  const TSurface* Mask = nullptr;  // 1-bit mask of an unscaled transfer
  TPoint MaskOrg;                  // mask pixel under DstRect's top-left corner
  Byte BackRop = 0xCC;             // for the mask's 0 bits
  Integer StretchMode = COLORONCOLOR;
};

// Parts of the destination whose source (or mask) pixel lies outside its surface are left
// alone: the platform copies what it can. A source sharing pixels with the destination is read
// as it was before the call. False for a request the engine cannot carry out (a mask with a
// stretch).
bool ExecuteBlit(TBlitRequest R);

// How the transfer calls fail: ERROR_INVALID_PARAMETER as the last error, and 0 (FALSE).
BOOL BlitFailed();

// Logical rectangle (X, Y) + (W, H) of DC as an ordered surface rectangle, and whether a
// negative extent (or a mirroring transform) turned it around. False when the world transform
// rotates or shears, or the coordinates leave the device space.
bool MapBlitRect(HDC DC, Integer X, Integer Y, Integer W, Integer H, TRect& Out, bool& FlipX, bool& FlipY);
// The same for the calls that do not mirror: false also for negative extents or a mirroring
// transform.
bool MapPlainRect(HDC DC, Integer X, Integer Y, Integer W, Integer H, TRect& Out);

// The source side of a stretched transfer (StretchBlt and StretchDIBits, TransparentBlt,
// AlphaBlend): the nearest-neighbour maps of the visible part Vis of DstRect, mirrored by FlipX
// and FlipY, and the part of Vis whose source pixels exist. A source sharing pixels with the
// destination is copied first; Source() and SourceRect() then describe the copy.
class TNearestSampler {
 public:
  TNearestSampler(const TSurface& Src, const TSurface& Dst, const TRect& DstRect, const TRect& SrcRect,
                  const TRect& Vis, bool FlipX = false, bool FlipY = false);
  TNearestSampler(const TNearestSampler&) = delete;
  TNearestSampler& operator=(const TNearestSampler&) = delete;
  // Where to draw; may be empty.
  const TRect& Area() const { return FArea; }
  const TSurface& Source() const { return *FS; }
  const TRect& SourceRect() const { return FSrcRect; }
  // The source column of destination column Vis.Left + I is XMap()[I]; rows alike.
  const std::vector<Integer>& XMap() const { return FXMap; }
  const std::vector<Integer>& YMap() const { return FYMap; }
  // Source raw pixels for destination row Y, columns X0 .. X0 + N - 1 (inside Area).
  void Row(Integer Y, Integer X0, Integer N, DWORD* Out) const;

 private:
  std::optional<TSurfaceCopy> FCopy;
  const TSurface* FS;
  TRect FVis, FArea, FSrcRect;
  bool FUnscaledX = false;
  std::vector<Integer> FXMap, FYMap;
};
