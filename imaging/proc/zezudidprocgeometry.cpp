// TZezudIdProc: rotation, crops and canvas resizing.
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/proc/ieprocgeometry.h"
#include "imaging/proc/ieprocrotate.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/system/Format.h"

namespace {

// Source's rectangle from (X, Y) as a new picture of Width x Height in its format; the part
// outside Source stays as allocated.
std::unique_ptr<TIEBitmap> CutOut(TIEBitmap* Source, Integer X, Integer Y, Integer Width, Integer Height) {
  auto Result = std::make_unique<TIEBitmap>();
  if (!Result->Allocate(Width, Height, Source->GetPixelFormat())) return nullptr;
  Source->CopyPaletteTo(Result.get());
  Source->CopyRectTo(Result.get(), X, Y, 0, 0, Width, Height);
  return Result;
}

}  // namespace

void TZezudIdProc::Rotate(double Angle, bool AntiAlias, TIERotateAntialias Mode, TColor Background) {
  if (Angle == 0) return;
  if (!PrepareBitmap({})) return;
  if (FAutoUndo) SaveUndoCaptioned(Format("Rotate %f", {Angle}), ieuImage);
  if (Background == -1) Background = GetBackground();
  // The alpha channel turns with the picture; what it does not cover is transparent.
  std::unique_ptr<TIEBitmap> Alpha;
  if (FIEBitmap->HasAlphaChannel()) {
    Alpha = std::make_unique<TIEBitmap>();
    Alpha->Assign(FIEBitmap->GetAlphaChannel());
  }
  const TIEPixelFormat PixelFormat = FIEBitmap->GetPixelFormat();
  if (!AntiAlias || (PixelFormat != ie24RGB && PixelFormat != ie1g)) {
    IERotateNearest(FIEBitmap, Background, this, FOnProgress, Angle);
    if (Alpha) IERotateNearest(Alpha.get(), 0, nullptr, {}, Angle);
  } else if (PixelFormat == ie24RGB && Mode != raShearBlend && !IEIsMultipleOf90(Angle)) {
    IERotateInterpolated24(FIEBitmap, Background, Mode, this, FOnProgress, Angle);
    if (Alpha) IERotateInterpolated8(Alpha.get(), 0, Mode, Angle);
  } else {
    IERotateBitmap(FIEBitmap, AntiAlias, this, FOnProgress, IEColorToRGB(Background), Angle);
    if (Alpha && PixelFormat == ie1g)
      IERotateBitmapNearest8(Alpha.get(), 0, Angle);
    else if (Alpha)
      IERotateBitmap8(Alpha.get(), AntiAlias, 0, nullptr, {}, Angle);
  }
  if (Alpha) FIEBitmap->GetAlphaChannel()->Assign(Alpha.get());
  Refresh();
  DoFinishWork();
}

void TZezudIdProc::Crop(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (!PrepareBitmap({})) return;
  const Integer W = FIEBitmap->GetWidth(), H = FIEBitmap->GetHeight();
  if (X1 == 0 && Y1 == 0 && X2 == W - 1 && Y2 == H - 1) return;
  // An empty rectangle would leave a picture without pixels.
  if (X2 < X1 || Y2 < Y1) return;
  if (FAutoUndo) SaveUndoCaptioned(Format("Crop %d, %d, %d, %d", {X1, Y1, X2, Y2}), ieuImage);
  const Integer NewWidth = X2 - X1 + 1, NewHeight = Y2 - Y1 + 1;
  std::unique_ptr<TIEBitmap> Result = CutOut(FIEBitmap, X1, Y1, NewWidth, NewHeight);
  if (!Result) return;
  std::unique_ptr<TIEBitmap> Alpha;
  if (FIEBitmap->HasAlphaChannel()) {
    Alpha = CutOut(FIEBitmap->GetAlphaChannel(), X1, Y1, NewWidth, NewHeight);
    if (!Alpha) return;
  }
  FIEBitmap->AssignImage(Result.get());
  if (Alpha) FIEBitmap->GetAlphaChannel()->AssignImage(Alpha.get());
  Refresh();
  DoFinishWork();
}

void TZezudIdProc::CropRect(const TRect& Rect) {
  Crop(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

void TZezudIdProc::CropTransparency() {
  if (!PrepareBitmap({})) return;
  const TRect R = IECropTransparentRect(FIEBitmap);
  const bool OldAutoUndo = FAutoUndo;
  FAutoUndo = false;
  Crop(R.Left, R.Top, R.Right, R.Bottom);
  FAutoUndo = OldAutoUndo;
}

void TZezudIdProc::ImageResize(Integer NewWidth, Integer NewHeight, Integer HorizAlign, Integer VertAlign,
                               Integer AlphaFill) {
  if (!PrepareBitmap({})) return;
  if (NewWidth == 0 || NewHeight == 0) return;
  if (NewWidth == FIEBitmap->GetWidth() && NewHeight == FIEBitmap->GetHeight()) return;
  if (FAutoUndo)
    SaveUndoCaptioned("ImageResize " + std::to_string(NewWidth) + "," + std::to_string(NewHeight));
  // A 1 x 1 picture is cleared to the background first (no undo entry of its own).
  if (FIEBitmap->GetWidth() < 2 && FIEBitmap->GetHeight() < 2)
    FIEBitmap->Fill(static_cast<Double>(GetBackground()));
  if (AlphaFill < 255) FIEBitmap->GetAlphaChannel();
  FIEBitmap->Resize(NewWidth, NewHeight, static_cast<Double>(GetBackground()), AlphaFill, HorizAlign,
                    VertAlign);
  Refresh();
  DoFinishWork();
}
