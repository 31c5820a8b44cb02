#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/ieutilstext.h"

namespace {

TEST(UtilsText, FloatTextUsesADot) {
  EXPECT_EQ(IEFloatToStrDot(2.25), "2.25");
  EXPECT_EQ(IEFloatToStrDot(-0.5), "-0.5");
  EXPECT_EQ(IEFloatToStrDot(3), "3");
  EXPECT_EQ(IEFloatToStrDot2(1.5), "1.5");
}

TEST(UtilsText, StrToFloatTakesEitherSeparator) {
  EXPECT_EQ(IEStrToFloatDef("2.25", 7), 2.25L);
  EXPECT_EQ(IEStrToFloatDef("2,25", 7), 2.25L);
  EXPECT_EQ(IEStrToFloatDef("-1,5", 7), -1.5L);
  EXPECT_EQ(IEStrToFloatDef("abc", 7), 7.0L);
  EXPECT_EQ(IEStrToFloatDef("", 7), 7.0L);
  EXPECT_EQ(IEStrToFloatDef("1,2,3", 7), 7.0L);
}

TEST(UtilsText, FloatToFraction) {
  struct TCase {
    double Value, Tolerance;
    Integer Numerator, Denominator;
  };
  const TCase Cases[] = {
      {0.5, 5e-9, 1, 2},
      {-1.5, 5e-9, -3, 2},
      {3, 5e-9, 3, 1},
      {-4, 5e-9, -4, 1},
      {0, 5e-9, 0, 1},
      {1e-20, 5e-9, 1, 999999999},
      {-1e-20, 5e-9, -1, 999999999},
      {1e20, 5e-9, 999999999, 1},
      {0.75, 5e-9, 3, 4},
      {72.5, 5e-9, 145, 2},
      {1.0 / 3, 5e-9, 1, 3},
      {3.14159265358979, 2e-3, 22, 7},  // stops at the first close enough term
      {3.14159265358979, 5e-9, 103993, 33102},
      {3e9, 5e-9, 999999999, 1},  // beyond 32 bits: the cap, not a wrapped numerator
  };
  for (const TCase& Case : Cases) {
    Integer N = 0, D = 0;
    IEFloatToFraction(N, D, Case.Value, Case.Tolerance);
    EXPECT_EQ(N, Case.Numerator) << Case.Value;
    EXPECT_EQ(D, Case.Denominator) << Case.Value;
  }
}

TEST(UtilsText, FractionDenominatorStaysBounded) {
  Integer N = 0, D = 0;
  IEFloatToFraction(N, D, 0.1234567890123, 0);
  EXPECT_GT(D, 0);
  EXPECT_LE(D, 999999999);
  EXPECT_NEAR(double(N) / D, 0.1234567890123, 1e-12);
}

TEST(UtilsText, FractionNumeratorStaysBoundedForLargeValues) {
  Integer N = 0, D = 0;
  IEFloatToFraction(N, D, 123456789.123456789, 0);
  EXPECT_GT(D, 0);
  EXPECT_LE(N, 999999999);
  EXPECT_NEAR(double(N) / D, 123456789.123456789, 0.01);  // 987654313 / 8 is the closest that fits
}

TEST(UtilsText, FontStylesFromALogFont) {
  EXPECT_EQ(IELogFontToFontStyles(nullptr), TFontStyles());
  LOGFONT Font;
  Font.lfWeight = 699;
  EXPECT_EQ(IELogFontToFontStyles(&Font), TFontStyles());
  Font.lfWeight = 700;
  Font.lfItalic = 1;
  EXPECT_EQ(IELogFontToFontStyles(&Font), TFontStyles({fsBold, fsItalic}));
  Font.lfWeight = 400;
  Font.lfItalic = 0;
  Font.lfUnderline = 1;
  Font.lfStrikeOut = 1;
  EXPECT_EQ(IELogFontToFontStyles(&Font), TFontStyles({fsUnderline, fsStrikeOut}));
}

TEST(UtilsText, GuidsCompareEveryByte) {
  TGUID A{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  TGUID B = A;
  EXPECT_TRUE(IECompareGUID(A, B));
  B.D4[7] = 9;
  EXPECT_FALSE(IECompareGUID(A, B));
}

TEST(UtilsText, UrlTypes) {
  const std::pair<const char*, Integer> Cases[] = {
      {"http://a.b/c.jpg", 1},
      {"HTTPS://A.B/", 2},
      {"Ftp://host/x", 3},
      {"file://x", 0},
      {"http:/x", 0},
      {"https:", 0},
      {"", 0},
      {"ftp:/", 0},
  };
  for (auto [Text, Type] : Cases) EXPECT_EQ(IEGetURLType(Text), Type) << Text;
  EXPECT_EQ(IEGetURLTypeW(u"HTTP://x"), 1);
}

TEST(UtilsText, FileExtensions) {
  EXPECT_EQ(IEExtractFileExt("Photo.JPG", true), ".jpg");
  EXPECT_EQ(IEExtractFileExt("Photo.JPG", false), "jpg");
  EXPECT_EQ(IEExtractFileExt("/a.b/Photo", true), "");
  EXPECT_EQ(IEExtractFileExt("Photo", false), "");
  EXPECT_EQ(IEExtractFileExt("x.tar.GZ", false), "gz");
  std::string Ext = "old";
  IEExtractFileExtStr("A.Tiff", true, Ext);
  EXPECT_EQ(Ext, ".tiff");
  EXPECT_EQ(IEExtractFileExtW(u"B.PnG", false), u"png");
}

TEST(UtilsText, WrappersForwardToTheRunTime) {
  EXPECT_EQ(IETrim(" \t ab c\r\n"), "ab c");
  EXPECT_EQ(IEUpperCase("abZ1é"), "ABZ1é");
  EXPECT_EQ(IELowerCase("ABz1"), "abz1");
  EXPECT_EQ(IEIntToStr(-42), "-42");
  EXPECT_EQ(IEStrToIntDef("17", 3), 17);
  EXPECT_EQ(IEStrToIntDef("1x", 3), 3);
  EXPECT_EQ(IECopy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(IEIntToHex(255, 4), "00FF");
  EXPECT_EQ(IEPos("cd", "abcdef"), 3);
  EXPECT_EQ(IEPos("x", "abcdef"), 0);
  EXPECT_EQ(IEFloatToStrF(1.26, ffFixed, 15, 1), "1.3");
  EXPECT_EQ(IEIfThenInt(true, 1, 2), 1);
  EXPECT_EQ(IEIfThenFloat(false, 1.5, 2.5), 2.5);
}

TEST(UtilsText, StrDupCopiesWithTheTerminator) {
  const char Text[] = "hello";
  std::unique_ptr<char[]> Copy = IEStrDup(Text);
  ASSERT_NE(Copy, nullptr);
  EXPECT_NE(Copy.get(), Text);
  EXPECT_STREQ(Copy.get(), "hello");
  EXPECT_EQ(IEStrDup(nullptr), nullptr);
}

}  // namespace
