#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecmykprofile.h"
#include "imaging/core/iecolorspace.h"
#include "tests/imaging/core/IccTestSupport.h"

namespace {

using namespace icctest;

TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

// Profile conversion on for one test, as the input/output library's start-up sets it.
class CMYKProfile : public testing::Test {
 protected:
  void SetUp() override { IECMYKProfileConversion = true; }
  void TearDown() override { IECMYKProfileConversion = false; }
};

TEST_F(CMYKProfile, BuiltInProfileIsAVersion2PrinterProfileForCMYKOverLab) {
  ASSERT_TRUE(IELoadCMYKProfile());
  const TIEICC& ICC = *IECMYKProfile;
  ASSERT_GT(ICC.GetRawLength(), 128);
  const Byte* Header = ICC.GetRaw();
  EXPECT_EQ(Header[8], 2);
  EXPECT_EQ(Header[9], 0x20);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Header + 12), 4), "prtr");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Header + 16), 4), "CMYK");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Header + 20), 4), "Lab ");
  EXPECT_EQ(ICC.GetDescription(), "Built-in CMYK");
  TProfileHandle Opened = OpenBytes(ICC);
  for (cmsTagSignature Tag :
       {cmsSigAToB0Tag, cmsSigAToB1Tag, cmsSigAToB2Tag, cmsSigBToA0Tag, cmsSigBToA1Tag, cmsSigBToA2Tag})
    EXPECT_TRUE(cmsIsTag(Opened.get(), Tag)) << std::hex << Tag;
  // Both transforms were made while loading, to be reused for every pixel.
  EXPECT_TRUE(IECMYKProfile->IsTransformReady());
  ASSERT_TRUE(IESRGBProfile);
  EXPECT_TRUE(IESRGBProfile->IsTransformReady());
  EXPECT_TRUE(IELoadCMYKProfile());  // once made, only asked
}

// Ink values widened as (255 - stored) x 257, results narrowed to their high bytes.
TEST_F(CMYKProfile, ConversionsMeetTheLibraryReference) {
  ASSERT_TRUE(IELoadCMYKProfile());
  TProfileHandle CMYK = OpenBytes(*IECMYKProfile);
  TProfileHandle SRGB(cmsCreate_sRGBProfile());
  TTransformHandle ToRGB = Reference(CMYK.get(), TYPE_CMYK_16, SRGB.get(), TYPE_RGB_16);
  TTransformHandle ToCMYK = Reference(SRGB.get(), TYPE_RGB_16, CMYK.get(), TYPE_CMYK_16);
  for (int V = 0; V < 256; V += 17) {
    const TCMYK Stored{static_cast<Byte>(V), static_cast<Byte>(255 - V), static_cast<Byte>(V / 2),
                       static_cast<Byte>(255 - V / 3)};
    const Word Inks[4] = {
        static_cast<Word>((255 - Stored.c) * 257), static_cast<Word>((255 - Stored.m) * 257),
        static_cast<Word>((255 - Stored.y) * 257), static_cast<Word>((255 - Stored.k) * 257)};
    Word Out[3];
    cmsDoTransform(ToRGB.get(), Inks, Out, 1);
    TIERGBTriple RGB;
    IECMYK2RGB(Stored, RGB);
    EXPECT_EQ(RGB, Rgb(Out[0] >> 8, Out[1] >> 8, Out[2] >> 8)) << V;

    const TIERGBTriple Colour =
        Rgb(static_cast<Byte>(V), static_cast<Byte>(V * 3), static_cast<Byte>(255 - V));
    const Word In[3] = {static_cast<Word>(Colour.rgbtRed * 257), static_cast<Word>(Colour.rgbtGreen * 257),
                        static_cast<Word>(Colour.rgbtBlue * 257)};
    Word Ink[4];
    cmsDoTransform(ToCMYK.get(), In, Ink, 1);
    EXPECT_EQ(IERGB2CMYK(Colour),
              (TCMYK{static_cast<Byte>(255 - (Ink[0] >> 8)), static_cast<Byte>(255 - (Ink[1] >> 8)),
                     static_cast<Byte>(255 - (Ink[2] >> 8)), static_cast<Byte>(255 - (Ink[3] >> 8))}))
        << V;
  }
}

