#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/proc/iemagicwand.h"

namespace {

// A 24-bit picture drawn from rows of characters: '#' black, '.' white, 'g' grey 100.
std::unique_ptr<TIEBitmap> Picture(const std::vector<std::string>& Rows) {
  auto B = std::make_unique<TIEBitmap>(static_cast<Integer>(Rows[0].size()),
                                       static_cast<Integer>(Rows.size()), ie24RGB);
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    for (Integer X = 0; X < B->GetWidth(); ++X) {
      const char C = Rows[Y][X];
      const Byte V = C == '#' ? 0 : (C == 'g' ? 100 : 255);
      B->SetPixel24(X, Y, {V, V, V});
    }
  return B;
}

std::vector<std::string> MaskRows(TIEMask& Mask, Integer Width, Integer Height) {
  std::vector<std::string> Rows(Height, std::string(Width, '.'));
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      if (Mask.GetPixel(X, Y)) Rows[Y][X] = 'x';
  return Rows;
}

std::string PolygonText(const std::vector<TPoint>& Poly) {
  std::string Text;
  for (const TPoint& P : Poly) Text += "(" + std::to_string(P.X) + "," + std::to_string(P.Y) + ")";
  return Text;
}

struct TMaskOf {
  TIEMask Mask;
  TMaskOf(Integer W, Integer H) { Mask.AllocateBits(W, H, 8); }
};

}  // namespace

TEST(MagicWand, FillSelectsTheFourConnectedAreaOnly) {
  // Left and right areas are split by a column; the lone diagonal pixel does not join.
  auto B = Picture({"..#...", "..#...", "###.#.", "....#."});
  TMaskOf M(6, 4);
  IEMagicWandFill(B.get(), 0, 0, 255, &M.Mask, 0, false);
  EXPECT_EQ(MaskRows(M.Mask, 6, 4), (std::vector<std::string>{"xx....", "xx....", "......", "......"}));

  TMaskOf G(6, 4);
  IEMagicWandGlobal(B.get(), 0, 0, 255, &G.Mask, 0);
  EXPECT_EQ(MaskRows(G.Mask, 6, 4), (std::vector<std::string>{"xx.xxx", "xx.xxx", "...x.x", "xxxx.x"}));
}

TEST(MagicWand, FillFollowsWindingAreas) {
  // A spiral corridor needs the leaks back into rows already scanned.
  auto B = Picture({".......", "#####..", "......#", ".####.#", ".#..#.#", ".#.##.#", ".#....#"});
  TMaskOf M(7, 7);
  IEMagicWandFill(B.get(), 3, 4, 1, &M.Mask, 0, false);
  EXPECT_EQ(MaskRows(M.Mask, 7, 7), (std::vector<std::string>{"xxxxxxx", ".....xx", "xxxxxx.", "x....x.",
                                                              "x.xx.x.", "x.x..x.", "x.xxxx."}));
}

TEST(MagicWand, ToleranceIsPerChannelAndInclusive) {
  auto B = Picture({"g.", "#g"});
  B->SetPixel24(1, 0, {110, 100, 100});  // blue 10 away
  B->SetPixel24(0, 1, {100, 111, 100});  // green 11 away
  TMaskOf M(2, 2);
  IEMagicWandFill(B.get(), 0, 0, 1, &M.Mask, 10, false);
  EXPECT_EQ(MaskRows(M.Mask, 2, 2), (std::vector<std::string>{"xx", ".x"}));
  TMaskOf All(2, 2);
  IEMagicWandFill(B.get(), 0, 0, 1, &All.Mask, 255, false);
  EXPECT_EQ(MaskRows(All.Mask, 2, 2), (std::vector<std::string>{"xx", "xx"}));
}

