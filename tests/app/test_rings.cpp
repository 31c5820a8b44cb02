// The ring and spiral generators built through the main window, and the regions of a line
// drawing found by Colorize.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "AppTestSupport.h"
#include "app/Patterns.h"

namespace {
// The seeds 1..SeedCount.
std::vector<TPoint> Seeds() {
  std::vector<TPoint> Result;
  for (Integer K = 1; K <= SeedCount; ++K) Result.push_back({CellCentreX[K], CellCentreY[K]});
  return Result;
}
}  // namespace

TEST_F(TMosaicTest, ColorizeFindsOneSeedPerRegionInScanOrder) {
  // A 12 x 12 drawing: a box with sides at x = 4, 9 and y = 4, 9 split by a line at x = 7,
  // and a dot at (1, 10). White regions in scan order: the outside from (0, 0), the left
  // room from (5, 5), the right room from (8, 5).
  auto Drawing = MakeBitmap(12, 12, [](Integer X, Integer Y) {
    const bool Box = X >= 4 && X <= 9 && Y >= 4 && Y <= 9 && (X == 4 || X == 7 || X == 9 || Y == 4 || Y == 9);
    return Box || (X == 1 && Y == 10) ? clBlack : clWhite;
  });
  PatternSize = 12;
  Busy = 1;
  Form->ColorSpin->SetValue(4);
  Form->PatternColors->SetChecked(false);
  Busy = 0;
  ColorCounter = 0;
  Form->Colorize(Drawing.get());
  const std::vector<TPoint> Expected = {{0, 0}, {5, 5}, {8, 5}};
  EXPECT_EQ(Seeds(), Expected);
  EXPECT_EQ(ColorCounter, 3);
  EXPECT_EQ(PixelAt(Drawing.get(), 5, 5), clWhite);

  // With pattern colours every region takes its colour; then the regions holding (2, 2),
  // (10, 2), (2, 10), (10, 10) (the outside) and (6, 6) (the left room) turn white again.
  Busy = 1;
  Form->PatternColors->SetChecked(true);
  Busy = 0;
  Form->Colorize(Drawing.get());
  EXPECT_EQ(Seeds(), Expected);
  EXPECT_EQ(ColorCounter, 6);
  for (const TPoint P : {TPoint{0, 0}, TPoint{11, 11}, TPoint{5, 8}})
    EXPECT_EQ(PixelAt(Drawing.get(), P.X, P.Y), clWhite) << P.X << "," << P.Y;
  for (Integer Y = 5; Y <= 8; ++Y) EXPECT_EQ(PixelAt(Drawing.get(), 8, Y), Rgb(6, 1, 1));
  EXPECT_EQ(PixelAt(Drawing.get(), 7, 6), clBlack);
  EXPECT_EQ(PixelAt(Drawing.get(), 1, 10), clBlack);
}

TEST_F(TMosaicTest, ColorizeOnABlankDrawingGivesTheOneSeedAtTheOrigin) {
  // A new bitmap without a canvas is white.
  auto Drawing = std::make_unique<TBitmap>();
  Drawing->SetPixelFormat(pf24bit);
  Drawing->SetSize(4000, 4000);
  Form->Colorize(Drawing.get());
  EXPECT_EQ(SeedCount, 1);
  EXPECT_EQ(CellCentreX[1], 0);
  EXPECT_EQ(CellCentreY[1], 0);
}

namespace {
struct TSlider {
  Integer Min, Max, Value;
};

// The type and its six sliders as the test sets them.
void UsePattern(TForm1* Form, Byte Type, const std::vector<TSlider>& Sliders) {
  Busy = 1;
  PatternType = Type;
  for (std::size_t I = 0; I < Sliders.size(); ++I) {
    Form->TrackBarP[I]->SetMinValue(-1000);
    Form->TrackBarP[I]->SetMaxValue(Sliders[I].Max);
    Form->TrackBarP[I]->SetMinValue(Sliders[I].Min);
    Form->TrackBarP[I]->SetValue(Sliders[I].Value);
  }
  Busy = 0;
}

// What the regions of a frame coloured by pattern colours show.
struct TRegionColours {
  Integer Regions = 0;
  Integer Mixed = 0;   // pixels whose colour differs from the first of their region
  Integer Shared = 0;  // regions in a pattern colour an earlier region has
};

TRegionColours CheckRegions(TBitmap* Frame) {
  TRegionColours R;
  const Integer W = Frame->GetWidth(), H = Frame->GetHeight();
  const std::vector<Integer> Label = LabelRegions(Frame, R.Regions);
  std::vector<TColor> Colour(R.Regions + 1, -1);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const Integer L = Label[static_cast<std::size_t>(Y) * W + X];
      if (L == 0) continue;
      const TColor P = PixelAt(Frame, X, Y);
      if (Colour[L] == -1) Colour[L] = P;
      R.Mixed += Colour[L] != P;
    }
  std::set<TColor> Seen;
  for (Integer L = 1; L <= R.Regions; ++L)
    if (Colour[L] != clWhite && !Seen.insert(Colour[L]).second) ++R.Shared;
  return R;
}

