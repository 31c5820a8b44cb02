// Animation: painters under the fake clock, their delays, loops, disposal and events, and a
// threaded painter playing into the picture's back bitmap.
#include <gmock/gmock.h>

#include "platform/classes/Application.h"
#include "platform/system/Clock.h"
#include "tests/pictures/GifTestSupport.h"

namespace {

struct TRecorder {
  std::vector<std::pair<Integer, DWORD>> Before;  // frame, time
  std::vector<std::string> Events;
  std::vector<std::vector<COLORREF>> After;  // back bitmap pixels (0,0) and (1,1)
  TGIFImage* Image = nullptr;
  Integer JumpTo = -1;
  void Start(TObject*) { Events.push_back("start"); }
  void BeforeFrame(TObject* Sender) {
    Before.emplace_back(static_cast<TGIFPainter*>(Sender)->GetActiveFrame(), timeGetTime());
  }
  void AfterFrame(TObject* Sender) {
    auto* P = static_cast<TGIFPainter*>(Sender);
    Events.push_back("after " + std::to_string(P->GetActiveFrame()));
    if (Image && Image->GetBackBitmap())
      After.push_back({PixelAt(*Image->GetBackBitmap(), 0, 0), PixelAt(*Image->GetBackBitmap(), 1, 1)});
    if (JumpTo >= 0 && P->GetActiveFrame() == 0) P->SetActiveFrame(JumpTo);
  }
  void Repeat(TObject*) { Events.push_back("repeat"); }
  void End(TObject*) { Events.push_back("end"); }
  void Hook(TGIFImage& G) {
    Image = &G;
    G.OnPainterStart = TNotifyEvent(this, &TRecorder::Start);
    G.OnBeforeFrame = TNotifyEvent(this, &TRecorder::BeforeFrame);
    G.OnAfterFrame = TNotifyEvent(this, &TRecorder::AfterFrame);
    G.OnRepeat = TNotifyEvent(this, &TRecorder::Repeat);
    G.OnPainterEnd = TNotifyEvent(this, &TRecorder::End);
  }
};

class GIFPainterTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClockSource(&Clock); }
  void TearDown() override { SetClockSource(nullptr); }
  // Plays the picture in the calling thread into its back bitmap; answers the start time.
  DWORD Play(TGIFImage& G, TGIFPaintFlags Flags) {
    G.PaintFlags = Flags;
    // A back bitmap left by an earlier run would be shown as it is.
    G.DropBackBitmap();
    Target = std::make_unique<TBitmap>();
    Target->SetWidth(G.GetWidth());
    Target->SetHeight(G.GetHeight());
    Target->GetCanvas()->GetBrush()->SetColor(0xFFFFFF);
    Target->GetCanvas()->FillRect(TRect(0, 0, G.GetWidth(), G.GetHeight()));
    const DWORD Start = timeGetTime();
    G.DrawTo(Target->GetCanvas(), TRect(0, 0, G.GetWidth(), G.GetHeight()));
    return Start;
  }
  TFakeClock Clock{5000};
  std::unique_ptr<TBitmap> Target;
};

constexpr TGIFPaintFlags Inline = gpTransparent | gpAnimate | gpRepeat | gpClearOnRestart;

}  // namespace

TEST_F(GIFPainterTest, DelaysLoopsAndDisposalUnderTheFakeClock) {
  // Delays 5, 1 and 0 play as 5, 3 and 10 units of 12 ms; the file asks for 2 passes, and a
  // painter that is not threaded waits one unit before its first frame.
  auto G = LoadGifBytes(FileBytes(GifData("anim.gif")));
  TRecorder R;
  R.Hook(*G);
  const DWORD Start = Play(*G, Inline);
  std::vector<std::pair<Integer, DWORD>> Want;
  DWORD T = Start;
  const Integer Waits[] = {1, 5, 3, 10, 5, 3};
  for (Integer I = 0; I < 6; ++I) {
    T += static_cast<DWORD>(Waits[I] * DelayToMs);
    Want.emplace_back(I % 3, T);
  }
  EXPECT_EQ(R.Before, Want);
  EXPECT_EQ(R.Events, (std::vector<std::string>{"start", "after 0", "after 1", "after 2", "repeat", "after 0",
                                                "after 1", "after 2", "end"}));
  // Each frame is restored to the backdrop after it shows: the 2 x 2 frame appears on white.
  ASSERT_EQ(R.After.size(), 6u);
  EXPECT_EQ(R.After[0], (std::vector<COLORREF>{0x0000FF, 0x0000FF}));
  EXPECT_EQ(R.After[1], (std::vector<COLORREF>{0x00FF00, 0x00FF00}));
  EXPECT_EQ(R.After[2], (std::vector<COLORREF>{0xFFFFFF, 0xFF0000}));
  EXPECT_EQ(G->GetActivePainter(), nullptr);
}

