#include <gtest/gtest.h>

#include "imaging/core/hyieutils.h"
#include "imaging/proc/ieresamplefilters.h"
#include "tests/imaging/proc/ResampleTestSupport.h"

using namespace ResampleTesting;
using PixelsTesting::Picture24;
using PixelsTesting::Pixel24;
using PixelsTesting::TBGR;

namespace {

struct TKernelCase {
  TResampleFilter Filter;
  Double T, Value;
};

std::vector<TResampleWeight> ListOf(const TResampleWeights& Weights, Integer I) {
  const TResampleWeightList& L = Weights[I];
  return {L.Weights, L.Weights + L.Count};
}

}  // namespace

TEST(ResampleFilters, KernelsAndSupports) {
  const TKernelCase Cases[] = {
      {rfTriangle, -0.25, 0.75}, {rfHermite, 0.5, 0.5},         {rfBell, 0.5, 0.5},
      {rfBell, 1.0, 0.125},      {rfBSpline, 1.0, 1.0 / 6},     {rfBSpline, 0, 2.0 / 3},
      {rfLanczos3, 0, 1},        {rfLanczos3, 1.5, -0.1350949}, {rfMitchell, 0, 16.0 / 18},
      {rfMitchell, 1, 1.0 / 18}, {rfNearest, 0.5, 1},           {rfNearest, -0.5, 0},
      {rfLinear, -1, 0},         {rfLinear, -0.25, 0.75},       {rfLinear, 1, 0},
  };
  for (const TKernelCase& C : Cases)
    EXPECT_NEAR(ResampleFilterTable[C.Filter].Kernel(C.T), C.Value, 1e-6) << int(C.Filter) << " at " << C.T;
  const Double Supports[] = {1, 1, 1.5, 2, 3, 2, 1, 1};
  for (Integer F = rfTriangle; F <= rfLinear; ++F) EXPECT_EQ(ResampleFilterTable[F].Support, Supports[F - 1]);
}

TEST(ResampleFilters, WeightsMirrorAtTheEdgesAndRoundHalvesToEven) {
  // 2 -> 513: column 1 sits 1/512 from source 0; its weights 255.5 and 0.5 round to 256 and 0.
  const TResampleWeights Wide(2, 513, rfTriangle);
  EXPECT_EQ(ListOf(Wide, 1), (std::vector<TResampleWeight>{{0, 256}}));
  // Reducing 5 -> 2 (scale 1/4): the window of the last pixel reaches past the edge and mirrors.
  const TResampleWeights Narrow(5, 2, rfTriangle);
  EXPECT_EQ(ListOf(Narrow, 1),
            (std::vector<TResampleWeight>{{1, 16}, {2, 32}, {3, 48}, {4, 64}, {4, 48}, {3, 32}, {2, 16}}));
  // A source of one pixel scales by the destination length.
  const TResampleWeights Single(1, 4, rfTriangle);
  EXPECT_EQ(ListOf(Single, 0), (std::vector<TResampleWeight>{{0, 256}}));
  EXPECT_EQ(ListOf(Single, 2), (std::vector<TResampleWeight>{{0, 128}, {0, 128}}));
}

TEST(ResampleFilters, TwoPassTruncatesTheWeightedMean) {
  const Byte Values[] = {0, 255, 100};
  auto Source = Picture24(3, 2, [&](Integer X, Integer) { return TBGR{Values[X], 0, 9}; });
  TIEBitmap Dest(5, 2, ie24RGB);
  IEResampleTwoPassRGB(Source.get(), &Dest, rfTriangle, {}, nullptr, 1);
  const Byte Expected[] = {0, 127, 255, 177, 100};  // 127.5 and 177.5 truncated
  for (Integer X = 0; X < 5; ++X) EXPECT_EQ(Pixel24(&Dest, X, 1), (TBGR{Expected[X], 0, 9})) << X;
  // The same weights reach a falling edge: 255 * 256 / 256 at column 1, not 255 * 256 / 257.
  auto Edge = Picture24(2, 1, [](Integer X, Integer) { return TBGR{Byte(X ? 0 : 255), 0, 0}; });
  TIEBitmap Wide(513, 1, ie24RGB);
  IEResampleTwoPassRGB(Edge.get(), &Wide, rfTriangle, {}, nullptr, 1);
  EXPECT_EQ(Pixel24(&Wide, 1, 0)[0], 255);
}

