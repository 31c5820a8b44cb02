// Converting a bitmap in place: memory, temporary files, a platform bitmap, and an allocation
// that fails.
#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "imaging/core/iecolorspace.h"
#include "platform/classes/Bitmap.h"

namespace {

std::unique_ptr<TIEBitmap> MakeGradient(Integer Width, Integer Height) {
  return MakeRGB(Width, Height, [](Integer X, Integer Y) { return Rgb(X * 20, Y * 30, 200); });
}

class ConvertInPlace : public ::testing::TestWithParam<bool> {};

TEST_P(ConvertInPlace, RoundTripThroughEveryLosslessFormatKeepsThePixels) {
  TConvertSettingsGuard Settings;
  if (GetParam()) Settings.UseFiles();
  auto B = MakeGradient(5, 4);
  const std::vector<Byte> Before = AllRows(*B);
  for (const TIEPixelFormat Via : {ieRGB48, ie32RGB}) {
    B->ConvertToPixelFormat(Via);
    EXPECT_EQ(B->GetPixelFormat(), Via);
    EXPECT_EQ(B->GetWidth(), 5);
    EXPECT_EQ(B->GetHeight(), 4);
    B->ConvertToPixelFormat(ie24RGB);
    EXPECT_EQ(AllRows(*B), Before) << int(Via);
  }
  if (GetParam()) {
    EXPECT_EQ(B->GetLocation(), ieFile);
  }
}

TEST_P(ConvertInPlace, GreyToPaletteAndBackKeepsLevelsAndTheAlphaChannel) {
  TConvertSettingsGuard Settings;
  if (GetParam()) Settings.UseFiles();
  TIEBitmap B(16, 2, ie8g);
  for (Integer X = 0; X < 16; ++X) {
    B.SetPixel8(X, 0, X * 16);
    B.SetPixel8(X, 1, 255 - X);
  }
  B.SetAlpha(3, 1, 9);
  const std::vector<Byte> Before = AllRows(B);
  B.ConvertToPixelFormat(ie8p);
  ASSERT_EQ(B.GetPaletteLen(), 256);
  EXPECT_EQ(B.GetPaletteBuffer()[200], Rgb(200, 200, 200));
  B.ConvertToPixelFormat(ie8g);
  EXPECT_EQ(AllRows(B), Before);
  ASSERT_TRUE(B.HasAlphaChannel());
  EXPECT_EQ(B.GetAlpha(3, 1), 9);
  EXPECT_EQ(B.GetAlpha(2, 1), 255);
}

INSTANTIATE_TEST_SUITE_P(Storage, ConvertInPlace, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "File" : "Memory"; });

TEST(ConvertInPlaceEdges, LabRoundTripGoesThroughThePixelConversions) {
  auto B = MakeRGB(16, 16, [](Integer X, Integer Y) { return Rgb(X * 16, Y * 16, 128); });
  B->ConvertToPixelFormat(ieCIELab);
  EXPECT_EQ(B->GetPixelFormat(), ieCIELab);
  B->ConvertToPixelFormat(ie24RGB);
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 16; ++X)
      EXPECT_EQ(B->GetPixel24(X, Y), IECIELab2RGB(IERGB2CIELab(Rgb(X * 16, Y * 16, 128)))) << X << "," << Y;
}

