// Effect bitmap morphs and effects (rounding halves to even), the stack blur and alpha from a
// mask.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "skin/data/bsEffects.h"

namespace {

void Fill(TbsEffectBmp& B, Cardinal Value) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) B.SetPixel(X, Y, Value);
}

// Column x of every row holds x in all three channels.
void FillColumns(TbsEffectBmp& B, Cardinal Offset) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) B.SetPixel(X, Y, (X + Offset) * 0x010101);
}

TEST(EffectBmpTest, CrossFadeRoundsHalvesToEvenAndLimitsK) {
  struct TCase {
    double K;
    Cardinal Expected;
  };
  const std::vector<TCase> Cases{
      {0.5, 0x808080}, {-1, 0x000000}, {2, 0xFFFFFF}, {NAN, 0x000000}, {0.25, 0x404040}};
  for (const TCase& C : Cases) {
    TbsEffectBmp Black(3, 2), White(3, 2);
    Fill(White, 0xFFFFFF);
    Black.Morph(&White, C.K);
    EXPECT_EQ(Black.GetPixel(2, 1), C.Expected) << C.K;
  }
  TbsEffectBmp A(3, 2), Other(2, 2);
  Fill(Other, 0xFFFFFF);
  A.Morph(&Other, 1);  // sizes differ: nothing
  EXPECT_EQ(A.GetPixel(0, 0), 0u);
}

TEST(EffectBmpTest, GradientRevealsTheMiddleWithSoftEdges) {
  TbsEffectBmp This(100, 20), Other(100, 20);
  Fill(Other, 0xC8C8C8);
  This.MorphGradient(&Other, 0.5);
  EXPECT_EQ(This.GetPixel(25, 3), 0xC8C8C8u);
  EXPECT_EQ(This.GetPixel(75, 3), 0xC8C8C8u);
  EXPECT_EQ(This.GetPixel(0, 3), 0u);
  EXPECT_EQ(This.GetPixel(99, 19), 0x080808u);  // 0.04 of 200
  EXPECT_EQ(This.GetPixel(24, 0), 0xC0C0C0u);   // 0.04 of this, 0.96 of 200
}

TEST(EffectBmpTest, SlidesAndPush) {
  TbsEffectBmp This(5, 1), Other(5, 1);
  FillColumns(This, 0);
  FillColumns(Other, 100);
  This.MorphLeftSlide(&Other, 0);  // at least one column
  EXPECT_EQ(This.GetPixel(0, 0), 104 * 0x010101u);
  EXPECT_EQ(This.GetPixel(1, 0), 1 * 0x010101u);

  FillColumns(This, 0);
  This.MorphRightSlide(&Other, 0.4);  // two columns of the new picture's left end at the right
  EXPECT_EQ(This.GetPixel(3, 0), 100 * 0x010101u);
  EXPECT_EQ(This.GetPixel(4, 0), 101 * 0x010101u);
  EXPECT_EQ(This.GetPixel(2, 0), 2 * 0x010101u);

  FillColumns(This, 0);
  This.MorphPush(&Other, 0);  // shift right by one, the new picture's last column at 0
  const std::vector<Cardinal> Expected{104, 0, 1, 2, 3};
  for (Integer X = 0; X < 5; ++X) EXPECT_EQ(This.GetPixel(X, 0), Expected[X] * 0x010101u) << X;
}

TEST(EffectBmpTest, OnePixelGradientsStayDefined) {
  TbsEffectBmp This(1, 3), Other(1, 3);
  Fill(Other, 0x404040);
  This.MorphLeftGradient(&Other, 0.5);
  EXPECT_EQ(This.GetPixel(0, 2), 0x404040u);  // weight 0 on the only column
  TbsEffectBmp Right(1, 1), RightOther(1, 1);
  Fill(RightOther, 0x202020);
  Right.MorphRightGradient(&RightOther, 0.5);
  EXPECT_EQ(Right.GetPixel(0, 0), 0x202020u);
}

TEST(EffectBmpTest, ColourEffects) {
  TbsEffectBmp B(2, 1);
  B.SetPixel(0, 0, 0xFF0000);
  B.SetPixel(1, 0, 0x102030);
  B.GrayScale();
  EXPECT_EQ(B.GetPixel(0, 0), 0x4C4C4Cu);  // 76.5 rounds to 76
  B.Invert();
  EXPECT_EQ(B.GetPixel(0, 0), 0xB3B3B3u);
  B.ChangeDarkness(0.5);
  EXPECT_EQ(B.GetPixel(0, 0), 0x5A5A5Au);  // 89.5 rounds to 90
  B.ChangeBrightness(1);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFFFFFFu);
}

TEST(EffectBmpTest, SplitBlurUsesTheOwnRowAtTheBorder) {
  TbsEffectBmp B(3, 2);
  B.SetPixel(0, 1, 0x000040);
  B.SetPixel(2, 1, 0x000080);
  B.SplitBlur(1);
  // The top row is blurred first: 0x10, 0x30, 0x20. Bottom row, middle: upper neighbours from
  // that changed row, lower ones from the row itself: (0x10 + 0x20 + 0x40 + 0x80) >> 2.
  EXPECT_EQ(B.GetPixel(0, 0), 0x000010u);
  EXPECT_EQ(B.GetPixel(1, 1), 0x00003Cu);
}

TEST(EffectBmpTest, RotationsAndFlip) {
  TbsEffectBmp B(3, 2);
  B.SetPixel(2, 0, 0x112233);
  TbsEffectBmp CCW(2, 3), CW(2, 3), Flip(3, 2);
  B.Rotate90CCW(&CCW);
  B.Rotate90CW(&CW);
  B.FlipVert(&Flip);
  EXPECT_EQ(CCW.GetPixel(0, 0), 0x112233u);
  EXPECT_EQ(CW.GetPixel(1, 2), 0x112233u);
  EXPECT_EQ(Flip.GetPixel(2, 1), 0x112233u);
}

TEST(EffectBmpTest, BlurAndAlphaFromMask) {
  TbsBitmap B;
  B.SetSize(5, 1);
  B.SetPixel(2, 0, 0x10900000);
  BlurBitmap(&B, 0);
  EXPECT_EQ(B.GetPixel(2, 0), 0x10900000u);
  BlurBitmap(&B, 1);
  // Weights 1 2 1 over 4 across, then the single row (edge repeated) 1 2 1 over 4 down.
  EXPECT_EQ(B.GetPixel(2, 0), 0xFF480000u);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFF240000u);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFF000000u);

  TbsBitmap Mask;
  Mask.SetSize(2, 1);
  Mask.SetPixel(0, 0, 0x00FFFFFE);
  SetAlphaFromMask(&B, &Mask);
  EXPECT_EQ(B.GetPixel(0, 0) >> 24, 254u);
  EXPECT_EQ(B.GetPixel(1, 0) >> 24, 0u);
  EXPECT_EQ(B.GetPixel(4, 0) >> 24, 255u);  // past the mask: untouched
}

}  // namespace