TEST(MagicWand, SinglePixelAndMaxFilter) {
  auto B = Picture({"....", ".#..", "....", "...."});
  TMaskOf One(4, 4), Nine(4, 4);
  IEMagicWandFill(B.get(), 1, 1, 7, &One.Mask, 0, false);
  IEMagicWandFill(B.get(), 1, 1, 7, &Nine.Mask, 0, true);
  EXPECT_EQ(MaskRows(One.Mask, 4, 4), (std::vector<std::string>{"....", ".x..", "....", "...."}));
  EXPECT_EQ(MaskRows(Nine.Mask, 4, 4), (std::vector<std::string>{"xxx.", "xxx.", "xxx.", "...."}));
  EXPECT_EQ(Nine.Mask.GetPixel(0, 0), 7);

  const std::vector<TPoint> Poly = IEMagicWandPolygon(B.get(), 1, 1, 0, false);
  ASSERT_FALSE(Poly.empty());
  for (const TPoint& P : Poly) {
    EXPECT_TRUE(P.X == 1 || P.X == 2) << P.X;
    EXPECT_TRUE(P.Y == 1 || P.Y == 2) << P.Y;
  }
}

TEST(MagicWand, PolygonOfAUniformPictureRunsAlongItsBorder) {
  auto B = Picture({".....", ".....", "....."});
  const std::vector<TPoint> Poly = IEMagicWandPolygon(B.get(), 2, 1, 0, false);
  ASSERT_FALSE(Poly.empty());
  EXPECT_EQ(Poly.front(), (TPoint{0, 0}));
  bool Corners[4] = {};
  for (const TPoint& P : Poly) {
    EXPECT_TRUE(P.X == 0 || P.X == 5 || P.Y == 0 || P.Y == 3) << P.X << "," << P.Y;
    EXPECT_TRUE(P.X >= 0 && P.X <= 5 && P.Y >= 0 && P.Y <= 3);
    Corners[0] |= P == TPoint{0, 0};
    Corners[1] |= P == TPoint{5, 0};
    Corners[2] |= P == TPoint{5, 3};
    Corners[3] |= P == TPoint{0, 3};
  }
  for (bool C : Corners) EXPECT_TRUE(C);
}

TEST(MagicWand, PolygonOfAnAreaAwayFromTheOrigin) {
  // A 2 x 2 block at (2, 1): the outline stays on the block's square.
  auto B = Picture({"......", "..##..", "..##..", "......"});
  const std::vector<TPoint> Poly = IEMagicWandPolygon(B.get(), 3, 2, 0, false);
  ASSERT_FALSE(Poly.empty());
  EXPECT_EQ(Poly.front(), (TPoint{2, 1}));
  // Corners are cut diagonally on the grid, so each corner appears twice after the division.
  EXPECT_EQ(PolygonText(Poly), "(2,1)(4,1)(4,1)(4,3)(4,3)(2,3)(2,3)(2,1)");

  // The maximum filter grows an L within its own bounding box only, making it that square.
  auto L = Picture({"......", "..##..", "..#...", "......"});
  EXPECT_EQ(PolygonText(IEMagicWandPolygon(L.get(), 2, 1, 0, true)), PolygonText(Poly));
  EXPECT_EQ(PolygonText(IEMagicWandPolygon(L.get(), 2, 1, 0, false)),
            "(2,1)(4,1)(4,1)(4,2)(4,2)(3,2)(3,3)(3,3)(2,3)(2,3)(2,1)");
  for (const TPoint& P : Poly) {
    EXPECT_TRUE(P.X >= 2 && P.X <= 4 && P.Y >= 1 && P.Y <= 3) << P.X << "," << P.Y;
    EXPECT_TRUE(P.X == 2 || P.X == 4 || P.Y == 1 || P.Y == 3) << P.X << "," << P.Y;
  }
}

TEST(MagicWand, PointOutsideThePictureSelectsNothing) {
  auto B = Picture({"..", ".."});
  TMaskOf M(2, 2);
  EXPECT_TRUE(IEMagicWandPolygon(B.get(), 2, 0, 0, false).empty());
  EXPECT_TRUE(IEMagicWandPolygon(B.get(), 0, -1, 0, false).empty());
  IEMagicWandFill(B.get(), -1, 0, 1, &M.Mask, 0, false);
  IEMagicWandGlobal(B.get(), 0, 2, 1, &M.Mask, 0);
  EXPECT_EQ(MaskRows(M.Mask, 2, 2), (std::vector<std::string>{"..", ".."}));
}
