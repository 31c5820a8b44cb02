// Hexagons and spheres: closed cells through the whole build, the regular grid without
// jitter, too few points, spheres that keep their test points off each other, coverage, the
// glass effect up to the border and the seeding from the clock.
#include <algorithm>
#include <cmath>
#include <set>

#include "AppTestSupport.h"
#include "platform/system/Clock.h"
#include "platform/system/Math.h"

namespace {
// The builds seed the random generator from the clock, which stands still here.
class TCellsTest : public TMosaicTest {
 protected:
  void SetUp() override {
    SetClockSource(&Clock);
    TMosaicTest::SetUp();
    Form->NoRim->SetChecked(false);
  }
  void TearDown() override {
    TMosaicTest::TearDown();
    SetClockSource(nullptr);
  }
  // The pattern type and its slider positions from P1 on, without a build.
  void Use(Byte Type, std::initializer_list<Integer> Positions) {
    Busy = 1;
    PatternType = Type;
    Integer I = 0;
    for (Integer P : Positions) {
      Form->TrackBarP[I]->SetMinValue(-100);
      Form->TrackBarP[I]->SetMaxValue(100);
      Form->TrackBarP[I++]->SetValue(P);
    }
    Busy = 0;
  }
  // The wire frame alone, each cell in its own pattern colour (mode 4 counts).
  void BuildFrame(Integer LineWidth = 1) {
    Busy = 1;
    Form->LineSpin->SetValue(LineWidth);
    Form->ColorSpin->SetValue(4);
    Form->FrameOnly->SetChecked(true);
    Form->PatternColors->SetChecked(true);
    Busy = 0;
    Form->CreateMosaic(Form->UpdateBtn);
  }
  struct TSeeds {
    std::vector<Integer> X, Y, R;
    bool operator==(const TSeeds&) const = default;
  };
  static TSeeds Seeds() {
    return TSeeds{{CellCentreX.begin() + 1, CellCentreX.begin() + SeedCount + 1},
                  {CellCentreY.begin() + 1, CellCentreY.begin() + SeedCount + 1},
                  {CellRadius.begin() + 1, CellRadius.begin() + SeedCount + 1}};
  }
  TFakeClock Clock{100000};
};

Integer HalfWidth(Integer P1) {
  return static_cast<Integer>(Round((P1 / 10.0f + 2) * 2));
}
Integer RowStep(Integer P3, Integer A) {
  return static_cast<Integer>(Round(((P3 + 100) / 160.0f + 0.25f) * A));
}

// The hexagon rows of a jitter-free build: runs of seeds in order with the same y.
std::vector<std::vector<Integer>> SeedRows() {
  std::vector<std::vector<Integer>> Rows;
  for (Integer K = 1; K <= SeedCount; ++K) {
    if (Rows.empty() || CellCentreY[Rows.back().front()] != CellCentreY[K]) Rows.emplace_back();
    Rows.back().push_back(K);
  }
  return Rows;
}

std::unique_ptr<TBitmap> Copy(TBitmap* B) {
  auto C = std::make_unique<TBitmap>();
  C->Assign(B);
  return C;
}
}  // namespace

