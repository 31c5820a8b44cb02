#include <gtest/gtest.h>

#include <set>

#include "imaging/core/iegdiplus.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/GraphicsObjects.h"
#include "tests/imaging/core/DrawTestSupport.h"

namespace {

using DrawTesting::PixelAt;
using DrawTesting::SolidBitmap;

// Loads the interface for one test (Present) or leaves it unloaded (the canvas path).
class TIECanvasPaths : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    IEGdiPlusInitialize();
    if (GetParam()) IEGdiPlusLoad();
    ASSERT_EQ(IEGdiPlusEnabled(), GetParam());
  }
  void TearDown() override {
    if (GetParam()) IEGdiPlusUnload();
  }
};

TEST_P(TIECanvasPaths, RectangleAndFillRectCoverTheCanvasPixels) {
  auto B = SolidBitmap(12, 10, clWhite);
  {
    TIECanvas C(B->GetCanvas(), true, false);
    EXPECT_EQ(C.GetUseGdiPlus(), GetParam());
    C.GetPen()->SetColor(clBlack);
    C.GetBrush()->SetColor(clRed);
    C.Rectangle(8, 6, 2, 2);  // reversed corners
    C.GetBrush()->SetColor(clBlue);
    C.FillRect(TRect{9, 7, 12, 10});
  }
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 12; ++X) {
      TColor Want = clWhite;
      if (X >= 2 && X <= 7 && Y >= 2 && Y <= 5)
        Want = (X == 2 || X == 7 || Y == 2 || Y == 5) ? clBlack : clRed;
      if (X >= 9 && Y >= 7) Want = clBlue;
      EXPECT_EQ(PixelAt(B.get(), X, Y), Want) << X << "," << Y;
    }
}

// Only the interface blends; the canvas fills opaque. Anti-aliased or not, a filled box has
// crisp edges on the canvas's pixels.
TEST_P(TIECanvasPaths, BrushTransparencyBlendsOnlyThroughTheInterface) {
  auto B = SolidBitmap(8, 8, clWhite);
  {
    TIECanvas C(B->GetCanvas(), true, true);
    C.GetBrush()->SetColor(clBlack);
    C.GetBrush()->SetTransparency(150);
    C.FillRect(TRect{0, 0, 4, 4});
  }
  const Integer Grey = PixelAt(B.get(), 1, 1) & 0xFF;
  if (GetParam())
    EXPECT_NEAR(Grey, 255 - 150, 1);
  else
    EXPECT_EQ(Grey, 0);
  for (const auto& [X, Y] : {std::pair{0, 0}, {3, 0}, {0, 3}, {3, 3}})
    EXPECT_EQ(PixelAt(B.get(), X, Y) & 0xFF, Grey);
  for (const auto& [X, Y] : {std::pair{4, 0}, {0, 4}, {4, 4}}) EXPECT_EQ(PixelAt(B.get(), X, Y), clWhite);
}

// Anti-aliasing shows as in-between shades at the curve, through the interface only.
TEST_P(TIECanvasPaths, AntiAliasedEllipseOnlyThroughTheInterface) {
  auto B = SolidBitmap(20, 20, clWhite);
  {
    TIECanvas C(B->GetCanvas(), true, true);
    C.GetPen()->SetColor(clBlack);
    C.GetBrush()->SetColor(clBlack);
    C.Ellipse(2, 2, 18, 18);
  }
  std::set<TColor> Shades;
  for (Integer Y = 0; Y < 20; ++Y)
    for (Integer X = 0; X < 20; ++X) Shades.insert(PixelAt(B.get(), X, Y));
  EXPECT_EQ(PixelAt(B.get(), 10, 10), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 2, 2), clWhite);
  EXPECT_EQ(Shades.size() > 2, GetParam());
}

// Whether any pixel of the 3 x 3 block around (X, Y) is not white.
bool InkNear(TBitmap* B, Integer X, Integer Y) {
  for (Integer Dy = -1; Dy <= 1; ++Dy)
    for (Integer Dx = -1; Dx <= 1; ++Dx)
      if (PixelAt(B, X + Dx, Y + Dy) != clWhite) return true;
  return false;
}

// The same shapes land in the same places on both paths: filled insides, empty rounded
// corners, and the arc on the counter-clockwise side from its start to its end point.
TEST_P(TIECanvasPaths, ShapesLandWhereTheCanvasPutsThem) {
  auto B = SolidBitmap(64, 24, clWhite);
  {
    TIECanvas C(B->GetCanvas(), true, false);
    C.GetPen()->SetColor(clBlack);
    C.GetBrush()->SetColor(clBlack);
    C.RoundRect(0, 0, 20, 20, 10, 10);
    const TPoint Triangle[] = {{22, 2}, {40, 2}, {22, 20}};
    C.Polygon(Triangle);
    C.Arc(42, 0, 62, 20, 62, 10, 52, 0);
  }
  EXPECT_EQ(PixelAt(B.get(), 10, 10), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 0, 0), clWhite);
  EXPECT_EQ(PixelAt(B.get(), 19, 19), clWhite);
  EXPECT_EQ(PixelAt(B.get(), 25, 5), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 37, 17), clWhite);
  EXPECT_TRUE(InkNear(B.get(), 59, 3));   // top right of the arc's ellipse
  EXPECT_FALSE(InkNear(B.get(), 45, 3));  // top left
  EXPECT_FALSE(InkNear(B.get(), 59, 17));
}

