// The JPEG filter's pixels: every colour space written and read back, the codec's own decoder
// as the oracle of byte order, native grey and CMYK, scaled and preview reads.
#include <gtest/gtest.h>

#include "imaging/core/iecolorspace.h"
#include "tests/imaging/io/JpegTestSupport.h"

using namespace jpegtest;

namespace {

struct TColorSpaceCase {
  Byte ColorSpace;
  Integer SamplesPerPixel;
  bool Progressive;
};

class TJpegColorSpaces : public testing::TestWithParam<TColorSpaceCase> {};

TEST_P(TJpegColorSpaces, RoundTripKeepsPicture) {
  const TColorSpaceCase Case = GetParam();
  auto Source = Gradient(67, 45);  // not a multiple of the block size
  TIOParamsVals Written;
  Written.JpegColorSpace = Case.ColorSpace;
  Written.JpegQuality = 95;
  Written.JpegProgressive = Case.Progressive;
  const std::string Jpeg = Encode(*Source, &Written);

  TIOParamsVals Read;
  TDecoded Result = Decode(Jpeg, Read);
  ASSERT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Rows, 45);
  EXPECT_EQ(Read.JpegColorSpace, Case.ColorSpace);
  EXPECT_EQ(Read.SamplesPerPixel, Case.SamplesPerPixel);
  EXPECT_EQ(Read.JpegProgressive, Case.Progressive);
  EXPECT_EQ(Read.Width, 67);
  EXPECT_EQ(Read.Height, 45);
  ASSERT_EQ(Result.Bitmap->GetPixelFormat(), ie24RGB);
  if (Case.ColorSpace == 1) {
    // Grey comes back as equal channels near the codec's luminance.
    const TIERGBTriple P = Result.Bitmap->GetPixel24(30, 20);
    EXPECT_EQ(P.rgbtRed, P.rgbtGreen);
    EXPECT_EQ(P.rgbtGreen, P.rgbtBlue);
    const TIERGBTriple S = Source->GetPixel24(30, 20);
    EXPECT_NEAR(P.rgbtGreen, (S.rgbtRed * 299 + S.rgbtGreen * 587 + S.rgbtBlue * 114) / 1000, 4);
  } else {
    EXPECT_LE(MaxDifference(*Source, *Result.Bitmap), 8);
  }
}

INSTANTIATE_TEST_SUITE_P(All, TJpegColorSpaces,
                         testing::Values(TColorSpaceCase{0, 3, false}, TColorSpaceCase{1, 1, false},
                                         TColorSpaceCase{2, 3, false}, TColorSpaceCase{3, 4, false},
                                         TColorSpaceCase{4, 4, false}, TColorSpaceCase{2, 3, true},
                                         TColorSpaceCase{1, 1, true}, TColorSpaceCase{0, 3, true}));

// The codec's own decoder reads the file the same: catches a red/blue exchange on either side.
TEST(JpegFilterPixels, MatchTheCodecsOwnDecoder) {
  for (Byte ColorSpace : {Byte{0}, Byte{2}}) {
    auto Source = Gradient(40, 24);
    TIOParamsVals Written;
    Written.JpegColorSpace = ColorSpace;
    const std::string Jpeg = Encode(*Source, &Written);
    const std::string Rgb = DjpegPixels(Jpeg);
    ASSERT_EQ(Rgb.size(), 40u * 24 * 3) << "djpeg is missing or refused the file";
    TDecoded Result = Decode(Jpeg);
    for (Integer Y = 0; Y < 24; ++Y)
      for (Integer X = 0; X < 40; ++X) {
        const TIERGBTriple P = Result.Bitmap->GetPixel24(X, Y);
        const size_t At = (static_cast<size_t>(Y) * 40 + X) * 3;
        ASSERT_EQ(P.rgbtRed, static_cast<Byte>(Rgb[At])) << X << "," << Y;
        ASSERT_EQ(P.rgbtGreen, static_cast<Byte>(Rgb[At + 1]));
        ASSERT_EQ(P.rgbtBlue, static_cast<Byte>(Rgb[At + 2]));
      }
  }
}

TEST(JpegFilterPixels, NativeGreyAndCMYKKeepTheFilesSamples) {
  auto Source = Gradient(32, 16);
  TIOParamsVals Grey;
  Grey.JpegColorSpace = 1;
  TIOParamsVals Read;
  Read.NativePixelFormat = true;
  TDecoded Result = Decode(Encode(*Source, &Grey), Read);
  EXPECT_EQ(Result.Bitmap->GetPixelFormat(), ie8g);

  TIOParamsVals Cmyk;
  Cmyk.JpegColorSpace = 3;
  Cmyk.JpegQuality = 100;
  const std::string Jpeg = Encode(*Source, &Cmyk);
  TIOParamsVals Native;
  Native.NativePixelFormat = true;
  Result = Decode(Jpeg, Native);
  ASSERT_EQ(Result.Bitmap->GetPixelFormat(), ieCMYK);
  // The stored (inverted) samples as the writer made them from the colour.
  const TCMYK Expected = IERGB2CMYK(Source->GetPixel24(10, 8));
  const auto* Row = static_cast<const Byte*>(Result.Bitmap->GetScanline(8)) + 10 * 4;
  EXPECT_NEAR(Row[0], Expected.c, 3);
  EXPECT_NEAR(Row[1], Expected.m, 3);
  EXPECT_NEAR(Row[2], Expected.y, 3);
  EXPECT_NEAR(Row[3], Expected.k, 3);
}

