// Black-and-white conversions by threshold and by ordered dither.
#include <gtest/gtest.h>

#include <vector>

#include "ConvertTestSupport.h"
#include "imaging/core/iebwconvert.h"

namespace {

// A progress record with its abort flag; Record keeps the percentages reported.
using TProgressRecorder = TIELocalProgress;

std::vector<Integer> Recorded;
void Record(TObject*, Integer Percent) {
  Recorded.push_back(Percent);
}

TEST(BWConvert, ThresholdSetsBitsAtOrAboveTheGreyLevelAndReportsRows) {
  // Grey levels 99, 100, 101 by the 21/71/8 weights of colour pixels.
  auto Source = MakeRGB(3, 3, [](Integer X, Integer) { return Rgb(99 + X, 99 + X, 99 + X); });
  TIEBitmap Dest(3, 3, ie1g);
  TProgressRecorder R;
  Recorded.clear();
  R.Progress.OnProgress = Record;
  IEConvertToBWByThreshold(Source.get(), &Dest, 100, R.Progress);
  for (Integer Y = 0; Y < 3; ++Y) {
    EXPECT_FALSE(GetBit(Dest, 0, Y));
    EXPECT_TRUE(GetBit(Dest, 1, Y));
    EXPECT_TRUE(GetBit(Dest, 2, Y));
  }
  // Against height + 0.5: the finishing 100 is the caller's.
  EXPECT_EQ(Recorded, (std::vector<Integer>{28, 57, 85}));
}

TEST(BWConvert, ThresholdReadsEveryFormatAsItsGreyLevel) {
  // 16-bit grey by its high byte, floats times 255.
  TIEBitmap Grey16(2, 1, ie16g);
  Grey16.SetPixel16(0, 0, 0x7FFF);
  Grey16.SetPixel16(1, 0, 0x8000);
  TIEBitmap Floats(2, 1, ie32f);
  Floats.SetPixel32f(0, 0, 127.9f / 255);
  Floats.SetPixel32f(1, 0, 128.0f / 255);
  for (TIEBitmap* Source : {&Grey16, &Floats}) {
    TIEBitmap Dest(2, 1, ie1g);
    TProgressRecorder R;
    IEConvertToBWByThreshold(Source, &Dest, 128, R.Progress);
    EXPECT_FALSE(GetBit(Dest, 0, 0));
    EXPECT_TRUE(GetBit(Dest, 1, 0));
  }
}

TEST(BWConvert, MaxEntropySplitsABimodalPictureBetweenItsModes) {
  TIEBitmap Source(40, 1, ie8g);
  for (Integer X = 0; X < 40; ++X) Source.SetPixel8(X, 0, X < 30 ? 40 + X % 5 : 200 + X % 5);
  TIEBitmap Dest(40, 1, ie1g);
  TProgressRecorder R;
  IEConvertToBWByThreshold(&Source, &Dest, IEThresholdMaxEntropy, R.Progress);
  for (Integer X = 0; X < 40; ++X) EXPECT_EQ(GetBit(Dest, X, 0), X >= 30) << X;
  std::array<UInt64, 256> Histogram{};
  IEGrayHistogram(&Source, Histogram);
  EXPECT_EQ(Histogram[42], 6u);
  // The first level of the best split wins: just above the dark mode.
  EXPECT_EQ(IEMaxEntropyThreshold(Histogram), 45);
}

TEST(BWConvert, MaxEntropyWithoutAPositiveScoreMakesEverythingWhite) {
  // Two spikes score exactly 0 at every split; one level scores nothing.
  std::array<UInt64, 256> Spikes{};
  Spikes[40] = 30;
  Spikes[200] = 10;
  EXPECT_EQ(IEMaxEntropyThreshold(Spikes), IEThresholdMaxEntropy);
  TIEBitmap Flat(4, 1, ie8g);
  Flat.Fill(0);
  TIEBitmap Dest(4, 1, ie1g);
  TProgressRecorder R;
  IEConvertToBWByThreshold(&Flat, &Dest, IEThresholdMaxEntropy, R.Progress);
  for (Integer X = 0; X < 4; ++X) EXPECT_TRUE(GetBit(Dest, X, 0));
}

TEST(BWConvert, MeanColourAveragesRowMeansAndFixedThresholdsAtTheEnds) {
  // Row means 0 (1 div 2) and 1 (3 div 2): the mean is 0, where all pixels give 4 div 4 = 1.
  auto Source = MakeRGB(2, 2, [](Integer X, Integer Y) {
    const Byte V = static_cast<Byte>(X + Y);
    return Rgb(V, V, V);
  });
  Integer R, G, B;
  IEAverageColor(Source.get(), R, G, B);
  EXPECT_EQ(R, 0);
  EXPECT_EQ(B, 0);
  TIEBitmap Dest(2, 2, ie1g);
  TProgressRecorder P;
  IEConvertToBWByThreshold(Source.get(), &Dest, 0, P.Progress);
  EXPECT_TRUE(GetBit(Dest, 0, 0));
  IEConvertToBWByThreshold(Source.get(), &Dest, 256, P.Progress);
  EXPECT_FALSE(GetBit(Dest, 1, 1));
}

TEST(BWConvert, OneBitSourceIsCopied) {
  TIEBitmap Source(9, 2, ie1g);
  Source.Fill(0);
  SetBit(Source, 8, 1, true);
  TIEBitmap Dest(9, 2, ie1g);
  TProgressRecorder R;
  IEConvertToBWByThreshold(&Source, &Dest, 255, R.Progress);
  EXPECT_TRUE(GetBit(Dest, 8, 1));
  EXPECT_FALSE(GetBit(Dest, 7, 1));
}

TEST(BWConvert, InPlaceConversionsOnlyTakeTwentyFourBitPictures) {
  TIEBitmap Grey(4, 4, ie8g);
  Grey.Fill(200);
  TProgressRecorder R;
  IEConvertToBWOrdered(&Grey, R.Progress);
  IEConvertToBWThreshold(&Grey, 10, R.Progress);
  EXPECT_EQ(Grey.GetPixelFormat(), ie8g);

  auto Colour = MakeRGB(4, 4, [](Integer X, Integer) { return X < 2 ? Rgb(0, 0, 0) : Rgb(90, 90, 90); });
  IEConvertToBWThreshold(Colour.get(), 50, R.Progress);
  ASSERT_EQ(Colour->GetPixelFormat(), ie1g);
  EXPECT_FALSE(GetBit(*Colour, 1, 3));
  EXPECT_TRUE(GetBit(*Colour, 2, 3));
}

TEST(BWConvert, OrderedDitherCountsNearWhiteAsWhite) {
  auto B = MakeRGB(8, 8, [](Integer, Integer) { return Rgb(251, 251, 251); });
  TProgressRecorder R;
  IEConvertToBWOrdered(B.get(), R.Progress);
  ASSERT_EQ(B->GetPixelFormat(), ie1g);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X) EXPECT_TRUE(GetBit(*B, X, Y)) << X << "," << Y;

  // 250 is grey level 250, level 62: clear where the matrix holds 62 or 63.
  auto Grey = MakeRGB(8, 8, [](Integer, Integer) { return Rgb(250, 250, 250); });
  IEConvertToBWOrdered(Grey.get(), R.Progress);
  Integer Set = 0;
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X) Set += GetBit(*Grey, X, Y);
  EXPECT_EQ(Set, 62);
}

}  // namespace
