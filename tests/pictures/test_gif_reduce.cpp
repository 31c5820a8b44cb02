// Colour reduction: lookups, dither engines, palettes and ReduceBitmapColors.
#include <cmath>

#include "pictures/GIFColorReduce.h"
#include "tests/pictures/GifTestSupport.h"

namespace {

// A photograph-like picture: smooth gradients, a bright disc and fixed noise.
std::unique_ptr<TBitmap> Photograph(Integer W = 64, Integer H = 48) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetWidth(W);
  B->SetHeight(H);
  Cardinal Seed = 12345;
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = static_cast<Byte*>(B->GetScanLine(Y));
    for (Integer X = 0; X < W; ++X) {
      Seed = Seed * 1103515245u + 12345u;
      const Integer Noise = static_cast<Integer>((Seed >> 16) % 17) - 8;
      const bool Disc = (X - 40) * (X - 40) + (Y - 20) * (Y - 20) < 120;
      Row[3 * X + 2] = static_cast<Byte>(std::clamp<Integer>(X * 255 / W + Noise, 0, 255));
      Row[3 * X + 1] = static_cast<Byte>(std::clamp<Integer>(Disc ? 230 : Y * 200 / H + Noise, 0, 255));
      Row[3 * X + 0] = static_cast<Byte>(std::clamp<Integer>(Disc ? 60 : 128 + Noise * 3, 0, 255));
    }
  }
  return B;
}

std::vector<PALETTEENTRY> Entries(HPALETTE P) {
  std::vector<PALETTEENTRY> E(256);
  E.resize(GetPaletteEntries(P, 0, 256, E.data()));
  return E;
}

// Mean of each channel over the picture, read through the bitmap's own colours.
std::array<double, 3> MeanColour(TBitmap& B) {
  std::array<double, 3> Sum{};
  for (Integer Y = 0; Y < B.Height(); ++Y)
    for (Integer X = 0; X < B.Width(); ++X) {
      const COLORREF C = PixelAt(B, X, Y);
      Sum[0] += GetRValue(C);
      Sum[1] += GetGValue(C);
      Sum[2] += GetBValue(C);
    }
  for (double& S : Sum) S /= B.Width() * B.Height();
  return Sum;
}

Cardinal Hash(TBitmap& B) {
  Cardinal H = 2166136261u;
  for (Integer Y = 0; Y < B.Height(); ++Y)
    for (Integer X = 0; X < B.Width(); ++X) H = (H ^ PixelAt(B, X, Y)) * 16777619u;
  return H;
}

}  // namespace

TEST(GIFReduce, FixedLookups) {
  TNetscapeColorLookup Web;
  Byte R, G, B;
  EXPECT_EQ(Web.MapColor(47, 0, 0, R, G, B), 0);
  EXPECT_EQ(Web.MapColor(48, 0, 0, R, G, B), 36);
  EXPECT_EQ(R, 51);
  EXPECT_EQ(Web.MapColor(252, 0, 0, R, G, B), 180);
  EXPECT_EQ(Web.MapColor(255, 0, 0, R, G, B), 180);
  EXPECT_EQ(R, 255);
  EXPECT_EQ(G, 0);
  TMonochromeLookup Mono;
  EXPECT_EQ(Mono.MapColor(127, 127, 127, R, G, B), 0);
  EXPECT_EQ(R, 0);
  EXPECT_EQ(Mono.MapColor(128, 128, 128, R, G, B), 1);
  EXPECT_EQ(R, 255);
  TGrayScaleLookup Grey;
  EXPECT_EQ(Grey.MapColor(255, 255, 255, R, G, B), 255);
  EXPECT_EQ(Grey.MapColor(0, 255, 0, R, G, B), 149);
  EXPECT_EQ(G, 149);
}

