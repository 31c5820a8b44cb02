// TZezudIdProc: filling the picture or its selection, and clearing it to the background.
#include "imaging/core/iebitmap.h"
#include "imaging/proc/iefillchannels.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/system/Format.h"

void TZezudIdProc::Fill(Integer Color) {
  Integer X1, Y1, X2, Y2;
  TIEBitmap* Work = nullptr;
  TIEMask* Mask = nullptr;
  const std::string Caption =
      Format("Fill (%d, %d, %d)", {(Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF});
  if (!BeginImageProcessing({}, X1, Y1, X2, Y2, Work, Caption, Mask)) return;
  IEFillColor(Work, X1, Y1, X2, Y2, this, FOnProgress, Color);
  EndImageProcessing(Work, Mask);
  DoFinishWork();
}

void TZezudIdProc::Clear() {
  if (!PrepareBitmap({})) return;
  if (FAutoUndo) SaveUndoCaptioned("Clear", ieuImage);
  // The selection does not limit it.
  FIEBitmap->Fill(static_cast<Double>(GetBackground()));
  Refresh();
  DoFinishWork();
}