TEST_F(TCellsTest, HexagonCellsAreClosedAndTakeTheExactMeanOfTheSourceUnderThem) {
  // First the frame with pattern colours: every cell one seed, one colour of its own; the
  // pieces at the border hold no seed and stay white. Then a source coloured by those cells,
  // built over the same frame (the clock stands still), gives every cell exactly its colour.
  // The source is square, so nothing is cropped.
  const struct {
    Integer P1, P2, P3, Line;
  } Cases[] = {{40, 40, 0, 1}, {0, 30, -50, 1}, {100, 0, 100, 3}, {60, 20, 30, 2}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "P " << C.P1 << " " << C.P2 << " " << C.P3 << " line " << C.Line);
    LoadUniform(400, 400, clWhite);
    Use(ptHexagons, {C.P1, C.P2, C.P3});
    // The square's outline is drawn with the pen width of the build before.
    BuildFrame(C.Line);
    BuildFrame(C.Line);
    auto Frame = Copy(ResultBitmap.get());
    const Integer W = Frame->GetWidth();
    ASSERT_EQ(W, Frame->GetHeight());
    ASSERT_GT(SeedCount, 20);
    Integer Regions = 0;
    const std::vector<Integer> Label = LabelRegions(Frame.get(), Regions);
    auto At = [&](Integer X, Integer Y) { return Label[static_cast<std::size_t>(Y) * W + X]; };
    // Hexagons cut by the right border may have their seed outside the square, or on its
    // outline.
    std::vector<Integer> SeedsIn(Regions + 1, 0);
    Integer Inside = 0, OnLine = 0;
    for (Integer K = 1; K <= SeedCount; ++K) {
      const Integer X = CellCentreX[K], Y = CellCentreY[K];
      if (X >= W || Y >= W) continue;
      if (const Integer L = At(X, Y); L != 0)
        ++Inside, ++SeedsIn[L];
      else
        OnLine += X < W - 2 * C.Line;
    }
    EXPECT_EQ(OnLine, 0);
    EXPECT_EQ(*std::max_element(SeedsIn.begin() + 1, SeedsIn.end()), 1) << "cells not closed";
    std::vector<TColor> RegionColor(Regions + 1, -1);
    Integer Mixed = 0;
    for (Integer Y = 0; Y < W; ++Y)
      for (Integer X = 0; X < W; ++X)
        if (const Integer L = At(X, Y); L != 0) {
          if (RegionColor[L] == -1) RegionColor[L] = PixelAt(Frame.get(), X, Y);
          Mixed += RegionColor[L] != PixelAt(Frame.get(), X, Y);
        }
    EXPECT_EQ(Mixed, 0);
    std::set<TColor> Colors;
    Integer WrongWhite = 0;
    for (Integer L = 1; L <= Regions; ++L) {
      WrongWhite += (RegionColor[L] == clWhite) != (SeedsIn[L] == 0);
      if (SeedsIn[L] != 0) Colors.insert(RegionColor[L]);
    }
    EXPECT_EQ(WrongWhite, 0);
    EXPECT_EQ(static_cast<Integer>(Colors.size()), Inside);

    auto CellColor = [](Integer L) { return Rgb(1 + L % 251, 1 + (L / 251) % 251, 40 + L % 7); };
    auto Source = MakeBitmap(W, W, [&](Integer X, Integer Y) {
      const Integer L = At(X, Y);
      return L == 0 ? Rgb(200, 0, 0) : CellColor(L);
    });
    Busy = 1;
    Form->GridShow->SetChecked(true);
    Busy = 0;
    LoadSource(Source.get());
    ASSERT_EQ(ResultBitmap->GetWidth(), W - 1);
    Integer Wrong = 0;
    for (Integer Y = 0; Y < W - 1; ++Y)
      for (Integer X = 0; X < W - 1; ++X) {
        const Integer L = At(X, Y);
        if (L == 0 ? PixelAt(ResultBitmap.get(), X, Y) != clBlack
                   : SeedsIn[L] != 0 && PixelAt(ResultBitmap.get(), X, Y) != CellColor(L))
          ++Wrong;
      }
    EXPECT_EQ(Wrong, 0);
    Busy = 1;
    Form->GridShow->SetChecked(false);
    Busy = 0;
  }
}

