#include <cstdlib>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/ieresamplebitmap.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/system/Format.h"

namespace {

// A negative size other than -1 asks for its absolute value; 0 keeps the source's.
Integer RequestedSide(Integer Requested, Integer SourceSide) {
  return Requested == 0 ? SourceSide : std::abs(Requested);
}

}  // namespace

void TZezudIdProc::ResampleTo(TIEBitmap* Dest, Integer NewWidth, Integer NewHeight, TResampleFilter Filter) {
  if (!PrepareBitmap({})) return;
  const Integer Width = FIEBitmap->GetWidth(), Height = FIEBitmap->GetHeight();
  if (Width == 0 || Height == 0 || (NewWidth < 0 && NewHeight < 0)) return;
  Integer W = NewWidth == -1 ? NewHeight * Width / Height : RequestedSide(NewWidth, Width);
  if (W < 1) W = 1;
  Integer H = NewHeight == -1 ? W * Height / Width : RequestedSide(NewHeight, Height);
  if (H < 1) H = 1;
  Dest->Allocate(W, H, FIEBitmap->GetPixelFormat());
  ResampleBitmap(FIEBitmap, Dest, Filter, FOnProgress, this);
  DoFinishWork();
}

void TZezudIdProc::Resample(Integer NewWidth, Integer NewHeight, TResampleFilter Filter) {
  if (!PrepareBitmap({})) return;
  if (FIEBitmap->GetWidth() == 0 || FIEBitmap->GetHeight() == 0) return;
  if (NewWidth == FIEBitmap->GetWidth() && NewHeight == FIEBitmap->GetHeight()) return;
  if (GetAutoUndo()) SaveUndoCaptioned(Format("Resample %d, %d", {NewWidth, NewHeight}), ieuImage);
  auto Resized = std::make_unique<TIEBitmap>();
  ResampleTo(Resized.get(), NewWidth, NewHeight, Filter);
  FIEBitmap->Assign(Resized.get());
  Resized.reset();
  Refresh();
  DoFinishWork();
}
