// The variance quantizer, NeuQuant and the quantizer that chooses between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

#include "ConvertTestSupport.h"
#include "imaging/core/ieneuquant.h"
#include "imaging/core/stdquant.h"
#include "platform/classes/Bitmap.h"

namespace {

using TPalette = std::array<TIERGBTriple, 256>;

TPalette MarkedPalette() {
  TPalette P;
  P.fill(Rgb(1, 2, 3));
  return P;
}

std::unique_ptr<TIEBitmap> Solid(Integer Width, Integer Height, TIERGBTriple Color) {
  return MakeRGB(Width, Height, [=](Integer, Integer) { return Color; });
}

// --- Variance quantizer ---------------------------------------------------------------------

TEST(StdQuantizer, SingleColourGivesOneEntryAndIndexZeroEverywhere) {
  auto B = Solid(7, 5, Rgb(100, 150, 200));
  TPalette P = MarkedPalette();
  auto S = StdQuantizerCreate(B.get(), P, 16);
  EXPECT_EQ(S->BoxCount, 1);
  // Bins 12, 18, 25 give 96, 144, 200; the entries behind stay as they were.
  EXPECT_EQ(P[0], Rgb(96, 144, 200));
  EXPECT_EQ(P[1], Rgb(1, 2, 3));
  EXPECT_EQ(StdQuantizerColorIndex(*S, Rgb(0, 0, 0)), 0);
  EXPECT_EQ(StdQuantizerColorIndex(*S, Rgb(255, 255, 255)), 0);
  StdQuantizerFree(S);
  EXPECT_EQ(S, nullptr);
}

TEST(StdQuantizer, WhiteRoundsOnTheBinMean) {
  auto B = Solid(3, 3, Rgb(255, 255, 255));
  TPalette P{};
  auto S = StdQuantizerCreate(B.get(), P, 256);
  EXPECT_EQ(P[0], Rgb(248, 248, 248));
}

TEST(StdQuantizer, FewCellsGiveOneBoxPerCellAndExactIndexes) {
  const TIERGBTriple Colors[] = {Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                                 Rgb(128, 128, 128)};
  auto B = MakeRGB(5, 3, [&](Integer X, Integer) { return Colors[X]; });
  TPalette P{};
  auto S = StdQuantizerCreate(B.get(), P, 8);
  ASSERT_EQ(S->BoxCount, 5);
  std::set<Integer> Seen;
  for (const TIERGBTriple& C : Colors) {
    const Byte I = StdQuantizerColorIndex(*S, C);
    Seen.insert(I);
    // The entry is the colour's cell, scaled back.
    EXPECT_EQ(P[I], Rgb(C.rgbtRed / 8 * 8, C.rgbtGreen / 8 * 8, C.rgbtBlue / 8 * 8));
  }
  EXPECT_EQ(Seen.size(), 5u);
}

TEST(StdQuantizer, ZeroOrOneColourGivesTheRoundedMean) {
  // Bins 0 and 31 on red, equally often: the mean 15.5 rounds to the even 16.
  auto B = MakeRGB(2, 1, [](Integer X, Integer) { return X == 0 ? Rgb(0, 80, 80) : Rgb(255, 80, 80); });
  for (const Integer Max : {0, 1}) {
    TPalette P{};
    auto S = StdQuantizerCreate(B.get(), P, Max);
    EXPECT_EQ(S->BoxCount, 1);
    EXPECT_EQ(P[0], Rgb(128, 80, 80));
  }
}

TEST(StdQuantizer, EmptyPictureGivesBlack) {
  TIEBitmap Empty;
  TPalette P = MarkedPalette();
  auto S = StdQuantizerCreate(&Empty, P, 16);
  EXPECT_EQ(S->BoxCount, 1);
  EXPECT_EQ(P[0], Rgb(0, 0, 0));
}

TEST(StdQuantizer, ColoursOutsideEveryBoxAndWithinOneCell) {
  auto B = MakeRGB(4, 1, [](Integer X, Integer) { return X < 2 ? Rgb(255, 0, 0) : Rgb(0, 0, 255); });
  TPalette P{};
  auto S = StdQuantizerCreate(B.get(), P, 4);
  ASSERT_EQ(S->BoxCount, 2);
  EXPECT_EQ(StdQuantizerColorIndex(*S, Rgb(0, 255, 0)), 0);
  EXPECT_EQ(StdQuantizerColorIndex(*S, Rgb(248, 0, 0)), StdQuantizerColorIndex(*S, Rgb(255, 7, 7)));
  EXPECT_EQ(StdQuantizerColorIndex(*S, Rgb(8, 8, 8)), StdQuantizerColorIndex(*S, Rgb(15, 15, 15)));
}

TEST(StdQuantizer, SplitsTheWorstBoxFirstAndReducesTheError) {
  // Many greys and two reds: with three colours the grey run is split before the reds, whose
  // cells hold far fewer pixels.
  auto B = MakeRGB(64, 4, [](Integer X, Integer Y) {
    if (Y == 3 && X < 2) return X == 0 ? Rgb(255, 0, 0) : Rgb(200, 0, 0);
    return Rgb(X * 4, X * 4, X * 4);
  });
  TPalette P{};
  auto S = StdQuantizerCreate(B.get(), P, 3);
  ASSERT_EQ(S->BoxCount, 3);
  std::set<Byte> GreyIndexes;
  for (Integer X = 0; X < 64; X += 9)
    GreyIndexes.insert(StdQuantizerColorIndex(*S, Rgb(X * 4, X * 4, X * 4)));
  EXPECT_GE(GreyIndexes.size(), 2u);
}

TEST(StdQuantizer, PicturesWiderThanSixteenBitsAreCountedWhole) {
  // Only the part past column 65536 is red; a 16-bit width would never see it.
  auto B = MakeRGB(70000, 1, [](Integer X, Integer) { return X >= 65536 ? Rgb(255, 0, 0) : Rgb(0, 0, 255); });
  TPalette P{};
  auto S = StdQuantizerCreate(B.get(), P, 4);
  EXPECT_EQ(S->BoxCount, 2);
  EXPECT_NE(StdQuantizerColorIndex(*S, Rgb(255, 0, 0)), StdQuantizerColorIndex(*S, Rgb(0, 0, 255)));
}

TEST(StdQuantizer, ReadsPlatformBitmapsAndTakesOtherObjectsAsEmpty) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetSize(2, 1);
  auto* Row = static_cast<Byte*>(Platform.GetScanLine(0));
  const Byte Pixels[] = {0, 0, 255, 255, 0, 0};  // red, then blue
  std::copy(Pixels, Pixels + 6, Row);
  TPalette P{};
  auto S = StdQuantizerCreate(&Platform, P, 4);
  EXPECT_EQ(S->BoxCount, 2);
  EXPECT_NE(StdQuantizerColorIndex(*S, Rgb(255, 0, 0)), StdQuantizerColorIndex(*S, Rgb(0, 0, 255)));