TEST_F(TCellsTest, SpheresBuildAMosaicOfDiscsInTheSourceColour) {
  // A picture wider than high: the square is cropped and the seeds move with it. Entry 0 of
  // the seed tables, which the colour fill takes too, holds what an earlier build left.
  const TColor Color = Rgb(30, 140, 90);
  LoadUniform(400, 300, Color);
  Use(ptSpheres, {10, 30, 60, 40});
  Busy = 1;
  Form->Blending->SetChecked(false);
  Busy = 0;
  CellCentreX[0] = 200, CellCentreY[0] = 250, CellRadius[0] = 30;
  Form->CreateMosaic(Form->UpdateBtn);
  ASSERT_GT(SeedCount, 50);
  const Integer W = ResultBitmap->GetWidth(), H = ResultBitmap->GetHeight();
  std::vector<bool> OnSphere(static_cast<std::size_t>(W) * H, false);
  Integer Inside = 0, Wrong = 0;
  for (Integer K = 1; K <= SeedCount; ++K) {
    const Integer X = CellCentreX[K], Y = CellCentreY[K], R = CellRadius[K];
    for (Integer Py = Max(Y - R, 0); Py < Min(Y + R, H); ++Py)
      for (Integer Px = Max(X - R, 0); Px < Min(X + R, W); ++Px)
        OnSphere[static_cast<std::size_t>(Py) * W + Px] = true;
    if (X < 0 || Y < 0 || X >= W || Y >= H) continue;
    ++Inside;
    Wrong += PixelAt(ResultBitmap.get(), X, Y) != Color;
  }
  EXPECT_GT(Inside, SeedCount / 2);
  EXPECT_EQ(Wrong, 0);
  // Every pixel is white or, within a sphere's box, the source colour.
  Integer Stray = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TColor P = PixelAt(ResultBitmap.get(), X, Y);
      Stray += P != clWhite && (P != Color || !OnSphere[static_cast<std::size_t>(Y) * W + X]);
    }
  EXPECT_EQ(Stray, 0);
}

TEST_F(TCellsTest, HexagonsWithoutJitterLieOnARegularGrid) {
  // With P2 = 0 the jitter is Round(a / 13): none up to a = 6, one pixel from a = 7 on.
  LoadUniform(400, 400, clWhite);
  const struct {
    Integer P1, P3;
    bool Regular;
  } Cases[] = {{0, 0, true}, {5, -50, true}, {10, 100, true}, {10, 40, true}, {15, 0, false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "P1 " << C.P1 << " P3 " << C.P3);
    Use(ptHexagons, {C.P1, 0, C.P3});
    BuildFrame();
    const Integer A = HalfWidth(C.P1), B = RowStep(C.P3, A);
    const auto Rows = SeedRows();
    ASSERT_GE(Rows.size(), 4u);
    Integer Off = 0;
    for (std::size_t I = 0; I < Rows.size(); ++I) {
      Off += Rows[I].size() != Rows[0].size();
      for (std::size_t K = 1; K < Rows[I].size(); ++K)
        Off += CellCentreX[Rows[I][K]] - CellCentreX[Rows[I][K - 1]] != 2 * A;
      if (I == 0) continue;
      // The second row of a block sits half a hexagon to the right of the first.
      Off += CellCentreY[Rows[I][0]] - CellCentreY[Rows[I - 1][0]] != 2 * B;
      Off += CellCentreX[Rows[I][0]] - CellCentreX[Rows[I - 1][0]] != (I % 2 == 1 ? A : -A);
    }
    if (C.Regular) {
      EXPECT_EQ(Off, 0);
      EXPECT_EQ(Rows[0].size() * Rows.size(), static_cast<std::size_t>(SeedCount));
    } else {
      EXPECT_GT(Off, 0);
    }
  }
}

TEST_F(TCellsTest, FewerPointsThanTwoColumnsAndFourMakeNoHexagon) {
  // a = 24 and b = 36. A square of 100 has 4 point rows of 2 columns, exactly 2C + 4 points:
  // one hexagon. A square of 60 has 2 rows: none, and the seed count goes back to 0.
  const struct { Integer Side, Cells; } Cases[] = {{100, 1}, {60, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Side);
    LoadUniform(C.Side, C.Side, clWhite);
    Use(ptHexagons, {100, 0, 100});
    BuildFrame();
    ASSERT_EQ(PatternSize, C.Side);
    EXPECT_EQ(SeedCount, C.Cells);
    Integer Regions = 0;
    LabelRegions(ResultBitmap.get(), Regions);
    EXPECT_EQ(Regions > 1, C.Cells > 0);
  }
}

