#include <gtest/gtest.h>

#include <cstring>

#include "imaging/proc/ieresamplenearest.h"
#include "tests/imaging/proc/ResampleTestSupport.h"

using namespace ResampleTesting;
using PixelsTesting::Bit;
using PixelsTesting::Picture24;
using PixelsTesting::TBGR;

namespace {

// White with one black column at X.
std::unique_ptr<TIEBitmap> WhiteWithDarkColumn(Integer W, Integer H, Integer Column, Byte Dark) {
  return Picture24(W, H, [&](Integer X, Integer) {
    const Byte V = X == Column ? Dark : 255;
    return TBGR{V, V, V};
  });
}

}  // namespace

TEST(ResampleNearest, EveryFormatCopiesWholePixelsAndPalettesFollow) {
  for (const TIEPixelFormat Format : {ie1g, ie8g, ie16g, ie24RGB, ie32f, ieCMYK, ieRGB48}) {
    auto Source = Noise(5, 3, Format);
    TIEBitmap Dest(10, 6, Format);
    IEResampleNearest(Source.get(), &Dest, {}, nullptr);
    const Integer Bits = IEBitsPerPixel[Format];
    for (Integer Y = 0; Y < 6; ++Y)
      for (Integer X = 0; X < 10; ++X) {
        const Byte* S = static_cast<Byte*>(Source->GetScanline(Y / 2));
        const Byte* D = static_cast<Byte*>(Dest.GetScanline(Y));
        if (Bits == 1)
          ASSERT_EQ(Bit(&Dest, X, Y), Bit(Source.get(), X / 2, Y / 2)) << X;
        else
          ASSERT_EQ(0, std::memcmp(D + X * Bits / 8, S + (X / 2) * Bits / 8, Bits / 8)) << int(Format);
      }
  }
  auto Indexed = Noise(2, 2, ie8p);
  Indexed->SetPaletteColor(7, TIERGBTriple{1, 2, 3});
  TIEBitmap Large(4, 4, ie8p);
  IEResampleNearest(Indexed.get(), &Large, {}, nullptr);
  TIERGBTriple C;
  Large.GetPaletteColor(7, C);
  EXPECT_EQ((std::array{C.rgbtBlue, C.rgbtGreen, C.rgbtRed}), (std::array<Byte, 3>{1, 2, 3}));
}

TEST(ResampleNearest, ProgressReportsOnlyChanges) {
  auto Source = Noise(4, 300, ie8g);
  TIEBitmap Dest(2, 250, ie8g);
  TProgressLog Log;
  IEResampleNearest(Source.get(), &Dest, Log.Handler(), nullptr);
  EXPECT_EQ(Log.Reports.size(), 100u);  // 0 .. 99
  EXPECT_EQ(Log.Reports.back(), 99);
}

TEST(ResampleProject, AThinDarkLineSurvivesKeepingBlackAndGoesKeepingWhite) {
  auto Source = WhiteWithDarkColumn(64, 64, 21, 0);
  TIEBitmap Dest(8, 8, ie24RGB);
  IEProjectRGBTo1Bit(Source.get(), &Dest, 0, {}, nullptr);
  ASSERT_EQ(Dest.GetPixelFormat(), ie1g);
  for (Integer Y = 0; Y < 8; ++Y) EXPECT_FALSE(Bit(&Dest, 3, Y)) << Y;  // window 16..24 holds 21
  EXPECT_TRUE(Bit(&Dest, 5, 4));
  IEProjectRGBTo1Bit(Source.get(), &Dest, 1, {}, nullptr);
  for (Integer Y = 0; Y < 8; ++Y) EXPECT_TRUE(Bit(&Dest, 3, Y)) << Y;
  // A grey of 128 is neither dark nor bright.
  auto Grey = Picture24(4, 4, [](Integer, Integer) { return TBGR{128, 128, 128}; });
  TIEBitmap Small(2, 2, ie1g);
  IEProjectRGBTo1Bit(Grey.get(), &Small, 0, {}, nullptr);
  EXPECT_TRUE(Bit(&Small, 1, 1));
  IEProjectRGBTo1Bit(Grey.get(), &Small, 1, {}, nullptr);
  EXPECT_FALSE(Bit(&Small, 1, 1));
}

TEST(ResampleProject, OneBitWindowsShareTheirBorder) {
  // Column 4 is the border of the windows of destination columns 1 (0..4) and 2 (4..8).
  auto Source = PixelsTesting::Picture(16, 2, ie1g, [](Byte* Row, Integer) {
    Row[0] = 0xF7;
    Row[1] = 0xFF;
  });
  TIEBitmap Dest(4, 1, ie1g);
  IEProject1Bit(Source.get(), &Dest, 0, {}, nullptr);
  EXPECT_EQ((std::vector<bool>{Bit(&Dest, 0, 0), Bit(&Dest, 1, 0), Bit(&Dest, 2, 0), Bit(&Dest, 3, 0)}),
            (std::vector<bool>{true, false, false, true}));
}
