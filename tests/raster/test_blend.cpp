// Mixing, blending, merging and colour arithmetic, checked against the per-channel formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/RS32_Blend.h"
#include "tests/raster/RasterTestSupport.h"

namespace {
Cardinal Ch(TColor32 C, int I) {
  return (C >> (8 * I)) & 0xFF;
}

// A spread of colours with every channel value range touched.
std::vector<TColor32> SampleColors() {
  std::vector<TColor32> Colors = {0x00000000, 0xFFFFFFFF, 0x80808080, 0x7F7F7F7F, 0xFF000000, 0x00FFFFFF,
                                  0x01FE02FD, 0xFF102030, 0x80FF0000, 0x800000FF, 0x40C0A020};
  Cardinal Seed = 12345;
  for (int I = 0; I < 40; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    Colors.push_back(Seed);
  }
  return Colors;
}

TColor32 PlainMixReference(TColor32 X, TColor32 Y, Cardinal W) {
  TColor32 R = 0;
  for (int I = 0; I < 4; ++I)
    R |= (((Ch(X, I) * W + 128) >> 8) + ((Ch(Y, I) * (255 - W) + 128) >> 8)) << (8 * I);
  return R;
}

TColor32 WideMixReference(TColor32 X, TColor32 Y, Cardinal W) {
  TColor32 R = 0;
  for (int I = 0; I < 4; ++I) R |= ((Ch(X, I) * W + Ch(Y, I) * (256 - W) + 128) >> 8) << (8 * I);
  return R;
}
}  // namespace

TEST(RasterBlendTables, ProductAndDivision) {
  for (Cardinal A = 0; A < 256; ++A)
    for (Cardinal B = 0; B < 256; ++B) {
      ASSERT_EQ(AlphaProductTable[A][B], static_cast<Byte>(std::nearbyint(A * B / 255.0))) << A << "," << B;
      const Byte Expected =
          A == 0 ? 0 : static_cast<Byte>(static_cast<long long>(std::nearbyint(B * 255.0 / A)));
      ASSERT_EQ(AlphaDivisionTable[A][B], Expected) << A << "," << B;
    }
  EXPECT_EQ(AlphaDivisionTable[2][1], 128);  // 127.5 to even
  EXPECT_EQ(AlphaDivisionTable[1][2], static_cast<Byte>(510));
}

TEST(RasterMix, PlainAndWideFormulasForEveryWeight) {
  const std::vector<TColor32> Colors = SampleColors();
  for (Cardinal W = 0; W < 256; ++W)
    for (TColor32 X : Colors)
      for (TColor32 Y : Colors) {
        const TColor32 Plain = W == 0 ? Y : (W == 255 ? X : PlainMixReference(X, Y, W));
        ASSERT_EQ(MixColorsPlain(X, Y, W), Plain) << std::hex << X << " " << Y << " " << W;
        ASSERT_EQ(MixColorsMmx(X, Y, W), WideMixReference(X, Y, W)) << std::hex << X << " " << Y << " " << W;
        for (int I = 0; I < 4; ++I)
          ASSERT_LE(std::abs(int(Ch(Plain, I)) - int(Ch(MixColorsMmx(X, Y, W), I))), 2);
      }
  // The wide form has no shortcuts: W = 255 still mixes in 1/256 of Y.
  EXPECT_EQ(MixColorsMmx(0x00000000, 0xFFFFFFFF, 255), 0x01010101u);
  EXPECT_EQ(MixColorsMmx(0xFFFFFFFF, 0x00000000, 0), 0x00000000u);
}

TEST(RasterMix, IntoAndRowForms) {
  TColor32 B = 0x11223344;
  MixColorIntoPlain(0xAABBCCDD, B, 0);
  EXPECT_EQ(B, 0x11223344u);
  MixColorIntoMmx(0xAABBCCDD, B, 255);
  EXPECT_EQ(B, 0xAABBCCDDu);
  for (auto Row : {MixRowPlain, MixRowMmx}) {
    std::vector<TColor32> Src = {1, 2, 3}, Dst = {9, 9, 9, 9};
    Row(Src.data(), Dst.data(), 3, 255);
    EXPECT_EQ(Dst, (std::vector<TColor32>{1, 2, 3, 9}));
    Row(Src.data(), Dst.data(), 3, 0);
    Row(Src.data(), Dst.data(), -1, 128);
    EXPECT_EQ(Dst, (std::vector<TColor32>{1, 2, 3, 9}));
    Src = {0xFF0000FF};
    Dst = {0x000000FF};
    Row(Src.data(), Dst.data(), 1, 128);
    EXPECT_EQ(Dst[0], Row == MixRowPlain ? PlainMixReference(0xFF0000FF, 0xFF, 128)
                                         : WideMixReference(0xFF0000FF, 0xFF, 128));
  }
}

