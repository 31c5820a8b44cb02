// The unskinned controls under scripted mouse input on the headless display: clicking a button,
// toggling a check box, dragging a track bar's thumb, holding a scroll bar's arrow, and the
// colours of their default look.
#include <string>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TMouseScenarioTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Pump();
  }
  TForm* Form = nullptr;
  TEventLog Log;
};

TEST_F(TMouseScenarioTest, ClickingAButtonClicksOnce) {
  auto* Button = NewControl<TbsSkinButton>(Form, "OK", 20, 20);
  Button->SetCaption("OK");
  Button->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  ClickAt(Button, 30, 12);
  EXPECT_EQ(Log.Take(), TLines{"Click OK"});
  EXPECT_FALSE(Button->GetDown());

  // Pressed, dragged out and released outside: no click, and the button is up again.
  MoveAt(Button, 30, 12);
  ScriptButton(true);
  Pump();
  EXPECT_TRUE(Button->GetDown());
  MoveAt(Button, 200, 100);
  ScriptButton(false);
  Pump();
  EXPECT_TRUE(Log.Take().empty());
  EXPECT_FALSE(Button->GetDown());
}

TEST_F(TMouseScenarioTest, ButtonSetsTheModalResultOfItsForm) {
  auto* Button = NewControl<TbsSkinButton>(Form, "Yes", 20, 20);
  Button->SetModalResult(mrYes);
  Pump();
  ClickAt(Button, 10, 10);
  EXPECT_EQ(Form->GetModalResult(), mrYes);
}

TEST_F(TMouseScenarioTest, GroupButtonsReleaseEachOther) {
  auto* A = NewControl<TbsSkinButton>(Form, "A", 20, 20);
  auto* B = NewControl<TbsSkinButton>(Form, "B", 120, 20);
  for (TbsSkinButton* X : {A, B}) {
    X->SetGroupIndex(1);
    X->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  }
  Pump();
  // A group button clicks as it goes down.
  ClickAt(A, 10, 10);
  EXPECT_TRUE(A->GetDown());
  ClickAt(B, 10, 10);
  EXPECT_FALSE(A->GetDown());
  EXPECT_TRUE(B->GetDown());
  // Pressing a down button again does nothing without AllowAllUp.
  ClickAt(B, 10, 10);
  EXPECT_TRUE(B->GetDown());
  EXPECT_EQ(Log.Take(), (TLines{"Click A", "Click B"}));
}

