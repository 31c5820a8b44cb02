// TIEMask storage, pixels, the box and full-flag rules, resizing and moving.
#include <gtest/gtest.h>

#include <functional>

#include "MaskTestSupport.h"

namespace {

using TRows = std::vector<std::string>;

TEST(Mask, StorageIsBottomUpWithDwordRows) {
  TIEMask Mask;
  EXPECT_TRUE(Mask.IsEmpty());
  EXPECT_EQ(Mask.GetBitsPerPixel(), 0);
  ASSERT_TRUE(Mask.AllocateBits(33, 3, 1));
  EXPECT_EQ(Mask.GetRowLen(), 8);
  EXPECT_EQ(Mask.GetScanline(0), Mask.GetBits() + 16);  // row 0 is the highest in memory
  EXPECT_EQ(Mask.GetScanline(2), Mask.GetBits());
  ASSERT_TRUE(Mask.AllocateBits(5, 2, 8));
  EXPECT_EQ(Mask.GetRowLen(), 8);
  EXPECT_TRUE(Mask.IsEmpty());
}

TEST(Mask, SetPixelWidensTheBoxAndIgnoresOutsidePositions) {
  for (Integer Bpp : {1, 8}) {
    SCOPED_TRACE(Bpp);
    TIEMask Mask;
    Mask.AllocateBits(20, 20, Bpp);
    Mask.SetPixel(-1, 0, 1);
    Mask.SetPixel(0, 20, 1);
    EXPECT_TRUE(Mask.IsEmpty());
    Mask.SetPixel(5, 7, 1);
    EXPECT_EQ(BoxOf(Mask), (TMaskBox{5, 7, 5, 7}));
    Mask.SetPixel(2, 9, 1);
    EXPECT_EQ(BoxOf(Mask), (TMaskBox{2, 7, 5, 9}));
    Mask.SetPixel(5, 7, 0);  // clearing leaves the box
    EXPECT_EQ(BoxOf(Mask), (TMaskBox{2, 7, 5, 9}));
    EXPECT_EQ(Mask.GetPixel(5, 7), 0);
    EXPECT_EQ(Mask.GetPixel(-1, 7), 0);
  }
}

TEST(Mask, GetPixelAnswersTheBitsMaskOrTheByte) {
  TIEMask Bits;
  Bits.AllocateBits(16, 1, 1);
  Bits.SetPixel(0, 0, 1);
  Bits.SetPixel(9, 0, 5);
  EXPECT_EQ(Bits.GetPixel(0, 0), 128);
  EXPECT_EQ(Bits.GetPixel(9, 0), 64);
  TIEMask Bytes;
  Bytes.AllocateBits(4, 1, 8);
  Bytes.SetPixel(3, 0, 77);
  EXPECT_EQ(Bytes.GetPixel(3, 0), 77);
  EXPECT_TRUE(Bytes.IsPointInside(3, 0));
  EXPECT_FALSE(Bytes.IsPointInside(2, 0));
}

TEST(Mask, FullFlagFollowsTheWrites) {
  struct TCase {
    const char* Name;
    Integer Bpp;
    std::function<void(TIEMask&)> Act;
    bool ExpectedFull;
  };
  const TCase Cases[] = {
      {"8-bit fill 255", 8, [](TIEMask& M) { M.Fill(255); }, true},
      {"8-bit fill 255 then 254", 8, [](TIEMask& M) { M.Fill(255), M.SetPixel(0, 0, 254); }, false},
      {"8-bit fill 255 then 255", 8, [](TIEMask& M) { M.Fill(255), M.SetPixel(0, 0, 255); }, true},
      {"8-bit run of 255 keeps it", 8, [](TIEMask& M) { M.Fill(255), M.FillHorizontalRun(255, 0, 0, 3); },
       true},
      {"8-bit run of 1 clears it", 8, [](TIEMask& M) { M.Fill(255), M.FillHorizontalRun(1, 0, 0, 3); },
       false},
      {"1-bit fill 255", 1, [](TIEMask& M) { M.Fill(255); }, true},
      {"1-bit fill 1 sets every eighth bit only", 1, [](TIEMask& M) { M.Fill(1); }, false},
      {"1-bit fill 255 then clear a bit", 1, [](TIEMask& M) { M.Fill(255), M.SetPixel(0, 0, 0); }, false},
      {"1-bit fill 255 then set a bit with 7", 1, [](TIEMask& M) { M.Fill(255), M.SetPixel(0, 0, 7); }, true},
      {"1-bit run of 1 keeps it", 1, [](TIEMask& M) { M.Fill(255), M.FillHorizontalRun(1, 0, 0, 3); }, true},
      {"1-bit run of 255 clears it", 1, [](TIEMask& M) { M.Fill(255), M.FillHorizontalRun(255, 0, 0, 3); },
       false},
      {"empty clears it", 1, [](TIEMask& M) { M.Fill(255), M.Empty(); }, false},
      {"a run outside changes nothing", 8, [](TIEMask& M) { M.Fill(255), M.FillHorizontalRun(0, 20, 0, 30); },
       true},
      {"SyncFull with every pixel set", 1,
       [](TIEMask& M) { M.FillHorizontalRun(1, 0, 0, 9), M.FillHorizontalRun(1, 0, 1, 9), M.SyncFull(); },
       true},
      {"SyncFull with the last pixel of a row clear", 1,
       [](TIEMask& M) { M.Fill(255), M.SetPixel(9, 1, 0), M.SetFull(true), M.SyncFull(); }, false},
      {"SyncFull of an 8-bit value 254", 8,
       [](TIEMask& M) { M.Fill(255), M.SetPixel(9, 1, 254), M.SyncFull(); }, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIEMask Mask;
    Mask.AllocateBits(10, 2, C.Bpp);
    C.Act(Mask);
    EXPECT_EQ(Mask.GetFull(), C.ExpectedFull);
  }
}

TEST(Mask, EmptyClearsPixelsAndBox) {
  auto Mask = MaskFromRows({"#..", ".##"}, 1);
  Mask->Empty();
  EXPECT_TRUE(Mask->IsEmpty());
  EXPECT_EQ(MaskRows(*Mask), (TRows{"...", "..."}));
}

TEST(Mask, HorizontalRunsAreClampedAndLeaveTheBox) {
  TIEMask Mask;
  Mask.AllocateBits(20, 3, 1);
  EXPECT_EQ(Mask.FillHorizontalRun(1, 5, 1, 17), 13);
  EXPECT_EQ(MaskRows(Mask)[1], ".....#############..");
  EXPECT_TRUE(Mask.IsEmpty());
  EXPECT_EQ(Mask.FillHorizontalRun(2, 7, 1, 8), 2);  // any value but 1 clears bits
  EXPECT_EQ(MaskRows(Mask)[1], ".....##..#########..");
  EXPECT_EQ(Mask.FillHorizontalRun(1, -4, 0, 40), 20);
  EXPECT_EQ(MaskRows(Mask)[0], std::string(20, '#'));
  EXPECT_EQ(Mask.FillHorizontalRun(1, 9, 0, 3), 0);
  // A row outside the mask is not moved onto the edge row.
  EXPECT_EQ(Mask.FillHorizontalRun(1, 0, 3, 19), 0);
  EXPECT_EQ(Mask.FillHorizontalRun(0, 0, -1, 19), 0);
  EXPECT_EQ(MaskRows(Mask), (TRows{std::string(20, '#'), ".....##..#########..", std::string(20, '.')}));
  TIEMask Bytes;
  Bytes.AllocateBits(6, 1, 8);
  EXPECT_EQ(Bytes.FillHorizontalRun(9, 1, 0, 3), 3);
  EXPECT_EQ(Bytes.GetPixel(1, 0) + Bytes.GetPixel(3, 0) + Bytes.GetPixel(4, 0), 18);
}

TEST(Mask, SyncRectFindsTheSelectedPixels) {
  auto Mask = MaskFromRows({"......", "..#...", "....#.", "......"}, 8);
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{2, 1, 4, 2}));
  Mask->FillHorizontalRun(0, 0, 1, 5);
  Mask->FillHorizontalRun(0, 0, 2, 5);
  Mask->SyncRect();
  EXPECT_TRUE(Mask->IsEmpty());
}

