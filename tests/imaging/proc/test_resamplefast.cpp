#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "imaging/proc/ieresamplefast.h"
#include "tests/imaging/proc/ResampleTestSupport.h"

using namespace ResampleTesting;
using PixelsTesting::Picture;

namespace {

// A grey picture of one row.
std::unique_ptr<TIEBitmap> GreyRow(std::vector<Byte> Values, Integer Rows = 1) {
  return Picture(static_cast<Integer>(Values.size()), Rows, ie8g,
                 [&](Byte* Row, Integer) { std::copy(Values.begin(), Values.end(), Row); });
}

std::vector<Byte> ResizedRow(std::vector<Byte> Values, Integer Width, Integer Rows = 1) {
  auto Source = GreyRow(Values, Rows);
  TIEBitmap Dest(Width, Rows, ie8g);
  IEResampleFastLinearGray8(Source.get(), &Dest, {}, nullptr);
  return Pixels(&Dest);
}

}  // namespace

TEST(ResampleFast, LinearRowsByTheFixedPointRule) {
  struct TCase {
    std::vector<Byte> Source;
    Integer Width;
    std::vector<Byte> Expected;
  };
  const TCase Cases[] = {
      {{0, 255}, 4, {0, 127, 255, 255}},        // the half floors; the last pixel repeats the edge
      {{255, 0}, 4, {255, 127, 0, 0}},          // falling: floor gives 127, not 128
      {{10, 20, 30, 41}, 2, {20, 30}},          // reducing: windows 0..2 and 2..2
      {{10, 20, 30, 41}, 4, {10, 20, 30, 41}},  // same size: left alone by the caller
  };
  for (const TCase& C : Cases) EXPECT_EQ(ResizedRow(C.Source, C.Width), C.Expected);
  // Keeping the width while the height shrinks still averages each pixel with its right one.
  auto Source = GreyRow({10, 20, 31}, 2);
  TIEBitmap Dest(3, 1, ie8g);
  IEResampleFastLinearGray8(Source.get(), &Dest, {}, nullptr);
  EXPECT_EQ(Pixels(&Dest), (std::vector<Byte>{15, 25, 31}));
}

TEST(ResampleFast, OneBitLinearGivesGreyAndCountsWhenReducingBothWays) {
  auto Bits = Picture(2, 2, ie1g, [](Byte* Row, Integer) { Row[0] = 0x40; });
  TIEBitmap Wide(4, 2, ie24RGB);
  IEResample1BitFastLinear(Bits.get(), &Wide, {}, nullptr);
  EXPECT_EQ(PixelsTesting::Pixel24(&Wide, 1, 0), (PixelsTesting::TBGR{127, 127, 127}));
  auto Large = Picture(4, 2, ie1g, [](Byte* Row, Integer) { Row[0] = 0xA0; });
  TIEBitmap Small(2, 1, ie24RGB);
  IEResample1BitFastLinear(Large.get(), &Small, {}, nullptr);
  EXPECT_EQ(PixelsTesting::Pixel24(&Small, 0, 0)[0], 127);  // half of its window set, rounded down
}

TEST(ResampleFast, CubicConvolution) {
  EXPECT_DOUBLE_EQ(IECubicInterpolate(1, 2, 3, 4, 0, 0, 255), 2);
  EXPECT_DOUBLE_EQ(IECubicInterpolate(0, 0, 255, 255, 0.5, 0, 255), 127.5);
  EXPECT_DOUBLE_EQ(IECubicInterpolate(0, 255, 0, 0, 0.25, 0, 255), 255 * (0.015625 - 0.125 + 1));
  EXPECT_DOUBLE_EQ(IECubicInterpolate(255, 0, 0, 255, 0.5, 0, 255), 0);  // clamped from -63.75
}

TEST(ResampleFast, AreaHalvingAveragesEachTwoByTwoRoundingHalvesToEven) {
  // Means 0.5, 1.5 and 2.5 become 0, 2 and 2.
  auto Source = Picture(6, 2, ie8g, [](Byte* Row, Integer Y) {
    const Byte Rows[2][6] = {{0, 1, 1, 2, 2, 3}, {0, 1, 1, 2, 2, 3}};
    std::copy(Rows[Y], Rows[Y] + 6, Row);
  });
  TIEBitmap Dest(3, 1, ie8g);
  IEResampleArea8(Source.get(), &Dest, 0, {}, nullptr);
  EXPECT_EQ(Pixels(&Dest), (std::vector<Byte>{0, 2, 2}));
  auto Colour = Noise(8, 6, ie24RGB);
  TIEBitmap Half(4, 3, ie24RGB);
  IEResampleArea8(Colour.get(), &Half, 1, {}, nullptr);
  for (Integer Ch = 0; Ch < 3; ++Ch) {
    const auto At = [&](Integer X, Integer Y) {
      return static_cast<Byte*>(Colour->GetScanline(Y))[X * 3 + Ch];
    };
    const Double Mean = (At(2, 2) + At(3, 2) + At(2, 3) + At(3, 3)) / 4.0;
    EXPECT_EQ(static_cast<Byte*>(Half.GetScanline(1))[3 + Ch], static_cast<Byte>(std::nearbyint(Mean)));
  }
}

TEST(ResampleFast, AreaEnlargingInterpolatesAndSixteenBitsKeepTheirRange) {
  auto Source = GreyRow({0, 200}, 2);
  TIEBitmap Dest(4, 2, ie8g);
  IEResampleArea8(Source.get(), &Dest, 0, {}, nullptr);
  const std::vector<Byte> Row = Pixels(&Dest);
  EXPECT_TRUE(std::is_sorted(Row.begin(), Row.begin() + 4));
  EXPECT_LT(Row[0], Row[3]);
  auto Deep = Picture(2, 2, ie16g, [](Byte* Row, Integer) {
    const Word Values[2] = {0, 60000};
    std::memcpy(Row, Values, 4);
  });
  TIEBitmap DeepHalf(1, 1, ie16g);
  IEResampleArea16(Deep.get(), &DeepHalf, 0, {}, nullptr);
  EXPECT_EQ(DeepHalf.GetPixel16(0, 0), 30000);
}

TEST(ResampleFast, AreaLeavesOtherFormatsUntouched) {
  auto Cmyk = Noise(4, 4, ieCMYK);
  TIEBitmap Dest(2, 2, ieCMYK);
  Dest.Fill(0);
  const std::vector<Byte> Before = Pixels(&Dest);
  IEResampleArea8(Cmyk.get(), &Dest, 0, {}, nullptr);
  EXPECT_EQ(Pixels(&Dest), Before);
}
