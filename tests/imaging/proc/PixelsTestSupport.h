#pragma once
// Helpers of the pixel-processing tests: small pictures filled by a function of the position,
// and their pixels read back.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"

namespace PixelsTesting {

using TBGR = std::array<Byte, 3>;

// A picture of Format whose raw row bytes are filled by Fill(Row, Y).
template <class TFill>
std::unique_ptr<TIEBitmap> Picture(Integer W, Integer H, TIEPixelFormat Format, TFill Fill) {
  auto B = std::make_unique<TIEBitmap>(W, H, Format);
  for (Integer Y = 0; Y < H; ++Y) Fill(static_cast<Byte*>(B->GetScanline(Y)), Y);
  return B;
}

// An ie24RGB picture whose pixel (X, Y) is Color(X, Y) as blue, green, red.
template <class TColorAt>
std::unique_ptr<TIEBitmap> Picture24(Integer W, Integer H, TColorAt Color) {
  return Picture(W, H, ie24RGB, [&](Byte* Row, Integer Y) {
    for (Integer X = 0; X < W; ++X) {
      const TBGR C = Color(X, Y);
      std::copy(C.begin(), C.end(), Row + 3 * X);
    }
  });
}

inline TBGR Pixel24(TIEBitmap* B, Integer X, Integer Y) {
  const Byte* P = static_cast<Byte*>(B->GetScanline(Y)) + 3 * X;
  return {P[0], P[1], P[2]};
}

inline Byte Pixel8(TIEBitmap* B, Integer X, Integer Y) {
  return static_cast<Byte*>(B->GetScanline(Y))[X];
}

inline bool Bit(TIEBitmap* B, Integer X, Integer Y) {
  return (static_cast<Byte*>(B->GetScanline(Y))[X >> 3] & (0x80 >> (X & 7))) != 0;
}

// Every row's first RowBytes bytes, top row first.
inline std::vector<Byte> RowBytes(TIEBitmap* B, Integer Bytes) {
  std::vector<Byte> Out;
  for (Integer Y = 0; Y < B->GetHeight(); ++Y) {
    const Byte* Row = static_cast<Byte*>(B->GetScanline(Y));
    Out.insert(Out.end(), Row, Row + Bytes);
  }
  return Out;
}

// New imaging bitmaps go to temporary files while it lives.
class TFileBitmaps {
 public:
  TFileBitmaps() { IEMinFileSizeOverride = 0; }
  ~TFileBitmaps() { IEMinFileSizeOverride = FSaved; }
  TFileBitmaps(const TFileBitmaps&) = delete;
  TFileBitmaps& operator=(const TFileBitmaps&) = delete;

 private:
  Int64 FSaved = IEMinFileSizeOverride;
};

}  // namespace PixelsTesting