TEST(RasterBlend, ForegroundAlphaDecides) {
  const std::vector<TColor32> Colors = SampleColors();
  for (TColor32 F : Colors)
    for (TColor32 B : Colors) {
      const Cardinal Fa = F >> 24;
      const TColor32 Plain = Fa == 255 ? F : (Fa == 0 ? B : PlainMixReference(F, B, Fa));
      ASSERT_EQ(BlendColorPlain(F, B), Plain);
      ASSERT_EQ(BlendColorMmx(F, B), WideMixReference(F, B, Fa));
      TColor32 D1 = B, D2 = B;
      BlendColorIntoPlain(F, D1);
      BlendColorIntoMmx(F, D2);
      ASSERT_EQ(D1, Plain);
      ASSERT_EQ(D2, Fa == 0 ? B : (Fa == 255 ? F : WideMixReference(F, B, Fa)));
    }
  // The worked example of the result's alpha: Fa = 128 over Ba = 255.
  EXPECT_EQ(BlendColorPlain(0x80FFFFFF, 0xFF000000) >> 24,
            ((128u * 128 + 128) >> 8) + ((255u * 127 + 128) >> 8));
}

TEST(RasterBlend, MasterAlphaForms) {
  const std::vector<TColor32> Colors = SampleColors();
  for (Cardinal M : {0u, 1u, 77u, 128u, 254u, 255u})
    for (TColor32 F : Colors)
      for (TColor32 B : Colors) {
        const Cardinal Fa = F >> 24;
        const Cardinal W = ((M + 1) * Fa) >> 8;
        const TColor32 Plain = (Fa == 0 || W == 0) ? B : (PlainMixReference(F, B, W) & 0x00FFFFFF);
        ASSERT_EQ(BlendColorMasterPlain(F, B, M), Plain);
        ASSERT_EQ(BlendColorMasterMmx(F, B, M), W == 0 ? B : WideMixReference(F, B, W));
        TColor32 RowPlain = B, RowWide = B;
        BlendRowMasterPlain(&F, &RowPlain, 1, M);
        BlendRowMasterMmx(&F, &RowWide, 1, M);
        ASSERT_EQ(RowPlain, Plain);
        const Cardinal RowW = ((Fa + 1) * M) >> 8;  // the row form weighs (Fa + 1) x M
        ASSERT_EQ(RowWide, (Fa == 0 || RowW == 0) ? B : WideMixReference(F, B, RowW));
      }
}

TEST(RasterMerge, HalfRedOverHalfBlue) {
  const TColor32 R = MergeColor(0x80FF0000, 0x800000FF);
  EXPECT_EQ(R >> 24, 0xC0u);
  // Channel by channel from the tables: P = Ba*Bc, T = P +/- Fa*|Fc - P|, result = T / Ra.
  const Byte P = AlphaProductTable[128][255];
  EXPECT_EQ(Ch(R, 2), AlphaDivisionTable[0xC0][AlphaProductTable[128][255]]);
  EXPECT_EQ(Ch(R, 0), AlphaDivisionTable[0xC0][P - AlphaProductTable[128][P]]);
}

TEST(RasterMerge, ShortcutsAndMaster) {
  EXPECT_EQ(MergeColor(0x00123456, 0x80ABCDEF), 0x80ABCDEFu);
  EXPECT_EQ(MergeColor(0x80FFFFFF, 0xFF000000), BlendColor(0x80FFFFFF, 0xFF000000) | 0xFF000000);
  EXPECT_EQ(MergeColor(0xFF123456, 0x80ABCDEF), 0xFF123456u);
  EXPECT_EQ(MergeColor(0x40123456, 0x00ABCDEF), 0x40123456u);
  EXPECT_EQ(MergeColorMaster(0x80FF0000, 0x800000FF, 255), MergeColor(0x80FF0000, 0x800000FF));
  EXPECT_EQ(MergeColorMaster(0x80FF0000, 0x800000FF, 0), 0x800000FFu);
  std::vector<TColor32> Src = {0x80FF0000, 0}, Dst = {0x800000FF, 0x11111111};
  MergeRow(Src.data(), Dst.data(), 2);
  EXPECT_EQ(Dst[0], MergeColor(0x80FF0000, 0x800000FF));
  EXPECT_EQ(Dst[1], 0x11111111u);
}

