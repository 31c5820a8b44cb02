#pragma once
// A processing component whose view has selected some pixels: the mask of the given size with
// those pixels set, and the selection box X1, Y1 (inside) to X2, Y2 (outside).
#include <initializer_list>

#include "imaging/core/iemask.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/system/Types.h"

class TSelectingProc : public TZezudIdProc {
 public:
  TSelectingProc(Integer MaskWidth, Integer MaskHeight, std::initializer_list<TPoint> Selected, TRect Box)
      : TZezudIdProc(nullptr), FBox(Box) {
    FMask.AllocateBits(MaskWidth, MaskHeight, 1);
    for (const TPoint& P : Selected) FMask.SetPixel(P.X, P.Y, 1);
  }
  bool GetSelectionInfo(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, void*& Polygon,
                        Integer& PolygonCount, TIEMask*& Mask) override {
    X1 = FBox.Left;
    Y1 = FBox.Top;
    X2 = FBox.Right;
    Y2 = FBox.Bottom;
    Polygon = nullptr;
    PolygonCount = 0;
    Mask = &FMask;
    return true;
  }

 private:
  TRect FBox;
  TIEMask FMask;
};
