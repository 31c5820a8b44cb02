// The component's crops and canvas resize: undo captions, alpha channels and the no-op cases.
#include <gtest/gtest.h>

#include "GeometryTestSupport.h"
#include "imaging/proc/zezudidproc.h"

using namespace GeometryTesting;

namespace {

struct TCountingSink : TObject {
  Integer Reports = 0;
  void Report(TObject*, Integer) { ++Reports; }
};

struct TProcOn {
  std::unique_ptr<TZezudIdProc> Proc;
  TCountingSink Sink;
  explicit TProcOn(TIEBitmap* B) : Proc(TZezudIdProc::CreateFromBitmap(B)) {
    Proc->SetAutoUndo(true);
    Proc->SetOnProgress(TIEProgressEvent(&Sink, &TCountingSink::Report));
  }
};

}  // namespace

TEST(ProcGeometry, CropKeepsTheRectangleAndItsAlpha) {
  auto B = Gray({"abcd", "efgh", "ijkl"});
  B->GetAlphaChannel()->SetPixel8(2, 1, 9);
  TProcOn P(B.get());
  P.Proc->Crop(1, 1, 2, 2);
  EXPECT_EQ(Rows(*B), (TRows{"fg", "jk"}));
  EXPECT_EQ(B->GetAlphaChannel()->GetWidth(), 2);
  EXPECT_EQ(B->GetAlphaChannel()->GetPixel8(1, 0), 9);
  EXPECT_EQ(P.Proc->GetUndoCaption(0), "Crop 1, 1, 2, 2");
  EXPECT_GT(P.Sink.Reports, 0);

  P.Proc->CropRect(TRect{0, 0, 0, 1});  // right and bottom inclusive
  EXPECT_EQ(Rows(*B), (TRows{"f", "j"}));
}

TEST(ProcGeometry, CropOfTheWholePictureOrOfNothingDoesNothing) {
  auto B = Gray({"ab", "cd"});
  TProcOn P(B.get());
  P.Proc->Crop(0, 0, 1, 1);
  P.Proc->Crop(1, 1, 0, 0);
  EXPECT_EQ(Rows(*B), (TRows{"ab", "cd"}));
  EXPECT_EQ(P.Proc->UndoCount(), 0);
  EXPECT_EQ(P.Sink.Reports, 0);
}

TEST(ProcGeometry, CropReachingOutsideCopiesTheOverlap) {
  auto B = Gray({"ab", "cd"});
  TProcOn P(B.get());
  P.Proc->Crop(1, 1, 2, 2);
  EXPECT_EQ(B->GetWidth(), 2);
  EXPECT_EQ(B->GetPixel8(0, 0), 'd');
}

TEST(ProcGeometry, CropTransparencyLeavesNoUndoEntry) {
  auto B = Gray({"abc", "def", "ghi"});
  TProcOn P(B.get());
  P.Proc->CropTransparency();  // no alpha channel: the whole picture
  EXPECT_EQ(Rows(*B), (TRows{"abc", "def", "ghi"}));
  B->GetAlphaChannel()->Fill(0);
  B->SetAlpha(1, 1, 255);
  B->SetAlpha(2, 1, 1);
  P.Proc->CropTransparency();
  EXPECT_EQ(Rows(*B), (TRows{"ef"}));
  EXPECT_EQ(P.Proc->UndoCount(), 0);
  EXPECT_TRUE(P.Proc->GetAutoUndo());
  B->GetAlphaChannel()->Fill(0);
  P.Proc->CropTransparency();  // nothing visible: the picture stays whole
  EXPECT_EQ(Rows(*B), (TRows{"ef"}));
}

TEST(ProcGeometry, ImageResizeAddsBackgroundAndAlphaFill) {
  auto B = Gray({"ab", "cd"}, ie24RGB);
  TProcOn P(B.get());
  P.Proc->SetBackground(static_cast<TColor>(0x000005));  // red 5
  P.Proc->ImageResize(2, 2);
  P.Proc->ImageResize(0, 4);
  EXPECT_EQ(P.Proc->UndoCount(), 0);
  EXPECT_EQ(P.Sink.Reports, 0);
  EXPECT_FALSE(B->HasAlphaChannel());

  P.Proc->ImageResize(4, 5, 1, 2, 0);  // centred across, at the bottom, the new area transparent
  EXPECT_EQ(P.Proc->GetUndoCaption(0), "ImageResize 4,5");
  EXPECT_EQ(Rows(*B)[3].substr(1, 2), "ab");
  EXPECT_EQ(Rows(*B)[4].substr(1, 2), "cd");
  EXPECT_EQ(B->GetPixel24(0, 0), (TIERGBTriple{0, 0, 5}));
  ASSERT_TRUE(B->HasAlphaChannel());
  EXPECT_EQ(B->GetAlpha(0, 0), 0);
  EXPECT_EQ(B->GetAlpha(1, 3), 255);
}
