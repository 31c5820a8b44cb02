// The processing component: what it is attached to, the operation frame and the undo and redo
// lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SelectingProcSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Graphic.h"
#include "tests/imaging/core/BitmapTestSupport.h"
#include "tests/imaging/io/FakeViewSupport.h"

namespace {

// An 8-bit grey picture whose every byte is Value.
std::unique_ptr<TIEBitmap> Grey(Integer W, Integer H, Byte Value) {
  auto B = std::make_unique<TIEBitmap>(W, H, ie8g);
  for (Integer Y = 0; Y < H; ++Y) std::fill_n(static_cast<Byte*>(B->GetScanline(Y)), W, Value);
  return B;
}

Byte FirstByte(TIEBitmap* B) {
  return static_cast<Byte*>(B->GetScanline(0))[0];
}

// Files of Folder this process holds open (their names are removed when they are created).
size_t OpenFilesIn(const std::string& Folder) {
  size_t Count = 0;
  for (const auto& Entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code Ignored;
    if (std::filesystem::read_symlink(Entry.path(), Ignored).string().starts_with(Folder)) ++Count;
  }
  return Count;
}

void Paint(TIEBitmap* B, Byte Value) {
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    std::fill_n(static_cast<Byte*>(B->GetScanline(Y)), B->GetWidth(), Value);
}

class TProcTest : public ::testing::Test {
 public:
  void SetUp() override { Proc->SetOnSaveUndo(TIESaveUndoEvent(this, &TProcTest::SavedUndo)); }
  void SavedUndo(TObject* /*Sender*/, TIEUndoSource Source) { Events.push_back(Source); }
  void Progress(TObject* /*Sender*/, Integer Percent) {
    Log.push_back("progress " + std::to_string(Percent));
  }
  void Finished(TObject* /*Sender*/) { Log.push_back("finish"); }