TEST(GIFReduce, FastLookupCachesPerCellAndPrefersLowIndexes) {
  LOGPALETTE Pal;
  Pal.palNumEntries = 3;
  Pal.palPalEntry[0] = {0, 0, 0, 0};
  Pal.palPalEntry[1] = {100, 100, 100, 0};
  Pal.palPalEntry[2] = {100, 100, 100, 0};
  HPALETTE P = CreatePalette(&Pal);
  TFastColorLookup Fast(P);
  Byte R, G, B;
  EXPECT_EQ(Fast.MapColor(100, 100, 100, R, G, B), 1);
  EXPECT_EQ(Fast.MapColor(60, 60, 60, R, G, B), 1);
  // The same 5-5-5 cell answers from the cache, even where entry 0 would be nearer.
  EXPECT_EQ(Fast.MapColor(56, 56, 56, R, G, B), 1);
  EXPECT_EQ(Fast.MapColor(40, 40, 40, R, G, B), 0);
  EXPECT_EQ(R, 0);
  DeleteObject(P);
}

TEST(GIFReduce, PlainEngineWalksRowsBothWays) {
  TNetscapeColorLookup Web;
  TDitherEngine E(4, &Web);
  Byte R, G, B;
  std::vector<Integer> Columns;
  for (Integer Row = 0; Row < 2; ++Row) {
    while (E.CurrentColumn >= 0 && E.CurrentColumn < 4) {
      Columns.push_back(E.CurrentColumn);
      EXPECT_EQ(E.DitherPixel(90, 90, 90, R, G, B), 43);
    }
    E.StartNextRow();
  }
  EXPECT_EQ(Columns, (std::vector<Integer>{0, 1, 2, 3, 3, 2, 1, 0}));
}

TEST(GIFReduce, EveryMethodAndDitherIsDeterministicAndKeepsTheMeanColour) {
  auto Photo = Photograph();
  const std::array<double, 3> Mean = MeanColour(*Photo);
  for (Byte Method = crSystem20; Method <= crQuantizeSystem; ++Method) {
    for (Byte Dither = dkNone; Dither <= dkBurkes; ++Dither) {
      auto Source = Photograph();
      std::unique_ptr<TBitmap> A(ReduceBitmapColors(Source.get(), Method, Dither, 8, nullptr));
      std::unique_ptr<TBitmap> Again(ReduceBitmapColors(Photograph().get(), Method, Dither, 8, nullptr));
      ASSERT_FALSE(A->Empty()) << int(Method) << "/" << int(Dither);
      EXPECT_EQ(A->GetPixelFormat(), pf8bit);
      EXPECT_EQ(Hash(*A), Hash(*Again)) << int(Method) << "/" << int(Dither);
      // Diffusion keeps the picture's mean colour; grey and black-and-white palettes keep its
      // mean brightness only.
      if (Dither != dkNone && Method != crSystemGrey && Method != crBlackWhite && Method != crGrey256 &&
          Method != crSystem20) {
        const std::array<double, 3> Out = MeanColour(*A);
        for (Integer C = 0; C < 3; ++C)
          EXPECT_NEAR(Out[C], Mean[C], 4.0) << int(Method) << "/" << int(Dither) << " channel " << C;
      }
    }
  }
}

TEST(GIFReduce, DitheringBeatsPlainMappingOnAGradient) {
  // A grey ramp on the black-and-white palette: plain mapping is two blocks, diffusion
  // follows the ramp's brightness column by column.
  for (Byte Dither = dkFloydSteinberg; Dither <= dkBurkes; ++Dither) {
    TBitmap Ramp;
    Ramp.SetPixelFormat(pf24bit);
    Ramp.SetWidth(32);
    Ramp.SetHeight(32);
    for (Integer Y = 0; Y < 32; ++Y) {
      Byte* Row = static_cast<Byte*>(Ramp.GetScanLine(Y));
      for (Integer X = 0; X < 32; ++X)
        Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = static_cast<Byte>(X * 8);
    }
    std::unique_ptr<TBitmap> Out(ReduceBitmapColors(&Ramp, crBlackWhite, Dither, 1, nullptr));
    for (Integer X : {4, 16, 28}) {
      Integer White = 0;
      for (Integer Y = 0; Y < 32; ++Y) White += PixelAt(*Out, X, Y) == 0xFFFFFF;
      EXPECT_NEAR(White / 32.0, X * 8 / 255.0, 0.2) << int(Dither) << " column " << X;
    }
  }
}

