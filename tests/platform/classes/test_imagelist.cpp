// Image lists: adding, masks, drawing normally and disabled.
#include <gtest/gtest.h>

#include "platform/classes/ImgList.h"

namespace {

// Two 16 x 16 images side by side: a red square at (4..7, 4..7) on fuchsia, and blue.
std::unique_ptr<TBitmap> Strip() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(32, 16);
  TCanvas* C = B->GetCanvas();
  C->GetBrush()->SetColor(clFuchsia);
  C->FillRect(Rect(0, 0, 16, 16));
  C->GetBrush()->SetColor(clRed);
  C->FillRect(Rect(4, 4, 8, 8));
  C->GetBrush()->SetColor(clBlue);
  C->FillRect(Rect(16, 0, 32, 16));
  return B;
}

std::unique_ptr<TBitmap> Background(TColor Color) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(20, 20);
  B->GetCanvas()->GetBrush()->SetColor(Color);
  B->GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  return B;
}

COLORREF PixelOf(TBitmap* B, Integer X, Integer Y) {
  return static_cast<COLORREF>(B->GetCanvas()->GetPixels(X, Y)) & 0xFFFFFF;
}

}  // namespace

TEST(ImageList, AddMaskedDrawsOnlyTheOpaquePixels) {
  TImageList List(nullptr);
  EXPECT_EQ(List.GetWidth(), 16);
  EXPECT_EQ(List.GetHeight(), 16);
  auto Images = Strip();
  EXPECT_EQ(List.AddMasked(Images.get(), clFuchsia), 0);
  EXPECT_EQ(List.GetCount(), 2);
  auto Dest = Background(clWhite);
  List.Draw(Dest->GetCanvas(), 2, 2, 0);
  EXPECT_EQ(PixelOf(Dest.get(), 7, 7), 0x0000FFu);  // red
  EXPECT_EQ(PixelOf(Dest.get(), 3, 3), 0xFFFFFFu);  // transparent
  List.Draw(Dest->GetCanvas(), 2, 2, 1);
  EXPECT_EQ(PixelOf(Dest.get(), 3, 3), 0xFF0000u);
  EXPECT_EQ(PixelOf(Dest.get(), 1, 1), 0xFFFFFFu);  // outside the image

  // A background colour fills the transparent part.
  auto Dest2 = Background(clWhite);
  List.SetBkColor(clLime);
  List.Draw(Dest2->GetCanvas(), 0, 0, 0);
  EXPECT_EQ(PixelOf(Dest2.get(), 0, 0), 0x00FF00u);
  EXPECT_EQ(PixelOf(Dest2.get(), 5, 5), 0x0000FFu);
}

TEST(ImageList, DisabledImagesAreEmbossedInButtonColours) {
  TImageList List(nullptr);
  auto Images = Strip();
  List.AddMasked(Images.get(), clDefault);  // the bottom-left pixel: fuchsia
  auto Dest = Background(clBlack);
  List.Draw(Dest->GetCanvas(), 0, 0, 0, false);
  // The red square in shadow colour, its highlight one pixel down and right.
  EXPECT_EQ(PixelOf(Dest.get(), 4, 4), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(Dest.get(), 7, 7), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(Dest.get(), 8, 8), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelOf(Dest.get(), 2, 2), 0x000000u);
  EXPECT_EQ(PixelOf(Dest.get(), 12, 12), 0x000000u);
}

TEST(ImageList, MaskBitmapsDeleteClearAndGetBitmap) {
  TImageList List(nullptr);
  auto Images = Strip();
  // White pixels of the mask are transparent.
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(32, 16);
  Mask->GetCanvas()->GetBrush()->SetColor(clBlack);
  Mask->GetCanvas()->FillRect(Rect(0, 0, 32, 16));
  Mask->GetCanvas()->GetBrush()->SetColor(clWhite);
  Mask->GetCanvas()->FillRect(Rect(16, 0, 24, 16));
  EXPECT_EQ(List.Add(Images.get(), Mask.get()), 0);
  auto Dest = Background(clWhite);
  List.Draw(Dest->GetCanvas(), 0, 0, 1);
  EXPECT_EQ(PixelOf(Dest.get(), 2, 2), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(Dest.get(), 10, 2), 0xFF0000u);

  TBitmap Copy;
  List.GetBitmap(1, &Copy);
  EXPECT_EQ(Copy.GetWidth(), 16);
  EXPECT_EQ(PixelOf(&Copy, 10, 2), 0xFF0000u);
  List.Delete(0);
  EXPECT_EQ(List.GetCount(), 1);
  EXPECT_THROW(List.Delete(5), EInvalidOperation);
  List.Draw(Dest->GetCanvas(), 0, 0, 7);  // nothing, no error
  List.SetWidth(24);
  EXPECT_EQ(List.GetCount(), 0);
}
