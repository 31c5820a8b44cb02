// The bell curve and the two grey background pictures.
#include <cmath>

#include "DrawTestSupport.h"
#include "imaging/core/iedrawutils.h"
#include "platform/system/Random.h"

using namespace DrawTesting;

namespace {

TEST(TBackgroundTest, BellCurvePeaksAtMaxOverMinusOneUpToOne) {
  std::vector<Double> V;
  IEGaussianCurve(4, 130, 255, 0.5, V);
  ASSERT_EQ(V.size(), 4u);
  EXPECT_NEAR(V[0], 240.31, 0.01);
  EXPECT_NEAR(V[1], 251.15, 0.01);
  EXPECT_DOUBLE_EQ(V[2], 255);
  EXPECT_NEAR(V[3], 251.15, 0.01);
  IEGaussianCurve(1, 10, 20, 3, V);
  ASSERT_EQ(V.size(), 1u);
  EXPECT_DOUBLE_EQ(V[0], 20);
  // A wide curve: about Min at both sides.
  IEGaussianCurve(200, 160, 208, 3, V);
  EXPECT_NEAR(V[0], 160 + 48 * std::exp(-4.5), 1e-9);
  EXPECT_DOUBLE_EQ(V[100], 208);
}

TEST(TBackgroundTest, StripesRepeatFourGreysByRow) {
  TBitmap B;
  IEMakeStripeBitmap(&B, 3, 6);
  EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  ASSERT_EQ(B.GetWidth(), 3);
  ASSERT_EQ(B.GetHeight(), 6);
  const Integer Greys[6] = {240, 251, 255, 251, 240, 251};
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(PixelAt(&B, X, Y), GreyColor(Greys[Y])) << X << "," << Y;
}

// The offset (a pixel's grey less the curve's) starts at 0, stays for runs of more than 100
// pixels, is 0..10 and carries over from the end of one row to the start of the next.
TEST(TBackgroundTest, NoiseIsTheCurvePlusAnOffsetChangedNowAndThen) {
  const Integer W = 150, H = 12;
  std::vector<Double> Curve;
  IEGaussianCurve(W, 160, 208, 3, Curve);
  SetRandSeed(4711);
  TBitmap B;
  IEMakeNoiseBitmap(&B, W, H);
  EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  Integer Previous = 0, RunLength = 0, Changes = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TColor C = PixelAt(&B, X, Y);
      const Integer Offset = (C & 0xFF) - static_cast<Integer>(Curve[X]);
      ASSERT_EQ(C, GreyColor(C & 0xFF));
      ASSERT_GE(Offset, 0);
      ASSERT_LE(Offset, 10);
      if (Offset != Previous) {
        EXPECT_GT(RunLength, 100) << X << "," << Y;
        ++Changes;
        RunLength = 0;
      }
      Previous = Offset;
      ++RunLength;
    }
  EXPECT_GT(Changes, 3);
  // The platform's generator drives it: the same seed, the same picture.
  SetRandSeed(4711);
  TBitmap Again;
  IEMakeNoiseBitmap(&Again, W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) ASSERT_EQ(PixelAt(&Again, X, Y), PixelAt(&B, X, Y));
}

}  // namespace
