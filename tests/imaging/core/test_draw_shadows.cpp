// Shadow strips, soft shadows, two-colour frames and the dark frame, pixel by pixel.
#include <cmath>
#include <numbers>

#include "DrawTestSupport.h"
#include "imaging/core/iedrawutils.h"
#include "imaging/core/iegdiplus.h"

using namespace DrawTesting;

namespace {

constexpr TColor Paper = static_cast<TColor>(0xC8C8C8);  // grey 200

Integer GreyAt(TBitmap* B, Integer X, Integer Y) {
  return PixelAt(B, X, Y) & 0xFF;
}

Integer Darkened(Integer Value, Integer Offset, Integer Size) {
  const Double T = (Size - Offset) / (Size / 3.0);
  return static_cast<Integer>(Value * std::exp(-0.1 - T * T / 6));
}

TEST(TShadowStripTest, SolidStripsFillWithTheCanvasBrushLeavingTheFarEdge) {
  auto B = SolidBitmap(200, 200, clWhite);
  B->GetCanvas()->GetBrush()->SetColor(clRed);
  IEDrawVerticalShadow(B->GetCanvas(), B.get(), 100, 0, 104, 50, 1, clBlue);
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = 95; X < 110; ++X)
      EXPECT_EQ(PixelAt(B.get(), X, Y), X >= 100 && X <= 103 && Y >= 5 && Y <= 50 ? clRed : clWhite)
          << X << "," << Y;

  auto H = SolidBitmap(200, 200, clWhite);
  H->GetCanvas()->GetBrush()->SetColor(clRed);
  IEDrawHorizontalShadow(H->GetCanvas(), H.get(), 0, 100, 50, 104, 1, clBlue);
  for (Integer Y = 95; Y < 110; ++Y)
    for (Integer X = 0; X < 60; ++X)
      EXPECT_EQ(PixelAt(H.get(), X, Y), X >= 5 && X <= 50 && Y >= 100 && Y <= 103 ? clRed : clWhite)
          << X << "," << Y;
}

TEST(TShadowStripTest, DarkenedStripsFadeOutwardAndEndDiagonally) {
  // Vertical strip x 10..14 beside an object ending at row 40: column h darkens rows
  // 5 .. 38 + h; next to the object about 20 % stays (e^-1.6), at the outer edge 85 %.
  auto B = SolidBitmap(60, 60, Paper);
  IEDrawVerticalShadow(B->GetCanvas(), B.get(), 10, 0, 14, 40, 2, clBlack);
  EXPECT_EQ(GreyAt(B.get(), 10, 20), static_cast<Integer>(200 * std::exp(-1.6)));
  EXPECT_EQ(GreyAt(B.get(), 14, 20), static_cast<Integer>(200 * std::exp(-0.16)));
  for (Integer H = 0; H < 5; ++H) {
    const Integer X = 10 + H;
    EXPECT_EQ(GreyAt(B.get(), X, 4), 200) << X;
    EXPECT_EQ(GreyAt(B.get(), X, 5), Darkened(200, H, 5)) << X;
    EXPECT_EQ(GreyAt(B.get(), X, 38 + H), Darkened(200, H, 5)) << X;
    EXPECT_EQ(GreyAt(B.get(), X, 39 + H), 200) << X;
  }
  EXPECT_EQ(GreyAt(B.get(), 9, 20), 200);
  EXPECT_EQ(GreyAt(B.get(), 15, 20), 200);

  // Horizontal strip y 10..14 below an object ending at column 40: row k darkens columns
  // 5 .. 36 + k, darkest next to the object.
  auto Hz = SolidBitmap(60, 60, Paper);
  IEDrawHorizontalShadow(Hz->GetCanvas(), Hz.get(), 0, 10, 40, 14, 2, clBlack);
  for (Integer K = 0; K < 5; ++K) {
    const Integer Y = 10 + K;
    EXPECT_EQ(GreyAt(Hz.get(), 4, Y), 200) << Y;
    EXPECT_EQ(GreyAt(Hz.get(), 5, Y), Darkened(200, K, 5)) << Y;
    EXPECT_EQ(GreyAt(Hz.get(), 36 + K, Y), Darkened(200, K, 5)) << Y;
    EXPECT_EQ(GreyAt(Hz.get(), 37 + K, Y), 200) << Y;
  }
}

TEST(TShadowStripTest, DarkenedPixelsOutsideTheBitmapGoThroughTheCanvas) {
  // The bitmap covers columns 0..11; the canvas (another picture) takes the rest.
  auto Small = SolidBitmap(12, 60, Paper);
  auto Screen = SolidBitmap(60, 60, Paper);
  IEDrawVerticalShadow(Screen->GetCanvas(), Small.get(), 10, 0, 14, 40, 2, clBlack);
  EXPECT_EQ(GreyAt(Small.get(), 10, 20), Darkened(200, 0, 5));
  EXPECT_EQ(GreyAt(Screen.get(), 10, 20), 200);
  EXPECT_EQ(GreyAt(Screen.get(), 13, 20), Darkened(200, 3, 5));
  // Without a bitmap every pixel goes through the canvas.
  IEDrawVerticalShadow(Screen->GetCanvas(), nullptr, 10, 0, 14, 40, 2, clBlack);
  EXPECT_EQ(GreyAt(Screen.get(), 10, 20), Darkened(200, 0, 5));
}

