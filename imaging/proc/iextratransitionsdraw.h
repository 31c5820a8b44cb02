#pragma once
// Drawing helpers shared by the extra transition families: block and stretch copies onto the
// frame canvas, and the clip-and-copy of the next picture through a region.
#include "imaging/proc/iextratransitions.h"

class TCanvas;
class TBitmap;

namespace ExtraTransitionDraw {

// Block copy of a w x h area of Src's canvas at (SX, SY) to (X, Y) of Canvas.
void Copy(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, TBitmap* Src, Integer SX, Integer SY);
// The same with Canvas's own content as the source.
void CopySelf(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, Integer SX, Integer SY);
// Stretch copy of an SW x SH area of Src at (SX, SY) into the W x H area at (X, Y), in the
// stretch mode Canvas has. An empty source or destination draws nothing.
void Stretch(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, TBitmap* Src, Integer SX,
             Integer SY, Integer SW, Integer SH);
void StretchSelf(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, Integer SX, Integer SY,
                 Integer SW, Integer SH);

// Clips Canvas to Rgn, copies the W x H picture Src at (0, 0), removes the clip and deletes
// Rgn, also when drawing raises. A null Rgn draws nothing.
void CopyThroughRegion(TCanvas* Canvas, HRGN Rgn, TBitmap* Src, Integer W, Integer H);

// Deletes the region when the scope ends.
class TRegionGuard {
 public:
  explicit TRegionGuard(HRGN R = nullptr) : FRgn(R) {}
  ~TRegionGuard();
  TRegionGuard(const TRegionGuard&) = delete;
  TRegionGuard& operator=(const TRegionGuard&) = delete;
  HRGN Get() const { return FRgn; }
  HRGN Release() {
    HRGN R = FRgn;
    FRgn = nullptr;
    return R;
  }
  void Reset(HRGN R);

 private:
  HRGN FRgn;
};

// Dest := Dest op Src, deleting Src; a null Dest takes Src. For building unions one shape at a
// time.
void CombineInto(HRGN& Dest, HRGN Src, Integer Mode);

}  // namespace ExtraTransitionDraw

// Every procedure starts from the progressed sizes; the macro keeps the 184 signatures short.
#define XT_FRAME        \
  Integer W, H, PW, PH; \
  CalcProgressSizes(ARect, Progress, W, H, PW, PH)
#define XT_PROC(Name)                                                                                    \
  void Name(TCanvas* Canvas, [[maybe_unused]] TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer, \
            Integer Progress)
