#pragma once
// Pixel helpers of the mosaic program's tests: 24-bit bitmaps made from a function of the
// position and read back as 0x00BBGGRR colours.
#include <functional>
#include <memory>

#include "app/Functions.h"
#include "platform/classes/Bitmap.h"

// A 24-bit bitmap of W x H whose pixel (X, Y) has the colour Color(X, Y).
inline std::unique_ptr<TBitmap> MakeBitmap(Integer W, Integer H,
                                           const std::function<TColor(Integer, Integer)>& Color) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const TBitmapRows Rows(B.get());
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) SetPixelColor(Rows[Y] + 3 * X, Color(X, Y));
  return B;
}

inline TColor PixelAt(TBitmap* B, Integer X, Integer Y) {
  return PixelColor(static_cast<Byte*>(B->GetScanLine(Y)) + 3 * X);
}

inline TColor Rgb(Integer R, Integer G, Integer B) {
  return static_cast<TColor>(R | (G << 8) | (B << 16));
}