TEST_F(TCellsTest, SpheresKeepTheirTestPointsOffEarlierSpheresAsFarAsCoverageAllows) {
  // Every pair of accepted spheres, in order: a test point of the later sphere (at the radius
  // tested, one more than the radius kept) may lie inside the earlier disc only as often as
  // P2 / 10 allows. With P3 = 0 every sphere starts at the smallest radius r0, so each one
  // kept is r0 - 1. The label of P2 shows the coverage reached.
  LoadUniform(400, 400, clWhite);
  const struct {
    Integer P1, P2, P3, P4;
  } Cases[] = {{10, 0, 60, 40}, {30, 0, 0, 100}, {10, 20, 100, 0}, {0, 40, 0, 40}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "P " << C.P1 << " " << C.P2 << " " << C.P3 << " " << C.P4);
    Use(ptSpheres, {C.P1, C.P2, C.P3, C.P4});
    Busy = 1;
    Form->FrameOnly->SetChecked(true);
    Busy = 0;
    Form->CreateMosaic(Form->UpdateBtn);
    ASSERT_GT(SeedCount, 20);
    const Integer S = PatternSize;
    const Integer R0 = static_cast<Integer>(Round(S * (C.P1 / 10.0f) / 200)) + 4;
    const Integer Points = static_cast<Integer>(Round(C.P4 / 10.0f + 4));
    const Single Cov = C.P2 / 10.0f;
    Integer TooMany = 0, Short = 0;
    double Area = 0;
    for (Integer J = 1; J <= SeedCount; ++J) {
      const Integer R = CellRadius[J];
      Area += M_PI * R * R;
      Short += C.P3 == 0 ? R != R0 - 1 : R < R0 - 1;
      Integer Hits = 0;
      for (Integer P = 0; P < Points; ++P) {
        const double Angle = 2 * M_PI * P / Points;
        const double Px = std::round(std::sin(Angle) * (R + 1) + CellCentreX[J]);
        const double Py = std::round(std::cos(Angle) * (R + 1) + CellCentreY[J]);
        for (Integer I = 1; I < J; ++I)
          if (std::hypot(Px - CellCentreX[I], Py - CellCentreY[I]) < CellRadius[I] - 1) {
            ++Hits;
            break;
          }
      }
      TooMany += Hits > Cov;
    }
    EXPECT_EQ(TooMany, 0);
    EXPECT_EQ(Short, 0);
    EXPECT_EQ(Form->LabelP[1]->GetCaption(),
              "Coverage = " + std::to_string(std::lround(100 * Area / (S * S))) + "%");
    Busy = 1;
    Form->FrameOnly->SetChecked(false);
    Busy = 0;
  }
}

TEST_F(TCellsTest, TheSameClockGivesTheSameBuildAndAnotherADifferentOne) {
  LoadUniform(300, 300, clWhite);
  for (const Byte Type : {ptHexagons, ptSpheres}) {
    SCOPED_TRACE(static_cast<Integer>(Type));
    if (Type == ptHexagons)
      Use(Type, {40, 60, 0});
    else
      Use(Type, {10, 20, 60, 40});
    BuildFrame();
    const TSeeds First = Seeds();
    auto Frame = Copy(ResultBitmap.get());
    BuildFrame();
    EXPECT_TRUE(Seeds() == First);
    Integer Differ = 0;
    for (Integer Y = 0; Y < Frame->GetHeight(); ++Y)
      for (Integer X = 0; X < Frame->GetWidth(); ++X)
        Differ += (PixelAt(Frame.get(), X, Y) == clBlack) != (PixelAt(ResultBitmap.get(), X, Y) == clBlack);
    EXPECT_EQ(Differ, 0);
    Clock.Advance(1);
    BuildFrame();
    EXPECT_FALSE(Seeds() == First);
  }
}

