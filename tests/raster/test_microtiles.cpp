// Micro-tile grids: box unions, recording rectangles and lines, uniting and copying grids, and
// turning grids into repaint rectangles.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "RasterTestSupport.h"
#include "raster/RS32_MicroTiles.h"

namespace {
struct TCell {
  Integer C, R;
  TTileBox Box;
};

TTileGrid MakeGrid(Integer W, Integer H) {
  TTileGrid G;
  TileGridInit(G);
  TileGridSetSize(G, MakeRect(0, 0, W, H));
  return G;
}

TTileBox Cell(const TTileGrid& G, Integer C, Integer R) {
  return G.Cells[C + R * G.TileColumns];
}

// Every cell other than the listed ones is empty.
void ExpectCells(const TTileGrid& G, const std::vector<TCell>& Expected) {
  for (Integer I = 0; I < G.CellCount; ++I) {
    TTileBox Want = TileBoxEmpty;
    for (const TCell& E : Expected)
      if (E.C + E.R * G.TileColumns == I) Want = E.Box;
    EXPECT_EQ(G.Cells[I], Want) << "cell " << I % G.TileColumns << ", " << I / G.TileColumns;
  }
}

std::vector<TRect> RectsOf(const TTileGrid& G) {
  TRectList List;
  const Integer N = TileGridToRects(G, &List);
  std::vector<TRect> Out;
  for (Integer I = 0; I < List.GetCount(); ++I) Out.push_back(*List.Items(I));
  EXPECT_EQ(N, static_cast<Integer>(Out.size()));
  return Out;
}

constexpr TTileBox Box(Cardinal L, Cardinal T, Cardinal R, Cardinal B) {
  return PackTileBox(L, T, R, B);
}
}  // namespace

TEST(RasterMicroTiles, UniteBoxTable) {
  struct TCase {
    TTileBox Dest, Src, Want;
  } Cases[] = {
      {Box(5, 0, 20, 5), Box(2, 2, 10, 10), Box(2, 0, 20, 10)},
      {TileBoxFull, Box(2, 2, 10, 10), TileBoxFull},          // a full cell stays full
      {Box(5, 0, 20, 5), TileBoxFull, TileBoxFull},           // the full box makes any cell full
      {TileBoxEmpty, Box(3, 1, 10, 5), Box(3, 1, 10, 5)},     // an empty cell takes the box
      {Box(5, 0, 20, 5), Box(7, 1, 7, 9), Box(5, 0, 20, 5)},  // zero width changes nothing
      {Box(5, 0, 20, 5), Box(1, 4, 9, 4), Box(5, 0, 20, 5)},  // zero height changes nothing
      {TileBoxEmpty, Box(0, 0, 0, 0), TileBoxEmpty},
  };
  for (const TUniteTileBoxProc Unite : {UniteTileBoxPlain, UniteTileBoxMmx})
    for (const TCase& C : Cases) {
      TTileBox D = C.Dest;
      Unite(D, C.Src);
      EXPECT_EQ(D, C.Want) << std::hex << C.Dest << " + " << C.Src;
    }
}

TEST(RasterMicroTiles, WideUnionsGiveThePlainBytes) {
  std::mt19937 Rng(7);
  // Boxes as the grids hold them, plus the special values and degenerate ones.
  auto RandomBox = [&]() -> TTileBox {
    switch (Rng() % 6) {
      case 0:
        return TileBoxEmpty;
      case 1:
        return TileBoxFull;
      case 2: {
        const Cardinal A = Rng() % 33, B = Rng() % 33;
        return Box(A, B, A, (B + Rng() % 5) % 33);
      }
      default: {
        Cardinal L = Rng() % 33, R = Rng() % 33, T = Rng() % 33, B = Rng() % 33;
        if (L > R) std::swap(L, R);
        if (T > B) std::swap(T, B);
        return Box(L, T, R, B);
      }
    }
  };
  for (Integer I = 0; I < 20000; ++I) {
    const TTileBox D = RandomBox(), S = RandomBox();
    TTileBox P = D, M = D;
    UniteTileBoxPlain(P, S);
    UniteTileBoxMmx(M, S);
    ASSERT_EQ(P, M) << std::hex << D << " + " << S;
  }
  TTileGrid A = MakeGrid(300, 200), B = MakeGrid(300, 200), Src = MakeGrid(300, 200);
  for (Integer I = 0; I < A.CellCount; ++I) A.Cells[I] = B.Cells[I] = RandomBox();
  for (Integer I = 0; I < Src.CellCount; ++I) Src.Cells[I] = RandomBox();
  Src.UsedTiles = MakeRect(1, 0, 9, 6);
  UniteTileGridsPlain(A, Src);
  UniteTileGridsMmx(B, Src);
  EXPECT_EQ(A.Cells, B.Cells);
}

