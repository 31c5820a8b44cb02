// Range bars: thumb geometry and zones, the position's clamping and events, keeping the centre,
// auto-repeat on a held arrow, and the colour routines.
#include <gtest/gtest.h>

#include <memory>

#include "RasterScreen.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Clock.h"
#include "platform/system/Exceptions.h"
#include "platform/user/WindowMessages.h"
#include "raster/RS32_RangeBars.h"

namespace {
struct TEventCount {
  Integer Position = 0, User = 0;
  void OnPosition(TObject*) { ++Position; }
  void OnUser(TObject*) { ++User; }
};

class RasterRangeBar : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessScreen();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(20, 20, 300, 60);
    Bar = new TCustomRangeBar(Form.get());
    Bar->SetBorderStyle(bsNone);
    Bar->SetParent(Form.get());
    // Buttons of 16 at both ends of 232 leave a track of 200.
    Bar->SetBounds(0, 0, 232, 16);
    Bar->OnPositionChange = TNotifyEvent(&Count, &TEventCount::OnPosition);
    Bar->OnUserChange = TNotifyEvent(&Count, &TEventCount::OnUser);
  }
  void TearDown() override {
    Form.reset();
    RunUntilIdle();
  }
  std::unique_ptr<TForm> Form;
  TCustomRangeBar* Bar = nullptr;
  TEventCount Count;
};
}  // namespace

TEST_F(RasterRangeBar, ThumbIsProportionalWithAMinimumLength) {
  struct TCase {
    Integer Content, Visible;
    Single Pos;
    Integer Start, Size;
  } Cases[] = {
      {1000, 100, 450, 16 + 90, 20},
      // Proportionally 2 pixels, so 17, placed over the 183 pixels left: 91.5 rounds to 92.
      {10000, 100, 4950, 16 + 92, 17},
      {100, 100, 0, 16, 200},  // everything visible: the whole track
  };
  for (const TCase& C : Cases) {
    Bar->SetParams(C.Content, C.Visible);
    Bar->SetScrollPos(C.Pos);
    const TRect T = Bar->ThumbRect();
    EXPECT_EQ(T.Left, C.Start) << C.Content;
    EXPECT_EQ(T.Width(), C.Size) << C.Content;
    EXPECT_EQ(T.Height(), 16);
  }
}

TEST_F(RasterRangeBar, ShortTrackHasNoThumbAndItsTrackIsTheSecondZone) {
  Bar->SetBounds(0, 0, 16 + 17 + 16, 16);
  Bar->SetParams(1000, 100);
  const TRect T = Bar->ThumbRect();
  EXPECT_TRUE(T.Right <= T.Left);
  EXPECT_EQ(Bar->ZoneAt(5, 5), zFirstButton);
  EXPECT_EQ(Bar->ZoneAt(20, 5), zTrackAfter);
  EXPECT_EQ(Bar->ZoneAt(40, 5), zSecondButton);
}

TEST_F(RasterRangeBar, PositionIsClampedAndChangesFireOnce) {
  Bar->SetParams(1000, 100);
  Bar->SetScrollPos(5000);
  EXPECT_EQ(Bar->GetScrollPos(), 900);
  Bar->SetScrollPos(-3);
  EXPECT_EQ(Bar->GetScrollPos(), 0);
  EXPECT_EQ(Count.Position, 2);
  // Clamped to where it already is: no event.
  Bar->SetScrollPos(-10);
  EXPECT_EQ(Count.Position, 2);
  EXPECT_EQ(Count.User, 0);
  // A content shorter than the visible part leaves only 0.
  Bar->SetParams(50, 100);
  Bar->SetScrollPos(30);
  EXPECT_EQ(Bar->GetScrollPos(), 0);
  // The same lengths again change nothing, and lengths never fire the events.
  Bar->SetParams(50, 100);
  EXPECT_EQ(Count.Position, 2);
}