// The sliders of the types as their table sets them.
const std::vector<TSlider> CircleSliders = {
    {0, 100, 20}, {0, 100, 0}, {-100, 100, 0}, {-100, 100, 0}, {0, 100, 0}};
const std::vector<TSlider> SpiroSliders = {{-100, 100, 90}, {-100, 100, 65}, {-100, 100, 25},
                                           {0, 100, 13},    {10, 100, 20},   {0, 100, 0}};

class TRingsTest : public TMosaicTest {
 protected:
  // A square source is not cropped, so every cell keeps its seed. The frame alone, in
  // pattern colours of colour mode 4.
  void SetUp() override {
    TMosaicTest::SetUp();
    Form->NoRim->SetChecked(false);
    LoadUniform(400, 400, Rgb(50, 60, 70));
    Busy = 1;
    Form->ColorSpin->SetValue(4);
    Form->FrameOnly->SetChecked(true);
    Form->PatternColors->SetChecked(true);
    Busy = 0;
  }
  void Build(Byte Type, const std::vector<TSlider>& Sliders, bool KeepShape = false) {
    UsePattern(Form.get(), Type, Sliders);
    Busy = 1;
    Form->KeepShape->SetChecked(KeepShape);
    Busy = 0;
    // Mode 4 repeats its first 255 colours from count 256 to 509.
    ColorCounter = 1000;
    Form->CreateMosaic(Form->UpdateBtn);
  }
};

// The seeds whose pixel shows neither their own pattern colour nor that of a seed on the
// same spot (a ring's last segment overlaps its first); seed K took the colour of count
// Base + K. A fill that leaked into a neighbour, or one made before the cell was closed, gives
// a cell the colour of a seed elsewhere.
Integer SeedsInAForeignColour(Integer Base) {
  TBitmap* B = ResultBitmap.get();
  const Integer Counter = ColorCounter;
  std::map<TColor, Integer> SeedOf;
  for (Integer K = 1; K <= SeedCount; ++K) {
    ColorCounter = Base + K - 1;
    SeedOf[NextPatternColor(4)] = K;
  }
  ColorCounter = Counter;
  Integer Foreign = 0;
  for (Integer K = 1; K <= SeedCount; ++K) {
    const Integer X = CellCentreX[K], Y = CellCentreY[K];
    if (X < 0 || Y < 0 || X >= B->GetWidth() || Y >= B->GetHeight() || PixelAt(B, X, Y) == clBlack) continue;
    const auto It = SeedOf.find(PixelAt(B, X, Y));
    if (It == SeedOf.end() || std::abs(CellCentreX[It->second] - X) > 1 ||
        std::abs(CellCentreY[It->second] - Y) > 1)
      ++Foreign;
  }
  return Foreign;
}
}  // namespace

