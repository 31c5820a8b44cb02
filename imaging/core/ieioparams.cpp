#include "imaging/core/ieioparams.h"

#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexiftags.h"

namespace {

// The integer part, held within the 32-bit range (a file may hold any rational).
Integer TruncToInteger(Double Value) {
  if (!(Value == Value)) return 0;
  return static_cast<Integer>(std::clamp(std::trunc(Value), -2147483648.0, 2147483647.0));
}

}  // namespace

TIOParamsVals::TIOParamsVals() {
  ResetEXIF();
}

TIOParamsVals::~TIOParamsVals() = default;

void TIOParamsVals::ResetEXIF() {
  for (const auto& Field : IEExifFields()) IEExifSetAll(Field, *this, Field.ResetValue);
  ExifUserComment.clear();
  ExifUserCommentCode.clear();
  ExifTags.clear();
  ExifPresent = false;
  FreeExifThumbnail();
  FExifMakerNote.Clear();
}

void TIOParamsVals::SetDpiX(Integer Value) {
  DpiX = Value;
  ExifXResolution = Value;
}

void TIOParamsVals::SetDpiY(Integer Value) {
  DpiY = Value;
  ExifYResolution = Value;
}

void TIOParamsVals::SetExifXResolution(Double Value) {
  SetDpiX(TruncToInteger(Value));
  ExifXResolution = Value;
}

void TIOParamsVals::SetExifYResolution(Double Value) {
  SetDpiY(TruncToInteger(Value));
  ExifYResolution = Value;
}

void TIOParamsVals::SetImageIndex(Integer Value) {
  ImageIndex = TiffImageIndex = Value;
}

void TIOParamsVals::SetTiffOrientation(Integer Value) {
  TiffOrientation = ExifOrientation = Value;
}

void TIOParamsVals::SetExifOrientation(Integer Value) {
  TiffOrientation = ExifOrientation = Value;
}

TIEBitmap* TIOParamsVals::ExifThumbnailNeeded() {
  if (!FExifThumbnail) FExifThumbnail = std::make_unique<TIEBitmap>();
  return FExifThumbnail.get();
}

void TIOParamsVals::FreeExifThumbnail() {
  FExifThumbnail.reset();
}

void TIOParamsVals::AddExifTag(Integer Tag) {
  if (!HasExifTag(Tag)) ExifTags.push_back(Tag);
}

void TIOParamsVals::RemoveExifTag(Integer Tag) {
  std::erase(ExifTags, Tag);
}

bool TIOParamsVals::HasExifTag(Integer Tag) const {
  return std::find(ExifTags.begin(), ExifTags.end(), Tag) != ExifTags.end();
}
