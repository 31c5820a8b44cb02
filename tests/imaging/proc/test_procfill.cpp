// The component's fill, which keeps to the selection, and its clear, which does not.
#include "PixelsTestSupport.h"
#include "SelectingProcSupport.h"
#include "imaging/core/iemask.h"
#include "imaging/proc/zezudidproc.h"

using namespace PixelsTesting;

namespace {

TEST(TProcFillTest, FillKeepsToTheSelectionAndNamesItsColourInTheUndoCaption) {
  auto B = Picture24(4, 3, [](Integer, Integer) { return TBGR{1, 1, 1}; });
  TSelectingProc Proc(4, 3, {{1, 1}, {2, 2}}, {1, 1, 3, 3});
  Proc.UseBitmap(B.get());
  Proc.SetAutoUndo(true);
  Proc.Fill(0x0A141E);
  EXPECT_EQ(Proc.GetUndoCaption(0), "Fill (10, 20, 30)");
  const TBGR Filled{30, 20, 10}, Kept{1, 1, 1};
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X)
      EXPECT_EQ(Pixel24(B.get(), X, Y), ((X == 1 && Y == 1) || (X == 2 && Y == 2)) ? Filled : Kept)
          << X << "," << Y;
}

TEST(TProcFillTest, WithoutSelectionFillCoversThePictureAndClearIgnoresTheSelection) {
  auto B = Picture(3, 2, ie8g, [](Byte* Row, Integer) { std::fill_n(Row, 3, 9); });
  auto Plain = TZezudIdProc::CreateFromBitmap(B.get());
  Plain->Fill(0xFF0000);
  EXPECT_EQ(RowBytes(B.get(), 3), (std::vector<Byte>(6, 53)));

  auto C = Picture24(4, 3, [](Integer, Integer) { return TBGR{1, 1, 1}; });
  TSelectingProc Proc(4, 3, {{1, 1}, {2, 2}}, {1, 1, 3, 3});
  Proc.UseBitmap(C.get());
  Proc.SetAutoUndo(true);
  Proc.SetBackground(static_cast<TColor>(0x302010));  // 0x00BBGGRR
  Proc.Clear();
  EXPECT_EQ(Proc.GetUndoCaption(0), "Clear");
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X)
      EXPECT_EQ(Pixel24(C.get(), X, Y), (TBGR{0x30, 0x20, 0x10})) << X << "," << Y;
}

}  // namespace
