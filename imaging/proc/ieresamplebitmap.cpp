#include "imaging/proc/ieresamplebitmap.h"

#include <memory>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieresample.h"
#include "imaging/proc/ieresamplefast.h"
#include "imaging/proc/ieresamplefilters.h"
#include "imaging/proc/ieresamplenearest.h"

namespace {

bool IsWeighted(TResampleFilter Filter) {
  return Filter >= rfTriangle && Filter <= rfLinear;
}

// A file-backed picture has one current row view, so its rows are read by one thread.
Integer HorizontalThreads(TIEBitmap* Source) {
  return Source->GetLocation() == ieFile ? 1 : CountProcessorCores();
}

void FilteredFrom24(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                    const TIEProgressEvent& OnProgress, TObject* Sender) {
  switch (Filter) {
    case rfFastLinear:
      IEResampleFastLinear(Source, Dest, OnProgress, Sender);
      return;
    case rfProjectBW:
      IEProjectRGBTo1Bit(Source, Dest, 0, OnProgress, Sender);
      return;
    case rfProjectWB:
      IEProjectRGBTo1Bit(Source, Dest, 1, OnProgress, Sender);
      return;
    default:
      break;
  }
  if (IsWeighted(Filter))
    IEResampleTwoPassRGB(Source, Dest, Filter, OnProgress, Sender, HorizontalThreads(Source));
  else
    IEResampleNearest(Source, Dest, OnProgress, Sender);  // rfNone is no filter to weigh with
}

}  // namespace

void IEResampleFilteredFull(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                            TIEProgressEvent OnProgress, TObject* Sender) {
  const Integer Width = Source->GetWidth(), Height = Source->GetHeight();
  if (Width == 0 || Height == 0 || (Width <= 1 && Height <= 1)) return;
  const TIEPixelFormat Format = Source->GetPixelFormat();
  if (Filter == rfBilinear || Filter == rfBicubic) {
    const Integer Bicubic = Filter == rfBicubic ? 1 : 0;
    if (Format == ie24RGB || Format == ie8g) {
      IEResampleArea8(Source, Dest, Bicubic, OnProgress, Sender);
      return;
    }
    if (Format == ieRGB48 || Format == ie16g) {
      IEResampleArea16(Source, Dest, Bicubic, OnProgress, Sender);
      return;
    }
    Filter = rfTriangle;
  }
  if (Format == ie8g) {
    IEResampleGray8(Source, Dest, Filter);
    return;
  }
  if (Format == ie24RGB) {
    FilteredFrom24(Source, Dest, Filter, OnProgress, Sender);
    return;
  }
  auto Copy = std::make_unique<TIEBitmap>();
  Copy->Allocate(Width, Height, ie24RGB);
  Copy->CopyAndConvertFormat(Source);
  if (Dest->GetPixelFormat() != ie24RGB) Dest->Allocate(Dest->GetWidth(), Dest->GetHeight(), ie24RGB);
  FilteredFrom24(Copy.get(), Dest, Filter, OnProgress, Sender);
}

void IEResampleGray8Full(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  switch (Filter) {
    case rfFastLinear:
    case rfBilinear:
    case rfBicubic:
    case rfProjectBW:
    case rfProjectWB:
      IEResampleFastLinearGray8(Source, Dest, {}, nullptr);
      return;
    default:
      break;
  }
  if (IsWeighted(Filter))
    IEResampleTwoPassGray(Source, Dest, Filter);
  else
    IEResampleNearest(Source, Dest, {}, nullptr);
}

void IEResample1BitFull(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  switch (Filter) {
    case rfFastLinear:
    case rfBilinear:
    case rfBicubic:
      IEResample1BitFastLinear(Source, Dest, {}, nullptr);
      return;
    case rfProjectBW:
      IEProject1Bit(Source, Dest, 0, {}, nullptr);
      return;
    case rfProjectWB:
      IEProject1Bit(Source, Dest, 1, {}, nullptr);
      return;
    default:
      break;
  }
  if (IsWeighted(Filter)) IEResampleTwoPassGray(Source, Dest, Filter);
}

void ResampleBitmap(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter, TIEProgressEvent OnProgress,
                    TObject* Sender) {
  if (Source->GetWidth() == Dest->GetWidth() && Source->GetHeight() == Dest->GetHeight()) {
    Dest->Assign(Source);
    return;
  }
  if (Filter == rfNone) {
    IEResampleNearest(Source, Dest, OnProgress, Sender);
  } else if (Source->GetPixelFormat() == ie1g) {
    const TIEPixelFormat Format = Filter == rfProjectBW || Filter == rfProjectWB ? ie1g : ie24RGB;
    if (Dest->GetPixelFormat() != Format) Dest->Allocate(Dest->GetWidth(), Dest->GetHeight(), Format);
    IEResample1Bit(Source, Dest, Filter);
  } else {
    IEResampleFiltered(Source, Dest, Filter, OnProgress, Sender);
  }
  if (!Source->HasAlphaChannel()) return;
  TIEBitmap* SourceAlpha = Source->GetAlphaChannel();
  TIEBitmap* DestAlpha = Dest->GetAlphaChannel();
  if (!DestAlpha) return;
  if (Filter == rfNone)
    IEResampleNearest(SourceAlpha, DestAlpha, {}, nullptr);
  else
    IEResampleGray8(SourceAlpha, DestAlpha, Filter);
  DestAlpha->SetFull(SourceAlpha->GetFull());
}

void IEInstallResampleHooks() {
  IEResampleHooks.Filtered = IEResampleFilteredFull;
  IEResampleHooks.Gray8 = IEResampleGray8Full;
  IEResampleHooks.OneBit = IEResample1BitFull;
}

void IERemoveResampleHooks() {
  IEResampleHooks = {};
}