TEST(TShadowStripTest, GreyRampCoversTheStripPlusOneAndNarrowsAtItsEnd) {
  // Strip x 0..4 (W 5), y 0..19 (H 20): rows 0..20, columns from the start to 5; the start
  // grows by one on each row past H - W + 1 = 16.
  auto B = SolidBitmap(30, 30, clBlack);
  IEDrawVerticalShadow(B->GetCanvas(), B.get(), 0, 0, 4, 19, 3, clBlack);
  auto Ramp = [](Integer J, Integer Size) {
    return static_cast<Integer>(255 * std::exp(Double(J) / Size) / std::numbers::e);
  };
  EXPECT_EQ(GreyAt(B.get(), 0, 0), 255);  // the row level dominates at the top
  const Integer Level10 = static_cast<Integer>(255 * std::exp(-10.0 / 20) / std::numbers::e);
  EXPECT_EQ(GreyAt(B.get(), 0, 10), std::max(Ramp(0, 5), Level10));
  EXPECT_EQ(GreyAt(B.get(), 5, 10), 255);
  EXPECT_EQ(GreyAt(B.get(), 0, 16), Ramp(0, 5));
  EXPECT_EQ(GreyAt(B.get(), 0, 17), 0);
  EXPECT_EQ(GreyAt(B.get(), 1, 17), Ramp(1, 5));
  EXPECT_EQ(GreyAt(B.get(), 3, 20), 0);
  EXPECT_EQ(GreyAt(B.get(), 4, 20), Ramp(4, 5));
  EXPECT_EQ(GreyAt(B.get(), 6, 10), 0);
  EXPECT_EQ(GreyAt(B.get(), 4, 21), 0);

  // Horizontal: the same with rows and columns exchanged.
  auto Hz = SolidBitmap(30, 30, clBlack);
  IEDrawHorizontalShadow(Hz->GetCanvas(), Hz.get(), 0, 0, 19, 4, 3, clBlack);
  EXPECT_EQ(GreyAt(Hz.get(), 10, 0), std::max(Ramp(0, 5), Level10));
  EXPECT_EQ(GreyAt(Hz.get(), 17, 0), 0);
  EXPECT_EQ(GreyAt(Hz.get(), 17, 1), Ramp(1, 5));
  EXPECT_EQ(GreyAt(Hz.get(), 20, 4), Ramp(4, 5));
}

TEST(TShadowStripTest, OtherStylesAndEmptyStripsDrawNothing) {
  for (const Integer Style : {0, 4, -1}) {
    auto B = SolidBitmap(30, 30, Paper);
    B->GetCanvas()->GetBrush()->SetColor(clRed);
    IEDrawVerticalShadow(B->GetCanvas(), B.get(), 5, 0, 9, 20, Style, clBlack);
    IEDrawHorizontalShadow(B->GetCanvas(), B.get(), 0, 5, 20, 9, Style, clBlack);
    for (Integer Y = 0; Y < 30; ++Y)
      for (Integer X = 0; X < 30; ++X) ASSERT_EQ(PixelAt(B.get(), X, Y), Paper) << Style;
  }
  for (const Integer Style : {1, 2, 3}) {
    auto B = SolidBitmap(30, 30, Paper);
    B->GetCanvas()->GetBrush()->SetColor(clRed);
    IEDrawVerticalShadow(B->GetCanvas(), B.get(), 5, 0, 4, 20, Style, clBlack);
    IEDrawVerticalShadow(B->GetCanvas(), B.get(), 5, 10, 9, 9, Style, clBlack);
    IEDrawHorizontalShadow(B->GetCanvas(), B.get(), 0, 5, 20, 4, Style, clBlack);
    IEDrawHorizontalShadow(B->GetCanvas(), B.get(), 10, 5, 9, 9, Style, clBlack);
    for (Integer Y = 0; Y < 30; ++Y)
      for (Integer X = 0; X < 30; ++X)
        ASSERT_EQ(PixelAt(B.get(), X, Y), Paper) << Style << " " << X << "," << Y;
  }
}

TEST(TSoftShadowTest, DarkensOnlyAroundTheObjectAndMostBelowRight) {
  auto B = SolidBitmap(60, 60, Paper);
  IEDrawSoftShadow(B.get(), 20, 20, 30, 30, clBlack);
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = 0; X < 60; ++X) {
      const bool Object = X >= 20 && X < 30 && Y >= 20 && Y < 30;
      const bool Far = X < 15 || X > 35 || Y < 15 || Y > 35;
      if (Object || Far) {
        ASSERT_EQ(GreyAt(B.get(), X, Y), 200) << X << "," << Y;
      }
      ASSERT_EQ(PixelAt(B.get(), X, Y), GreyColor(GreyAt(B.get(), X, Y)));  // every channel alike
    }
  // The shadow lies 2 pixels right and down: darker right of the object than left of it.
  EXPECT_LT(GreyAt(B.get(), 30, 25), GreyAt(B.get(), 19, 25));
  EXPECT_LT(GreyAt(B.get(), 25, 30), GreyAt(B.get(), 25, 19));
  EXPECT_LT(GreyAt(B.get(), 30, 25), 120);
  EXPECT_LT(GreyAt(B.get(), 17, 25), 200);
}