TEST(Mask, FailedAllocationLeavesTheMaskUnallocated) {
  TIEMask Mask;
  ASSERT_TRUE(Mask.AllocateBits(10, 10, 8));
  Mask.Fill(255);
  {
    TRefuseAllocationsGuard Refuse(1000);
    EXPECT_FALSE(Mask.AllocateBits(100, 100, 8));
  }
  EXPECT_EQ(Mask.GetWidth(), 0);
  EXPECT_EQ(Mask.GetHeight(), 0);
  EXPECT_EQ(Mask.GetBitsPerPixel(), 0);
  EXPECT_EQ(Mask.GetRowLen(), 0);
  EXPECT_EQ(Mask.GetBits(), nullptr);
  EXPECT_TRUE(Mask.IsEmpty());
  EXPECT_FALSE(Mask.GetFull());
  EXPECT_EQ(Mask.GetPixel(0, 0), 0);
  Mask.SetPixel(0, 0, 1);  // harmless without bits
  EXPECT_FALSE(Mask.AllocateBits(-1, 10, 1));
  EXPECT_FALSE(Mask.AllocateBits(2147483647, 1, 8));  // a row no Integer can count
  EXPECT_EQ(Mask.GetBits(), nullptr);
}

TEST(Mask, FailedResizeLeavesTheMaskAsItWas) {
  auto Mask = MaskFromRows({"#..", ".#."}, 1);
  {
    TRefuseAllocationsGuard Refuse(1000);
    Mask->Resize(100, 100);
  }
  EXPECT_EQ(MaskRows(*Mask), (TRows{"#..", ".#."}));
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{0, 0, 1, 1}));
}

