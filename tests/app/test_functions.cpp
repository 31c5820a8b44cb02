// Colours, the tube shade factor and the cell fill.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "AppTestSupport.h"
#include "app/CellFill.h"
#include "app/Main.h"
#include "platform/system/Random.h"

TEST(Functions, HsvToRgbSectors) {
  const struct {
    Single H, S, V;
    Integer R, G, B;
  } Cases[] = {
      {0, 1, 1, 255, 0, 0},     {60, 1, 1, 255, 255, 0},    {120, 1, 1, 0, 255, 0},
      {180, 1, 1, 0, 255, 255}, {240, 1, 1, 0, 0, 255},     {300, 1, 1, 255, 0, 255},
      {360, 1, 1, 255, 0, 0},   {30, 1, 0.5f, 127, 63, 0},  {90, 1, 1, 127, 255, 0},
      {330, 1, 1, 255, 0, 127}, {100, 0, 1, 255, 255, 255}, {1, 1, 0.5f, 127, 2, 0},
  };
  for (const auto& C : Cases) {
    Integer R = -1, G = -1, B = -1;
    HsvToRgb(C.H, C.S, C.V, R, G, B);
    EXPECT_EQ(R, C.R) << C.H;
    EXPECT_EQ(G, C.G) << C.H;
    EXPECT_EQ(B, C.B) << C.H;
  }
  Integer R, G, B;
  HsvToRgb(std::numeric_limits<Single>::quiet_NaN(), 0, 0.5f, R, G, B);
  EXPECT_EQ(R, 127);
  EXPECT_EQ(G, 127);
  EXPECT_EQ(B, 127);
}

TEST(Functions, NextPatternColorModes) {
  ColorCounter = 0;
  EXPECT_EQ(NextPatternColor(0), clWhite);
  EXPECT_EQ(ColorCounter, 1);
  // Mode 4 from the count: red c mod 255, green c div 255 above 255, blue above 65025.
  const struct {
    Integer Count;
    TColor Color;
  } Counted[] = {
      {1, Rgb(1, 1, 1)}, {255, Rgb(0, 1, 1)}, {300, Rgb(45, 1, 1)}, {70000, Rgb(130, 274 & 255, 1)}};
  for (const auto& C : Counted) {
    ColorCounter = C.Count - 1;
    EXPECT_EQ(NextPatternColor(4.4f), C.Color) << C.Count;
    EXPECT_EQ(ColorCounter, C.Count);
  }
  ColorCounter = 360;
  EXPECT_EQ(NextPatternColor(5), Rgb(127, 2, 0));  // hue 1 at half value
  SetRandSeed(12345);
  for (Integer I = 0; I < 200; ++I) {
    const TColor Dark = NextPatternColor(2), Light = NextPatternColor(3), Any = NextPatternColor(1);
    for (Integer Shift : {0, 8, 16}) {
      EXPECT_LT(Dark >> Shift & 255, 128);
      EXPECT_GE(Light >> Shift & 255, 128);
      EXPECT_LT(Any >> Shift & 255, 255);
    }
  }
}

TEST(Functions, NextPatternColorDrawsAgainForBlackOrWhite) {
  // The count whose colour is black moves on to the next count.
  ColorCounter = 255 * 256 * 255 - 1;
  const TColor C = NextPatternColor(4);
  EXPECT_NE(C, clBlack);
  EXPECT_EQ(C, Rgb(1, 0, 0));
  EXPECT_EQ(ColorCounter, 255 * 256 * 255 + 1);

  // Seeds whose next three draws are all zero (mode 1 black) or all 127 (mode 3 white).
  auto FindSeed = [](Integer Range, Integer Value) {
    for (Integer Seed = 0;; ++Seed) {
      SetRandSeed(Seed);
      if (Random(Range) == Value && Random(Range) == Value && Random(Range) == Value) return Seed;
    }
  };
  SetRandSeed(FindSeed(128, 127));
  EXPECT_NE(NextPatternColor(3), clWhite);
  SetRandSeed(FindSeed(255, 0));
  EXPECT_NE(NextPatternColor(1), clBlack);
}

