#pragma once
// A view without a window that paints at its own Width x Height, and the back buffer it
// composes, read as colours.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"

class TPaintedView : public TZezudIdView {
 public:
  explicit TPaintedView(Integer Width, Integer Height) : TZezudIdView(nullptr) {
    SetLockPaintForced(true);
    SetBounds(0, 0, Width, Height);
  }
  using TZezudIdView::FBackBuffer;
  using TZezudIdView::FBackBufferDirty;

  // The current picture becomes a copy of Picture, shown at Zoom.
  void Show(TIEBitmap& Picture, Double Zoom = 100) {
    GetIEBitmap()->Assign(&Picture);
    SetZoom(Zoom);
    Relayout();
  }
  void Relayout() { Update(); }
  // A fresh buffer of the view's size composed with everything.
  std::unique_ptr<TIEBitmap> Compose(bool Background = true, bool Boxes = true) {
    auto Dest = std::make_unique<TIEBitmap>(GetViewWidth(), GetViewHeight(), ie24RGB);
    Dest->Fill(0);
    DrawToBackBuffer(Dest.get(), nullptr, nullptr, Background, Boxes);
    return Dest;
  }
};

inline TIERGBTriple Rgb(Byte Red, Byte Green, Byte Blue) {
  return TIERGBTriple{Blue, Green, Red};
}

inline ::testing::AssertionResult PixelIs(TIEBitmap& Bitmap, Integer X, Integer Y, TIERGBTriple Expected) {
  const TIERGBTriple P = Bitmap.GetPixel24(X, Y);
  if (P == Expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << X << "," << Y << ") is r" << +P.rgbtRed << " g" << +P.rgbtGreen << " b" << +P.rgbtBlue
         << ", expected r" << +Expected.rgbtRed << " g" << +Expected.rgbtGreen << " b" << +Expected.rgbtBlue;
}
