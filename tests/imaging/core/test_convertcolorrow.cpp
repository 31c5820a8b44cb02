#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/iecolorspace.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "tests/imaging/core/IccTestSupport.h"

namespace {

using Bytes = std::vector<Byte>;

// Two pixels of each source layout converted into a destination pre-filled with 0xAB.
Bytes Convert(Bytes Source, Byte SourceLayout, Byte TargetLayout, size_t DestSize,
              TIOParamsICC* IOParams = nullptr) {
  Bytes Dest(DestSize, 0xAB);
  IEConvertColorRow(Source.data(), SourceLayout, Dest.data(), TargetLayout, 2, IOParams);
  return Dest;
}

Bytes Lab(const TIERGBTriple& C) {
  const TIECIELabPixel P = IERGB2CIELab(C);
  return {P.l, static_cast<Byte>(P.a), static_cast<Byte>(P.b)};
}

TEST(ConvertColorRow, LayoutPairsOfTheTable) {
  const TIERGBTriple Olive{20, 128, 128};  // blue, green, red
  const TIECIELabPixel OliveLab = IERGB2CIELab(Olive);
  const TIERGBTriple FromLab = IECIELab2RGB(OliveLab);
  TIERGBTriple FromYCbCr;
  IEYCbCr2RGB(FromYCbCr, 100, 90, 200);
  struct TCase {
    Byte From, To;
    Bytes Source, Expected;
  };
  const TCase Cases[] = {
      {iecRGB, iecBGR, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}},
      {iecBGR, iecBGR, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
      {iecBGR, iecCMYK, {0, 0, 0, 0, 0, 255}, {0, 0, 0, 1, 255, 0, 0, 255}},
      {iecBGR,
       iecCIELab,
       {20, 128, 128, 20, 128, 128},
       [&] {
         Bytes B = Lab(Olive);
         B.insert(B.end(), B.begin(), B.end());
         return B;
       }()},
      {iecBGR, iecGray, {0, 0, 255, 255, 255, 255}, {53, 255}},
      {iecCMYK, iecBGR, {255, 255, 255, 255, 0, 255, 255, 255}, {255, 255, 255, 255, 255, 0}},
      {iecCMYK6, iecBGR, {0, 0, 0, 0, 9, 9, 255, 0, 0, 0, 9, 9}, {255, 255, 255, 255, 255, 0}},
      {iecCIELab,
       iecBGR,
       [&] {
         Bytes B = Lab(Olive);
         B.insert(B.end(), B.begin(), B.end());
         return B;
       }(),
       {FromLab.rgbtBlue, FromLab.rgbtGreen, FromLab.rgbtRed, FromLab.rgbtBlue, FromLab.rgbtGreen,
        FromLab.rgbtRed}},
      {iecRGB48, iecBGR, {0x11, 0xA0, 0x22, 0xB0, 0x33, 0xC0, 0, 1, 0, 2, 0, 3}, {0xC0, 0xB0, 0xA0, 3, 2, 1}},
      {iecRGB48BE,
       iecBGR,
       {0xA0, 0x11, 0xB0, 0x22, 0xC0, 0x33, 1, 0, 2, 0, 3, 0},
       {0xC0, 0xB0, 0xA0, 3, 2, 1}},
      {iec3Channel,
       iecBGR,
       {100, 90, 200, 100, 90, 200},
       {FromYCbCr.rgbtBlue, FromYCbCr.rgbtGreen, FromYCbCr.rgbtRed, FromYCbCr.rgbtBlue, FromYCbCr.rgbtGreen,
        FromYCbCr.rgbtRed}},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(Convert(C.Source, C.From, C.To, C.Expected.size()), C.Expected)
        << int(C.From) << " -> " << int(C.To);
}

TEST(ConvertColorRow, PairsOutsideTheTableLeaveDestUntouched) {
  const Bytes Untouched(12, 0xAB);
  const std::pair<Byte, Byte> Pairs[] = {{iecGray, iecBGR}, {iecRGB, iecGray},  {iecCMYK, iecGray},
                                         {iecBGR, iecRGB},  {iecBGR, iecRGB48}, {iecCMYK, iecCMYK}};
  for (const auto& [From, To] : Pairs)
    EXPECT_EQ(Convert(Bytes(12, 7), From, To, 12), Untouched) << int(From) << " -> " << int(To);
}

TEST(ConvertColorRow, NotInvertedInksAreLeftInvertedInTheSource) {
  Bytes Source = {0, 10, 20, 30, 1, 2};
  Bytes Dest(3);
  IEConvertColorRow(Source.data(), iecCMYK6, Dest.data(), iecBGR, 1, nullptr);
  EXPECT_EQ(Source, (Bytes{255, 245, 235, 225, 1, 2}));
}

// A picture in linear RGB: mid-grey bytes through its profile become lighter sRGB bytes.
class ConvertColorRowProfiles : public testing::Test {
 protected:
  void SetUp() override {
    const Bytes Linear = icctest::LinearRGBBytes();
    Params.GetInputICC()->LoadFromBuffer(Linear.data(), static_cast<Integer>(Linear.size()));
  }
  void TearDown() override { ColorManagementEnabled = false; }
  Bytes Grey() { return Convert({60, 60, 60, 60, 60, 60}, iecBGR, iecBGR, 6, &Params); }
  TIOParamsICC Params;
};

TEST_F(ConvertColorRowProfiles, ProfilesApplyOnlyWithColourManagementOn) {
  EXPECT_FALSE(ColorManagementEnabled);
  EXPECT_EQ(Grey(), Bytes(6, 60));
  EXPECT_FALSE(Params.OutputICC);  // not even made
  ColorManagementEnabled = true;
  const Bytes Managed = Grey();
  EXPECT_GT(Managed[0], 120);
  EXPECT_EQ(Managed[0], Managed[4]);
  ASSERT_TRUE(Params.OutputICC);
  EXPECT_TRUE(Params.OutputICC->IsValid());  // sRGB
}

TEST_F(ConvertColorRowProfiles, AnAppliedProfileIsNotUsedAgain) {
  ColorManagementEnabled = true;
  EXPECT_GT(Grey()[0], 120);
  Params.InputICC->FreeTransform();
  EXPECT_EQ(Grey(), Bytes(6, 60));
}

TEST_F(ConvertColorRowProfiles, TheDefaultProfileStandsInForAMissingOne) {
  ColorManagementEnabled = true;
  Params.DefaultICC = std::move(Params.InputICC);
  EXPECT_GT(Grey()[0], 120);  // no input profile
  Params.GetInputICC();
  EXPECT_GT(Grey()[0], 120);  // an input profile that is not open
  Params.InputICC->OpenSRGB();
  EXPECT_NEAR(Grey()[0], 60, 1);  // the file's own
}

TEST_F(ConvertColorRowProfiles, ARefusedTransformFallsBackToTheTable) {
  ColorManagementEnabled = true;
  // CMYK pixels for an RGB profile: the library refuses, the arithmetic converts.
  EXPECT_EQ(Convert({255, 255, 255, 255, 0, 255, 255, 255}, iecCMYK, iecBGR, 6, &Params),
            (Bytes{255, 255, 255, 255, 255, 0}));
}

}  // namespace