  TObject Other;
  TPalette Q = MarkedPalette();
  auto Empty = StdQuantizerCreate(&Other, Q, 4);
  EXPECT_EQ(Empty->BoxCount, 1);
  EXPECT_EQ(Q[0], Rgb(0, 0, 0));
}

// --- NeuQuant ---------------------------------------------------------------------------------

TEST(NeuQuant, SamplingFactor) {
  EXPECT_EQ(NeuQuantSamplingFactor(1999, -1), 1);
  EXPECT_EQ(NeuQuantSamplingFactor(100000, -1), 11);  // round(8.608 + 2)
  EXPECT_EQ(NeuQuantSamplingFactor(12000000, -1), 30);
  EXPECT_EQ(NeuQuantSamplingFactor(5000000, 100), 1);
  EXPECT_EQ(NeuQuantSamplingFactor(5000000, 0), 30);
  EXPECT_EQ(NeuQuantSamplingFactor(5000000, 50), 15);
}

TEST(NeuQuant, LearnsClustersAndMapsEachToANearEntry) {
  const TIERGBTriple Centres[] = {Rgb(220, 30, 30), Rgb(30, 200, 40), Rgb(40, 40, 210), Rgb(230, 230, 60)};
  auto B = MakeRGB(120, 100, [&](Integer X, Integer Y) {
    const TIERGBTriple C = Centres[(X / 30) % 4];
    const Integer Jitter = (X * 7 + Y * 13) % 9 - 4;
    return Rgb(C.rgbtRed + Jitter, C.rgbtGreen - Jitter, C.rgbtBlue + Jitter);
  });
  TPalette P{};
  auto S = NeuQuantBuild(B.get(), P, 256, -1);
  for (const TIERGBTriple& C : Centres) {
    const Integer I = NeuQuantColorIndex(*S, C.rgbtBlue | C.rgbtGreen << 8 | C.rgbtRed << 16);
    ASSERT_GE(I, 0);
    EXPECT_LE(std::abs(P[I].rgbtRed - C.rgbtRed) + std::abs(P[I].rgbtGreen - C.rgbtGreen) +
                  std::abs(P[I].rgbtBlue - C.rgbtBlue),
              12);
  }
  // The search answers the best entry: an entry's own colour finds an entry equal to it.
  for (Integer I = 0; I < 256; I += 17) {
    const Integer J = NeuQuantColorIndex(*S, P[I].rgbtBlue | P[I].rgbtGreen << 8 | P[I].rgbtRed << 16);
    EXPECT_EQ(P[J], P[I]);
  }
}