TEST(Mask, ResizeKeepsTheTopLeftAndClampsTheBox) {
  auto Mask = MaskFromRows({"####....", "#..#....", "####...#"}, 1);
  Mask->Resize(3, 2);
  EXPECT_EQ(MaskRows(*Mask), (TRows{"###", "#.."}));
  EXPECT_EQ(BoxOf(*Mask), (TMaskBox{0, 0, 2, 1}));
  // Growing again brings nothing back from beyond the smaller width.
  Mask->Resize(8, 3);
  EXPECT_EQ(MaskRows(*Mask), (TRows{"###.....", "#.......", "........"}));
  auto Bytes = MaskFromRows({"#.#", "###"}, 8);
  Bytes->Resize(4, 3);
  EXPECT_EQ(MaskRows(*Bytes), (TRows{"#.#.", "###.", "...."}));
}

TEST(Mask, TranslateBitmapMovesTheSelection) {
  struct TCase {
    const char* Name;
    Integer Bpp;
    TRows Rows;
    Integer DX, DY;
    bool Cut;
    TRows Expected;
    Integer ExpectedDX, ExpectedDY;
  };
  const TCase Cases[] = {
      {"plain move",
       1,
       {"##........", "#.........", ".........."},
       3,
       1,
       false,
       {"..........", "...##.....", "...#......"},
       3,
       1},
      {"stopped at the right edge",
       1,
       {"....####..", "..........", ".........."},
       5,
       0,
       false,
       {"......####", "..........", ".........."},
       2,
       0},
      {"stopped at the top edge",
       8,
       {"..........", "..##......", ".........."},
       -1,
       -3,
       false,
       {".##.......", "..........", ".........."},
       -1,
       -1},
      {"cut at the right edge",
       1,
       {"....####..", "..........", ".........."},
       5,
       0,
       true,
       {".........#", "..........", ".........."},
       5,
       0},
      {"cut at the left and bottom",
       8,
       {"..##......", ".###......", ".........."},
       -2,
       2,
       true,
       {"..........", "..........", "##........"},
       -2,
       2},
      {"cut beyond the mask",
       1,
       {"....####..", "..........", ".........."},
       20,
       0,
       true,
       {"..........", "..........", ".........."},
       20,
       0},
      {"8-bit move across rows",
       8,
       {"##........", "..........", ".........."},
       8,
       2,
       false,
       {"..........", "..........", "........##"},
       8,
       2},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Mask = MaskFromRows(C.Rows, C.Bpp);
    Integer DX = C.DX, DY = C.DY;
    Mask->TranslateBitmap(DX, DY, C.Cut);
    EXPECT_EQ(MaskRows(*Mask), C.Expected);
    EXPECT_EQ(DX, C.ExpectedDX);
    EXPECT_EQ(DY, C.ExpectedDY);
    auto Synced = MaskFromRows(C.Expected, C.Bpp);
    EXPECT_EQ(Mask->IsEmpty(), Synced->IsEmpty());
    if (!Synced->IsEmpty()) {
      EXPECT_EQ(BoxOf(*Mask), BoxOf(*Synced));
    }
  }
}

TEST(Mask, TranslateBitmapKeepsStrengthsAndFindsALostBox) {
  TIEMask Mask;
  Mask.AllocateBits(6, 2, 8);
  Mask.FillHorizontalRun(100, 1, 0, 2);  // the box is not told
  Mask.SetFull(true);
  Integer DX = 2, DY = 1;
  Mask.TranslateBitmap(DX, DY, false);
  EXPECT_EQ(Mask.GetPixel(3, 1), 100);
  EXPECT_EQ(Mask.GetPixel(4, 1), 100);
  EXPECT_EQ(Mask.GetPixel(1, 0), 0);
  EXPECT_EQ(BoxOf(Mask), (TMaskBox{3, 1, 4, 1}));
  EXPECT_FALSE(Mask.GetFull());

  TIEMask Nothing;
  Nothing.AllocateBits(4, 4, 1);
  DX = 1;
  Nothing.TranslateBitmap(DX, DY, false);
  EXPECT_TRUE(Nothing.IsEmpty());
}

}  // namespace
