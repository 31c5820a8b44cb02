#include <gtest/gtest.h>

#include "imaging/core/iebitmap.h"
#include "tests/imaging/core/RenderTestSupport.h"

using namespace RenderTest;

namespace {

const TIERGBTriple Marker = Rgb(1, 2, 3);

}  // namespace

TEST(StretchRect, OneToOneCopiesPixelsAndFillsTheAlphaRectangle) {
  auto Source = MakeCoordinates(6, 4);
  auto Dest = MakeFilled(8, 8, Marker);
  Source->StretchRectTo(Dest.get(), 2, 1, 3, 2, 1, 1, 3, 2, rfNone, 100);
  EXPECT_EQ(Dest->GetPixel24(2, 1), Rgb(1, 1, 7));
  EXPECT_EQ(Dest->GetPixel24(4, 2), Rgb(3, 2, 7));
  EXPECT_EQ(Dest->GetPixel24(5, 1), Marker);
  ASSERT_TRUE(Dest->HasAlphaChannel());
  EXPECT_EQ(Dest->GetAlpha(2, 1), 100);
  EXPECT_EQ(Dest->GetAlpha(4, 2), 100);
  EXPECT_EQ(Dest->GetAlpha(5, 2), 255);
  EXPECT_FALSE(Dest->GetAlphaChannel()->GetFull());
}

TEST(StretchRect, ScaledThroughFixedPointSteps) {
  // 3 columns over 4: step Trunc(0.75 x 16384) = 12288; column (X x 12288) shr 14.
  auto Source = MakeCoordinates(3, 1);
  auto Dest = MakeFilled(4, 1, Marker);
  Source->StretchRectTo(Dest.get(), 0, 0, 4, 1, 0, 0, 3, 1, rfNone, 255);
  const Byte Expected[4] = {0, 0, 1, 2};
  for (Integer X = 0; X < 4; ++X) EXPECT_EQ(Dest->GetPixel24(X, 0).rgbtRed, Expected[X]) << X;
}

TEST(StretchRect, SourceAlphaCappedByAlpha) {
  auto Source = MakeFilled(2, 1, Grey(9));
  Source->SetAlpha(0, 0, 50);
  Source->SetAlpha(1, 0, 200);
  auto Dest = MakeFilled(2, 1, Marker);
  Source->StretchRectTo(Dest.get(), 0, 0, 2, 1, 0, 0, 2, 1, rfNone, 120);
  EXPECT_EQ(Dest->GetAlpha(0, 0), 50);
  EXPECT_EQ(Dest->GetAlpha(1, 0), 120);
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(9));
}

TEST(StretchRect, OneBitGivesBlackAndWhiteOtherFormatsNothing) {
  TIEBitmap Bits(2, 1, ie1g);
  Bits.Fill(0);
  static_cast<Byte*>(Bits.GetScanline(0))[0] = 0x80;
  auto Dest = MakeFilled(4, 1, Marker);
  Bits.StretchRectTo(Dest.get(), 0, 0, 4, 1, 0, 0, 2, 1, rfNone, 255);
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(255));
  EXPECT_EQ(Dest->GetPixel24(2, 0), Grey(0));

  TIEBitmap Grey8(2, 1, ie8g);
  Grey8.Fill(77);
  auto Other = MakeFilled(2, 1, Marker);
  Grey8.StretchRectTo(Other.get(), 0, 0, 2, 1, 0, 0, 2, 1, rfNone, 30);
  EXPECT_EQ(Other->GetPixel24(0, 0), Marker);
  EXPECT_EQ(Other->GetAlpha(0, 0), 30);
}

// Destination pixels whose source lies outside the source are left as they were instead of
// being read from past the rows.
TEST(StretchRect, SourceRectangleOutsideTheSourceIsClipped) {
  auto Source = MakeCoordinates(4, 4);
  auto Dest = MakeFilled(6, 6, Marker);
  Source->StretchRectTo(Dest.get(), 0, 0, 6, 6, -1, 2, 6, 6, rfNone, 255);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Marker);        // source column -1
  EXPECT_EQ(Dest->GetPixel24(1, 0), Rgb(0, 2, 7));  // source column 0
  EXPECT_EQ(Dest->GetPixel24(4, 1), Rgb(3, 3, 7));
  EXPECT_EQ(Dest->GetPixel24(5, 1), Marker);  // source column 4
  EXPECT_EQ(Dest->GetPixel24(1, 2), Marker);  // source row 4
  EXPECT_EQ(Dest->GetAlpha(5, 1), 255);
  EXPECT_EQ(Dest->GetAlpha(0, 0), 255);
  // Scaled the same way.
  auto Small = MakeFilled(3, 3, Marker);
  Source->StretchRectTo(Small.get(), 0, 0, 3, 3, 2, 0, 6, 6, rfNone, 255);
  EXPECT_EQ(Small->GetPixel24(0, 0), Rgb(2, 0, 7));
  EXPECT_EQ(Small->GetPixel24(1, 1), Marker);
  EXPECT_EQ(Small->GetPixel24(0, 1), Rgb(2, 2, 7));
}

TEST(StretchRect, FilteredResamplesFirst) {
  auto Source = MakeBitmap(4, 2, ie24RGB);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 4; ++X) Source->SetPixel24(X, Y, Grey(X < 2 ? 100 : 200));
  Source->SetPixel24(0, 0, Grey(104));
  auto Dest = MakeFilled(3, 1, Marker);
  Source->StretchRectTo(Dest.get(), 1, 0, 2, 1, 0, 0, 4, 2, rfLanczos3, 255);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Marker);
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(101));
  EXPECT_EQ(Dest->GetPixel24(2, 0), Grey(200));
  Source->StretchRectTo(Dest.get(), 0, 0, 0, 1, 0, 0, 4, 2, rfLanczos3, 255);  // nothing, no failure
}