// --- TIEQuantizer ---------------------------------------------------------------------------

TEST(Quantizer, FewColoursAreKeptInFirstSeenOrder) {
  auto B = MakeRGB(10, 2, [](Integer X, Integer) { return Rgb(X * 20, 255 - X * 20, 7); });
  TPalette P = MarkedPalette();
  const TIEQuantizer Q(B.get(), P, 256);
  for (Integer X = 0; X < 10; ++X) {
    EXPECT_EQ(P[X], Rgb(X * 20, 255 - X * 20, 7));
    EXPECT_EQ(Q.RGBIndex(Rgb(X * 20, 255 - X * 20, 7)), X);
  }
  EXPECT_EQ(P[10], Rgb(1, 2, 3));
  EXPECT_EQ(Q.RGBIndex(Rgb(1, 1, 1)), -1);
}

TEST(Quantizer, GreyPictureGetsARamp) {
  auto B = MakeRGB(4, 4, [](Integer X, Integer Y) { return Rgb(X * 60, X * 60, X * 60 + Y * 0); });
  TPalette P{};
  const TIEQuantizer Q(B.get(), P, 16);
  EXPECT_TRUE(Q.GetGrayScale());
  for (Integer I = 0; I < 16; ++I) EXPECT_EQ(P[I], Rgb(I * 16, I * 16, I * 16));
  EXPECT_EQ(Q.RGBIndex(Rgb(200, 200, 200)), 12);
}

TEST(Quantizer, PalettePictureLendsItsPalette) {
  TIEBitmap B(2, 1, ie8p);
  for (Integer I = 0; I < 256; ++I) B.SetPaletteColor(I, Rgb(I, 0, 255 - I));
  TPalette P{};
  const TIEQuantizer Q(&B, P, 8);
  EXPECT_EQ(P[5], Rgb(5, 0, 250));
  EXPECT_EQ(P[8], Rgb(0, 0, 0));
  EXPECT_EQ(Q.RGBIndex(Rgb(9, 0, 246)), 9);
  EXPECT_EQ(Q.RGBIndex(Rgb(9, 9, 9)), 256);
}

// A picture with more colours than asked: the variance quantizer's entries are multiples of 8.
bool EntriesOnBinCentres(const TPalette& P, Integer Count) {
  for (Integer I = 0; I < Count; ++I)
    if (P[I].rgbtRed % 8 || P[I].rgbtGreen % 8 || P[I].rgbtBlue % 8) return false;
  return true;
}

TEST(Quantizer, AutomaticMethodChoosesByColourCount) {
  TConvertSettingsGuard Settings;
  auto B = MakeRGB(64, 64, [](Integer X, Integer Y) { return Rgb(X * 4 + 1, Y * 4 + 1, (X + Y) * 2 + 1); });
  TPalette Few{};
  const TIEQuantizer Variance(B.get(), Few, 64);
  EXPECT_TRUE(EntriesOnBinCentres(Few, 64));
  TPalette Many{};
  const TIEQuantizer Neural(B.get(), Many, 128);
  EXPECT_FALSE(EntriesOnBinCentres(Many, 128));

  IEQuantizerMethod = 1;
  TPalette Forced{};
  const TIEQuantizer ForcedVariance(B.get(), Forced, 128);
  EXPECT_TRUE(EntriesOnBinCentres(Forced, 128));
  // Every colour maps to an entry near it.
  const TIERGBTriple Probe = Rgb(101, 61, 81);
  const TIERGBTriple Found = Forced[ForcedVariance.RGBIndex(Probe)];
  EXPECT_LE(std::abs(Found.rgbtRed - Probe.rgbtRed) + std::abs(Found.rgbtGreen - Probe.rgbtGreen) +
                std::abs(Found.rgbtBlue - Probe.rgbtBlue),
            48);
}

}  // namespace
