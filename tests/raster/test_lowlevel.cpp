// Processor features, timer, themes, fills, coordinate functions, fixed point, row logic.
#include <gtest/gtest.h>

#include <vector>

#include "platform/system/Clock.h"
#include "platform/system/Exceptions.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_Math.h"
#include "raster/RS32_RowLogic.h"
#include "raster/RS32_System.h"
#include "tests/raster/RasterTestSupport.h"

TEST(RasterCpu, ReportsNoMultimediaExtensionsByDefault) {
  for (Integer I = ciMMX; I <= ci3DNowExt; ++I) EXPECT_FALSE(CpuHasFeature(I)) << I;
  EXPECT_FALSE(CpuHasMmx());
  EXPECT_FALSE(CpuHasFeature(-1));
  EXPECT_FALSE(CpuHasFeature(6));
  TCpuFeaturesScope Scope(CpuFeatureBit(ciMMX) | CpuFeatureBit(ci3DNow));
  EXPECT_TRUE(CpuHasMmx());
  EXPECT_TRUE(CpuHas3DNow());
  EXPECT_FALSE(CpuHasExtendedMmx());
}

TEST(RasterCpu, PerfTimerCountsMicrosecondsOfTheInstalledClock) {
  TFakeClock Clock;
  SetClockSource(&Clock);
  TPerfTimer Timer;
  Timer.Start();
  Clock.Advance(1500);
  EXPECT_EQ(Timer.ElapsedMicroseconds(), 1500000);
  SetClockSource(nullptr);
}

TEST(RasterThemes, WithoutThemeLibraryThemesStayOff) {
  EXPECT_FALSE(ThemeLibraryLoad());
  EXPECT_FALSE(ThemesUsable());
  EXPECT_FALSE(ThemesInUse);
  EXPECT_EQ(ScrollBarTheme, nullptr);
  EXPECT_EQ(GlobalsTheme, nullptr);
  ASSERT_NE(ThemeNexus, nullptr);
  ThemeNexus->ThemeChanged();
  EXPECT_FALSE(ThemesInUse);
}

struct TRangeCase {
  Integer (*Fn)(Integer, Integer, Integer);
  Integer V, Lo, Hi, Expected;
};

TEST(RasterCoordinates, ClampWrapMirror) {
  const TRangeCase Cases[] = {
      {WrapToRange, -1, 0, 3, 3},
      {WrapToRange, 4, 0, 3, 0},
      {WrapToRange, -5, 0, 3, 3},
      {WrapToRange, 9, 2, 4, 3},
      {WrapToRange, -2147483647 - 1, 0, 2, 1},
      {MirrorToRange, 4, 0, 3, 3},
      {MirrorToRange, 5, 0, 3, 2},
      {MirrorToRange, -1, 0, 3, 0},
      {MirrorToRange, -2, 0, 3, 1},
      {MirrorToRange, 8, 0, 3, 0},
      {MirrorToRange, 2, 0, 3, 2},
      {ClampToRange, 5, 10, 0, 0},
      {ClampToRange, -3, 0, 9, 0},
      {ClampToRange, 12, 0, 9, 9},
  };
  for (const TRangeCase& C : Cases)
    EXPECT_EQ(C.Fn(C.V, C.Lo, C.Hi), C.Expected) << C.V << " in " << C.Lo << ".." << C.Hi;
  EXPECT_EQ(ClampToMax(7, 5), 5);
  EXPECT_EQ(ClampToMax(-7, 5), 0);
  EXPECT_EQ(ClampToByte(-1), 0);
  EXPECT_EQ(ClampToByte(256), 255);
  EXPECT_EQ(GetWrapProc(wmMirror), &MirrorToRange);
  Integer R = 0;
  EXPECT_EQ(DivideWithRemainder(-7, 2, R), -3);
  EXPECT_EQ(R, -1);
}