TEST(ResampleFilters, GreyAndOneBitSourcesUseOneChannel) {
  auto Grey = PixelsTesting::Picture(3, 2, ie8g, [](Byte* Row, Integer) {
    Row[0] = 0;
    Row[1] = 255;
    Row[2] = 100;
  });
  TIEBitmap Dest(5, 2, ie8g);
  IEResampleTwoPassGray(Grey.get(), &Dest, rfTriangle);
  EXPECT_EQ(Pixels(&Dest), (std::vector<Byte>{0, 127, 255, 177, 100, 0, 127, 255, 177, 100}));
  auto Bits = PixelsTesting::Picture(2, 2, ie1g, [](Byte* Row, Integer) { Row[0] = 0x40; });
  TIEBitmap Colour(3, 2, ie24RGB);
  IEResampleTwoPassGray(Bits.get(), &Colour, rfTriangle);
  EXPECT_EQ(Pixel24(&Colour, 1, 0), (TBGR{127, 127, 127}));
  EXPECT_EQ(Pixel24(&Colour, 2, 1), (TBGR{255, 255, 255}));
  // One pixel is left alone.
  auto Dot = PixelsTesting::Picture(1, 1, ie8g, [](Byte* Row, Integer) { Row[0] = 7; });
  TIEBitmap Out(2, 2, ie8g);
  Out.Fill(3);
  IEResampleTwoPassGray(Dot.get(), &Out, rfTriangle);
  EXPECT_EQ(Pixels(&Out), (std::vector<Byte>{3, 3, 3, 3}));
}

TEST(ResampleFilters, ProgressEndsAt99ForTallAndWidePictures) {
  for (const auto& [W, H, DW, DH] : {std::array{8, 40, 5, 70}, std::array{60, 30, 90, 25}}) {
    auto Source = Noise(W, H, ie24RGB);
    TIEBitmap Dest(DW, DH, ie24RGB);
    TProgressLog Log;
    IEResampleTwoPassRGB(Source.get(), &Dest, rfHermite, Log.Handler(), nullptr, 1);
    ASSERT_FALSE(Log.Reports.empty());
    EXPECT_EQ(Log.Reports.back(), 99);
    EXPECT_TRUE(std::adjacent_find(Log.Reports.begin(), Log.Reports.end(), std::greater_equal<>()) ==
                Log.Reports.end());
  }
}

// Every filter gives the same bytes whatever the number of threads, also with more threads
// than rows (all rows then fall to the last thread).
TEST(Threads, ResampleFiltersSameBytesAtOneAndNThreads) {
  auto Source = Noise(37, 23, ie24RGB);
  for (Integer F = rfTriangle; F <= rfLinear; ++F)
    for (const auto& [W, H] : {std::array{61, 9}, std::array{12, 40}}) {
      const auto Filter = static_cast<TResampleFilter>(F);
      TIEBitmap One(W, H, ie24RGB), Four(W, H, ie24RGB), Many(W, H, ie24RGB);
      IEResampleTwoPassRGB(Source.get(), &One, Filter, {}, nullptr, 1);
      IEResampleTwoPassRGB(Source.get(), &Four, Filter, {}, nullptr, 4);
      IEResampleTwoPassRGB(Source.get(), &Many, Filter, {}, nullptr, 30);
      EXPECT_EQ(Pixels(&One), Pixels(&Four)) << F;
      EXPECT_EQ(Pixels(&One), Pixels(&Many)) << F;
    }
}

// Through the resize entry, with the core count the pool uses, for all fourteen filters.
TEST(Threads, ResampleAllFiltersSameBytesAtOneAndNCores) {
  IEInstallResampleHooks();
  const Integer Saved = IEProcessorCoresCache;
  auto Source = Noise(45, 31, ie24RGB);
  for (Integer F = rfNone; F <= rfProjectWB; ++F) {
    std::vector<Byte> Results[2];
    for (Integer Run = 0; Run < 2; ++Run) {
      IEProcessorCoresCache = Run == 0 ? 1 : 5;
      TIEBitmap Dest(70, 20, ie24RGB);
      ResampleBitmap(Source.get(), &Dest, static_cast<TResampleFilter>(F), {}, nullptr);
      Results[Run] = Pixels(&Dest);
    }
    EXPECT_EQ(Results[0], Results[1]) << F;
  }
  IEProcessorCoresCache = Saved;
  IERemoveResampleHooks();
}
