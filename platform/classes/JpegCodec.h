#pragma once
// The libjpeg side of TJPEGImage. libjpeg reports errors by calling back, and its callback
// leaves through longjmp: the calls into it sit in small functions that own no C++ objects,
// so no destructor is ever skipped, and every error comes out here as EInvalidGraphic with
// libjpeg's message.
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/system/Types.h"

class TBitmap;

struct TJpegInfo {
  Integer Width = 0;
  Integer Height = 0;
  bool Grayscale = false;  // one component
};

// Reads the header only.
TJpegInfo ReadJpegInfo(const Byte* Data, std::size_t Size);

struct TJpegDecodeOptions {
  Integer ScaleDenom = 1;  // 1, 2, 4 or 8
  bool Fast = false;       // fast integer DCT, plain upsampling, ordered dither
  bool Smoothing = true;   // block smoothing of progressive images
  bool Grayscale = false;  // an 8-bit grey bitmap
  bool Quantize = false;   // an 8-bit bitmap of at most 256 colours
};

// A new bitmap: pf24bit, or pf8bit for greyscale and quantized output. CMYK images (Adobe's
// inverted ones too) come out as RGB.
std::unique_ptr<TBitmap> DecodeJpeg(const Byte* Data, std::size_t Size, const TJpegDecodeOptions& Options);

struct TJpegEncodeOptions {
  Integer Quality = 90;
  bool Progressive = false;
  bool Grayscale = false;
};

// Compresses the bitmap straight from its rows (24-bit and 32-bit bitmaps, and 8-bit ones
// with a grey ramp palette; others through a 24-bit copy). Raises EInvalidGraphic for an
// empty bitmap.
std::vector<Byte> EncodeJpeg(TBitmap* Bitmap, const TJpegEncodeOptions& Options);