TEST_F(GIFPainterTest, SpeedRepeatAndJumps) {
  auto G = LoadGifBytes(FileBytes(GifData("anim.gif")));
  {
    TRecorder R;
    R.Hook(*G);
    G->SpeedPercent = 200;
    const DWORD Start = Play(*G, gpAnimate);
    // Without gpRepeat one pass; at double speed the 5-unit delay takes 30 ms.
    ASSERT_EQ(R.Before.size(), 3u);
    EXPECT_EQ(R.Before[0].second - Start, 6u);
    EXPECT_EQ(R.Before[1].second - R.Before[0].second, 30u);
  }
  {
    TRecorder R;
    R.Hook(*G);
    R.JumpTo = 2;
    G->SpeedPercent = 100;
    Play(*G, gpAnimate);
    // The handler's frame is kept: frame 1 is never shown.
    ASSERT_EQ(R.Before.size(), 2u);
    EXPECT_EQ(R.Before[1].first, 2);
  }
}

TEST_F(GIFPainterTest, LoopBlockCountsFromItsFrame) {
  // Three frames, the looping block (count 3) on frame 1: frame 0 shows once, 1 and 2 thrice.
  TGIFImage G;
  for (Integer I = 0; I < 3; ++I) {
    auto* F = new TGIFSubImage(&G);
    G.AppendFrame(F);
    F->PlaceFrame(0, 0, 2, 2);
    F->LocalColors()->AddColor(0x0000FF << (8 * I));
    if (I == 1) {
      auto* Loop = new TGIFAppExtNSLoop(F);
      Loop->LoopCount = 3;
      F->ExtensionBlocks()->Add(Loop);
    }
  }
  TRecorder R;
  R.Hook(G);
  Play(G, Inline);
  std::vector<Integer> Shown;
  for (auto& B : R.Before) Shown.push_back(B.first);
  EXPECT_EQ(Shown, (std::vector<Integer>{0, 1, 2, 1, 2, 1, 2}));
  // Without a looping block a painter plays once.
  auto* Only = G.Frames()->SubImage(1);
  Only->ExtensionBlocks()->Delete(0);
  TRecorder Once;
  Once.Hook(G);
  Play(G, Inline);
  EXPECT_EQ(Once.Before.size(), 3u);
}

TEST_F(GIFPainterTest, SingleFrameNeverStartsAThread) {
  TGIFImage G;
  auto* F = new TGIFSubImage(&G);
  G.AppendFrame(F);
  F->PlaceFrame(0, 0, 2, 2);
  F->LocalColors()->AddColor(0x00FF00);
  TGIFPainter* Slot = nullptr;
  TBitmap B;
  B.SetWidth(2);
  B.SetHeight(2);
  EXPECT_EQ(G.StartPainter(Slot, B.GetCanvas(), GIFImageDefaultPaintFlags, TRect(0, 0, 2, 2)), nullptr);
  EXPECT_EQ(Slot, nullptr);
  EXPECT_EQ(PixelAt(B, 1, 1), 0x00FF00u);
}

// Run under ThreadSanitizer by ./test --threads.
TEST(GIFThreads, ThreadedPainterPlaysIntoTheBackBitmapAndHalts) {
  auto G = LoadGifBytes(FileBytes(GifData("anim.gif")));
  G->PaintFlags = gpThreaded | gpTransparent | gpAnimate | gpRepeat | gpRepeatForever | gpClearOnRestart;
  G->SpeedPercent = 1000;
  TRecorder R;
  R.Hook(*G);
  TBitmap Target;
  Target.SetWidth(6);
  Target.SetHeight(4);
  G->DrawTo(Target.GetCanvas(), TRect(0, 0, 6, 4));
  ASSERT_NE(G->GetActivePainter(), nullptr);
  EXPECT_EQ(PixelAt(Target, 0, 0), 0x0000FFu);
  // Let it animate a few frames on the main thread's synchronised calls.
  for (Integer I = 0; I < 400 && R.After.size() < 5; ++I) CheckSynchronize(10);
  EXPECT_GE(R.After.size(), 5u);
  G->HaltAllPainters();
  EXPECT_EQ(G->GetActivePainter(), nullptr);
  EXPECT_EQ(G->PainterList()->LockList()->GetCount(), 0);
  G->PainterList()->UnlockList();
  // Halting a painter that is still starting up, and freeing the picture while one runs.
  G->DrawTo(Target.GetCanvas(), TRect(0, 0, 6, 4));
  G.reset();
}
