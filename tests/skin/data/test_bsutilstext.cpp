// Wide texts, wrapped captions, the caption button glyphs and glowing or mirrored texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/Text.h"
#include "skin/data/bsUtils.h"
#include "skin/data/bsUtilsDraw.h"

namespace {

class BsTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    B.SetPixelFormat(pf24bit);
    B.SetSize(60, 40);
    C()->GetBrush()->SetColor(clWhite);
    C()->FillRect(Rect(0, 0, 60, 40));
    C()->GetFont()->SetName("Liberation Sans");
    C()->GetFont()->SetHeight(-12);
    C()->GetFont()->SetColor(clBlack);
  }
  TCanvas* C() { return B.GetCanvas(); }
  // Rows of the 12 x 11 box at the origin, '#' for black.
  std::vector<std::string> Box() {
    std::vector<std::string> R;
    for (Integer Y = 0; Y < 11; ++Y) {
      std::string Row;
      for (Integer X = 0; X < 12; ++X) Row += C()->GetPixels(X, Y) == clBlack ? '#' : '.';
      R.push_back(Row);
    }
    return R;
  }
  TBitmap B;
};

TEST_F(BsTextTest, WideTextMeasuresAndFits) {
  EXPECT_EQ(GetWideTextWidth(C(), u"AB"), C()->TextWidth("AB"));
  EXPECT_EQ(GetWideTextHeight(C(), u"AB"), C()->TextHeight("AB"));
  std::u16string Long = u"ABCDEFG";
  FitWideTextToWidth(C(), Long, C()->TextWidth("AB..."));
  EXPECT_EQ(Long, u"AB...");
  std::u16string Fits = u"AB";
  FitWideTextToWidth(C(), Fits, 100);
  EXPECT_EQ(Fits, u"AB");
}

TEST_F(BsTextTest, WrapCaptionBreaksOrShortensLongWords) {
  const Integer W = C()->TextWidth("MMM");
  // Break words: a space before the first character that no longer fits the width.
  EXPECT_EQ(bsUtilsDraw::WrapCaptionText(C(), "ab MMMMMM cd", W, true), "ab MMM MMM cd");
  // Otherwise the word's last three characters become "..." and the rest is left out.
  EXPECT_EQ(bsUtilsDraw::WrapCaptionText(C(), "ab MMMMMM cd", W, false), "ab ...  cd");
  EXPECT_EQ(bsUtilsDraw::WrapCaptionText(C(), "ab cd", W, false), "ab cd");
}

TEST_F(BsTextTest, CaptionGlyphs) {
  DrawMaximizeGlyph(C(), 0, 0, clBlack);
  EXPECT_EQ(Box(), (std::vector<std::string>{"###########.", "###########.", "#.........#.", "#.........#.",
                                             "#.........#.", "#.........#.", "#.........#.", "#.........#.",
                                             "#.........#.", "###########.", "............"}));
  SetUp();
  DrawRollDownGlyph(C(), 0, 0, clBlack);
  EXPECT_EQ(Box(), (std::vector<std::string>{"............", "............", ".#########..", "..#######...",
                                             "...#####....", "....###.....", ".....#......", "............",
                                             "............", "............", "............"}));
  SetUp();
  DrawRollUpGlyph(C(), 0, 0, clBlack);
  EXPECT_EQ(Box()[6], ".#########..");
  EXPECT_EQ(Box()[2], ".....#......");
  SetUp();
  DrawMinimizeGlyph(C(), 0, 0, clBlack);
  EXPECT_EQ(Box()[9], ".########...");
  DrawMinimizeToTrayGlyph(C(), 0, 0, clBlack);
  EXPECT_EQ(Box()[4], "..#####.....");
}

TEST_F(BsTextTest, GlowSurroundsTheTextInTheGlowColour) {
  const TRect R = Rect(15, 10, 45, 30);
  const Integer Result = DrawGlowText(C(), R, "I", DT_SINGLELINE | DT_CENTER | DT_VCENTER, 0, clRed, 4);
  // DrawText's answer for a vertically centred line: from the top to the text's bottom.
  EXPECT_EQ(Result, (20 - C()->TextHeight("I")) / 2 + C()->TextHeight("I"));
  // Left of the stroke, inside the halo: tinted red, not white and not grey.
  Integer Tinted = 0;
  for (Integer X = 20; X < 40; ++X) {
    const COLORREF P = ColorToRGB(C()->GetPixels(X, 20));
    if (GetRValue(P) == 255 && GetGValue(P) < 255 && GetGValue(P) == GetBValue(P)) ++Tinted;
  }
  EXPECT_GT(Tinted, 2);
  EXPECT_EQ(C()->GetPixels(2, 2), clWhite);  // far outside the halo
}

TEST_F(BsTextTest, ReflectionLiesBelowTheText) {
  const TRect R = Rect(0, 0, 60, 20);
  DrawReflectionText(C(), R, "HHHH", DT_SINGLELINE | DT_CENTER | DT_TOP, 0, clBlue);
  Integer BlueBelow = 0, BlueAbove = 0;
  for (Integer Y = 0; Y < 40; ++Y)
    for (Integer X = 0; X < 60; ++X) {
      const COLORREF P = ColorToRGB(C()->GetPixels(X, Y));
      if (GetBValue(P) > GetRValue(P)) ++(Y >= C()->TextHeight("H") ? BlueBelow : BlueAbove);
    }
  EXPECT_GT(BlueBelow, 0);
  EXPECT_EQ(BlueAbove, 0);
}

TEST_F(BsTextTest, ReflectionOfATextFillingItsRectangleStaysInside) {
  // The text's height equals the rectangle's: the row just below the text is past the bitmap.
  const Integer TH = C()->TextHeight("H");
  DrawReflectionText(C(), Rect(0, 0, 60, TH), "HHHH", DT_SINGLELINE | DT_CENTER | DT_TOP, 0, clBlue);
  Integer Blue = 0;
  for (Integer Y = TH; Y < 2 * TH; ++Y)
    for (Integer X = 0; X < 60; ++X) {
      const COLORREF P = ColorToRGB(C()->GetPixels(X, Y));
      if (GetBValue(P) > GetRValue(P)) ++Blue;
    }
  EXPECT_GT(Blue, 0);
}

}  // namespace
