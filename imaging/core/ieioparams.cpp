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

TIEMetaParams::TIEMetaParams() {
  TIEMetaParams::ResetEXIF();  // the base's own: a derived object is not built yet
}

TIEMetaParams::~TIEMetaParams() = default;

void TIEMetaParams::ResetEXIF() {
  for (const auto& Field : IEExifFields()) IEExifSetAll(Field, *this, Field.ResetValue);
  ExifUserComment.clear();
  ExifUserCommentCode.clear();
  ExifTags.clear();
  ExifPresent = false;
  FreeExifThumbnail();
  FExifMakerNote.Clear();
}

void TIEMetaParams::SetDpiX(Integer Value) {
  DpiX = Value;
  ExifXResolution = Value;
}

void TIEMetaParams::SetDpiY(Integer Value) {
  DpiY = Value;
  ExifYResolution = Value;
}

void TIEMetaParams::SetExifXResolution(Double Value) {
  SetDpiX(TruncToInteger(Value));
  ExifXResolution = Value;
}

void TIEMetaParams::SetExifYResolution(Double Value) {
  SetDpiY(TruncToInteger(Value));
  ExifYResolution = Value;
}

void TIEMetaParams::SetImageIndex(Integer Value) {
  ImageIndex = TiffImageIndex = Value;
}

void TIEMetaParams::SetTiffOrientation(Integer Value) {
  TiffOrientation = ExifOrientation = Value;
}

void TIEMetaParams::SetExifOrientation(Integer Value) {
  TiffOrientation = ExifOrientation = Value;
}

TIEBitmap* TIEMetaParams::ExifThumbnailNeeded() {
  if (!FExifThumbnail) FExifThumbnail = std::make_unique<TIEBitmap>();
  return FExifThumbnail.get();
}

void TIEMetaParams::FreeExifThumbnail() {
  FExifThumbnail.reset();
}

void TIEMetaParams::AddExifTag(Integer Tag) {
  if (!HasExifTag(Tag)) ExifTags.push_back(Tag);
}

void TIEMetaParams::RemoveExifTag(Integer Tag) {
  std::erase(ExifTags, Tag);
}

bool TIEMetaParams::HasExifTag(Integer Tag) const {
  return std::find(ExifTags.begin(), ExifTags.end(), Tag) != ExifTags.end();
}