// Chosen with the other pixel routines.
TEST(RasterMicroTiles, RoutineChoiceFollowsExtendedMmx) {
  {
    TCpuFeaturesScope Scope(CpuFeatureBit(ciMMX) | CpuFeatureBit(ciEMMX));
    EXPECT_EQ(UniteTileBox, &UniteTileBoxMmx);
    EXPECT_EQ(UniteTileGrids, &UniteTileGridsMmx);
  }
  EXPECT_EQ(UniteTileBox, &UniteTileBoxPlain);
  EXPECT_EQ(UniteTileGrids, &UniteTileGridsPlain);
}

TEST(RasterMicroTiles, GridGeometry) {
  TTileGrid G = MakeGrid(100, 50);
  EXPECT_EQ(G.TileColumns, 4);
  EXPECT_EQ(G.TileRows, 2);
  EXPECT_EQ(G.CellCount, 15);
  EXPECT_EQ(G.UsedTiles, MakeRect(4, 2, 0, 0));
  EXPECT_TRUE(RectsOf(G).empty());  // nothing recorded

  TileGridAddRect(G, G.Bounds, true);
  EXPECT_EQ(RectsOf(G), (std::vector<TRect>{MakeRect(0, 0, 100, 50)}));

  TileGridSetSize(G, MakeRect(0, 0, -5, 31));  // negative width counts as 0
  EXPECT_EQ(G.TileColumns, 1);
  EXPECT_EQ(G.TileRows, 1);
  EXPECT_EQ(G.CellCount, 4);
  EXPECT_THROW(TileGridSetSize(G, MakeRect(0, 0, 2000000000, 2000000000)), EOutOfMemory);
}

TEST(RasterMicroTiles, AddRectTable) {
  struct TCase {
    TRect R;
    bool Coarse;
    std::vector<TCell> Cells;
    TRect Used;
  } Cases[] = {
      {{0, 0, 32, 32}, false, {{0, 0, TileBoxFull}}, {0, 0, 1, 1}},
      {{0, 0, 32, 32},
       true,
       {{0, 0, TileBoxFull}, {1, 0, TileBoxFull}, {0, 1, TileBoxFull}, {1, 1, TileBoxFull}},
       {0, 0, 1, 1}},
      {{10, 5, 3, 1}, false, {{0, 0, Box(3, 1, 10, 5)}}, {0, 0, 0, 0}},
      {{-50, -40, -10, -1}, false, {}, {4, 4, 0, 0}},  // wholly negative: UsedTiles unchanged
      {{40, 10, 40, 20}, false, {}, {1, 0, 1, 0}},     // zero width widens UsedTiles only
      {{40, 10, 40, 20}, true, {{1, 0, TileBoxFull}}, {1, 0, 1, 0}},
      {{10, 40, 20, 100},
       false,
       {{0, 1, Box(10, 8, 20, 32)}, {0, 2, Box(10, 0, 20, 32)}, {0, 3, Box(10, 0, 20, 4)}},
       {0, 1, 0, 3}},
      {{20, 3, 70, 9},
       false,
       {{0, 0, Box(20, 3, 32, 9)}, {1, 0, Box(0, 3, 32, 9)}, {2, 0, Box(0, 3, 6, 9)}},
       {0, 0, 2, 0}},
      {{20, 30, 70, 100},
       false,
       {{0, 0, Box(20, 30, 32, 32)},
        {1, 0, Box(0, 30, 32, 32)},
        {2, 0, Box(0, 30, 6, 32)},
        {0, 1, Box(20, 0, 32, 32)},
        {1, 1, TileBoxFull},
        {2, 1, Box(0, 0, 6, 32)},
        {0, 2, Box(20, 0, 32, 32)},
        {1, 2, TileBoxFull},
        {2, 2, Box(0, 0, 6, 32)},
        {0, 3, Box(20, 0, 32, 4)},
        {1, 3, Box(0, 0, 32, 4)},
        {2, 3, Box(0, 0, 6, 4)}},
       {0, 0, 2, 3}},
      // Edges past the grid are clamped to its tiles (4 x 4 here).
      {{120, 120, 500, 500}, false, {{3, 3, Box(24, 24, 32, 32)}}, {3, 3, 4, 4}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.R.Left << "," << C.R.Top << "," << C.R.Right << "," << C.R.Bottom
                                    << (C.Coarse ? " coarse" : " exact"));
    TTileGrid G = MakeGrid(100, 100);
    TileGridAddRect(G, C.R, C.Coarse);
    ExpectCells(G, C.Cells);
    EXPECT_EQ(G.UsedTiles, C.Used);
  }
}

