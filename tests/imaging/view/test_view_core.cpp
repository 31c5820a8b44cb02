// The image view's own life: defaults, the components it creates, its picture (emptiness,
// Assign), the paint and update locks, and the private messages a worker posts to it.
#include <gtest/gtest.h>

#include <vector>

#include "ViewCoreTestSupport.h"
#include "imaging/io/zezudidio.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ControlMessages.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"

namespace {

// Records the handlers the view calls.
struct TViewEvents : TObject {
  std::vector<std::string> Log;
  void Progress(TObject* Sender, Integer Percent) {
    Log.push_back((Sender == View ? "view " : "other ") + std::to_string(Percent));
  }
  void Finish(TObject* Sender) { Log.push_back(Sender == View ? "view finish" : "other finish"); }
  TObject* View = nullptr;
};

TEST(ViewCore, ANewViewHasOneLayerAnEmptyPlatformPictureAndTheLibraryResolution) {
  TZezudIdView View(nullptr);
  EXPECT_EQ(View.GetLayersCount(), 1);
  EXPECT_EQ(View.GetLayersCurrent(), 0);
  EXPECT_TRUE(View.GetLegacyBitmap());
  ASSERT_NE(View.GetTBitmap(), nullptr);
  EXPECT_EQ(View.GetTBitmap()->GetPixelFormat(), pf24bit);
  EXPECT_EQ(View.GetIEBitmap()->GetTBitmap(), View.GetTBitmap());
  EXPECT_EQ(View.GetLayer(0)->Bitmap, View.GetIEBitmap());
  EXPECT_FALSE(View.GetLayer(0)->VisibleBox);
  EXPECT_TRUE(View.GetLayer(0)->Locked);
  EXPECT_TRUE(View.IsEmpty());
  EXPECT_EQ(View.GetDpiX(), 300);
  EXPECT_EQ(View.GetDpiY(), 300);
  EXPECT_EQ(View.GetWidth(), 105);
  EXPECT_EQ(View.GetHeight(), 105);
  EXPECT_EQ(View.GetCursor(), 1785);
  EXPECT_EQ(View.GetUpdateLock(), 0);
  EXPECT_EQ(View.GetViewWidth(), 50);  // no window to measure
  EXPECT_EQ(View.GetViewHeight(), 50);
  EXPECT_EQ(View.GetSelectionOptions(),
            (TIESelectionOptions{iesoAnimated, iesoSizeable, iesoMoveable, iesoCanScroll}));
}

TEST(ViewCore, ComponentsAreMadeOnceAndFollowTheHandlers) {
  TViewEvents Events;
  TZezudIdView View(nullptr);
  Events.View = &View;
  TZezudIdIO* IO = View.GetIO();
  EXPECT_EQ(View.GetIO(), IO);
  EXPECT_EQ(IO->GetOwner(), &View);
  EXPECT_EQ(IO->GetAttachedZezudId(), &View);
  // Set after the component exists, the handler still reaches it.
  View.SetOnProgress(TIEProgressEvent(&Events, &TViewEvents::Progress));
  EXPECT_EQ(IO->GetOnProgress(), View.GetOnProgress());
  TZezudIdProc* Proc = View.GetProc();
  EXPECT_EQ(View.GetProc(), Proc);
  EXPECT_EQ(Proc->GetAttachedZezudId(), &View);
  EXPECT_EQ(Proc->GetOnProgress(), View.GetOnProgress());
  View.SetOnFinishWork(TNotifyEvent(&Events, &TViewEvents::Finish));
  EXPECT_EQ(IO->GetOnFinishWork(), View.GetOnFinishWork());
  EXPECT_EQ(Proc->GetOnFinishWork(), View.GetOnFinishWork());
}

TEST(ViewCore, EmptyMeansBelowTwoInBothDirections) {
  struct TCase {
    Integer Width, Height;
    bool Empty;
  };
  TZezudIdView View(nullptr);
  for (const TCase& C : {TCase{1, 1, true}, TCase{1, 2, false}, TCase{2, 1, false}, TCase{1, 5, false}}) {
    View.GetIEBitmap()->Allocate(C.Width, C.Height, ie24RGB);
    EXPECT_EQ(View.IsEmpty(), C.Empty) << C.Width << " x " << C.Height;
  }
  View.Blank();
  EXPECT_TRUE(View.IsEmpty());
  EXPECT_EQ(View.GetIEBitmap()->GetWidth(), 1);
  TZezudIdView Fresh(nullptr);
  Fresh.Blank();
  EXPECT_TRUE(Fresh.IsEmpty());
  EXPECT_EQ(Fresh.GetIEBitmap()->GetWidth(), 1);
  EXPECT_EQ(Fresh.GetIEBitmap()->GetHeight(), 1);
}

TEST(ViewCore, ClearFillsWithTheBackgroundAndDropsTheAlpha) {
  TZezudIdView View(nullptr);
  View.GetIEBitmap()->Allocate(3, 2, ie24RGB);
  View.GetAlphaChannel();
  ASSERT_TRUE(View.HasAlphaChannel());
  View.SetBackground(0x0000FF);  // red
  View.Clear();
  EXPECT_FALSE(View.HasAlphaChannel());
  const TIERGBTriple P = View.GetIEBitmap()->GetPixel24(2, 1);
  EXPECT_EQ(P.rgbtRed, 255);
  EXPECT_EQ(P.rgbtGreen, 0);
  EXPECT_EQ(P.rgbtBlue, 0);
}

TEST(ViewCore, AssignTakesAPlatformBitmapKeepingOnlyOneBitAndTrueColour) {
  struct TCase {
    TPixelFormat Platform;
    TIEPixelFormat Kept;
  };
  for (const TCase& C : {TCase{pf1bit, ie1g}, TCase{pf8bit, ie24RGB}, TCase{pf24bit, ie24RGB}}) {
    TBitmap Source;
    Source.SetPixelFormat(C.Platform);
    Source.SetSize(4, 3);
    TCountingView View(nullptr);
    const int Before = View.Updates;
    View.Assign(&Source);
    EXPECT_EQ(View.GetIEBitmap()->GetPixelFormat(), C.Kept);
    EXPECT_EQ(View.GetIEBitmap()->GetWidth(), 4);
    EXPECT_GT(View.Updates, Before);
  }
}

TEST(ViewCore, AssignFromAnotherViewCopiesPictureBackgroundAndResolution) {
  TZezudIdView Source(nullptr);
  Source.GetIEBitmap()->Assign(PatternPicture(5, 4).get());
  Source.SetBackground(0x123456);
  Source.SetDpi(72, 150);
  TZezudIdView View(nullptr);
  View.Assign(&Source);
  EXPECT_NE(View.GetIEBitmap(), Source.GetIEBitmap());
  EXPECT_EQ(View.GetIEBitmap()->GetWidth(), 5);
  EXPECT_EQ(View.GetIEBitmap()->GetPixel24(3, 2), Source.GetIEBitmap()->GetPixel24(3, 2));
  EXPECT_EQ(View.GetBackground(), 0x123456);
  EXPECT_EQ(View.GetDpiX(), 72);
  EXPECT_EQ(View.GetDpiY(), 150);
}

TEST(ViewCore, PaintLockNeverGoesBelowZeroAndUnlockingRefreshes) {
  TCountingView View(nullptr);
  View.LockPaint();
  View.LockPaint();
  int Before = View.Updates;
  EXPECT_EQ(View.UnlockPaint(), 1);
  EXPECT_EQ(View.Updates, Before);  // still locked
  EXPECT_EQ(View.UnlockPaint(), 0);
  EXPECT_EQ(View.Updates, Before + 1);
  // Unlocking an unlocked view stays at 0 and still refreshes.
  EXPECT_EQ(View.UnlockPaint(), 0);
  EXPECT_EQ(View.Updates, Before + 2);
  View.LockPaint();
  Before = View.Updates;
  EXPECT_EQ(View.UnlockPaintNoRefresh(), 0);
  EXPECT_EQ(View.UnlockPaintNoRefresh(), 0);
  EXPECT_EQ(View.Updates, Before);
}

TEST(ViewCore, UpdateLockCountsAndOnlyTheRefreshingUnlockUpdates) {
  TCountingView View(nullptr);
  int Before = View.Updates;
  View.UnlockUpdate();  // without a matching lock
  EXPECT_EQ(View.GetUpdateLock(), 0);
  EXPECT_EQ(View.Updates, Before + 1);
  View.LockUpdate();
  View.LockUpdate();
  Before = View.Updates;
  View.UnlockUpdate();
  EXPECT_EQ(View.Updates, Before);  // still 1
  View.UnlockUpdateNoRefresh();
  EXPECT_EQ(View.GetUpdateLock(), 0);
  EXPECT_EQ(View.Updates, Before);
}

TEST(ViewCore, PostedWorkerMessagesReachTheHandlersWithTheViewAsSender) {
  TViewEvents Events;
  TViewOnForm<> Fixture;
  TCountingView* View = Fixture.View;
  Events.View = View;
  HWND Handle = View->GetHandle();
  // No handler yet: the messages are ignored.
  PostMessage(Handle, IEM_PROGRESS, 10, 0);
  PostMessage(Handle, IEM_FINISHWORK, 0, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(Events.Log.empty());

  View->SetOnProgress(TIEProgressEvent(&Events, &TViewEvents::Progress));
  View->SetOnFinishWork(TNotifyEvent(&Events, &TViewEvents::Finish));
  const int Before = View->Updates;
  PostMessage(Handle, IEM_PROGRESS, 42, 0);
  PostMessage(Handle, IEM_UPDATE, 0, 0);
  PostMessage(Handle, IEM_FINISHWORK, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(Events.Log, (std::vector<std::string>{"view 42", "view finish"}));
  EXPECT_GT(View->Updates, Before);
}

// A real load on a worker thread: the handlers run here, through the queue, with the view as
// Sender, and the view shows the new picture.
TEST(ViewCore, AWorkerLoadReportsThroughTheViewsQueue) {
  TTestFolder Folder;
  const std::u16string FileName = Folder.Path("async.png");
  auto Written = PatternPicture(9, 6);
  {
    TZezudIdIO Writer(nullptr);
    Writer.SetAttachedIEBitmap(Written.get());
    Writer.SaveToFile(FileName);
  }
  TViewEvents Events;
  TViewOnForm<> Fixture;
  TCountingView* View = Fixture.View;
  Events.View = View;
  View->SetOnProgress(TIEProgressEvent(&Events, &TViewEvents::Progress));
  View->SetOnFinishWork(TNotifyEvent(&Events, &TViewEvents::Finish));
  TZezudIdIO* IO = View->GetIO();
  IO->SetAsyncMode(true);
  IO->LoadFromFile(FileName);
  IO->WaitThreads(false);
  const int Before = View->Updates;
  Application->ProcessMessages();
  ASSERT_FALSE(Events.Log.empty());
  EXPECT_EQ(Events.Log.back(), "view finish");
  for (const std::string& Line : Events.Log) EXPECT_EQ(Line.rfind("view ", 0), 0u) << Line;
  EXPECT_GT(View->Updates, Before);
  EXPECT_EQ(View->GetIEBitmap()->GetWidth(), 9);
  EXPECT_EQ(View->GetTBitmap()->GetWidth(), 9);
}

TEST(ViewCore, WithAParentTheViewMeasuresItsClientArea) {
  TViewOnForm<> Fixture;
  EXPECT_TRUE(Fixture.View->HasParentWindow());
  EXPECT_EQ(Fixture.View->GetViewWidth(), Fixture.View->GetClientWidth());
  EXPECT_EQ(Fixture.View->GetViewHeight(), Fixture.View->GetClientHeight());
  Fixture.View->SetLockPaintForced(true);
  EXPECT_EQ(Fixture.View->GetViewWidth(), Fixture.View->GetWidth());
}

TEST(ViewCore, KeysReachTheSpecialAndVirtualKeyHandlers) {
  struct TKeys : TObject {
    std::vector<std::string> Log;
    bool Take = false;
    void Special(TObject*, Word CharCode, TShiftState, bool& Handled) {
      Log.push_back("special " + std::to_string(CharCode));
      Handled = Take;
    }
    void Virtual(TObject*, Word Key, Cardinal, bool Down) {
      Log.push_back(std::string(Down ? "down " : "up ") + std::to_string(Key));
    }
  } Keys;
  TZezudIdView View(nullptr);
  View.OnSpecialKey = TIESpecialKeyEvent(&Keys, &TKeys::Special);
  View.OnVirtualKey = TIEVirtualKeyEvent(&Keys, &TKeys::Virtual);
  EXPECT_EQ(View.Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 0);
  Keys.Take = true;
  EXPECT_EQ(View.Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 1);
  View.Perform(CN_KEYDOWN, 'A', 0);
  View.Perform(WM_SYSKEYUP, 'B', 0);
  EXPECT_EQ(Keys.Log, (std::vector<std::string>{"special 37", "special 37", "down 65", "up 66"}));
}

}  // namespace