INSTANTIATE_TEST_SUITE_P(Both, TIECanvasPaths, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Interface" : "Canvas"; });

class TIEGdiPlusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IEGdiPlusInitialize();
    IEGdiPlusLoad();
  }
  void TearDown() override { IEGdiPlusUnload(); }
};

TEST(TIEGdiPlusLoadTest, CountedLoadingAndTheAllowedFlag) {
  IEGdiPlusInitialize();
  EXPECT_FALSE(IEGdiPlusAvailable());
  IEGdiPlusLoad();
  IEGdiPlusLoad();
  IEGdiPlusUnload();
  EXPECT_TRUE(IEGdiPlusAvailable());
  IEGdiPlusUnload();
  EXPECT_FALSE(IEGdiPlusAvailable());
  // An extra unload does not count against the next users.
  IEGdiPlusUnload();
  IEGdiPlusLoad();
  IEGdiPlusLoad();
  IEGdiPlusUnload();
  EXPECT_TRUE(IEGdiPlusAvailable());
  IEGdiPlusUnload();

  IEGdiPlusSetAllowed(false);
  IEGdiPlusLoad();
  EXPECT_FALSE(IEGdiPlusAvailable());
  auto B = SolidBitmap(4, 4, clWhite);
  EXPECT_FALSE(TIECanvas(B->GetCanvas(), true, true).GetUseGdiPlus());
  IEGdiPlusUnload();
  IEGdiPlusInitialize();
  EXPECT_TRUE(IEGdiPlusAllowed());
}

// A loaded interface that was not asked for leaves the canvas path.
TEST_F(TIEGdiPlusTest, NotAskedForDrawsThroughTheCanvas) {
  auto B = SolidBitmap(4, 4, clWhite);
  TIECanvas C(B->GetCanvas(), false, true);
  EXPECT_FALSE(C.GetUseGdiPlus());
  EXPECT_EQ(C.GetPen()->GetGdiPen() != nullptr, true);  // wrappers follow IEGdiPlusEnabled
}

TEST_F(TIEGdiPlusTest, ClearedPenDrawsAgainWhenSolid) {
  auto B = SolidBitmap(12, 6, clWhite);
  TIECanvas C(B->GetCanvas(), true, false);
  C.GetPen()->SetColor(clRed);
  C.GetPen()->SetStyle(psClear);
  C.DrawLine(1, 2, 10, 2);
  EXPECT_EQ(PixelAt(B.get(), 5, 2), clWhite);
  C.GetPen()->SetStyle(psSolid);
  C.DrawLine(1, 2, 10, 2);
  EXPECT_EQ(PixelAt(B.get(), 5, 2), clRed);
  EXPECT_EQ(B->GetCanvas()->GetPen()->GetStyle(), psSolid);
}

TEST_F(TIEGdiPlusTest, ClearBrushExistsAndFillsNothingHatchKeepsItsBackground) {
  auto B = SolidBitmap(16, 16, clWhite);
  TIECanvas C(B->GetCanvas(), true, false);
  C.GetBrush()->SetColor(clBlack);
  C.GetBrush()->SetStyle(bsClear);
  ASSERT_NE(C.GetBrush()->GetGdiBrush(), nullptr);
  C.FillRect(TRect{0, 0, 16, 16});
  EXPECT_EQ(PixelAt(B.get(), 3, 3), clWhite);
  C.GetBrush()->SetStyle(bsHorizontal);
  C.FillRect(TRect{0, 0, 16, 16});
  EXPECT_EQ(PixelAt(B.get(), 3, 8), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 3, 3), clWhite);
}

// LineTo continues from the last point, and MoveTo moves it without drawing.
TEST_F(TIEGdiPlusTest, LinesFollowTheCurrentPoint) {
  auto B = SolidBitmap(12, 12, clWhite);
  TIECanvas C(B->GetCanvas(), true, false);
  C.GetPen()->SetColor(clBlack);
  C.MoveTo(1, 1);
  C.LineTo(8, 1);
  C.LineTo(8, 8);
  C.MoveTo(1, 10);
  C.LineTo(4, 10);
  EXPECT_EQ(PixelAt(B.get(), 4, 1), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 8, 5), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 2, 10), clBlack);
  EXPECT_EQ(PixelAt(B.get(), 1, 5), clWhite);
}

}  // namespace
