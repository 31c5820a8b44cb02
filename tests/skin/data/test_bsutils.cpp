// The skin library's drawing vocabulary: rectangle rules, colour mixing, text fitting, the
// button-face layout and the pixel geometry of the default glyphs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsUtils.h"

namespace {

TEST(BsUtilsTest, RectanglesAndPoints) {
  EXPECT_TRUE(IsNullPoint(Point(0, 5)));
  EXPECT_TRUE(IsNullPoint(Point(5, 0)));
  EXPECT_FALSE(IsNullPoint(Point(1, 1)));
  const TRect R = Rect(10, 10, 20, 20);
  EXPECT_TRUE(IsPointInRect(R, Point(20, 20)));
  EXPECT_FALSE(IsPointInRect(R, Point(21, 20)));
  EXPECT_FALSE(IsRectInRect(R, R));
  EXPECT_TRUE(IsRectInRect(Rect(11, 11, 19, 19), R));
  EXPECT_TRUE(IsEmptyRect(Rect(5, 5, 5, 9)));
  EXPECT_FALSE(IsEmptyRect(R));
}

TEST(BsUtilsTest, ColourMixing) {
  EXPECT_EQ(MixColors(0x000000, 0xFFFFFF), 0x7F7F7F);
  EXPECT_EQ(MixColors(0x0000FF, 0x00FF00), 0x007F7F);
  EXPECT_EQ(DarkerColor(0x6464C8, 50), 0x323264);
  EXPECT_EQ(DarkerColor(0x102030, 0), 0x102030);
}

TEST(BsUtilsTest, ButtonLayout) {
  struct TCase {
    Integer Layout, Margin, Spacing, GW, GH;
    Integer TX, TY, GX, GY;
  };
  // Rectangle (0, 0, 100, 30), text 40 x 13.
  const std::vector<TCase> Cases{
      {0, -1, 4, 16, 16, 40, 9, 20, 7},
      {1, -1, 4, 16, 16, 20, 9, 64, 7},
      {0, 3, 4, 16, 16, 23, 9, 3, 7},
      {1, 3, 4, 16, 16, 37, 9, 81, 7},
      // Without a glyph the spacing counts as nothing.
      {0, -1, 4, 0, 0, 30, 9, 30, 15},
  };
  for (const TCase& C : Cases) {
    Integer TX = -1, TY = -1, GX = -1, GY = -1;
    CalcButtonLayout(C.Layout, Rect(0, 0, 100, 30), C.GW, C.GH, 40, 13, C.Spacing, C.Margin, TX, TY, GX, GY);
    EXPECT_EQ((std::vector<Integer>{TX, TY, GX, GY}), (std::vector<Integer>{C.TX, C.TY, C.GX, C.GY}))
        << "layout " << C.Layout << " margin " << C.Margin;
  }
  Integer TX = 7, TY = 7, GX = 7, GY = 7;
  CalcButtonLayout(9, Rect(0, 0, 100, 30), 16, 16, 40, 13, 4, -1, TX, TY, GX, GY);
  EXPECT_EQ((std::vector<Integer>{TX, TY, GX, GY}), (std::vector<Integer>{7, 7, 7, 7}));
}

class BsDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    B.SetPixelFormat(pf24bit);
    B.SetSize(20, 20);
    B.GetCanvas()->GetBrush()->SetColor(clWhite);
    B.GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  }
  // The rows of the bitmap, '#' for black.
  std::vector<std::string> Rows(Integer Top, Integer Bottom) {
    std::vector<std::string> R;
    for (Integer Y = Top; Y < Bottom; ++Y) {
      std::string Row;
      for (Integer X = 0; X < 20; ++X) Row += B.GetCanvas()->GetPixels(X, Y) == clBlack ? '#' : '.';
      R.push_back(Row);
    }
    return R;
  }
  TBitmap B;
};

TEST_F(BsDrawTest, DownArrowRowsIncludeBothEnds) {
  DrawArrowGlyph(B.GetCanvas(), Rect(0, 0, 20, 20), clBlack, 4);
  EXPECT_EQ(Rows(6, 14), (std::vector<std::string>{
                             "....................",
                             ".....###########....",
                             "......#########.....",
                             ".......#######......",
                             "........#####.......",
                             ".........###........",
                             "..........#.........",
                             "....................",
                         }));
}

TEST_F(BsDrawTest, SmallUpArrow) {
  DrawSmallArrowGlyph(B.GetCanvas(), Rect(0, 0, 20, 20), clBlack, 3);
  EXPECT_EQ(Rows(7, 12), (std::vector<std::string>{
                             "....................",
                             "..........#.........",
                             ".........###........",
                             "........#####.......",
                             ".......#######......",
                         }));
}

TEST_F(BsDrawTest, DottedFocusRectAlternatesAroundTheEdges) {
  B.GetCanvas()->GetFont()->SetColor(clBlack);
  // Reduced to 4 x 4: both even, so the first corner stays unset.
  DrawDottedFocusRect(B.GetCanvas(), Rect(0, 0, 5, 5));
  const std::vector<std::string> R = Rows(0, 5);
  std::vector<std::string> Box;
  for (const std::string& Row : R) Box.push_back(Row.substr(0, 5));
  EXPECT_EQ(Box, (std::vector<std::string>{".#.#.", "#...#", ".....", "#...#", ".#.#."}));
}

TEST_F(BsDrawTest, CheckMarkIsThreePixelsThick) {
  DrawCheckMark(B.GetCanvas(), 2, 2, clBlack);
  // The mark's lowest point: (4, 9) on the first stroke.
  EXPECT_EQ(B.GetCanvas()->GetPixels(4, 9), clBlack);
  EXPECT_EQ(B.GetCanvas()->GetPixels(4, 7), clBlack);
  EXPECT_EQ(B.GetCanvas()->GetPixels(4, 10), clWhite);
  // Polylines stop before their last point.
  EXPECT_EQ(B.GetCanvas()->GetPixels(9, 4), clWhite);
}

TEST_F(BsDrawTest, FitTextToWidth) {
  TCanvas* C = B.GetCanvas();
  C->GetFont()->SetName("Liberation Sans");
  C->GetFont()->SetHeight(-11);
  std::string Fits = "AB";
  FitTextToWidth(C, Fits, 200);
  EXPECT_EQ(Fits, "AB");
  std::string Long = "ABCDEFG";
  FitTextToWidth(C, Long, C->TextWidth("AB..."));
  EXPECT_EQ(Long, "AB...");
  std::string Tiny = "ABC";
  FitTextToWidth(C, Tiny, 1);
  EXPECT_EQ(Tiny, "...");
}

}  // namespace