TEST_F(RasterRangeBar, KeepCenteredHoldsTheRelativeCentre) {
  Bar->SetKeepCentered(true);
  Bar->SetParams(1000, 100);  // from nothing: the middle
  EXPECT_EQ(Bar->GetScrollPos(), 450);
  Bar->SetScrollPos(150);     // centre at 200 of 1000
  Bar->SetParams(2000, 100);  // centre at 400 of 2000
  EXPECT_EQ(Bar->GetScrollPos(), 350);
  EXPECT_EQ(Bar->GetPageLength(), 100);
  // Without a page the bar's own length is visible.
  Bar->SetParams(2000, 0);
  EXPECT_EQ(Bar->GetVisibleLength(), 232);
}

TEST_F(RasterRangeBar, HeldArrowStepsAtOnceThenAfter600ThenEvery100) {
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  Bar->SetParams(100, 60);  // five steps of 8 reach the end (40)
  Bar->SetScrollPos(40);
  Count = {};
  Form->Show();
  RunUntilIdle();
  const TPoint Origin = Bar->ClientToScreen({0, 0});
  ScreenPress(Origin.X + 4, Origin.Y + 4);
  RunUntilIdle();
  EXPECT_EQ(Bar->GetScrollPos(), 32);
  EXPECT_EQ(Count.User, 1);
  Clock.Advance(599);
  RunUntilIdle();
  EXPECT_EQ(Bar->GetScrollPos(), 32);
  Clock.Advance(1);
  RunUntilIdle();
  EXPECT_EQ(Bar->GetScrollPos(), 24);
  for (Integer Step = 0; Step < 3; ++Step) {
    Clock.Advance(100);
    RunUntilIdle();
  }
  EXPECT_EQ(Bar->GetScrollPos(), 0);
  // At the end the repeat stops: the position and the events stay.
  Clock.Advance(100);
  RunUntilIdle();
  EXPECT_EQ(Count.User, 5);
  EXPECT_EQ(Bar->GetRepeatPhase(), 3);
  ScreenRelease();
  RunUntilIdle();
  EXPECT_EQ(Bar->GetPressedZone(), zNone);
}

TEST(RasterRangeBarColors, LightenClampsAndBlendWeighsTheFirstColour) {
  EXPECT_EQ(LightenColor(static_cast<TColor>(0x10F080), 24), static_cast<TColor>(0x28FF98));
  EXPECT_EQ(LightenColor(static_cast<TColor>(0x10F080), -24), static_cast<TColor>(0x00D868));
  // (200 x 96 + 0 x 159) div 256 = 75 in every channel.
  EXPECT_EQ(BlendColors(static_cast<TColor>(0xC8C8C8), static_cast<TColor>(0), 96),
            static_cast<TColor>(0x4B4B4B));
  EXPECT_THROW(BlendColors(0, 0, 256), EAssertionFailed);
}

TEST_F(RasterRangeBar, DraggingTheThumbAndPagingTowardTheMouse) {
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  Bar->SetParams(1000, 100);  // thumb of 20 over a track of 200 from x = 16
  Form->Show();
  RunUntilIdle();
  const TPoint Origin = Bar->ClientToScreen({0, 0});
  // 20 pixels of the 200 the thumb moves over are a tenth of the content.
  ScreenPress(Origin.X + 16 + 5, Origin.Y + 5);
  ScreenMoveTo(Origin.X + 16 + 25, Origin.Y + 5);
  RunUntilIdle();
  EXPECT_EQ(Bar->GetScrollPos(), 100);
  EXPECT_GE(Count.User, 1);
  ScreenRelease();
  RunUntilIdle();
  // Held on the track after the thumb, at x = 16 + 100: pages of 100 until the thumb
  // (20 pixels for every 100) reaches the mouse, then stops.
  ScreenPress(Origin.X + 16 + 100, Origin.Y + 5);
  RunUntilIdle();
  EXPECT_EQ(Bar->GetScrollPos(), 200);
  for (Integer Step = 0; Step < 10; ++Step) {
    Clock.Advance(600);
    RunUntilIdle();
  }
  EXPECT_EQ(Bar->GetScrollPos(), 500);
  ScreenRelease();
  RunUntilIdle();
}