TEST(JpegFilterPixels, InvertCMYKTurnsInkAmountsIntoColours) {
  auto Source = Solid(16, 16, {255, 255, 255});  // no ink: every stored sample 255
  TIOParamsVals Cmyk;
  Cmyk.JpegColorSpace = 3;
  Cmyk.JpegQuality = 100;
  const std::string Jpeg = Encode(*Source, &Cmyk);
  TStringStream Stream(Jpeg);
  TProgress Progress;
  TIOParamsVals Params;
  TIEBitmap Bitmap;
  JpegReadStream(&Stream, nullptr, &Bitmap, Params, Progress.Record, false, false, false, true, false, false,
                 -1, false);
  // Inverted, the samples say "full ink": black.
  EXPECT_EQ(Bitmap.GetPixel24(5, 5), (TIERGBTriple{0, 0, 0}));
}

TEST(JpegFilterPixels, GreyBitmapIsWrittenAsOneComponent) {
  auto Grey = std::make_unique<TIEBitmap>(24, 8, ie8g);
  Grey->Fill(128);
  TIOParamsVals Written;
  Written.JpegColorSpace = 1;
  const std::string Jpeg = Encode(*Grey, &Written);
  const std::string Frame = SegmentPayload(Jpeg, 0xC0);
  ASSERT_GE(Frame.size(), 6u);
  EXPECT_EQ(Frame[5], 1);  // component count
  TDecoded Result = Decode(Jpeg);
  EXPECT_NEAR(Result.Bitmap->GetPixel24(3, 3).rgbtGreen, 128, 1);
}

struct TScaleCase {
  Byte JpegScale;
  Integer WantedWidth, WantedHeight;
  Integer Width, Height, Denominator;
};

class TJpegScales : public testing::TestWithParam<TScaleCase> {};

TEST_P(TJpegScales, DecodeAtTheChosenScale) {
  static const std::string Jpeg = [] {
    auto Source = Gradient(1000, 800);
    return Encode(*Source);
  }();
  const TScaleCase Case = GetParam();
  TIOParamsVals Params;
  Params.JpegScale = Case.JpegScale;
  Params.Width = Case.WantedWidth;
  Params.Height = Case.WantedHeight;
  TDecoded Result = Decode(Jpeg, Params);
  ASSERT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Bitmap->GetWidth(), Case.Width);
  EXPECT_EQ(Result.Bitmap->GetHeight(), Case.Height);
  EXPECT_EQ(Params.JpegScaleUsed, Case.Denominator);
  EXPECT_EQ(Params.FileWidth, 1000);
  EXPECT_EQ(Params.FileHeight, 800);
}

INSTANTIATE_TEST_SUITE_P(All, TJpegScales,
                         testing::Values(TScaleCase{1, 0, 0, 1000, 800, 1}, TScaleCase{2, 0, 0, 500, 400, 2},
                                         TScaleCase{3, 0, 0, 250, 200, 4}, TScaleCase{4, 0, 0, 125, 100, 8},
                                         TScaleCase{0, 100, 100, 125, 100, 8},
                                         TScaleCase{0, 130, 100, 250, 200, 4},
                                         TScaleCase{0, 1001, 10, 1000, 800, 1},
                                         TScaleCase{0, 0, 0, 1000, 800, 1},
                                         TScaleCase{9, 0, 0, 1000, 800, 1}));

TEST(JpegFilterPixels, PreviewReportsTheCodedSizeAndLeavesTheBitmap) {
  auto Source = Gradient(200, 120);
  const std::string Jpeg = Encode(*Source);
  TIOParamsVals Params;
  Params.JpegScale = 3;
  TDecoded Result = Decode(Jpeg, Params, true);
  EXPECT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Rows, 0);
  EXPECT_TRUE(Result.Bitmap->IsEmpty());
  EXPECT_EQ(Params.Width, 200);
  EXPECT_EQ(Params.Height, 120);
  EXPECT_EQ(Params.JpegScaleUsed, 4);
  EXPECT_EQ(Params.SamplesPerPixel, 3);
  EXPECT_EQ(Params.BitsPerSample, 8);
}

TEST(JpegFilterPixels, MaxRowsDecodesOnlyThatMany) {
  auto Source = Gradient(32, 48);
  TIOParamsVals Params;
  TDecoded Result = Decode(Encode(*Source), Params, false, 10);
  EXPECT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Rows, 10);
  EXPECT_EQ(Result.Bitmap->GetHeight(), 48);
}

}  // namespace