TEST_F(TMouseScenarioTest, ToggleCheckBoxByMouse) {
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  Box->SetCaption("Keep shape");
  Box->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  ClickAt(Box, 10, 12);
  EXPECT_TRUE(Box->GetChecked());
  ClickAt(Box, 40, 12);
  EXPECT_FALSE(Box->GetChecked());
  EXPECT_EQ(Log.Take(), (TLines{"Click Box", "Click Box"}));

  // Pressed on the box, released outside: nothing changes.
  MoveAt(Box, 10, 12);
  ScriptButton(true);
  Pump();
  MoveAt(Box, 10, 200);
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(Box->GetChecked());
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(TMouseScenarioTest, ClickingACheckedRadioBoxChangesNothing) {
  auto* Radio = NewControl<TbsSkinCheckRadioBox>(Form, "Radio", 20, 20);
  Radio->SetRadio(true);
  Radio->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  ClickAt(Radio, 10, 12);
  ClickAt(Radio, 10, 12);
  EXPECT_TRUE(Radio->GetChecked());
  EXPECT_EQ(Log.Take(), TLines{"Click Radio"});
}

TEST_F(TMouseScenarioTest, AllowGrayedCyclesThroughThreeStates) {
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  Box->SetAllowGrayed(true);
  Box->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  std::vector<TCheckBoxState> States;
  for (Integer I = 0; I < 3; ++I) {
    ClickAt(Box, 10, 12);
    States.push_back(Box->GetState());
  }
  EXPECT_EQ(States, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  EXPECT_EQ(Log.Take().size(), 3u);
}

TEST_F(TMouseScenarioTest, DraggingTheTrackBarThumb) {
  auto* Bar = NewControl<TbsSkinTrackBar>(Form, "Bar", 20, 20);
  Bar->SetWidth(200);
  Bar->SetHeight(24);
  Bar->SetValue(0);
  Bar->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  Bar->OnLastChange = TNotifyEvent(&Log, &TEventLog::LastChange);
  Pump();
  const TRect Thumb = Bar->GetButtonRect();
  ASSERT_FALSE(Thumb.Width() <= 0);
  const TPoint From = At(Bar, Thumb.Left + Thumb.Width() / 2, Thumb.Top + Thumb.Height() / 2);
  // Beyond the right end: the value stops at the maximum.
  const TPoint To = At(Bar, 260, Thumb.Top + Thumb.Height() / 2);
  ScriptDrag(From, To, 4);
  Pump();
  EXPECT_EQ(Bar->GetValue(), 100);
  const TLines Events = Log.Take();
  ASSERT_GE(Events.size(), 2u);
  EXPECT_EQ(Events.back(), "LastChange Bar");
  for (std::size_t I = 0; I + 1 < Events.size(); ++I) EXPECT_EQ(Events[I], "Change Bar");
  EXPECT_FALSE(Bar->ThumbDragActive);

  // A click beside the thumb moves nothing unless JumpWhenClick is on.
  ClickAt(Bar, 20, 12);
  EXPECT_EQ(Bar->GetValue(), 100);
  // The jump puts the thumb's centre under the mouse: x 7 is the minimum's centre.
  Bar->SetJumpWhenClick(true);
  ClickAt(Bar, 7, 12);
  EXPECT_EQ(Bar->GetValue(), 0);
  EXPECT_EQ(Log.Take(), TLines{"Change Bar"});
}

TEST_F(TMouseScenarioTest, HoldingTheUpArrowRepeats) {
  auto* Bar = NewControl<TbsSkinScrollBar>(Form, "Bar", 20, 20);
  Bar->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  Pump();
  const TRect Up = Bar->GetButtonState(1).Rect;
  MoveAt(Bar, Up.Left + 5, Up.Top + 5);
  ScriptButton(true);
  Pump();
  EXPECT_EQ(Bar->GetPosition(), 1);
  // Nothing more at 500 ms, then a step every 50 ms.
  Wait(500);
  EXPECT_EQ(Bar->GetPosition(), 1);
  Wait(100);
  EXPECT_EQ(Bar->GetPosition(), 3);
  ScriptButton(false);
  Pump();
  Wait(200);
  EXPECT_EQ(Bar->GetPosition(), 3);
  EXPECT_EQ(Log.Take().size(), 3u);
}

TEST_F(TMouseScenarioTest, TrackClicksPageAndOnlyThumbDragsEndWithLastChange) {
  auto* Bar = NewControl<TbsSkinScrollBar>(Form, "Bar", 20, 20);
  Bar->SetLargeChange(10);
  Bar->OnLastChange = TNotifyEvent(&Log, &TEventLog::LastChange);
  Pump();
  ClickAt(Bar, 150, 9);
  EXPECT_EQ(Bar->GetPosition(), 10);
  EXPECT_TRUE(Log.Take().empty());
  const TRect Thumb = Bar->GetButtonState(0).Rect;
  ScriptDrag(At(Bar, Thumb.Left + 8, 9), At(Bar, Thumb.Left + 28, 9), 2);
  Pump();
  EXPECT_GT(Bar->GetPosition(), 10);
  EXPECT_EQ(Log.Take(), TLines{"LastChange Bar"});
}

TEST_F(TMouseScenarioTest, SpeedButtons) {
  auto* Plain = NewControl<TbsSkinSpeedButton>(Form, "Plain", 20, 20);
  auto* G1 = NewControl<TbsSkinSpeedButton>(Form, "G1", 60, 20);
  auto* G2 = NewControl<TbsSkinSpeedButton>(Form, "G2", 100, 20);
  EXPECT_EQ(Plain->GetWidth(), 25);
  EXPECT_EQ(Plain->GetSkinDataName(), "toolbutton");
  for (TbsSkinSpeedButton* B : {Plain, G1, G2}) B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  G1->SetGroupIndex(1);
  G2->SetGroupIndex(1);
  Pump();
  ClickAt(Plain, 10, 10);
  EXPECT_FALSE(Plain->GetDown());
  ClickAt(G1, 10, 10);
  ClickAt(G2, 10, 10);
  ClickAt(G2, 10, 10);
  EXPECT_FALSE(G1->GetDown());
  EXPECT_TRUE(G2->GetDown());
  EXPECT_EQ(Log.Take(), (TLines{"Click Plain", "Click G1", "Click G2"}));
  // Pressed and released outside: no click.
  MoveAt(Plain, 10, 10);
  ScriptButton(true);
  Pump();
  MoveAt(Plain, 10, 200);
  ScriptButton(false);
  Pump();
  EXPECT_TRUE(Log.Take().empty());
  // A flat button is transparent while idle.
  Plain->SetFlat(true);
  EXPECT_TRUE(Plain->GetTransparent());
}

TEST_F(TMouseScenarioTest, DefaultLookColours) {
  auto* Button = NewControl<TbsSkinButton>(Form, "Button", 20, 20);
  auto* Panel = NewControl<TbsSkinPanel>(Form, "Panel", 120, 20);
  Panel->SetBorderStyle(TbsSkinBorderStyle::bvRaised);
  auto* Gauge = NewControl<TbsSkinGauge>(Form, "Gauge", 20, 200);
  Gauge->SetValue(50);
  Pump();
  EXPECT_EQ(PixelAt(Button, 0, 0), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Button, 5, 5), ScreenColor(clBtnFace));
  EXPECT_EQ(PixelAt(Panel, 0, 0), ScreenColor(clBtnHighlight));
  EXPECT_EQ(PixelAt(Panel, 149, 149), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Panel, 75, 75), ScreenColor(clBtnFace));
  // Half the gauge is filled.
  EXPECT_EQ(PixelAt(Gauge, 10, 3), ScreenColor(bsHotFaceColor));
  EXPECT_EQ(PixelAt(Gauge, 90, 3), ScreenColor(clWindow));
  // The mouse over the button gives the hot face.
  MoveAt(Button, 5, 5);
  EXPECT_EQ(PixelAt(Button, 5, 5), ScreenColor(bsHotFaceColor));
  EXPECT_EQ(PixelAt(Button, 0, 0), ScreenColor(bsHotFrameColor));
}

TEST_F(TMouseScenarioTest, PanelChildrenAreaAndRollUp) {
  auto* Panel = NewControl<TbsSkinPanel>(Form, "Panel", 10, 10);
  Panel->SetCaptionMode(true);
  EXPECT_EQ(Panel->GetAdjustedClientRect(), Rect(1, 23, 149, 149));
  Panel->SetRibbonStyle(true);
  EXPECT_EQ(Panel->GetAdjustedClientRect(), Rect(1, 1, 149, 127));
  Panel->SetRibbonStyle(false);
  auto* Child = NewControl<TbsSkinButton>(Panel, "Child", 5, 40);
  Panel->SetRollUpMode(true);
  Panel->SetRollUpState(true);
  EXPECT_EQ(Panel->GetHeight(), 23);
  EXPECT_FALSE(Child->GetVisible());
  EXPECT_EQ(Panel->GetRealHeight(), 150);
  Pump();
  // A click in the caption bar rolls it down again.
  ClickAt(Panel, 40, 10);
  EXPECT_FALSE(Panel->GetRollUpState());
  EXPECT_EQ(Panel->GetHeight(), 150);
  EXPECT_TRUE(Child->GetVisible());
}

}  // namespace