TEST(ConvertInPlaceEdges, SameFormatIsLeftAlone) {
  auto B = MakeGradient(3, 3);
  void* Row = B->GetScanline(0);
  B->SetPixelFormat(ie24RGB);
  EXPECT_EQ(B->GetScanline(0), Row);
  // Asked directly, the conversion keeps the pixels too.
  const std::vector<Byte> Before = AllRows(*B);
  B->ConvertToPixelFormat(ie24RGB);
  EXPECT_EQ(B->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(AllRows(*B), Before);
}

TEST(ConvertInPlaceEdges, EmptyBitmapTakesTheNewFormat) {
  TIEBitmap B;
  B.ConvertToPixelFormat(ie8g);
  EXPECT_EQ(B.GetPixelFormat(), ie8g);
  EXPECT_EQ(B.GetWidth(), 0);
}

TEST(ConvertInPlaceEdges, FailedAllocationLeavesThePictureUnchanged) {
  TConvertSettingsGuard Settings;
  auto B = MakeGradient(50, 40);
  B->SetAlpha(1, 1, 7);
  const std::vector<Byte> Before = AllRows(*B);
  // The 24-bit picture's block is 6,000 bytes; a 48-bit one needs twice that.
  Settings.FailFrom(10000);
  B->ConvertToPixelFormat(ieRGB48);
  EXPECT_EQ(B->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(B->GetWidth(), 50);
  EXPECT_EQ(B->GetHeight(), 40);
  EXPECT_EQ(AllRows(*B), Before);
  ASSERT_TRUE(B->HasAlphaChannel());
  EXPECT_EQ(B->GetAlpha(1, 1), 7);
}

TEST(ConvertInPlaceEdges, FailedWorkingCopyLeavesThePictureUnchanged) {
  // 48 bits to a palette reduce a 24-bit copy; when that copy cannot be had, the 8-bit result
  // cannot be made either.
  TConvertSettingsGuard Settings;
  TIEBitmap B(50, 40, ieRGB48);
  B.Fill(0x00FF00);
  const std::vector<Byte> Before = AllRows(B);
  Settings.FailFrom(5000);  // the 8-bit picture (2,000 bytes) fits, the 24-bit copy does not
  B.ConvertToPixelFormat(ie8p);
  EXPECT_EQ(B.GetPixelFormat(), ieRGB48);
  EXPECT_EQ(AllRows(B), Before);
}

// A bitmap over a caller's 24-bit platform bitmap.
struct TPlatformPicture {
  TBitmap Platform;
  TIEBitmap Bitmap;
  TPlatformPicture(Integer Width, Integer Height) {
    Platform.SetPixelFormat(pf24bit);
    Platform.SetSize(Width, Height);
    Bitmap.EncapsulateTBitmap(&Platform, true);
  }
};

TEST(ConvertPlatformBitmap, TwentyFourToOneBitDithersInPlaceWithNearWhiteAsWhite) {
  TPlatformPicture P(8, 1);
  P.Bitmap.SetBlackWhiteConversion(0);
  // 252 shifts to level 63, which the matrix's 63 at (7, 0) would leave black: only the
  // near-white rule sets it.
  for (Integer X = 0; X < 8; ++X) P.Bitmap.SetPixel24(X, 0, X < 4 ? Rgb(0, 0, 0) : Rgb(252, 252, 252));
  P.Bitmap.ConvertToPixelFormat(ie1g);
  EXPECT_EQ(P.Platform.GetPixelFormat(), pf1bit);
  EXPECT_EQ(P.Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(P.Bitmap.GetLocation(), ieTBitmap);
  for (Integer X = 0; X < 8; ++X) EXPECT_EQ(GetBit(P.Bitmap, X, 0), X >= 4) << X;
}

TEST(ConvertPlatformBitmap, TwentyFourToGreyAndOneBitToTwentyFour) {
  TPlatformPicture P(2, 1);
  P.Bitmap.SetPixel24(0, 0, Rgb(10, 20, 30));
  P.Bitmap.SetPixel24(1, 0, Rgb(255, 255, 255));
  P.Bitmap.ConvertToPixelFormat(ie8g);
  EXPECT_EQ(P.Platform.GetPixelFormat(), pf8bit);
  EXPECT_EQ(P.Bitmap.GetPixelFormat(), ie8g);
  EXPECT_EQ(P.Bitmap.GetPixel8(0, 0), 18);

  TPlatformPicture Bits(3, 1);
  Bits.Bitmap.SetPixel24(0, 0, Rgb(0, 0, 0));
  Bits.Bitmap.SetPixel24(1, 0, Rgb(255, 255, 255));
  Bits.Bitmap.SetPixel24(2, 0, Rgb(0, 0, 0));
  Bits.Bitmap.SetBlackWhiteConversion(1);
  Bits.Bitmap.ConvertToPixelFormat(ie1g);
  Bits.Bitmap.ConvertToPixelFormat(ie24RGB);
  EXPECT_EQ(Bits.Platform.GetPixelFormat(), pf24bit);
  EXPECT_EQ(Bits.Bitmap.GetPixel24(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(Bits.Bitmap.GetPixel24(1, 0), Rgb(255, 255, 255));
}

TEST(ConvertPlatformBitmap, FormatsThePlatformCannotHoldLeaveItAsItIs) {
  TPlatformPicture P(2, 2);
  P.Bitmap.SetPixel24(1, 1, Rgb(1, 2, 3));
  for (const TIEPixelFormat To : {ie16g, ie32f, ieCMYK, ieRGB48, ieCIELab}) {
    P.Bitmap.ConvertToPixelFormat(To);
    EXPECT_EQ(P.Bitmap.GetPixelFormat(), ie24RGB) << int(To);
    EXPECT_EQ(P.Bitmap.GetRowLen(), 8);
    EXPECT_EQ(P.Bitmap.GetPixel24(1, 1), Rgb(1, 2, 3));
  }
}

TEST(ConvertPlatformBitmap, EmptyPlatformBitmapTakesOneOrTwentyFourBits) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  TIEBitmap B;
  B.EncapsulateTBitmap(&Platform, true);
  B.ConvertToPixelFormat(ie1g);
  EXPECT_EQ(Platform.GetPixelFormat(), pf1bit);
  B.ConvertToPixelFormat(ie24RGB);
  EXPECT_EQ(Platform.GetPixelFormat(), pf24bit);
}

}  // namespace