TEST(Functions, TubeShadeFactor) {
  const struct {
    Integer W, H, X, Kind, Y;
    Single E, F, G, Factor;
  } Cases[] = {
      // f < 0.5: bright middle, dark edges; the edge is 1 - e.
      {200, 100, 50, 1, 7, 0.3f, 0.25f, 1, 0.3f * (1 - std::exp(-0.75f * 5 * 50 / 200)) + 0.7f},
      {200, 100, 150, 1, 7, 0.3f, 0.25f, 1, 0.3f * (1 - std::exp(-0.75f * 5 * 50 / 200)) + 0.7f},
      {200, 100, 0, 1, 7, 1, 0.25f, 1, 0},
      {100, 200, 9, 2, 50, 0.3f, 0.25f, 2, 0.3f * (1 - std::exp(-0.75f * 2 * 5 * 50 / 200)) + 0.7f},
      // f >= 0.5: dark middle line.
      {200, 100, 100, 1, 3, 0.3f, 0.75f, 1, 0.7f},
      {200, 100, 20, 1, 3, 0.3f, 0.75f, 1.5f, 0.3f * (1 - std::exp(-0.75f * 1.5f * 10 * 80 / 200)) + 0.7f},
      // No shade.
      {200, 100, 20, 1, 3, 0, 0.1f, 1, 1},
  };
  for (const auto& C : Cases)
    EXPECT_NEAR(TubeShadeFactor(C.W, C.H, C.X, C.Kind, C.Y, C.E, C.F, C.G), C.Factor, 1e-6)
        << C.X << " " << C.Y;
}

namespace {
// Black walls: a spiral corridor in a border, and random specks.
TColor Spiral(Integer X, Integer Y) {
  const Integer N = 61;
  if (X == 0 || Y == 0 || X == N - 1 || Y == N - 1) return clBlack;
  const Integer Ring = std::min(std::min(X, Y), std::min(N - 1 - X, N - 1 - Y));
  const bool Gap = Y == Ring + 1 && X == Ring + 2;  // each ring opens into the next one
  return Ring % 2 == 0 && !Gap ? clBlack : clWhite;
}

TColor Specks(Integer X, Integer Y) {
  const Cardinal H = (static_cast<Cardinal>(X) * 2654435761u) ^ (static_cast<Cardinal>(Y) * 40503u + 17);
  return (H >> 7) % 100 < 38 ? clBlack : Rgb(200, 210, 220);
}

// Open pixels of pure colours (bytes of zero that are no border) and near-black ones between
// the teeth of a comb: runs long and short, grown in steps of several pixels and one by one.
TColor Comb(Integer X, Integer Y) {
  if (X == 0 || Y == 0 || X == 79 || Y == 39) return clBlack;
  if (X % 9 == 4 && Y < 30) return clBlack;
  if (Y == 33 && X % 13 == 6) return clBlack;
  static const TColor Open[] = {clRed, clLime, clBlue, Rgb(1, 0, 0), Rgb(200, 210, 220)};
  return Open[(X / 3 + Y) % 5];
}

void ExpectSameFill(TColor (*Picture)(Integer, Integer), Integer W, Integer H, Integer X, Integer Y,
                    TColor Brush) {
  auto Cell = MakeBitmap(W, H, Picture);
  auto Whole = MakeBitmap(W, H, Picture);
  Cell->GetCanvas()->GetBrush()->SetColor(Brush);
  Whole->GetCanvas()->GetBrush()->SetColor(Brush);
  FillCell(Cell.get(), X, Y);
  Whole->GetCanvas()->FloodFill(X, Y, clBlack, fsBorder);
  for (Integer Yy = 0; Yy < H; ++Yy)
    for (Integer Xx = 0; Xx < W; ++Xx)
      ASSERT_EQ(PixelAt(Cell.get(), Xx, Yy), PixelAt(Whole.get(), Xx, Yy))
          << "seed " << X << "," << Y << " at " << Xx << "," << Yy;
}
}  // namespace

