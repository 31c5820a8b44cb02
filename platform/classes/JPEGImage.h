#pragma once
// TJPEGImage: a JPEG picture over libjpeg. It holds the compressed data, a decoded bitmap, or
// both, and makes the missing one when asked: loading keeps only the data (decoded on the
// first draw, DIBNeeded or assignment to a bitmap); assigning a bitmap keeps only the bitmap
// (compressed on save, JPEGNeeded or Compress). Data that was loaded is saved unchanged; the
// compression settings apply to the next compression.
//
// Decoding settings (Scale, PixelFormat, Grayscale, Performance, Smoothing) take effect at the
// next decoding: changing one drops a decoded bitmap that can be decoded again from the data.
// libjpeg's errors raise EInvalidGraphic with libjpeg's message; its warnings (such as a file
// that ends early) are ignored, as the platform's unit does.
#include <memory>
#include <vector>

#include "platform/classes/Graphic.h"

class TBitmap;

using TJPEGQualityRange = Integer;  // 1..100
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  // From a TJPEGImage: its data, bitmap and settings. From a TBitmap: a copy of the bitmap,
  // to be compressed. Null empties the image.
  void Assign(TPersistent* Source) override;
  // Takes the rest of the stream as JPEG data; raises EInvalidGraphic when its header cannot
  // be read, leaving the image as it was.
  void LoadFromStream(TStream* Stream) override;
  // Writes the JPEG data, compressing the bitmap first when there is none.
  void SaveToStream(TStream* Stream) override;

  // Compresses the bitmap now (replacing any data).
  void Compress();
  void DIBNeeded();
  void JPEGNeeded();

  // The image's size at the current Scale (the decoded bitmap's once there is one).
  Integer GetWidth() override;
  Integer GetHeight() override;
  // A JPEG image keeps its size: EInvalidGraphicOperation "Cannot change the size of a JPEG image".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  HPALETTE GetPalette() override;

  // 90 by default; values are kept within 1..100.
  TJPEGQualityRange GetCompressionQuality() const { return FQuality; }
  void SetCompressionQuality(TJPEGQualityRange Value);
  bool GetProgressiveEncoding() const { return FProgressiveEncoding; }
  void SetProgressiveEncoding(bool Value) { FProgressiveEncoding = Value; }
  // True for a greyscale JPEG, or when greyscale output (and compression) was asked for.
  bool GetGrayscale() const { return FGrayscale || FDataGrayscale; }
  void SetGrayscale(bool Value);
  TJPEGPerformance GetPerformance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance Value);
  TJPEGScale GetScale() const { return FScale; }
  void SetScale(TJPEGScale Value);
  TJPEGPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat Value);
  bool GetSmoothing() const { return FSmoothing; }
  void SetSmoothing(bool Value);

 protected:
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override;
  // The decoded bitmap, decoding it when needed; null for an empty image.
  TBitmap* GetBitmap();

 private:
  void FreeBitmap();
  // Drops a bitmap that the data can give again, after a decoding setting changed.
  void DecodingChanged();
  void Decode();

  std::shared_ptr<const std::vector<Byte>> FData;  // shared between assigned copies
  Integer FDataWidth = 0;
  Integer FDataHeight = 0;
  bool FDataGrayscale = false;
  std::unique_ptr<TBitmap> FBitmap;
  Integer FQuality = 90;
  bool FProgressiveEncoding = false;
  bool FGrayscale = false;
  TJPEGPerformance FPerformance = jpBestQuality;
  TJPEGScale FScale = jsFullSize;
  TJPEGPixelFormat FPixelFormat = jf24Bit;
  bool FSmoothing = true;
};