TEST(GIFReduce, QuantizerFindsTwoColoursExactly) {
  TBitmap Two;
  Two.SetPixelFormat(pf24bit);
  Two.SetWidth(6);
  Two.SetHeight(2);
  for (Integer Y = 0; Y < 2; ++Y) {
    Byte* Row = static_cast<Byte*>(Two.GetScanLine(Y));
    for (Integer X = 0; X < 6; ++X) {
      const bool A = X < 3;
      Row[3 * X] = A ? 10 : 200;
      Row[3 * X + 1] = A ? 20 : 150;
      Row[3 * X + 2] = A ? 30 : 100;
    }
  }
  std::unique_ptr<TBitmap> Out(ReduceBitmapColors(&Two, crQuantize, dkNone, 1, nullptr));
  const std::vector<PALETTEENTRY> E = Entries(Out->GetPalette());
  ASSERT_GE(E.size(), 2u);
  EXPECT_EQ(PixelAt(*Out, 0, 0), RGB(30, 20, 10));
  EXPECT_EQ(PixelAt(*Out, 5, 1), RGB(100, 150, 200));
}

TEST(GIFReduce, UnknownMethodOrDitherGivesAnEmptyBitmapAfterConverting) {
  for (auto [Method, Dither] : {std::pair<Byte, Byte>{12, dkNone}, {crWeb216, 9}}) {
    auto Source = Photograph(8, 4);
    Source->SetPixelFormat(pf8bit);
    std::unique_ptr<TBitmap> Out(ReduceBitmapColors(Source.get(), Method, Dither, 8, nullptr));
    EXPECT_TRUE(Out->Empty());
    EXPECT_EQ(Source->GetPixelFormat(), pf24bit);
  }
  // A custom palette of none has no colours: empty as well.
  auto Source = Photograph(8, 4);
  std::unique_ptr<TBitmap> Out(ReduceBitmapColors(Source.get(), crCustomPalette, dkNone, 8, nullptr));
  EXPECT_TRUE(Out->Empty());
}

TEST(GIFReduce, SystemColoursMapToThemselves) {
  TBitmap Sys;
  Sys.SetPixelFormat(pf24bit);
  Sys.SetWidth(20);
  Sys.SetHeight(1);
  const PALETTEENTRY* E = DefaultPaletteEntries();
  Byte* Row = static_cast<Byte*>(Sys.GetScanLine(0));
  for (Integer X = 0; X < 20; ++X) {
    Row[3 * X] = E[X].peBlue;
    Row[3 * X + 1] = E[X].peGreen;
    Row[3 * X + 2] = E[X].peRed;
  }
  std::unique_ptr<TBitmap> Out(ReduceBitmapColors(&Sys, crSystem20, dkNone, 8, nullptr));
  for (Integer X = 0; X < 20; ++X)
    EXPECT_EQ(PixelAt(*Out, X, 0), RGB(E[X].peRed, E[X].peGreen, E[X].peBlue)) << X;
}

TEST(GIFReduce, FixedPalettes) {
  HPALETTE Web = CreateWebPalette();
  const std::vector<PALETTEENTRY> W = Entries(Web);
  ASSERT_EQ(W.size(), 216u);
  EXPECT_EQ(W[36 * 5 + 6 * 2 + 1], (PALETTEENTRY{255, 102, 51, 0}));
  DeleteObject(Web);
  HPALETTE Grey = CreateSystemGreyPalette();
  const std::vector<PALETTEENTRY> G = Entries(Grey);
  ASSERT_EQ(G.size(), 4u);
  EXPECT_EQ(G[1].peRed, 128);
  EXPECT_EQ(G[2].peRed, 192);
  DeleteObject(Grey);
}