TEST_F(CMYKProfile, ThePrinterBehavesLikeInkOnPaper) {
  TIERGBTriple C;
  IECMYK2RGB(TCMYK{255, 255, 255, 255}, C);  // no ink
  EXPECT_GE(std::min({C.rgbtRed, C.rgbtGreen, C.rgbtBlue}), 254);
  IECMYK2RGB(TCMYK{255, 255, 255, 0}, C);  // full black
  EXPECT_LE(C.rgbtRed + C.rgbtGreen + C.rgbtBlue, 6);
  IECMYK2RGB(TCMYK{0, 255, 255, 255}, C);  // full cyan
  EXPECT_LE(C.rgbtRed, 2);
  EXPECT_GE(C.rgbtGreen, 250);

  const TCMYK White = IERGB2CMYK(Rgb(255, 255, 255));
  EXPECT_GE(std::min({White.c, White.m, White.y, White.k}), 253);
  const TCMYK Red = IERGB2CMYK(Rgb(255, 0, 0));  // magenta and yellow, no cyan
  EXPECT_GE(Red.c, 250);
  EXPECT_LT(std::max(Red.m, Red.y), 32);
  // Greys are black ink alone and come back to their level.
  for (int V = 30; V < 256; V += 15) {
    const TCMYK Grey = IERGB2CMYK(Rgb(V, V, V));
    EXPECT_GE(std::min({Grey.c, Grey.m, Grey.y}), 250) << V;
    IECMYK2RGB(Grey, C);
    EXPECT_NEAR(C.rgbtGreen, V, 1) << V;
  }
  // Colours inside the gamut survive the tables (its clipped edge strays further).
  for (int R = 51; R < 255; R += 51)
    for (int G = 51; G < 255; G += 51)
      for (int B = 51; B < 255; B += 51) {
        IECMYK2RGB(IERGB2CMYK(Rgb(R, G, B)), C);
        EXPECT_NEAR(C.rgbtRed, R, 10) << R << "," << G << "," << B;
        EXPECT_NEAR(C.rgbtGreen, G, 10) << R << "," << G << "," << B;
        EXPECT_NEAR(C.rgbtBlue, B, 10) << R << "," << G << "," << B;
      }
}

TEST_F(CMYKProfile, BitmapPixelsGoThroughTheProfile) {
  const TCMYK Ink{100, 200, 50, 180};
  TIEBitmap Bitmap(2, 1, ieCMYK);
  static_cast<TCMYK*>(Bitmap.GetScanline(0))[1] = Ink;
  TIERGBTriple Expected;
  IECMYK2RGB(Ink, Expected);
  EXPECT_EQ(Bitmap.GetPixelRGB(1, 0), Expected);
  EXPECT_NE(Expected, Rgb(100 * 180 / 255, 200 * 180 / 255, 50 * 180 / 255));  // the arithmetic's answer
}

TEST(CMYKArithmetic, UsedWhileProfileConversionIsOff) {
  ASSERT_FALSE(IECMYKProfileConversion);  // the bitmap core's own start
  TIERGBTriple C;
  IECMYK2RGB(TCMYK{0, 255, 255, 255}, C);
  EXPECT_EQ(C, Rgb(0, 255, 255));
  IECMYK2RGB(TCMYK{17, 99, 201, 0}, C);
  EXPECT_EQ(C, Rgb(0, 0, 0));
  EXPECT_EQ(IERGB2CMYK(Rgb(255, 0, 0)), (TCMYK{255, 0, 0, 255}));
}

}  // namespace