  std::unique_ptr<TIEBitmap> Picture = Grey(4, 3, 10);
  std::unique_ptr<TZezudIdProc> Proc = TZezudIdProc::CreateFromBitmap(Picture.get());
  std::vector<TIEUndoSource> Events;
  std::vector<std::string> Log;
};

TEST_F(TProcTest, AutoUndoFollowsTheOwner) {
  EXPECT_FALSE(Proc->GetAutoUndo());
  TComponent Owner(nullptr);
  auto* Owned = new TZezudIdProc(&Owner);
  EXPECT_TRUE(Owned->GetAutoUndo());
  EXPECT_EQ(Owned->GetUndoLimit(), 1);
  EXPECT_EQ(Owned->GetUndoLocation(), ieFile);
  EXPECT_TRUE(Owned->GetAutoConvertFormat());
  EXPECT_EQ(Owned->GetPreviewsParams(), (TPRPreviewsParams{prppShowResetButton, prppHardReset}));
  EXPECT_NE(Owned->GetIEBitmap(), nullptr);
}

TEST_F(TProcTest, LimitOfOneKeepsOnlyTheNewestCopy) {
  Proc->SaveUndo(ieuImage);
  Paint(Picture.get(), 20);
  Proc->SaveUndo(ieuImage);
  Paint(Picture.get(), 30);
  EXPECT_EQ(Proc->UndoCount(), 1);
  Proc->Undo();
  EXPECT_EQ(FirstByte(Picture.get()), 20);
  EXPECT_EQ(Events.size(), 2u);
}

TEST_F(TProcTest, LimitOfZeroSavesNothingAndTellsNoOne) {
  Proc->SetUndoLimit(0);
  Proc->SaveUndo(ieuImage);
  Proc->SaveUndoCaptioned("x", ieuImage);
  EXPECT_FALSE(Proc->CanUndo());
  EXPECT_TRUE(Events.empty());
}

TEST_F(TProcTest, TooSmallPictureAddsNoEntry) {
  auto Thin = Grey(1, 5, 0);
  Proc->SetAttachedIEBitmap(Thin.get());
  Proc->SaveUndo(ieuImage);
  EXPECT_EQ(Proc->UndoCount(), 0);
  EXPECT_EQ(Events, (std::vector<TIEUndoSource>{ieuImage}));
  Proc->SaveUndoCaptioned("thin", ieuImage);
  EXPECT_EQ(Proc->UndoCount(), 0);
  EXPECT_EQ(Events.size(), 1u);
}

TEST_F(TProcTest, WithoutAPictureNothingRuns) {
  Proc->SetAttachedIEBitmap(nullptr);
  EXPECT_EQ(Proc->GetIEBitmap(), nullptr);
  EXPECT_FALSE(Proc->PrepareBitmap({}));
  Proc->SaveUndo(ieuImage);
  Proc->Undo();
  EXPECT_TRUE(Events.empty());
}

TEST_F(TProcTest, SourcesOfTheFullViewAreNotSavedHereButStillReported) {
  auto Image = std::make_unique<TImage>(nullptr);
  Proc->SetAttachedTImage(Image.get());
  Proc->SaveUndo(ieuSelection);
  Proc->SaveUndo(ieuUnknown);
  EXPECT_EQ(Proc->UndoCount(), 0);
  EXPECT_EQ(Events, (std::vector<TIEUndoSource>{ieuSelection, ieuUnknown}));
}

TEST_F(TProcTest, UndoRestoresWithoutRemovingAndCanSaveRedo) {
  Proc->SetUndoLimit(3);
  Proc->SaveUndo(ieuImage);
  Paint(Picture.get(), 50);
  Proc->Undo(true);
  EXPECT_EQ(FirstByte(Picture.get()), 10);
  Paint(Picture.get(), 60);
  Proc->Undo(true);
  EXPECT_EQ(FirstByte(Picture.get()), 10);
  EXPECT_EQ(Proc->UndoCount(), 1);
  ASSERT_EQ(Proc->RedoCount(), 2);
  Proc->Redo();
  EXPECT_EQ(FirstByte(Picture.get()), 60);
  Proc->RedoAt(1);
  EXPECT_EQ(FirstByte(Picture.get()), 50);
  EXPECT_EQ(Proc->RedoCount(), 2);
  Proc->ClearRedo();
  Proc->Redo();
  EXPECT_EQ(FirstByte(Picture.get()), 50);
}

TEST_F(TProcTest, PositionsCountFromTheNewestAndSourcesFromTheOldest) {
  Proc->SetUndoLimit(3);
  for (Byte Value : {Byte{1}, Byte{2}, Byte{3}}) {
    Paint(Picture.get(), Value);
    Proc->SaveUndoCaptioned("step " + std::to_string(Value), ieuImage);
  }
  EXPECT_EQ(Proc->GetUndoCaption(0), "step 3");
  EXPECT_EQ(Proc->GetUndoCaption(2), "step 1");
  EXPECT_EQ(Proc->GetUndoCaption(3), "");
  EXPECT_EQ(Proc->GetUndoCaption(-1), "");
  EXPECT_EQ(Proc->GetUndoSource(0), ieuImage);
  EXPECT_EQ(Proc->GetUndoSource(3), ieuUnknown);
  Proc->UndoAt(2);
  EXPECT_EQ(FirstByte(Picture.get()), 1);
  Proc->ClearUndoAt(1);
  EXPECT_EQ(Proc->GetUndoCaption(1), "step 1");
  // A fourth entry pushes out the oldest.
  Proc->SaveUndoCaptioned("step 4", ieuImage);
  Proc->SaveUndoCaptioned("step 5", ieuImage);
  EXPECT_EQ(Proc->UndoCount(), 3);
  EXPECT_EQ(Proc->GetUndoCaption(2), "step 3");
  Proc->ClearUndo();
  EXPECT_EQ(Proc->GetUndoCaption(0), "step 4");
  Proc->ClearAllUndo();
  EXPECT_FALSE(Proc->CanUndo());
}

TEST_F(TProcTest, CopiesInMemoryAndInFilesRestoreTheSamePicture) {
  for (TIELocation Location : {ieMemory, ieFile}) {
    auto Colour = std::make_unique<TIEBitmap>(5, 4, ie24RGB);
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = 0; X < 15; ++X)
        static_cast<Byte*>(Colour->GetScanline(Y))[X] = static_cast<Byte>(X * 7 + Y);
    Colour->GetAlphaChannel();
    Colour->SetAlpha(2, 3, 77);
    TIEBitmap Original;
    Original.Assign(Colour.get());
    Proc->SetAttachedIEBitmap(Colour.get());
    Proc->SetUndoLocation(Location);
    Proc->SaveUndo(ieuImage);
    Paint(Colour.get(), 0);
    Colour->RemoveAlphaChannel(false, 0);
    Proc->Undo();
    EXPECT_TRUE(IEBitmapsEqual(Colour.get(), &Original)) << static_cast<int>(Location);
    Proc->ClearAllUndo();
  }
}

