#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/core/iecolorspace.h"

namespace {

TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

TEST(ColorSpace, WhiteAndBlackMapToLabEndsAndBack) {
  const TIECIELabPixel White = IERGB2CIELab(Rgb(255, 255, 255));
  EXPECT_NEAR(White.l, 255, 1);
  EXPECT_NEAR(White.a, 0, 1);
  EXPECT_NEAR(White.b, 0, 1);
  EXPECT_EQ(IECIELab2RGB(White), Rgb(255, 255, 255));

  EXPECT_EQ(IERGB2CIELab(Rgb(0, 0, 0)), (TIECIELabPixel{0, 0, 0}));
  EXPECT_EQ(IECIELab2RGB(TIECIELabPixel{0, 0, 0}), Rgb(0, 0, 0));
}

TEST(ColorSpace, LabSignsFollowTheColourAxes) {
  // Red lies towards +a and +b, blue towards -b, green towards -a: a swapped sign or axis shows.
  const TIECIELabPixel Red = IERGB2CIELab(Rgb(255, 0, 0));
  EXPECT_NEAR(Red.l, 53 * 2.55, 2);
  EXPECT_NEAR(Red.a, 80, 2);
  EXPECT_NEAR(Red.b, 67, 2);
  const TIECIELabPixel Blue = IERGB2CIELab(Rgb(0, 0, 255));
  EXPECT_NEAR(Blue.b, -107, 2);
  const TIECIELabPixel Green = IERGB2CIELab(Rgb(0, 255, 0));
  EXPECT_NEAR(Green.a, -86, 2);
}

TEST(ColorSpace, LabRoundTripIsStable) {
  // a and b are whole units, so dark saturated colours come back a few levels off (a unit of a
  // moves red near 0 by over ten levels); what must hold is that the Lab value comes back
  // within a unit and that greys survive.
  for (int R = 0; R < 256; R += 15)
    for (int G = 0; G < 256; G += 15)
      for (int B = 0; B < 256; B += 15) {
        const TIECIELabPixel Lab = IERGB2CIELab(Rgb(R, G, B));
        const TIECIELabPixel Again = IERGB2CIELab(IECIELab2RGB(Lab));
        EXPECT_LE(std::abs(Again.l - Lab.l), 1) << R << "," << G << "," << B;
        EXPECT_LE(std::abs(Again.a - Lab.a), 1) << R << "," << G << "," << B;
        EXPECT_LE(std::abs(Again.b - Lab.b), 1) << R << "," << G << "," << B;
      }
  for (int V = 0; V < 256; ++V) {
    const TIERGBTriple Back = IECIELab2RGB(IERGB2CIELab(Rgb(V, V, V)));
    EXPECT_LE(std::abs(Back.rgbtRed - V), 1) << V;
    EXPECT_LE(std::abs(Back.rgbtGreen - V), 1) << V;
    EXPECT_LE(std::abs(Back.rgbtBlue - V), 1) << V;
  }
}

TEST(ColorSpace, OutOfGamutLabIsClamped) {
  const TIERGBTriple C = IECIELab2RGB(TIECIELabPixel{255, 127, 127});
  EXPECT_EQ(C.rgbtRed, 255);
  EXPECT_EQ(C.rgbtBlue, 0);
}

TEST(ColorSpace, YCbCrConversionTruncatesAndClamps) {
  TIERGBTriple C;
  IEYCbCr2RGB(C, 255, 128, 255);
  EXPECT_EQ(C.rgbtRed, 255);
  IEYCbCr2RGB(C, 100, 128, 128);
  EXPECT_EQ(C, Rgb(100, 100, 100));
  // 100 + 1.402 x 10 = 114.02 and 100 - 0.71414 x 10 = 92.86: truncation, not rounding.
  IEYCbCr2RGB(C, 100, 128, 138);
  EXPECT_EQ(C, Rgb(114, 92, 100));
  IEYCbCr2RGB(C, 0, 0, 128);
  EXPECT_EQ(C.rgbtBlue, 0);
  EXPECT_EQ(C.rgbtGreen, 44);
}

TEST(ColorSpace, PlainCmykArithmetic) {
  EXPECT_EQ(IERGB2CMYK(Rgb(0, 0, 0)), (TCMYK{0, 0, 0, 1}));
  EXPECT_EQ(IERGB2CMYK(Rgb(255, 255, 255)), (TCMYK{255, 255, 255, 255}));
  EXPECT_EQ(IERGB2CMYK(Rgb(100, 50, 200)), (TCMYK{127, 63, 255, 200}));
  TIERGBTriple C;
  IECMYK2RGB(TCMYK{127, 63, 255, 200}, C);
  EXPECT_EQ(C, Rgb(99, 49, 200));
  for (int R = 0; R < 256; R += 15)
    for (int G = 0; G < 256; G += 15)
      for (int B = 0; B < 256; B += 15) {
        IECMYK2RGB(IERGB2CMYK(Rgb(R, G, B)), C);
        EXPECT_LE(std::abs(C.rgbtRed - R), 1);
        EXPECT_LE(std::abs(C.rgbtGreen - G), 1);
        EXPECT_LE(std::abs(C.rgbtBlue - B), 1);
      }
}

TEST(ColorSpace, GreyLevelUsesTheLibraryWeights) {
  EXPECT_EQ(IEGray8(Rgb(255, 255, 255)), 255);
  EXPECT_EQ(IEGray8(Rgb(255, 0, 0)), 53);
  EXPECT_EQ(IEGray8(Rgb(0, 255, 0)), 181);
  EXPECT_EQ(IEGray8(Rgb(0, 0, 255)), 20);
}

TEST(ColorSpace, PowerFunctions) {
  EXPECT_EQ(IEPow(2, 10), 1024);
  EXPECT_EQ(IEPow(0, 0), 1);
  EXPECT_EQ(IEPow(0, 3), 0);
  EXPECT_EQ(IEPow(0, -3), 0);
  EXPECT_DOUBLE_EQ(IEPow(4, 0.5), 2);
  EXPECT_EQ(IEPow(2, -2), 0.25);
  EXPECT_EQ(IEPow(-3, 3), -27);
  EXPECT_EQ(IEPow(0, 3e9), 0);
  EXPECT_EQ(IEPower(0, 3), 0);
  EXPECT_EQ(IEPower(5, 0), 1);
  EXPECT_EQ(IEPower(-2, 3), -8);
  EXPECT_NEAR(static_cast<double>(IEPower(8, 1.0L / 3)), 2, 1e-15);
  EXPECT_EQ(IEIntPower(2, -2), 0.25L);
  EXPECT_EQ(IEIntPower(3, 0), 1);
  EXPECT_EQ(IEIntPower(-2, 5), -32);
}

}  // namespace
