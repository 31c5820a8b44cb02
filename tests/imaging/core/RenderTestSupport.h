#pragma once
// Small pictures for the rendering tests: bitmaps of a given format and storage, colours, and
// a guard that sends new bitmaps to temporary files.
#include <memory>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"

namespace RenderTest {

inline TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return {B, G, R};
}
inline TIERGBTriple Grey(Byte V) {
  return {V, V, V};
}

// New bitmaps go to temporary files while the guard lives.
class TFileBacked {
 public:
  TFileBacked() { IEMinFileSizeOverride = 0; }
  ~TFileBacked() { IEMinFileSizeOverride = FOld; }
  TFileBacked(const TFileBacked&) = delete;
  TFileBacked& operator=(const TFileBacked&) = delete;

 private:
  Int64 FOld = IEMinFileSizeOverride;
};

inline std::unique_ptr<TIEBitmap> MakeBitmap(Integer Width, Integer Height, TIEPixelFormat Format) {
  return std::make_unique<TIEBitmap>(Width, Height, Format);
}

// An ie24RGB picture whose pixel (X, Y) is (R X, G Y, B 7): each column and row tells itself.
inline std::unique_ptr<TIEBitmap> MakeCoordinates(Integer Width, Integer Height) {
  auto B = MakeBitmap(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      B->SetPixel24(X, Y, Rgb(static_cast<Byte>(X), static_cast<Byte>(Y), 7));
  return B;
}

inline std::unique_ptr<TIEBitmap> MakeFilled(Integer Width, Integer Height, TIERGBTriple Color) {
  auto B = MakeBitmap(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) B->SetPixel24(X, Y, Color);
  return B;
}

}  // namespace RenderTest
