// The movie player on a movie FFmpeg wrote (30 frames of 64 x 48 at 25 fps), with time on the
// fake clock: loading pauses on the first frame, play moves with the clock, pause holds, the
// buttons step one and ten frames either way without leaving the movie, the bar seeks, and the
// end rewinds to the start.
#include <string>

#include "VideoTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/ieds.h"
#include "imaging/view/zezudidview.h"
#include "platform/system/Files.h"

namespace {
class TVideoPlayerTest : public TVideoTest {
 protected:
  void SetUp() override {
    TVideoTest::SetUp();
    Movie = ResultsDir + "/player-test.avi";
    ASSERT_TRUE(
        RunCommand("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=64x48:rate=25 -frames:v 30 "
                   "-c:v mjpeg -q:v 3 '" +
                   Movie + "'"));
  }
  void TearDown() override {
    DeleteFile(Movie);
    TVideoTest::TearDown();
  }
  std::string FrameText() const { return Player->LabelIndex->GetCaption(); }
  // Waits until the player shows frame Frame, on the label and on the bar.
  bool ShowsFrame(Integer Frame) {
    const std::string Want = "Frame: " + std::to_string(Frame) + "/30";
    return PumpUntil([&] { return FrameText() == Want && Player->VidPosBar->GetValue() == Frame; });
  }
  void Press(Integer Button) {
    Player->PlayerMouseDown(Player->Toolbutton[Button - 1], mbLeft, TShiftState(), 5, 5);
    Player->PlayerMouseUp(Player->Toolbutton[Button - 1], mbLeft, TShiftState(), 5, 5);
  }
  void Open() {
    Player->LoadVideoFile(Movie);
    ASSERT_TRUE(ShowsFrame(0)) << FrameText();
  }
  std::string Movie;
};

TEST_F(TVideoPlayerTest, LoadingPausesOnTheFirstFrameWithTheMoviesLength) {
  Player->LoadVideoFile(Movie);
  // Until the first frame arrives the bar stands at its end.
  EXPECT_EQ(Player->VidPosBar->GetMaxValue(), 30);
  EXPECT_EQ(Player->VidPosBar->GetValue(), 30);
  EXPECT_EQ(Player->LabelLength->GetCaption(), "Length: 00.01,20");
  EXPECT_DOUBLE_EQ(Player->GetFrameDuration(), 400'000);
  ASSERT_TRUE(ShowsFrame(0)) << FrameText();
  EXPECT_EQ(Player->Source()->GetState(), 1);
  TIEBitmap* Shown = Player->VidPlayer->GetIEBitmap();
  EXPECT_EQ(Shown->GetWidth(), 64);
  EXPECT_EQ(Shown->GetHeight(), 48);
  // A file that does not exist changes nothing.
  Player->LoadVideoFile(ResultsDir + "/none.avi");
  EXPECT_EQ(Player->GetFrameTotal(), 30);
}

TEST_F(TVideoPlayerTest, PlayFollowsTheClockAndPauseHolds) {
  Open();
  Press(1);
  EXPECT_EQ(Player->Source()->GetState(), 2);
  Clock.Advance(400);
  ASSERT_TRUE(ShowsFrame(10)) << FrameText();
  Press(2);
  EXPECT_EQ(Player->Source()->GetState(), 1);
  Clock.Advance(400);
  for (Integer I = 0; I < 50; ++I) Application->ProcessMessages();
  EXPECT_EQ(FrameText(), "Frame: 10/30");
  // Play and pause keep showing which was pressed last; the others show their normal images.
  EXPECT_EQ(Player->Toolbutton[1]->GetImageIndex(), 7 + 1);
  EXPECT_EQ(Player->Toolbutton[0]->GetImageIndex(), 0);
}

TEST_F(TVideoPlayerTest, StepsOfOneAndTenStayInsideTheMovie) {
  Open();
  struct TStep {
    Integer Button, Frame;
  };
  const TStep Steps[] = {{5, 1},
                         {7, 11},
                         {7, 21},
                         {5, 22},
                         {4, 21},
                         {6, 11},
                         {6, 1},
                         // Back past the start stays on the first frame, on past the end on the last place.
                         {6, 0},
                         {4, 0},
                         {7, 10},
                         {7, 20},
                         {7, 30},
                         {5, 30}};
  for (const TStep& S : Steps) {
    Press(S.Button);
    EXPECT_TRUE(ShowsFrame(S.Frame)) << "button " << S.Button << ": " << FrameText();
    EXPECT_GE(Player->Source()->GetPosition(), 0);
    EXPECT_LE(Player->Source()->GetPosition(), Player->Source()->GetDuration());
  }
  // A step button shows its pressed image only while it is held.
  Player->PlayerMouseDown(Player->Toolbutton[4], mbLeft, TShiftState(), 5, 5);
  EXPECT_EQ(Player->Toolbutton[4]->GetImageIndex(), 7 + 4);
  Player->PlayerMouseUp(Player->Toolbutton[4], mbLeft, TShiftState(), 5, 5);
  EXPECT_EQ(Player->Toolbutton[4]->GetImageIndex(), 4);
  // Back to the start.
  Press(3);
  EXPECT_TRUE(ShowsFrame(0)) << FrameText();
}

TEST_F(TVideoPlayerTest, TheBarSeeksOnlyWhileDragged) {
  Open();
  Player->VidPosBarMouseDown(Player->VidPosBar, mbLeft, TShiftState(), 0, 0);
  Player->VidPosBar->SetValue(25);
  Player->VidPosBarMouseUp(Player->VidPosBar, mbLeft, TShiftState(), 0, 0);
  EXPECT_EQ(Player->Source()->GetPosition(), 25 * 400'000);
  ASSERT_TRUE(ShowsFrame(25)) << FrameText();
  // Moved from code, as each new frame moves it, the bar does not seek.
  Player->VidPosBar->SetValue(3);
  EXPECT_EQ(Player->Source()->GetPosition(), 25 * 400'000);
}

TEST_F(TVideoPlayerTest, TheEndRewindsToTheStartAndPauses) {
  Open();
  Press(1);
  Clock.Advance(1000);
  ASSERT_TRUE(ShowsFrame(25)) << FrameText();
  Clock.Advance(2000);
  ASSERT_TRUE(PumpUntil([&] { return Player->Source()->GetState() == 1 && FrameText() == "Frame: 0/30"; }))
      << FrameText();
  EXPECT_EQ(Player->Source()->GetPosition(), 0);
}
}  // namespace
