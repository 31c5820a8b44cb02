// TZezudIdProc: grey, two-colour and reduced-palette conversions.
#include <algorithm>
#include <span>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iebwconvert.h"
#include "imaging/proc/ieprocconvert.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/system/Format.h"

namespace {

// Above this many colours a reduction is not attempted.
constexpr Integer MaxPaletteColors = 1024;

// Below 3 colours a 1-bit picture by Method, up to the maximum a quantized 24-bit one, above it
// nothing.
void ReduceColors(TIEBitmap* Bitmap, Integer NumColors, std::span<TIERGBTriple> Palette,
                  TIEDitherMethod Method, TObject* Sender, const TIEProgressEvent& OnProgress) {
  if (NumColors < 3) {
    TIEIOProgress Progress;
    Progress.OnProgress = OnProgress;
    Progress.Sender = Sender;
    if (Method == ieOrdered)
      IEConvertToBWOrdered(Bitmap, Progress);
    else
      IEConvertToBWThreshold(Bitmap, IEThresholdMeanColor, Progress);
  } else if (NumColors <= MaxPaletteColors) {
    IEQuantizeInPlace(Bitmap, NumColors, Palette, Sender, OnProgress);
  }
}

}  // namespace

void TZezudIdProc::ConvertToGray() {
  Integer X1, Y1, X2, Y2;
  TIEBitmap* Work = nullptr;
  TIEMask* Mask = nullptr;
  if (!BeginImageProcessing({ie24RGB}, X1, Y1, X2, Y2, Work, "ConvertToGray", Mask)) return;
  IEConvertToGray24(Work, X1, Y1, X2, Y2, this, FOnProgress);
  EndImageProcessing(Work, Mask);
  DoFinishWork();
}

void TZezudIdProc::ConvertTo(Integer NumColors, TIEDitherMethod Method) {
  if (!PrepareBitmap({ie24RGB})) return;
  if (FAutoUndo) SaveUndoCaptioned(Format("ConvertTo %d", {NumColors}), ieuImage);
  ReduceColors(FIEBitmap, NumColors, {}, Method, this, FOnProgress);
  Refresh();
  DoFinishWork();
}

void TZezudIdProc::ConvertToPalette(Integer NumColors, TIERGBTriple* Palette, TIEDitherMethod Method) {
  if (NumColors == 0 || !PrepareBitmap({ie24RGB})) return;
  if (FAutoUndo) SaveUndoCaptioned("ConvertToPalette", ieuImage);
  const size_t Entries = Palette ? static_cast<size_t>(std::max(NumColors, 2)) : 0;
  ReduceColors(FIEBitmap, NumColors, std::span<TIERGBTriple>(Palette, Entries), Method, this, FOnProgress);
  if (NumColors < 3 && Palette) {
    Palette[0] = {0, 0, 0};
    Palette[1] = {255, 255, 255};
  }
  Refresh();
  DoFinishWork();
}