TEST(RasterCoordinates, ZeroDivisorRaisesDivisionError) {
  Integer R;
  EXPECT_THROW(WrapToRange(5, 0, -1), EDivByZero);
  EXPECT_THROW(MirrorToRange(5, 3, 2), EDivByZero);
  EXPECT_THROW(DivideWithRemainder(5, 0, R), EDivByZero);
  EXPECT_THROW(FixedDivide(5, 0), EDivByZero);
}

TEST(RasterFixed, RoundingAndArithmetic) {
  EXPECT_EQ(FixedToIntRound(0x8000), 0);
  EXPECT_EQ(FixedToIntRound(0x8001), 1);
  EXPECT_EQ(FixedToIntRound(-0x8000), -1);
  EXPECT_EQ(FixedToIntFloor(-1), -1);
  EXPECT_EQ(FixedToIntCeil(0x10001), 2);
  EXPECT_EQ(FixedToIntCeil(-0x10000), -1);
  EXPECT_EQ(FixedMultiply(0x18000, 0x20000), 0x30000);
  EXPECT_EQ(FixedMultiply(-0x8000, 0x8000), -0x4000);
  EXPECT_EQ(FixedDivide(0x30000, 0x20000), 0x18000);
  EXPECT_EQ(FixedDivide(-1, 3), -21845);  // toward zero
}

TEST(RasterFill, BothFormsFillExactlyCountWords) {
  for (auto Fill : {FillDwordsPlain, FillDwordsMmx})
    for (Integer Count : {0, 1, 2, 7, 8, -3}) {
      std::vector<Cardinal> Buf(12, 0xDEADBEEF);
      Fill(Buf.data() + 1, Count, 0x01020304);
      for (Integer I = 0; I < 12; ++I)
        EXPECT_EQ(Buf[I], (I >= 1 && I <= Count) ? 0x01020304u : 0xDEADBEEFu)
            << "count " << Count << " at " << I;
    }
  {
    TCpuFeaturesScope Scope(CpuFeatureBit(ciMMX));
    EXPECT_EQ(FillDwords, &FillDwordsMmx);
  }
  EXPECT_EQ(FillDwords, &FillDwordsPlain);
}

TEST(RasterFill, MoveDwordsCopiesOverlappingRanges) {
  std::vector<Cardinal> Buf = {1, 2, 3, 4, 5, 6};
  MoveDwords(Buf.data(), Buf.data() + 2, 4);
  EXPECT_EQ(Buf, (std::vector<Cardinal>{1, 2, 1, 2, 3, 4}));
  MoveDwords(Buf.data(), Buf.data(), 6);
  MoveDwords(Buf.data(), Buf.data() + 1, 0);
  EXPECT_EQ(Buf, (std::vector<Cardinal>{1, 2, 1, 2, 3, 4}));
}

TEST(RasterRowLogic, InPlaceAndSourceToDestination) {
  std::vector<Cardinal> Src(37), Dst(37, 7);
  for (Cardinal I = 0; I < Src.size(); ++I) Src[I] = I * 0x01010101u;
  XorWordsTo(Src.data(), Dst.data(), 37, 0xFF00FF00);
  for (Cardinal I = 0; I < 37; ++I) EXPECT_EQ(Dst[I], Src[I] ^ 0xFF00FF00);
  AndWords(Dst.data(), 0x0000FFFF, 36);
  OrWords(Dst.data(), 0x80000000, 36);
  for (Cardinal I = 0; I < 36; ++I) EXPECT_EQ(Dst[I], ((Src[I] ^ 0xFF00FF00) & 0xFFFF) | 0x80000000);
  EXPECT_EQ(Dst[36], Src[36] ^ 0xFF00FF00);
  std::vector<Cardinal> Untouched(4, 9);
  OrWordsTo(Src.data(), Untouched.data(), 0, 1);
  AndWordsTo(Src.data(), Untouched.data(), 0, 1);
  EXPECT_EQ(Untouched, std::vector<Cardinal>(4, 9));
}
