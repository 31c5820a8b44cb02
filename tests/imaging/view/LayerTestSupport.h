#pragma once
// Small pictures and byte helpers shared by the layer tests.
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "platform/system/Streams.h"

// A 24-bit picture of one colour; with Alpha >= 0 it gets an alpha channel of that value.
inline std::unique_ptr<TIEBitmap> SolidBitmap(Integer Width, Integer Height, TIERGBTriple Colour,
                                              Integer Alpha = -1) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) Bitmap->SetPixel24(X, Y, Colour);
  if (Alpha >= 0) Bitmap->GetAlphaChannel()->Fill(Alpha);
  return Bitmap;
}

// Each pixel's colour is its own position: red = x, green = y, blue = x + y.
inline std::unique_ptr<TIEBitmap> PatternBitmap(Integer Width, Integer Height) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Bitmap->SetPixel24(X, Y,
                         TIERGBTriple{static_cast<Byte>(X + Y), static_cast<Byte>(Y), static_cast<Byte>(X)});
  return Bitmap;
}

inline std::vector<Byte> StreamBytes(TMemoryStream& Stream) {
  const Byte* Memory = static_cast<const Byte*>(Stream.GetMemory());
  return {Memory, Memory + Stream.GetSize()};
}

inline void PutLE32(std::vector<Byte>& Out, Integer Value) {
  for (int I = 0; I < 4; ++I) Out.push_back(static_cast<Byte>(static_cast<Cardinal>(Value) >> (8 * I)));
}

inline bool SamePixels(TIEBitmap& A, TIEBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight()) return false;
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X)
      if (!(A.GetPixel24(X, Y) == B.GetPixel24(X, Y))) return false;
  return true;
}

// A view without owner or window showing a copy of Picture.
inline std::unique_ptr<TZezudIdView> NewViewShowing(TIEBitmap& Picture, TColor Background) {
  auto View = std::make_unique<TZezudIdView>(nullptr);
  View->SetBackground(Background);
  View->GetIEBitmap()->Assign(&Picture);
  View->Update();
  return View;
}