TEST_F(TRingsTest, EveryCellIsClosedAndTakesItsOwnPatternColour) {
  const struct {
    const char* Name;
    Byte Type;
    std::vector<TSlider> Sliders;
    bool KeepShape;
  } Cases[] = {
      {"circles", ptCircles, CircleSliders, false},
      {"circles kept in shape, shifted",
       ptCircles,
       {{0, 100, 20}, {0, 100, 0}, {-100, 100, 30}, {-100, 100, -20}, {0, 100, 0}},
       true},
      {"circles with symmetry and pattern",
       ptCircles,
       {{0, 100, 60}, {0, 100, 50}, {-100, 100, 0}, {-100, 100, 0}, {0, 100, 40}},
       false},
      {"circles, large and kept in shape",
       ptCircles,
       {{0, 100, 100}, {0, 100, 100}, {-100, 100, 0}, {-100, 100, 0}, {0, 100, 100}},
       true},
      {"twirls",
       ptTwirls,
       {{-100, 100, 0}, {5, 100, 12}, {-100, 100, 0}, {-100, 100, 0}, {5, 50, 10}},
       false},
      {"twirls twisted and shifted",
       ptTwirls,
       {{-100, 100, 50}, {5, 100, 10}, {-100, 100, 10}, {-100, 100, 10}, {5, 50, 8}},
       false},
      {"twirls of five arms",
       ptTwirls,
       {{-100, 100, -30}, {5, 100, 7}, {-100, 100, 0}, {-100, 100, 0}, {5, 50, 6}},
       false},
      {"spirograph", ptSpirograph, SpiroSliders, false},
      {"spirograph rolling outside",
       ptSpirograph,
       {{-100, 100, 60}, {-100, 100, -25}, {-100, 100, 40}, {0, 100, 5}, {10, 100, 60}, {0, 100, 10}},
       false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Build(C.Type, C.Sliders, C.KeepShape);
    const TRegionColours R = CheckRegions(ResultBitmap.get());
    EXPECT_GT(SeedCount, 10);
    EXPECT_EQ(R.Mixed, 0);
    EXPECT_EQ(R.Shared, 0);
    if (C.Type == ptSpirograph)
      EXPECT_EQ(R.Regions, SeedCount);
    else
      EXPECT_EQ(SeedsInAForeignColour(C.Type == ptTwirls ? 1 : 1000), 0);
  }
}

TEST_F(TRingsTest, CirclesWithoutSymmetryGiveEveryRingTheRingCountKeptShapeMoreOutside) {
  // P1 = 20: rings start at radius 4 and are 12 wide; 24 rings reach the corners of the
  // 400-pixel square. Every ring has one segment more than its count, overlapping the first.
  auto SeedsPerRing = [] {
    std::vector<Integer> Count(25, 0);
    for (Integer K = 1; K <= SeedCount; ++K) {
      const double D = std::hypot(CellCentreX[K] - 200.0, CellCentreY[K] - 200.0);
      ++Count.at(static_cast<std::size_t>((D - 4) / 12));
    }
    return Count;
  };
  Build(ptCircles, CircleSliders, false);
  EXPECT_EQ(SeedsPerRing(), std::vector<Integer>(25, 25));
  Build(ptCircles, CircleSliders, true);
  const std::vector<Integer> Kept = SeedsPerRing();
  EXPECT_EQ(Kept[0], 25);
  EXPECT_EQ(Kept[3], 25);
  EXPECT_GT(Kept[4], 25);
  EXPECT_TRUE(std::is_sorted(Kept.begin(), Kept.end()));
  EXPECT_GT(Kept[24], 150);
}

TEST_F(TRingsTest, CirclesWithoutRingsOrSegmentsDrawTheSquareAlone) {
  // A square of 20 pixels holds no ring of width 36: no segment, only the centre.
  UsePattern(Form.get(), ptCircles,
             {{0, 100, 100}, {0, 100, 0}, {-100, 100, 0}, {-100, 100, 0}, {0, 100, 0}});
  Busy = 1;
  Form->KeepShape->SetChecked(false);
  Busy = 0;
  PatternSize = 20;
  OffsetX = OffsetY = 0;
  CreateCircles();
  EXPECT_EQ(SeedCount, 0);
  EXPECT_EQ(CellCentreX[0], 10);
  EXPECT_EQ(CellCentreY[0], 10);
  ASSERT_EQ(ResultBitmap->GetWidth(), 20);
  Integer Regions = 0;
  LabelRegions(ResultBitmap.get(), Regions);
  EXPECT_EQ(Regions, 1);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 10, 10), clWhite);
}

TEST_F(TRingsTest, TwirlsColourAndLeaveOnlyTheSeedsTheirArmsGave) {
  // Circles leave many seeds; twelve arms (ten directions) and ten rings (fourteen ring steps
  // reach the corners) then give 10 * 13 cells.
  Build(ptCircles, CircleSliders);
  ASSERT_GT(SeedCount, 200);
  Build(ptTwirls, {{-100, 100, 0}, {5, 100, 12}, {-100, 100, 0}, {-100, 100, 0}, {5, 50, 10}});
  EXPECT_EQ(NodeCount, 10);
  EXPECT_EQ(SeedCount, 130);
  // The colouring pass took the centre, the 130 cells and the corner's fill.
  EXPECT_EQ(ColorCounter, 132);
}

TEST_F(TRingsTest, TheSpirographWithoutAnInnerRadiusKeepsThePreviousSeeds) {
  Build(ptSpirograph, SpiroSliders);
  const std::vector<TPoint> Before = Seeds();
  ASSERT_GT(Before.size(), 10u);
  std::vector<TSlider> Still = SpiroSliders;
  Still[1].Value = 0;
  Build(ptSpirograph, Still);
  EXPECT_EQ(Seeds(), Before);
  // The square is white within its outline.
  Integer Black = 0;
  for (Integer Y = 1; Y < ResultBitmap->GetHeight() - 1; ++Y)
    for (Integer X = 1; X < ResultBitmap->GetWidth() - 1; ++X)
      Black += PixelAt(ResultBitmap.get(), X, Y) == clBlack;
  EXPECT_EQ(Black, 0);
}