// A rectangle reaching the grid's right or bottom edge addresses one tile column or row past
// the grid; coarse mode must not fill the next row's first cell nor the spare row.
TEST(RasterMicroTiles, CoarseEdgeStaysInsideTheGrid) {
  TTileGrid G = MakeGrid(64, 64);  // 3 x 3 tiles, 16 cells
  TileGridAddRect(G, MakeRect(70, 0, 96, 10), true);
  ExpectCells(G, {{2, 0, TileBoxFull}});
  EXPECT_EQ(G.UsedTiles, MakeRect(2, 0, 3, 0));
  TileGridClear(G);
  TileGridAddRect(G, MakeRect(0, 90, 10, 200), true);
  ExpectCells(G, {{0, 2, TileBoxFull}});
  TileGridClear(G);
  ExpectCells(G, {});
}

TEST(RasterMicroTiles, ToRectsTable) {
  struct TCase {
    const char* Name;
    std::vector<TCell> Cells;
    std::vector<TRect> Want;
  } Cases[] = {
      {"run across tiles", {{0, 0, Box(4, 8, 32, 20)}, {1, 0, Box(0, 8, 12, 20)}}, {{4, 8, 44, 20}}},
      {"different top stops the run",
       {{0, 0, Box(4, 8, 32, 20)}, {1, 0, Box(0, 9, 12, 20)}},
       {{4, 8, 32, 20}, {32, 9, 44, 20}}},
      {"vertical merge, clipped to the bounds", {{0, 0, TileBoxFull}, {0, 1, TileBoxFull}}, {{0, 0, 32, 40}}},
      {"runs starting in different columns stay apart",
       {{0, 0, TileBoxFull}, {1, 0, TileBoxFull}, {1, 1, TileBoxFull}},
       {{0, 0, 64, 32}, {32, 32, 64, 40}}},
      {"a gap inside a run is not looked at",
       {{0, 0, Box(0, 0, 32, 10)}, {1, 0, Box(0, 0, 5, 10)}, {2, 0, Box(0, 0, 3, 10)}},
       {{0, 0, 67, 10}}},
      {"clipped to the bounds", {{2, 1, TileBoxFull}}, {{64, 32, 70, 40}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TTileGrid G = MakeGrid(70, 40);
    for (const TCell& E : C.Cells) {
      G.Cells[E.C + E.R * G.TileColumns] = E.Box;
      G.UsedTiles = MakeRect(0, 0, 2, 1);
    }
    EXPECT_EQ(RectsOf(G), C.Want);
  }
}

TEST(RasterMicroTiles, CountOnlyAndCoarseConversion) {
  TTileGrid G = MakeGrid(200, 200);
  TileGridAddRect(G, MakeRect(5, 5, 20, 20), false);
  TileGridAddRect(G, MakeRect(100, 150, 110, 160), false);
  TRectList List;
  List.Add(MakeRect(1, 2, 3, 4));
  EXPECT_EQ(TileGridToRects(G, &List, true), 2);
  EXPECT_EQ(List.GetCount(), 1);
  EXPECT_EQ(TileGridToRectsClipped(G, &List, G.Bounds, false, true), 2);
  ASSERT_EQ(List.GetCount(), 3);
  EXPECT_EQ(*List.Items(1), MakeRect(0, 0, 32, 32));
  EXPECT_EQ(*List.Items(2), MakeRect(96, 128, 128, 160));
}

TEST(RasterMicroTiles, Lines) {
  TTileGrid G = MakeGrid(120, 60);
  TileGridAddLine(G, 0, 10, 100, 10, 2, false);  // (-4, 6, 104, 14)
  EXPECT_EQ(RectsOf(G), (std::vector<TRect>{MakeRect(0, 6, 104, 14)}));

  // A diagonal: one inflated rectangle per 32-pixel step, all inside the recorded area.
  TileGridClear(G);
  TileGridAddLine(G, 0, 0, 64, 32, 1, false);
  // Steps (0,0)-(32,16) and (32,16)-(64,32), each grown by 2.
  ExpectCells(G, {{0, 0, Box(0, 0, 32, 32)},
                  {1, 0, Box(0, 0, 32, 32)},
                  {2, 0, Box(0, 14, 2, 32)},
                  {0, 1, Box(30, 0, 32, 2)},
                  {1, 1, Box(0, 0, 32, 2)},
                  {2, 1, Box(0, 0, 2, 2)}});

  // Lines beyond the 16.16 range stay defined and still record what lies on the grid.
  TileGridClear(G);
  TileGridAddLine(G, -2000000000, 20, 2000000000, 21, 1, false);
  EXPECT_EQ(G.UsedTiles.Left, 0);
  EXPECT_EQ(G.UsedTiles.Right, G.TileColumns);
  EXPECT_NE(Cell(G, 1, 0), TileBoxEmpty);
}

// Grids of different sizes unite only where both have tiles.
TEST(RasterMicroTiles, AddGridTable) {
  TTileGrid Small = MakeGrid(40, 40), Large = MakeGrid(200, 200);
  TileGridAddRect(Large, MakeRect(10, 10, 190, 190), false);
  TileGridAddGrid(Small, Large, false);
  ExpectCells(Small, {{0, 0, Box(10, 10, 32, 32)},
                      {1, 0, Box(0, 10, 32, 32)},
                      {0, 1, Box(10, 0, 32, 32)},
                      {1, 1, TileBoxFull}});
  EXPECT_EQ(Small.UsedTiles, MakeRect(0, 0, 5, 5));

  TTileGrid A = MakeGrid(100, 100), B = MakeGrid(100, 100);
  TileGridAddRect(A, MakeRect(2, 2, 10, 10), false);
  TileGridAddRect(B, MakeRect(40, 40, 41, 41), false);
  TileGridAddRect(B, MakeRect(5, 0, 20, 5), false);
  TileGridAddGrid(A, B, false);
  ExpectCells(A, {{0, 0, Box(2, 0, 20, 10)}, {1, 1, Box(8, 8, 9, 9)}});
  TileGridAddGrid(A, B, true);
  ExpectCells(A, {{0, 0, TileBoxFull}, {1, 1, TileBoxFull}});
  EXPECT_EQ(A.UsedTiles, MakeRect(0, 0, 1, 1));

  TTileGrid None;
  TileGridInit(None);
  TileGridAddGrid(A, None, false);  // no cells: nothing
  TileGridAddGrid(None, A, false);
  EXPECT_EQ(None.CellCount, 0);
}

TEST(RasterMicroTiles, CopyAndFree) {
  TTileGrid Src = MakeGrid(100, 100), Dest = MakeGrid(300, 40);
  TileGridAddRect(Dest, MakeRect(250, 0, 260, 10), false);
  TileGridAddRect(Src, MakeRect(33, 33, 40, 40), false);
  TileGridCopy(Dest, Src);
  EXPECT_EQ(Dest.TileColumns, Src.TileColumns);
  EXPECT_EQ(Dest.CellCount, Src.CellCount);
  EXPECT_EQ(Dest.UsedTiles, Src.UsedTiles);
  EXPECT_EQ(Dest.Cells, Src.Cells);

  // A grid whose cells were released keeps its counts but is never written.
  TileGridFree(Dest);
  EXPECT_EQ(Dest.CellCount, Src.CellCount);
  TileGridAddRect(Dest, MakeRect(0, 0, 50, 50), true);
  TileGridAddLine(Dest, 0, 0, 90, 50, 3, true);
  TileGridAddGrid(Dest, Src, false);
  TileGridClear(Dest);
  TileGridFill(Dest, TileBoxFull);
  EXPECT_EQ(TileGridToRects(Dest, nullptr), 0);
  TileGridCopy(Dest, Src);
  EXPECT_EQ(Dest.Cells, Src.Cells);
}

TEST(RasterMicroTiles, InflateAreaGrowsEitherOrientation) {
  TRect R = MakeRect(10, 10, 20, 20);
  InflateArea(R, 2, 3);
  EXPECT_EQ(R, MakeRect(8, 7, 22, 23));
  R = MakeRect(20, 20, 10, 10);
  InflateArea(R, 2, 3);
  EXPECT_EQ(R, MakeRect(22, 23, 8, 7));
  R = MakeRect(-2147483647, 0, 2147483647, 0);
  InflateArea(R, 10, 0);
  EXPECT_EQ(R, MakeRect(-2147483647 - 1, 0, 2147483647, 0));
}

TEST(RasterMicroTiles, MapDisposesOfItsGrids) {
  TMicroTilesMap Map;
  auto* L1 = reinterpret_cast<TCustomLayer*>(0x1000);
  auto* L2 = reinterpret_cast<TCustomLayer*>(0x2000);
  TTileGrid* G1 = Map.Add(L1);
  EXPECT_EQ(G1->CellCount, 0);
  EXPECT_EQ(Map.Add(L1), G1);
  TileGridSetSize(*Map.Add(L2), MakeRect(0, 0, 64, 64));
  EXPECT_EQ(Map.Data(L2)->CellCount, 9 + 7);
  EXPECT_EQ(Map.GetCount(), 2);
  Map.Remove(L1);
  EXPECT_THROW(Map.Data(L1), EListError);
  Map.Clear();
  EXPECT_EQ(Map.GetCount(), 0);
}
