// Window regions from skin masks: the region data bytes of the black runs and the resized
// mask's border united with the client rectangle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "skin/data/bsRegions.h"

namespace {

// Rows of '#' (black, inside) and '.' (white, cut away).
void DrawMask(TBitmap& Mask, const std::vector<std::string>& Rows) {
  Mask.SetPixelFormat(pf32bit);
  Mask.SetSize(static_cast<Integer>(Rows[0].size()), static_cast<Integer>(Rows.size()));
  for (std::size_t Y = 0; Y < Rows.size(); ++Y) {
    auto* Row = static_cast<Cardinal*>(Mask.GetScanLine(static_cast<Integer>(Y)));
    for (std::size_t X = 0; X < Rows[Y].size(); ++X) Row[X] = Rows[Y][X] == '#' ? 0 : 0xFFFFFF;
  }
}

std::vector<Byte> Le(std::initializer_list<Integer> Values) {
  std::vector<Byte> Bytes;
  for (Integer V : Values)
    for (Integer I = 0; I < 4; ++I) Bytes.push_back(static_cast<Byte>(static_cast<Cardinal>(V) >> (8 * I)));
  return Bytes;
}

TEST(BsRegionsTest, RegionDataHoldsOneRectanglePerBlackRun) {
  TBitmap Mask;
  DrawMask(Mask, {"#.#"});
  std::vector<Byte> Data;
  EXPECT_EQ(MaskToRegionData(&Mask, 10, 20, Data), 64);
  EXPECT_EQ(Data, Le({32, 1, 2, 0, 10, 20, 13, 21, 10, 20, 11, 21, 12, 20, 13, 21}));

  DrawMask(Mask, {"#####", "#####"});
  EXPECT_EQ(MaskToRegionData(&Mask, 0, 0, Data), 64);
  EXPECT_EQ(Data, Le({32, 1, 2, 0, 0, 0, 5, 2, 0, 0, 5, 1, 0, 1, 5, 2}));

  DrawMask(Mask, {"...", "..."});
  EXPECT_EQ(MaskToRegionData(&Mask, 0, 0, Data), 32);
  EXPECT_EQ(Data, Le({32, 1, 0, 0, 0, 0, 3, 2}));

  TBitmap Empty;
  EXPECT_EQ(MaskToRegionData(&Empty, 0, 0, Data), 0);
  EXPECT_TRUE(Data.empty());
}

TEST(BsRegionsTest, ManyRunsAreAllKept) {
  // 12,000 single-pixel runs: more than a fixed list of 10,000 would hold.
  std::vector<std::string> Rows(120, std::string());
  for (std::string& R : Rows)
    for (Integer I = 0; I < 100; ++I) R += "#.";
  TBitmap Mask;
  DrawMask(Mask, Rows);
  std::vector<Byte> Data;
  EXPECT_EQ(MaskToRegionData(&Mask, 0, 0, Data), 32 + 16 * 12000);
  HRGN Region = nullptr;
  CreateRegionFromMask(Region, &Mask);
  ASSERT_NE(Region, nullptr);
  EXPECT_TRUE(PtInRegion(Region, 198, 119));
  EXPECT_FALSE(PtInRegion(Region, 199, 119));
  DeleteObject(Region);
}

// An 8 x 8 part with rounded corners (the corner pixel cut away), client (2, 2, 6, 6), anchors
// at the client's corners, resized to 20 x 12.
struct TRoundedPart {
  TBitmap Mask;
  TRoundedPart() {
    DrawMask(Mask, {".######.", "########", "########", "########", "########", "########", "########",
                    ".######."});
  }
  HRGN Build(const TRect& C, const TRect& NC) {
    HRGN Region = nullptr;
    CreateSkinRegion(Region, Point(C.Left, C.Top), Point(C.Right, C.Top), Point(C.Left, C.Bottom),
                     Point(C.Right, C.Bottom), C, Point(NC.Left, NC.Top), Point(NC.Right, NC.Top),
                     Point(NC.Left, NC.Bottom), Point(NC.Right, NC.Bottom), NC, &Mask, 20, 12);
    return Region;
  }
};

TEST(BsRegionsTest, SkinRegionIsTheClientAndTheResizedBorder) {
  TRoundedPart Part;
  HRGN Region = Part.Build(Rect(2, 2, 6, 6), Rect(2, 2, 18, 10));
  ASSERT_NE(Region, nullptr);
  RECT Box{};
  GetRgnBox(Region, &Box);
  EXPECT_EQ(Box.Left, 0);
  EXPECT_EQ(Box.Top, 0);
  EXPECT_EQ(Box.Right, 20);
  EXPECT_EQ(Box.Bottom, 12);
  for (const auto& [X, Y] : std::vector<std::pair<Integer, Integer>>{{0, 0}, {19, 0}, {0, 11}, {19, 11}})
    EXPECT_FALSE(PtInRegion(Region, X, Y)) << X << "," << Y;
  for (const auto& [X, Y] :
       std::vector<std::pair<Integer, Integer>>{{1, 0}, {18, 0}, {0, 1}, {10, 11}, {19, 6}, {10, 6}})
    EXPECT_TRUE(PtInRegion(Region, X, Y)) << X << "," << Y;
  DeleteObject(Region);
}

TEST(BsRegionsTest, NoTopBorderAndEmptyClient) {
  TRoundedPart Part;
  // No top border: the client from row 0, the bottom strip's cut corners still cut.
  HRGN Region = Part.Build(Rect(2, 0, 6, 6), Rect(2, 0, 18, 10));
  ASSERT_NE(Region, nullptr);
  EXPECT_TRUE(PtInRegion(Region, 5, 0));
  EXPECT_FALSE(PtInRegion(Region, 0, 11));
  EXPECT_TRUE(PtInRegion(Region, 1, 11));
  DeleteObject(Region);
  EXPECT_EQ(Part.Build(Rect(2, 2, 6, 6), Rect(2, 2, 2, 10)), nullptr);
}

}  // namespace
