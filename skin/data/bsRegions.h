#pragma once
// Window regions of skin parts cut from their mask pictures: black (red, green and blue all 0)
// belongs to the part. Only the mask's border is used; the client area is a plain rectangle.
// Regions returned belong to the caller (normally handed to SetWindowRgn).
#include <vector>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Types.h"

class TBitmap;

// A 24-bit top-down copy of a bitmap with a table of row addresses.
class TbsFBitmap {
 public:
  explicit TbsFBitmap(HBITMAP Bitmap);
  ~TbsFBitmap();
  TbsFBitmap(const TbsFBitmap&) = delete;
  TbsFBitmap& operator=(const TbsFBitmap&) = delete;

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  // Blue, green, red bytes of row Y; null when the copy has no pixels.
  const Byte* Row(Integer Y) const { return FRows.empty() ? nullptr : FRows[Y]; }

 private:
  std::vector<Byte*> FRows;
  Integer FWidth = 0;
  Integer FHeight = 0;
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  BITMAPINFO FInfo;
};

// Region data of the mask's black runs, one rectangle per run, moved by (X, Y): a 32-byte
// header (32, 1, count, 0, bounds) and 16 bytes per rectangle, little-endian. An empty mask
// gives 0 and no data; otherwise the byte size.
Integer MaskToRegionData(TBitmap* Mask, Integer X, Integer Y, std::vector<Byte>& Data);
// The black runs as a region at (0, 0); an empty mask gives none (null).
void CreateRegionFromMask(HRGN& Region, TBitmap* Mask);
// The resized mask border as four strips; a strip is made only when both its sizes are positive.
void CreateSkinMaskStrips(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                          const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                          const TPoint& NRB, const TRect& NC, TBitmap* Mask, TBitmap* TopMask,
                          TBitmap* LeftMask, TBitmap* RightMask, TBitmap* BottomMask, Integer W, Integer H);
// The new client rectangle united with the strips' regions; none when NC is empty or the new
// anchors cross.
void CreateSkinRegion(HRGN& Region, const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                      const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                      const TPoint& NRB, const TRect& NC, TBitmap* Mask, Integer W, Integer H);
