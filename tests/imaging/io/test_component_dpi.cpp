// AdjustDPI: unequal resolutions become equal by resampling the shorter side's direction.
#include "ComponentTestSupport.h"

namespace {

class TAdjustDpiTest : public TComponentTest {
 protected:
  // A picture of Width x Height whose parameters say the same size and the DPI given.
  void Prepare(Integer Width, Integer Height, TIEPixelFormat Format, Integer DpiX, Integer DpiY) {
    IO.GetIEBitmap()->Allocate(Width, Height, Format);
    IO.GetParams()->Width = Width;
    IO.GetParams()->Height = Height;
    IO.GetParams()->DpiX = DpiX;
    IO.GetParams()->DpiY = DpiY;
  }
  TZezudIdIO IO{nullptr};
};

TEST_F(TAdjustDpiTest, ShorterSideTakesTheOtherResolution) {
  const struct {
    Integer Width, Height, DpiX, DpiY, NewWidth, NewHeight, NewDpi;
  } Cases[] = {
      {200, 100, 300, 150, 200, 200, 300},  // landscape: the height is scaled
      {200, 100, 150, 300, 200, 50, 150},
      {100, 200, 300, 150, 50, 200, 150},  // portrait: the width is scaled
      {100, 200, 100, 300, 300, 200, 300},
      {7, 3, 300, 200, 7, 4, 300},  // 3 / 200 x 300 = 4.5, cut to 4
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Width << "x" << Case.Height << " " << Case.DpiX << "/"
                                    << Case.DpiY);
    Prepare(Case.Width, Case.Height, ie24RGB, Case.DpiX, Case.DpiY);
    IO.AdjustDPI();
    EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), Case.NewWidth);
    EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), Case.NewHeight);
    EXPECT_EQ(IO.GetParams()->Width, Case.NewWidth);
    EXPECT_EQ(IO.GetParams()->Height, Case.NewHeight);
    EXPECT_EQ(IO.GetParams()->DpiX, Case.NewDpi);
    EXPECT_EQ(IO.GetParams()->DpiY, Case.NewDpi);
  }
}

TEST_F(TAdjustDpiTest, NothingToDoLeavesEverything) {
  const struct {
    Integer DpiX, DpiY, ParamsWidth;
  } Cases[] = {{300, 300, 4}, {0, 300, 4}, {300, -1, 4}, {300, 150, 0}, {2147483647, 1, 4}, {1, 300, 4}};
  // The last two ask for a side beyond any integer and for one that would vanish.
  for (const auto& Case : Cases) {
    Prepare(4, 2, ie24RGB, Case.DpiX, Case.DpiY);
    IO.GetParams()->Width = Case.ParamsWidth;
    IO.AdjustDPI();
    EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 2);
    EXPECT_EQ(IO.GetParams()->DpiY, Case.DpiY);
  }
}

// Nearest neighbour keeps the pixel format and every value; rows and columns repeat.
TEST_F(TAdjustDpiTest, NearestKeepsFormatAndValues) {
  Prepare(4, 1, ie8g, 200, 100);
  for (Integer X = 0; X < 4; ++X) IO.GetIEBitmap()->SetPixel8(X, 0, static_cast<Byte>(10 * (X + 1)));
  IO.AdjustDPI();
  TIEBitmap& Picture = *IO.GetIEBitmap();
  ASSERT_EQ(Picture.GetPixelFormat(), ie8g);
  ASSERT_EQ(Picture.GetHeight(), 2);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(Picture.GetPixel8(X, Y), 10 * (X + 1));

  // Portrait 1-bit: columns double, every bit lands where its source column says.
  Prepare(3, 9, ie1g, 100, 200);
  IO.GetIEBitmap()->Fill(0);
  for (Integer Y = 0; Y < 9; ++Y) static_cast<Byte*>(IO.GetIEBitmap()->GetScanline(Y))[0] = 0x40;
  IO.AdjustDPI();
  ASSERT_EQ(IO.GetIEBitmap()->GetWidth(), 6);
  const Byte Row = static_cast<Byte*>(IO.GetIEBitmap()->GetScanline(4))[0];
  EXPECT_EQ(Row & 0xFC, 0x30);  // columns 2 and 3 come from column 1
}

TEST_F(TAdjustDpiTest, FilteredResamplingGivesTwentyFourBits) {
  IO.SetFilteredAdjustDPI(true);
  Prepare(8, 4, ie8g, 300, 150);
  IO.GetIEBitmap()->Fill(128);
  IO.AdjustDPI();
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 8);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixel24(3, 5).rgbtGreen, 128);
}

TEST_F(TAdjustDpiTest, AlphaChannelFollowsThePicture) {
  Prepare(2, 1, ie24RGB, 300, 100);
  TIEBitmap* Alpha = IO.GetIEBitmap()->GetAlphaChannel();
  Alpha->SetPixel8(0, 0, 0);
  Alpha->SetPixel8(1, 0, 200);
  IO.AdjustDPI();
  ASSERT_TRUE(IO.GetIEBitmap()->HasAlphaChannel());
  Alpha = IO.GetIEBitmap()->GetAlphaChannel();
  ASSERT_EQ(Alpha->GetHeight(), 3);
  for (Integer Y = 0; Y < 3; ++Y) {
    EXPECT_EQ(Alpha->GetPixel8(0, Y), 0);
    EXPECT_EQ(Alpha->GetPixel8(1, Y), 200);
  }
}

TEST_F(TAdjustDpiTest, LoadsAdjustWhenAsked) {
  // The TST reader gives 72 x 1 DPI: the height of the landscape picture grows 72 times.
  IO.SetAutoAdjustDPI(true);
  IO.LoadFromFile(WriteFile("a.tst", TstBytes(8, 4, 1)));
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 8);
  EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 288);
  EXPECT_EQ(IO.GetParams()->DpiY, 72);
}

}  // namespace