TEST_F(TProcTest, FileCopiesOwnATemporaryFileUntilTheirEntryGoes) {
  TTempFolderGuard Folder;
  Proc->SetUndoLimit(2);
  Proc->SaveUndo(ieuImage);
  Proc->SaveUndo(ieuImage);
  EXPECT_EQ(OpenFilesIn(Folder.Folder()), 2u);
  Proc->SaveUndo(ieuImage);  // the oldest goes, with its file
  EXPECT_EQ(OpenFilesIn(Folder.Folder()), 2u);
  Proc->ClearUndo();
  EXPECT_EQ(OpenFilesIn(Folder.Folder()), 1u);
  Proc->SetUndoLocation(ieMemory);
  Proc->SaveUndo(ieuImage);
  EXPECT_EQ(Proc->UndoCount(), 2);
  EXPECT_EQ(OpenFilesIn(Folder.Folder()), 1u);
  Proc.reset();
  EXPECT_EQ(OpenFilesIn(Folder.Folder()), 0u);
}

TEST_F(TProcTest, FinishingReportsFullProgressThenFinishes) {
  Proc->SetOnProgress(TIEProgressEvent(this, &TProcTest::Progress));
  Proc->SetOnFinishWork(TNotifyEvent(this, &TProcTest::Finished));
  Proc->DoFinishWork();
  EXPECT_EQ(Log, (std::vector<std::string>{"progress 100", "finish"}));
}

struct TFormatCase {
  TIEPixelFormat From;
  TIEPixelFormatSet Allowed;
  bool AutoConvert;
  bool Result;
  TIEPixelFormat To;
};

TEST_F(TProcTest, FormatFallbackWalksTheCandidatesThenTakesTheHighestAllowed) {
  const TFormatCase Cases[] = {
      {ie8g, {}, true, true, ie8g},
      {ie8g, {ie24RGB}, true, true, ie24RGB},
      {ie8g, {ie24RGB}, false, false, ie8g},
      {ie8g, {ie24RGB, ie16g}, true, true, ie16g},
      {ie24RGB, {ie1g}, true, true, ie1g},
      {ie24RGB, {ie1g, ie8g}, true, true, ie8g},
      {ie24RGB, {ie24RGB}, false, true, ie24RGB},
  };
  for (const TFormatCase& C : Cases) {
    auto B = std::make_unique<TIEBitmap>(3, 3, C.From);
    Proc->SetAttachedIEBitmap(B.get());
    Proc->SetAutoConvertFormat(C.AutoConvert);
    EXPECT_EQ(Proc->MakeConsistentBitmap(C.Allowed), C.Result) << int(C.From) << " " << int(C.To);
    EXPECT_EQ(B->GetPixelFormat(), C.To) << int(C.From);
  }
}

TEST_F(TProcTest, ARefusedOperationStillLeavesItsUndoEntry) {
  Proc->SetAutoUndo(true);
  Proc->SetAutoConvertFormat(false);
  Integer X1, Y1, X2, Y2;
  TIEBitmap* Work = nullptr;
  TIEMask* Mask = nullptr;
  EXPECT_FALSE(Proc->BeginImageProcessing({ie24RGB}, X1, Y1, X2, Y2, Work, "Op", Mask));
  EXPECT_EQ(Proc->GetUndoCaption(0), "Op");
  Proc->SetAutoConvertFormat(true);
  ASSERT_TRUE(Proc->BeginImageProcessing({ie24RGB}, X1, Y1, X2, Y2, Work, "Op", Mask));
  EXPECT_EQ(Work, Picture.get());
  EXPECT_EQ((std::array{X1, Y1, X2, Y2}), (std::array{0, 0, 4, 3}));
  EXPECT_EQ(Mask, nullptr);
  Proc->EndImageProcessing(Work, Mask);
}

