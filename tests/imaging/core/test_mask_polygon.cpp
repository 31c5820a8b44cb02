// TIEMask polygon fill.
#include <gtest/gtest.h>

#include "MaskTestSupport.h"

namespace {

using TRows = std::vector<std::string>;
using TPoints = std::vector<TPoint>;

std::unique_ptr<TIEMask> Filled(Integer Width, Integer Height, const TPoints& Points, Integer Bpp = 1) {
  auto Mask = std::make_unique<TIEMask>();
  Mask->AllocateBits(Width, Height, Bpp);
  Mask->FillPolygon(1, Points.data(), static_cast<Integer>(Points.size()));
  return Mask;
}

TEST(MaskPolygon, SquareTakesItsLeftAndTopEdgesOnly) {
  auto Mask = Filled(12, 12, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  for (Integer Y = 0; Y < 12; ++Y)
    EXPECT_EQ(MaskRows(*Mask)[Y], Y < 10 ? "##########.." : "............") << Y;
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{0, 0, 9, 9}));
  EXPECT_FALSE(Mask->GetFull());
}

TEST(MaskPolygon, ShapesFollowTheRoundedEdges) {
  struct TCase {
    const char* Name;
    TPoints Points;
    TRows Expected;
  };
  const TCase Cases[] = {
      // The right edge runs from (2, 0) to (4, 4): 2.5 and 3.5 round towards its top end.
      {"halves round towards the top end",
       {{0, 0}, {2, 0}, {4, 4}, {0, 4}},
       {"##....", "##....", "###...", "###...", "......"}},
      {"triangle", {{0, 0}, {4, 0}, {0, 4}}, {"####..", "###...", "##....", "#.....", "......"}},
      {"points in either direction",
       {{0, 4}, {4, 0}, {0, 0}},
       {"####..", "###...", "##....", "#.....", "......"}},
      // A polygon crossing itself is filled by the even-odd rule on both lobes.
      {"bow tie", {{0, 0}, {6, 6}, {6, 0}, {0, 6}}, {"......", "#....#", "##..##", "######", "##..##"}},
      // Rows above the mask are not painted onto its first row.
      {"partly above the mask",
       {{0, -6}, {6, -6}, {0, 1}},
       {"#.....", "......", "......", "......", "......"}},
      {"clipped at the right",
       {{3, 1}, {20, 1}, {20, 3}, {3, 3}},
       {"......", "...###", "...###", "......", "......"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Mask = Filled(6, 5, C.Points);
    EXPECT_EQ(MaskRows(*Mask), C.Expected);
  }
}

TEST(MaskPolygon, BoxTakesThePointsClampedToTheMask) {
  auto Mask = Filled(6, 5, {{3, 1}, {20, 1}, {20, 3}, {3, 3}});
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{3, 1, 5, 2}));
  auto Bytes = Filled(6, 5, {{1, 1}, {3, 1}, {3, 3}, {1, 3}}, 8);
  EXPECT_EQ(MaskRows(*Bytes)[1], ".##...");
  EXPECT_EQ(Bytes->GetPixel(1, 1), 1);
  EXPECT_EQ(BoxOf(*Bytes), (TMaskBox{1, 1, 2, 2}));
}

TEST(MaskPolygon, NothingWrittenLeavesTheBoxAsItWas) {
  auto Fresh = Filled(6, 5, {{10, 10}, {20, 10}, {20, 20}});
  EXPECT_TRUE(Fresh->IsEmpty());
  auto Mask = MaskFromRows({"......", ".##...", "......"}, 1);
  const TPoint Outside[] = {{10, 10}, {20, 10}, {20, 20}};
  Mask->FillPolygon(1, Outside, 3);
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{1, 1, 2, 1}));
  const TPoint Flat[] = {{0, 1}, {5, 1}};
  Mask->FillPolygon(1, Flat, 2);
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{1, 1, 2, 1}));
}

TEST(MaskPolygon, ValueZeroDeselects) {
  auto Mask = MaskFromRows({"######", "######", "######"}, 1);
  ASSERT_TRUE(Mask->GetFull());
  const TPoint Hole[] = {{1, 1}, {3, 1}, {3, 2}, {1, 2}};
  Mask->FillPolygon(0, Hole, 4);
  EXPECT_EQ(MaskRows(*Mask), (TRows{"######", "#..###", "######"}));
  EXPECT_FALSE(Mask->GetFull());
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{0, 0, 5, 2}));
}

TEST(MaskPolygon, SeparatorsSplitPolygonsAndTheFullFlagIsRecomputed) {
  const TPoint Two[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {IEPolygonSeparator, 0},
                        {4, 1}, {6, 1}, {6, 3}, {4, 3}};
  TIEMask Mask;
  Mask.AllocateBits(6, 3, 1);
  Mask.FillPolygons(1, Two, 9);
  EXPECT_EQ(MaskRows(Mask), (TRows{"##....", "##..##", "....##"}));
  EXPECT_EQ(BoxOf(Mask), (TMaskBox{0, 0, 5, 2}));
  EXPECT_FALSE(Mask.GetFull());

  const TPoint Cover[] = {{0, 0}, {6, 0}, {6, 3}, {0, 3}, {IEPolygonSeparator, 0}};
  Mask.FillPolygons(1, Cover, 5);
  EXPECT_TRUE(Mask.GetFull());
}

}  // namespace
