// The view's playback events: the frame message fires OnDShowNewFrame with the frame flag off
// meanwhile, the event message OnDShowEvent, neither once the graph is gone. The handlers do
// what the movie player does: copy the frame into the view's picture, answer the end.
#include <gtest/gtest.h>

#include <chrono>

#include "imaging/io/ieds.h"
#include "imaging/io/zezudidio.h"
#include "platform/system/Clock.h"
#include "platform/user/WindowMessages.h"
#include "tests/imaging/view/ViewCoreTestSupport.h"
#include "tests/platform/media/MovieTestSupport.h"

namespace {

constexpr Integer Width = 48, Height = 32, Frames = 6;
constexpr Int64 FrameTime = 400000;

template <class TCondition>
bool PumpUntil(TCondition Done) {
  const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > Limit) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class ViewPlayback : public ::testing::Test {
 protected:
  ViewPlayback() : Movie("view-play.avi", TMovieCodec::Uncompressed, Width, Height, Frames, 25) {
    SetClockSource(&Clock);
    View = Shown.View;
    View->OnDShowNewFrame = TNotifyEvent(this, &ViewPlayback::NewFrame);
    View->OnDShowEvent = TNotifyEvent(this, &ViewPlayback::GraphEvent);
    DShow = View->GetIO()->GetDShowParams();
  }
  ~ViewPlayback() override { DShow->Disconnect(); }

  void NewFrame(TObject* Sender) {
    EXPECT_EQ(Sender, View);
    FlagsDuringFrames.push_back(DShow->NewFrameNotify.load());
    DShow->GetSample(View->GetIEBitmap(), true);
    View->Update();
  }
  void GraphEvent(TObject* Sender) {
    EXPECT_EQ(Sender, View);
    Integer Code;
    while (DShow->GetEventCode(Code)) Codes.push_back(Code);
  }
  void Open() {
    DShow->SourceFileName = Movie.Path();
    DShow->UseSampleGrabber = true;
    DShow->Connect();
    DShow->Pause();
  }
  Byte TopPixelGreen() { return static_cast<const Byte*>(View->GetIEBitmap()->GetScanline(0))[1]; }

  TFakeClock Clock;
  TTestMovie Movie;
  TViewOnForm<> Shown;
  TCountingView* View = nullptr;
  TIEDirectShow* DShow = nullptr;
  std::vector<Byte> FlagsDuringFrames;
  std::vector<Integer> Codes;
};

TEST_F(ViewPlayback, TheIOComponentRegistersTheViewsWindow) {
  EXPECT_EQ(DShow->GetNotifyWindow(), View->GetHandle());
  EXPECT_EQ(DShow->GetNewFrameMessage(), IEM_NEWFRAME);
  EXPECT_EQ(DShow->GetEventMessage(), IEM_EVENT);
}

TEST_F(ViewPlayback, ARecreatedWindowStillReceivesTheFrames) {
  const HWND Old = View->GetHandle();
  View->SetBorderStyle(View->GetBorderStyle() == bsNone ? bsSingle : bsNone);
  View->HandleNeeded();
  ASSERT_NE(View->GetHandle(), Old);
  EXPECT_EQ(DShow->GetNotifyWindow(), View->GetHandle());
  Open();
  ASSERT_TRUE(PumpUntil([&] { return !FlagsDuringFrames.empty(); }));
}

TEST_F(ViewPlayback, ANewFrameFiresTheEventWithTheFlagOffAndCopiesTheFrame) {
  Open();
  ASSERT_TRUE(PumpUntil([&] { return !FlagsDuringFrames.empty(); }));
  EXPECT_EQ(FlagsDuringFrames, std::vector<Byte>{0});
  EXPECT_EQ(DShow->NewFrameNotify.load(), 1) << "switched on again after the handler";
  EXPECT_EQ(View->GetIEBitmap()->GetWidth(), Width);
  EXPECT_EQ(TopPixelGreen(), MovieFrameColour(0).G);
  DShow->SetPosition(4 * FrameTime);
  ASSERT_TRUE(PumpUntil([&] { return FlagsDuringFrames.size() == 2; }));
  EXPECT_EQ(TopPixelGreen(), MovieFrameColour(4).G);
}

TEST_F(ViewPlayback, TheEndOfPlaybackFiresTheGraphEvent) {
  Open();
  DShow->Run();
  Clock.Advance(Frames * 40);
  ASSERT_TRUE(PumpUntil([&] { return !Codes.empty(); }));
  EXPECT_EQ(Codes, std::vector<Integer>{1});
  ASSERT_TRUE(PumpUntil([&] { return FlagsDuringFrames.size() >= 1; }));
  EXPECT_EQ(TopPixelGreen(), MovieFrameColour(Frames - 1).G) << "the last frame was shown";
}

TEST_F(ViewPlayback, MessagesOfADisconnectedObjectFireNothing) {
  Open();
  DShow->Disconnect();
  Application->ProcessMessages();  // the frame already posted arrives after the graph went
  FlagsDuringFrames.clear();
  PostMessage(View->GetHandle(), IEM_NEWFRAME, 0, reinterpret_cast<LPARAM>(DShow));
  PostMessage(View->GetHandle(), IEM_EVENT, 0, reinterpret_cast<LPARAM>(DShow));
  PostMessage(View->GetHandle(), IEM_NEWFRAME, 0, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(FlagsDuringFrames.empty());
  EXPECT_TRUE(Codes.empty());
  EXPECT_EQ(DShow->NewFrameNotify.load(), 1);
}

}  // namespace
