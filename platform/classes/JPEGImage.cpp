#include "platform/classes/JPEGImage.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/JpegCodec.h"
#include "platform/system/Exceptions.h"

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::FreeBitmap() {
  FBitmap.reset();
}

void TJPEGImage::DecodingChanged() {
  if (FData) FreeBitmap();
  Changed(this);
}

bool TJPEGImage::GetEmpty() {
  return !FData && !FBitmap;
}

Integer TJPEGImage::GetWidth() {
  if (FBitmap) return FBitmap->GetWidth();
  if (!FData) return 0;
  const Integer D = 1 << FScale;
  return (FDataWidth + D - 1) / D;
}

Integer TJPEGImage::GetHeight() {
  if (FBitmap) return FBitmap->GetHeight();
  if (!FData) return 0;
  const Integer D = 1 << FScale;
  return (FDataHeight + D - 1) / D;
}

void TJPEGImage::SetWidth(Integer Value) {
  if (Value != GetWidth()) throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(Integer Value) {
  if (Value != GetHeight()) throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

HPALETTE TJPEGImage::GetPalette() {
  if (FPixelFormat != jf8Bit && !GetGrayscale()) return nullptr;
  TBitmap* B = GetBitmap();
  return B ? B->GetPalette() : nullptr;
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) {
  FQuality = std::clamp(Value, 1, 100);
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  DecodingChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value) {
  if (Value == FPerformance) return;
  FPerformance = Value;
  DecodingChanged();
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == FScale) return;
  FScale = Value;
  DecodingChanged();
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) {
  if (Value == FPixelFormat) return;
  FPixelFormat = Value;
  DecodingChanged();
}

void TJPEGImage::SetSmoothing(bool Value) {
  if (Value == FSmoothing) return;
  FSmoothing = Value;
  DecodingChanged();
}

void TJPEGImage::Decode() {
  TJpegDecodeOptions O;
  O.ScaleDenom = 1 << FScale;
  O.Fast = FPerformance == jpBestSpeed;
  O.Smoothing = FSmoothing;
  O.Grayscale = FGrayscale;
  O.Quantize = FPixelFormat == jf8Bit;
  FBitmap = DecodeJpeg(FData->data(), FData->size(), O);
}

TBitmap* TJPEGImage::GetBitmap() {
  if (!FBitmap && FData) Decode();
  return FBitmap.get();
}

void TJPEGImage::DIBNeeded() {
  GetBitmap();
}

void TJPEGImage::JPEGNeeded() {
  if (!FData && FBitmap) Compress();
}

void TJPEGImage::Compress() {
  TBitmap* B = GetBitmap();
  if (B == nullptr) return;
  TJpegEncodeOptions O;
  O.Quality = FQuality;
  O.Progressive = FProgressiveEncoding;
  O.Grayscale = FGrayscale;
  auto Data = std::make_shared<std::vector<Byte>>(EncodeJpeg(B, O));
  const TJpegInfo Info = ReadJpegInfo(Data->data(), Data->size());
  FData = std::move(Data);
  FDataWidth = Info.Width;
  FDataHeight = Info.Height;
  FDataGrayscale = Info.Grayscale;
  // The bitmap stays: it is what the data shows at full size. At another scale it would not
  // match the data's size, so it is decoded again when needed.
  if (FScale != jsFullSize) FreeBitmap();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const Int64 Count = Stream->GetSize() - Stream->GetPosition();
  if (Count <= 0 || Count > 0x7FFFFFFF) throw EInvalidGraphic("JPEG error: the file holds no JPEG data");
  auto Data = std::make_shared<std::vector<Byte>>(static_cast<std::size_t>(Count));
  Stream->ReadBuffer(Data->data(), static_cast<Integer>(Count));
  const TJpegInfo Info = ReadJpegInfo(Data->data(), Data->size());
  FreeBitmap();
  FData = std::move(Data);
  FDataWidth = Info.Width;
  FDataHeight = Info.Height;
  FDataGrayscale = Info.Grayscale;
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  if (FData) Stream->WriteBuffer(FData->data(), static_cast<Integer>(FData->size()));
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    FData.reset();
    FreeBitmap();
    FDataWidth = FDataHeight = 0;
    FDataGrayscale = false;
    Changed(this);
    return;
  }
  if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
    if (J == this) return;
    FData = J->FData;
    FDataWidth = J->FDataWidth;
    FDataHeight = J->FDataHeight;
    FDataGrayscale = J->FDataGrayscale;
    FQuality = J->FQuality;
    FProgressiveEncoding = J->FProgressiveEncoding;
    FGrayscale = J->FGrayscale;
    FPerformance = J->FPerformance;
    FScale = J->FScale;
    FPixelFormat = J->FPixelFormat;
    FSmoothing = J->FSmoothing;
    FreeBitmap();
    if (J->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(J->FBitmap.get());
    }
    Changed(this);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(B);
    FData.reset();
    FDataWidth = FDataHeight = 0;
    FDataGrayscale = false;
    FBitmap = std::move(Copy);
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    B->Assign(GetBitmap());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  TBitmap* B = GetBitmap();
  if (B) ACanvas->StretchDraw(Rect, B);
}