TEST(TSoftShadowTest, ClipsToThePictureAndLeavesOtherFormatsAlone) {
  auto B = SolidBitmap(12, 12, Paper);
  IEDrawSoftShadow(B.get(), 1, 1, 11, 11, clBlack);
  EXPECT_LT(GreyAt(B.get(), 11, 11), 200);
  EXPECT_EQ(GreyAt(B.get(), 5, 5), 200);

  TBitmap Wide;
  Wide.SetPixelFormat(pf32bit);
  Wide.SetSize(40, 40);
  Wide.GetCanvas()->GetBrush()->SetColor(Paper);
  Wide.GetCanvas()->FillRect(TRect{0, 0, 40, 40});
  IEDrawSoftShadow(&Wide, 10, 10, 20, 20, clBlack);
  EXPECT_EQ(Wide.GetCanvas()->GetPixels(21, 21), Paper);
}

// Both frame routines, on a canvas whose pen was left wide and in xor mode.
TEST(TFrameTest, TwoColourFramesLeaveTheTopRightCornerAndSetACopyPen) {
  const std::function<void(TBitmap*)> Draws[] = {
      [](TBitmap* B) { IEDraw3DRect(B->GetCanvas(), 2, 2, 8, 6, clRed, clBlue); },
      [](TBitmap* B) {
        TIECanvas C(B->GetCanvas(), true, false);
        IEDraw3DRectIECanvas(&C, 2, 2, 8, 6, clRed, clBlue);
      },
  };
  for (const auto& Draw : Draws) {
    auto B = SolidBitmap(12, 10, clWhite);
    B->GetCanvas()->GetPen()->SetMode(pmXor);
    B->GetCanvas()->GetPen()->SetStyle(psDot);
    B->GetCanvas()->GetPen()->SetWidth(1);
    Draw(B.get());
    for (Integer Y = 0; Y < 10; ++Y)
      for (Integer X = 0; X < 12; ++X) {
        TColor Want = clWhite;
        if ((X == 2 && Y >= 2 && Y <= 5) || (Y == 2 && X >= 2 && X <= 7)) Want = clRed;
        if ((Y == 6 && X >= 2 && X <= 7) || (X == 8 && Y >= 3 && Y <= 6)) Want = clBlue;
        EXPECT_EQ(PixelAt(B.get(), X, Y), Want) << X << "," << Y;
      }
    EXPECT_EQ(B->GetCanvas()->GetPen()->GetMode(), pmCopy);
    EXPECT_EQ(B->GetCanvas()->GetPen()->GetStyle(), psSolid);
  }
  // The wrapper leaves the pen's width as it was.
  auto B = SolidBitmap(12, 10, clWhite);
  B->GetCanvas()->GetPen()->SetWidth(3);
  TIECanvas C(B->GetCanvas(), true, false);
  IEDraw3DRectIECanvas(&C, 2, 2, 8, 6, clRed, clBlue);
  EXPECT_EQ(B->GetCanvas()->GetPen()->GetWidth(), 3);
}

TEST(TDarkFrameTest, FourBandsAroundTheInnerRectangle) {
  // Area 0..20 x 0..20 around the inner rectangle (5, 5, 15, 15): the inside left untouched
  // is columns 7..14, rows 7..15.
  auto B = SolidBitmap(30, 30, clWhite);
  IEDrawDarkFrame(B->GetCanvas(), 0, 0, 20, 20, 5, 5, 15, 15);
  for (Integer Y = 0; Y < 30; ++Y)
    for (Integer X = 0; X < 30; ++X) {
      const bool Area = X <= 20 && Y <= 20;
      const bool Inside = X >= 7 && X <= 14 && Y >= 7 && Y <= 15;
      EXPECT_EQ(PixelAt(B.get(), X, Y), Area && !Inside ? clBlack : clWhite) << X << "," << Y;
    }
}

TEST(TDarkFrameTest, EmptyInnerRectangleDrawsNothing) {
  for (const TRect& Inner : {TRect{5, 5, 5, 15}, TRect{5, 5, 15, 5}, TRect{15, 5, 5, 15}}) {
    auto B = SolidBitmap(30, 30, clWhite);
    IEDrawDarkFrame(B->GetCanvas(), 0, 0, 20, 20, Inner.Left, Inner.Top, Inner.Right, Inner.Bottom);
    for (Integer Y = 0; Y < 30; ++Y)
      for (Integer X = 0; X < 30; ++X) ASSERT_EQ(PixelAt(B.get(), X, Y), clWhite);
  }
}

}  // namespace
