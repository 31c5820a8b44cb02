// The ring and spiral generators built through the main window, and the regions of a line
// drawing found by Colorize.
#include <algorithm>
#include <set>

#include "AppTestSupport.h"

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
  auto Drawing = MakeBitmap(4000, 4000, [](Integer, Integer) { return clWhite; });
  Form->PatternColors->SetChecked(false);
  Form->Colorize(Drawing.get());
  EXPECT_EQ(SeedCount, 1);
  EXPECT_EQ(CellCentreX[1], 0);
  EXPECT_EQ(CellCentreY[1], 0);
}