TEST_F(TCellsTest, GlassCoversEverySphereAlsoOverTheBorder) {
  // The glass bar at 0 shows the glass picture alone over a sphere's colour.
  const TColor Glass = Rgb(10, 200, 220);
  GlassFXBitmap = MakeBitmap(6, 6, [&](Integer, Integer) { return Glass; });
  LoadUniform(300, 300, clWhite);
  Use(ptSpheres, {20, 50, 60, 40});
  Busy = 1;
  Form->GlassFX->SetChecked(true);
  Form->GlassBar->SetValue(0);
  Busy = 0;
  BuildFrame();
  ASSERT_GT(SeedCount, 20);
  std::set<TColor> Seen;
  for (Integer Y = 0; Y < ResultBitmap->GetHeight(); ++Y)
    for (Integer X = 0; X < ResultBitmap->GetWidth(); ++X) Seen.insert(PixelAt(ResultBitmap.get(), X, Y));
  EXPECT_EQ(Seen, (std::set<TColor>{Glass, clWhite, clBlack}));
  Integer OverBorder = 0;
  for (Integer K = 1; K <= SeedCount; ++K) {
    const Integer X = CellCentreX[K], Y = CellCentreY[K], R = CellRadius[K];
    OverBorder += X - R < 0 || Y - R < 0 || X + R > PatternSize || Y + R > PatternSize;
  }
  EXPECT_GT(OverBorder, 0);
}

TEST_F(TCellsTest, GlassCoversTheFirstRowOfHexagonsOfEachBlockOnly) {
  const TColor Glass = Rgb(10, 200, 220);
  GlassFXBitmap = MakeBitmap(6, 6, [&](Integer, Integer) { return Glass; });
  LoadUniform(300, 300, clWhite);
  Use(ptHexagons, {10, 0, 0});
  Busy = 1;
  Form->GlassFX->SetChecked(true);
  Form->GlassBar->SetValue(0);
  Busy = 0;
  BuildFrame();
  const auto Rows = SeedRows();
  ASSERT_GE(Rows.size(), 4u);
  Integer Wrong = 0;
  for (std::size_t I = 0; I < Rows.size(); ++I)
    for (Integer K : Rows[I]) {
      const TColor P = PixelAt(ResultBitmap.get(), CellCentreX[K], CellCentreY[K]);
      Wrong += I % 2 == 0 ? P != Glass : P == Glass || P == clWhite;
    }
  EXPECT_EQ(Wrong, 0);
}

TEST_F(TCellsTest, ACancelledBuildKeepsTheSeedCountAndTheCoverageOfTheBuildBefore) {
  LoadUniform(300, 300, clWhite);
  for (const Byte Type : {ptHexagons, ptSpheres}) {
    SCOPED_TRACE(static_cast<Integer>(Type));
    Use(Type, {40, 40, 0, 40});
    BuildFrame();
    const Integer Seeds = SeedCount;
    const std::string Caption = Form->LabelP[1]->GetCaption();
    ASSERT_GT(Seeds, 20);
    // The click on "Cancel" arrives at the build's first pump, before the first cell.
    const TPoint P = Form->UpdateBtn->ClientToScreen(TPoint{10, 10});
    Headless().Click(P.X, P.Y);
    Form->CreateMosaic(Form->UpdateBtn);
    EXPECT_EQ(AbortRequested, 1);
    EXPECT_EQ(SeedCount, Seeds);
    EXPECT_EQ(Form->LabelP[1]->GetCaption(), Caption);
    Integer Regions = 0;
    LabelRegions(ResultBitmap.get(), Regions);
    EXPECT_EQ(Regions, 1);
  }
}