TEST_F(TProcTest, SelectionWorksOnACopyOfItsBoxAndCopiesTheSelectedAlphaBack) {
  Picture->GetAlphaChannel();
  Picture->SetAlpha(1, 1, 40);
  TSelectingProc Selecting(4, 3, {{1, 1}, {2, 1}}, {1, 1, 3, 2});
  Selecting.UseBitmap(Picture.get());
  Integer X1, Y1, X2, Y2;
  TIEBitmap* Work = nullptr;
  TIEMask* Mask = nullptr;
  ASSERT_TRUE(Selecting.BeginImageProcessing({}, X1, Y1, X2, Y2, Work, "", Mask));
  ASSERT_NE(Work, Picture.get());
  EXPECT_EQ((std::array{X1, Y1, X2, Y2, Work->GetWidth(), Work->GetHeight()}),
            (std::array{0, 0, 2, 1, 2, 1}));
  EXPECT_EQ(Work->GetAlpha(0, 0), 40);
  Paint(Work, 99);
  Work->SetAlpha(1, 0, 7);
  Selecting.EndImageProcessing(Work, Mask);
  EXPECT_EQ(Picture->GetPixelFormat(), ie8g);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X)
      EXPECT_EQ(static_cast<Byte*>(Picture->GetScanline(Y))[X], Y == 1 && (X == 1 || X == 2) ? 99 : 10)
          << X << Y;
  EXPECT_EQ(Picture->GetAlpha(1, 1), 40);
  EXPECT_EQ(Picture->GetAlpha(2, 1), 7);
  EXPECT_EQ(Picture->GetAlpha(3, 1), 255);
  EXPECT_FALSE(Picture->GetAlphaChannel()->GetFull());
}

TEST_F(TProcTest, ViewPictureIsFollowedAndRepaintedUntilTheViewGoes) {
  auto View = std::make_unique<TFakeView>(nullptr);
  View->Picture = Grey(3, 3, 5);
  Proc->SetAttachedZezudId(View.get());
  EXPECT_EQ(Proc->GetIEBitmap(), View->Picture.get());
  EXPECT_EQ(Proc->GetBackground(), View->Background);
  View->SwapPicture();
  EXPECT_EQ(Proc->GetIEBitmap(), View->Picture.get());
  View->TakeLog();
  Proc->Refresh();
  EXPECT_EQ(View->TakeLog(), (std::vector<std::string>{"update", "imagechange"}));
  View.reset();
  EXPECT_EQ(Proc->GetAttachedZezudId(), nullptr);
  ASSERT_NE(Proc->GetIEBitmap(), nullptr);
  EXPECT_TRUE(Proc->PrepareBitmap({}));
  Proc->SetBackground(0x0000FF);
  EXPECT_EQ(Proc->GetBackground(), 0x0000FF);
}

TEST_F(TProcTest, ViewWithOnlyAPlatformBitmapIsWrappedInAPictureOfOurOwn) {
  TFakeView View(nullptr, false);
  View.Platform->SetWidth(5);
  View.Platform->SetHeight(2);
  Proc->SetAttachedZezudId(&View);
  EXPECT_EQ(Proc->GetAttachedBitmap(), View.Platform.get());
  ASSERT_TRUE(Proc->PrepareBitmap({}));
  EXPECT_EQ(Proc->GetIEBitmap()->GetWidth(), 5);
  EXPECT_EQ(Picture->GetWidth(), 4);  // the caller's picture is left alone
  Proc->SetAttachedZezudId(nullptr);
  EXPECT_EQ(Proc->GetAttachedBitmap(), nullptr);
  ASSERT_NE(Proc->GetIEBitmap(), nullptr);
  EXPECT_TRUE(Proc->GetIEBitmap()->IsEmpty());
}

TEST_F(TProcTest, ImageControlsBitmapIsWrappedUntilTheControlGoes) {
  auto Image = std::make_unique<TImage>(nullptr);
  TBitmap* Bitmap = Image->GetPicture()->GetBitmap();
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetWidth(4);
  Bitmap->SetHeight(2);
  Proc->SetAttachedTImage(Image.get());
  EXPECT_EQ(Proc->GetAttachedBitmap(), Bitmap);
  ASSERT_TRUE(Proc->PrepareBitmap({}));
  EXPECT_EQ(Proc->GetIEBitmap()->GetWidth(), 4);
  Bitmap->SetModified(false);
  Proc->Refresh();
  EXPECT_TRUE(Bitmap->GetModified());
  Image.reset();
  EXPECT_EQ(Proc->GetAttachedTImage(), nullptr);
  EXPECT_EQ(Proc->GetAttachedBitmap(), nullptr);
  // The wrapper no longer reaches the freed bitmap.
  ASSERT_TRUE(Proc->PrepareBitmap({}));
  Proc->SaveUndo(ieuImage);
}

}  // namespace