TEST(RasterColorArithmetic, PerChannelTable) {
  struct TCase {
    TColorArithmetic Fn;
    Cardinal (*Ref)(Cardinal, Cardinal);
  };
  const TCase Cases[] = {
      {AddColorsPlain, [](Cardinal A, Cardinal B) { return A + B > 255 ? 255 : A + B; }},
      {SubtractColorsPlain, [](Cardinal A, Cardinal B) { return A > B ? A - B : 0; }},
      {DivideColorsPlain,
       [](Cardinal A, Cardinal B) { return A == 0 ? 255 : ((B * 256) / A > 255 ? 255 : (B * 256) / A); }},
      {ModulateColorsPlain, [](Cardinal A, Cardinal B) { return (A * B) >> 8; }},
      {MaxOfColorsPlain, [](Cardinal A, Cardinal B) { return A > B ? A : B; }},
      {MinOfColorsPlain, [](Cardinal A, Cardinal B) { return A < B ? A : B; }},
      {DifferenceOfColorsPlain, [](Cardinal A, Cardinal B) { return A > B ? A - B : B - A; }},
      {AverageOfColorsPlain, [](Cardinal A, Cardinal B) { return (A + B) >> 1; }},
      {AverageOfColorsEmmx, [](Cardinal A, Cardinal B) { return (A + B + 1) >> 1; }},
      {ExclusionOfColorsPlain, [](Cardinal A, Cardinal B) { return A + B - ((A * B) >> 7); }},
  };
  for (const TCase& C : Cases)
    for (Cardinal A = 0; A < 256; ++A)
      for (Cardinal B = 0; B < 256; B += 3) {
        const TColor32 C1 = A | (B << 8) | (255 - A) << 16 | (A ^ B) << 24;
        const TColor32 C2 = B | (A << 8) | (255 - B) << 16 | (A & B) << 24;
        const TColor32 R = C.Fn(C1, C2);
        for (int I = 0; I < 4; ++I) {
          const Cardinal Expected = C.Ref(Ch(C1, I), Ch(C2, I));
          ASSERT_LE(Expected, 255u);
          ASSERT_EQ(Ch(R, I), Expected);
        }
      }
  EXPECT_EQ(AverageOfColorsPlain(0x01010101, 0x02020202), 0x01010101u);
  EXPECT_EQ(AverageOfColorsEmmx(0x01010101, 0x02020202), 0x02020202u);
  EXPECT_EQ(DivideColorsPlain(0x00010000, 0x10101010), 0xFFFFFFFFu);
  EXPECT_EQ(ScaleColorPlain(0xFF804020, 128), 0x7F402010u);
  EXPECT_EQ(ScaleColorPlain(0xFFFFFFFF, 255), 0xFEFEFEFEu);
}

TEST(RasterBlendSelection, FormsFollowTheReportedFeatures) {
  EXPECT_EQ(MixColors, &MixColorsPlain);
  EXPECT_EQ(BlendRowByMode[cmBlend], &BlendRowPlainSse2);
  EXPECT_EQ(BlendRowByMode[cmMerge], &MergeRowPlain);
  {
    TCpuFeaturesScope Scope(CpuFeatureBit(ciMMX));
    EXPECT_TRUE(MmxActive);
    EXPECT_EQ(MixColors, &MixColorsMmx);
    EXPECT_EQ(BlendColorIntoMasterByMode[cmBlend], &BlendColorIntoMasterMmx);
    EXPECT_EQ(MergeColor, &MergeColorPlain);
    EXPECT_EQ(AverageOfColors, &AverageOfColorsPlain);
  }
  {
    TCpuFeaturesScope Scope(CpuFeatureBit(ciEMMX));
    EXPECT_EQ(AverageOfColors, &AverageOfColorsEmmx);
    EXPECT_EQ(MixColors, &MixColorsPlain);
  }
  EXPECT_FALSE(MmxActive);
  EXPECT_EQ(AverageOfColors, &AverageOfColorsPlain);
}

// The SSE2 row blend against the plain one for every foreground alpha, every foreground
// channel value and every background channel value (the background's alpha runs with it),
// with row lengths that leave a scalar tail.
TEST(RasterBlend, Sse2RowGivesThePlainBytes) {
  std::vector<TColor32> Src(256 * 256 + 3), Expected(Src.size()), Actual(Src.size());
  for (Cardinal Fa = 0; Fa < 256; ++Fa) {
    for (Cardinal V = 0; V < 256; ++V)
      for (Cardinal Bc = 0; Bc < 256; ++Bc) {
        const std::size_t I = V * 256 + Bc;
        Src[I] = (Fa << 24) | (V << 16) | ((255 - V) << 8) | V;
        Expected[I] = Actual[I] = Bc * 0x01010101u;
      }
    for (std::size_t I = 256 * 256; I < Src.size(); ++I) {
      Src[I] = (Fa << 24) | 0x123456;
      Expected[I] = Actual[I] = 0x80FEDCBA;
    }
    BlendRowPlain(Src.data(), Expected.data(), static_cast<Integer>(Src.size()));
    BlendRowPlainSse2(Src.data(), Actual.data(), static_cast<Integer>(Src.size()));
    ASSERT_EQ(Actual, Expected) << "alpha " << Fa;
  }
  // Mixed alphas within one group of four: transparent, opaque and mixed pixels side by side.
  const std::vector<TColor32> Mixed = {0x00FFFFFF, 0xFF112233, 0x80808080, 0x01020304, 0xFE000000, 0};
  std::vector<TColor32> A(6, 0x40506070), B(6, 0x40506070);
  BlendRowPlain(Mixed.data(), A.data(), 6);
  BlendRowPlainSse2(Mixed.data(), B.data(), 6);
  EXPECT_EQ(A, B);
}
