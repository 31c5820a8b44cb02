#include <gtest/gtest.h>

#include <vector>

#include "SelectionTestSupport.h"
#include "platform/system/Streams.h"

namespace {

TRect MaskBox(TZezudIdView& View) {
  const TIEMask& M = *View.GetSelectionMask();
  return {M.GetX1(), M.GetY1(), M.GetX2(), M.GetY2()};
}

std::vector<Byte> Saved(TZezudIdView& View) {
  TMemoryStream Stream;
  View.SaveSelectionToStream(&Stream);
  const Byte* Memory = static_cast<const Byte*>(Stream.GetMemory());
  return {Memory, Memory + Stream.GetSize()};
}

TEST(ViewSelectionState, SavedAndLoadedOnTheSamePictureGivesTheSameStream) {
  TSelectionView View;
  View.SetPicture(30, 20);
  View.Select(3, 4, 12, 9);
  const std::vector<Byte> Before = Saved(View);
  TMemoryStream Stream;
  View.SaveSelectionToStream(&Stream);
  View.Deselect();
  Stream.SetPosition(0);
  ASSERT_TRUE(View.LoadSelectionFromStream(&Stream, 0));
  EXPECT_TRUE(View.GetSelectionActive());
  EXPECT_EQ("(3,4)(12,4)(12,9)(3,9)", PolygonText(View));
  EXPECT_EQ(Before, Saved(View));
}

TEST(ViewSelectionState, ASmallerPictureTakesTheSelectionBackInsideOrCutsIt) {
  TSelectionView Large;
  Large.SetPicture(100, 100);
  Large.Select(30, 60, 80, 90);
  TMemoryStream Stream;
  Large.SaveSelectionToStream(&Stream);

  TSelectionView Small;
  Small.SetPicture(50, 50);
  Stream.SetPosition(0);
  ASSERT_TRUE(Small.LoadSelectionFromStream(&Stream, 1));
  // Right edge 79 and bottom edge 89 come back to column and row 49.
  EXPECT_EQ((TRect{0, 20, 49, 49}), MaskBox(Small));
  EXPECT_EQ(50, Small.GetSelectionMask()->GetWidth());
  EXPECT_TRUE(Small.GetSelectionActive());

  Stream.SetPosition(0);
  ASSERT_TRUE(Small.LoadSelectionFromStream(&Stream, 0));
  // Rows 60 .. 89 lie below the picture: nothing is left.
  EXPECT_FALSE(Small.GetSelectionActive());
  EXPECT_TRUE(Small.GetSelectionMask()->IsEmpty());
  EXPECT_EQ(0, Small.GetPolySelCount());
}

TEST(ViewSelectionState, ModeZeroCutsWhatLiesOutside) {
  TSelectionView Large;
  Large.SetPicture(100, 100);
  Large.Select(30, 20, 80, 40);
  TMemoryStream Stream;
  Large.SaveSelectionToStream(&Stream);
  TSelectionView Small;
  Small.SetPicture(50, 50);
  Stream.SetPosition(0);
  ASSERT_TRUE(Small.LoadSelectionFromStream(&Stream, 0));
  EXPECT_EQ((TRect{30, 20, 49, 39}), MaskBox(Small));
}

TEST(ViewSelectionState, TheStackRestoresTheNewestSelection) {
  TSelectionView View;
  View.SetPicture(40, 40);
  EXPECT_FALSE(View.PopSelection(true, 0));
  EXPECT_FALSE(View.GetSelectionActive());
  View.Select(1, 1, 5, 5);
  View.PushSelection();
  View.Select(10, 10, 20, 20);
  View.PushSelection();
  View.Deselect();
  ASSERT_TRUE(View.PopSelection(false, 0));
  EXPECT_EQ((TRect{10, 10, 19, 19}), MaskBox(View));
  ASSERT_TRUE(View.PopSelection(true, 0));  // the same one again, now removed
  ASSERT_TRUE(View.PopSelection(true, 0));
  EXPECT_EQ((TRect{1, 1, 4, 4}), MaskBox(View));
  EXPECT_FALSE(View.PopSelection(true, 0));
}

TEST(ViewSelectionState, ARefusedStreamLeavesTheSelection) {
  TSelectionView View;
  View.SetPicture(40, 40);
  View.Select(1, 1, 5, 5);
  TMemoryStream Stream;
  const Integer Junk = 7;
  Stream.WriteBuffer(&Junk, 4);
  Stream.SetPosition(0);
  EXPECT_FALSE(View.LoadSelectionFromStream(&Stream, 0));
  EXPECT_EQ((TRect{1, 1, 4, 4}), MaskBox(View));
  EXPECT_EQ(4, View.GetPolySelCount());
}

TEST(ViewSelectionState, ModeTwoKeepsTheSelectionOnThePictureAcrossLayers) {
  TSelectionView View;
  View.SetPicture(100, 100);
  View.LayersAdd();
  View.GetCurrentLayer()->PosX = 20;
  View.GetCurrentLayer()->PosY = 10;
  View.Select(5, 5, 15, 12);
  TMemoryStream Stream;
  View.SaveSelectionToStream(&Stream);
  View.LayersAdd();  // at (0, 0)
  Stream.SetPosition(0);
  ASSERT_TRUE(View.LoadSelectionFromStream(&Stream, 2));
  EXPECT_EQ((TRect{25, 15, 34, 21}), MaskBox(View));
  EXPECT_EQ(0, View.GetPolySelCount());
}

}  // namespace