TEST(Functions, FillCellEqualsOneBorderFillOverTheWholeBitmap) {
  // The spiral's corridor winds through the whole picture.
  ExpectSameFill(Spiral, 61, 61, 30, 30, Rgb(10, 200, 30));
  ExpectSameFill(Spiral, 61, 61, 1, 1, Rgb(10, 200, 30));
  // Random clusters, some touching the edges; one fill in black, which turns cells to border.
  for (Integer Seed = 0; Seed < 40; ++Seed) {
    const Integer X = (Seed * 37) % 90, Y = (Seed * 53) % 70;
    ExpectSameFill(Specks, 90, 70, X, Y, Seed == 7 ? clBlack : Rgb(Seed, 100, 50));
  }
  for (const TPoint Seed : {TPoint{1, 1}, TPoint{40, 35}, TPoint{78, 20}, TPoint{6, 33}})
    ExpectSameFill(Comb, 80, 40, Seed.X, Seed.Y, Rgb(90, 0, 40));
  // A seed on black or outside fills nothing.
  auto B = MakeBitmap(61, 61, Spiral);
  B->GetCanvas()->GetBrush()->SetColor(clRed);
  FillCell(B.get(), 0, 0);
  FillCell(B.get(), -1, 4);
  FillCell(B.get(), 61, 4);
  for (Integer Y = 0; Y < 61; ++Y)
    for (Integer X = 0; X < 61; ++X) ASSERT_EQ(PixelAt(B.get(), X, Y), Spiral(X, Y));
}

TEST(Functions, ARepaintCoversExactlyTheCellTheFillFound) {
  // The cell already holds pixels of the probe colour: they are part of it all the same.
  const TColor Probe = Rgb(10, 200, 30), Mean = Rgb(90, 80, 70);
  auto Picture = [Probe](Integer X, Integer Y) {
    if (X == 0 || Y == 0 || X == 39 || Y == 29 || X == 20) return clBlack;
    return (X + Y) % 3 == 0 ? Probe : clWhite;
  };
  auto B = MakeBitmap(40, 30, Picture);
  TCellFill Fill;
  Fill.Bind(B.get());
  ASSERT_TRUE(Fill.Fill(5, 5, Probe));
  Fill.Repaint(Mean);
  for (Integer Y = 0; Y < 30; ++Y)
    for (Integer X = 0; X < 40; ++X) {
      const bool Inside = X > 0 && X < 20 && Y > 0 && Y < 29;
      ASSERT_EQ(PixelAt(B.get(), X, Y), Inside ? Mean : Picture(X, Y)) << X << "," << Y;
    }
  // The next cell is found afresh.
  ASSERT_TRUE(Fill.Fill(30, 10, Probe));
  Fill.Repaint(Mean);
  EXPECT_EQ(PixelAt(B.get(), 38, 28), Mean);
  EXPECT_FALSE(Fill.Fill(20, 10, Probe));
}

TEST(Functions, AFoundCellIsMarkedUnpaintedUntilItsRepaint) {
  const TColor Probe = Rgb(10, 200, 30), Mean = Rgb(90, 80, 70);
  auto Picture = [](Integer X, Integer Y) {
    return X == 0 || Y == 0 || X == 39 || Y == 29 || X == 20 ? clBlack : clWhite;
  };
  auto B = MakeBitmap(40, 30, Picture);
  TCellFill Fill;
  Fill.Bind(B.get());
  ASSERT_TRUE(Fill.Find(5, 5));
  for (Integer Y = 0; Y < 30; ++Y)
    for (Integer X = 0; X < 40; ++X) {
      const bool Inside = X > 0 && X < 20 && Y > 0 && Y < 29;
      ASSERT_EQ(Fill.Marked(X, Y), Inside) << X << "," << Y;
      ASSERT_EQ(PixelAt(B.get(), X, Y), Picture(X, Y)) << X << "," << Y;
    }
  // The next search lets go of the first cell's marks; a repaint paints the cell found and lets
  // go of its marks.
  ASSERT_TRUE(Fill.Find(30, 10));
  EXPECT_FALSE(Fill.Marked(5, 5));
  EXPECT_TRUE(Fill.Marked(38, 28));
  Fill.Repaint(Mean);
  EXPECT_FALSE(Fill.Marked(38, 28));
  EXPECT_EQ(PixelAt(B.get(), 38, 28), Mean);
  EXPECT_EQ(PixelAt(B.get(), 5, 5), clWhite);
  // A seed on black finds nothing and marks nothing; a fill after a search still fills.
  EXPECT_FALSE(Fill.Find(20, 10));
  EXPECT_FALSE(Fill.Marked(21, 10));
  ASSERT_TRUE(Fill.Fill(5, 5, Probe));
  EXPECT_EQ(PixelAt(B.get(), 19, 28), Probe);
  EXPECT_FALSE(Fill.Marked(19, 28));
}
