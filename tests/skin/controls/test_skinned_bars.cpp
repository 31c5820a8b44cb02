// The tool bar's scroll buttons: shown when the children are wider than the bar, scrolling by
// a page on a click or while held or hot, never past the end, and undone when the bar grows;
// and the bar passing its look on to its speed buttons.
#include <string>

#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticSkin.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticSkin;

class TToolBarScrollTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 600, 200);
    Form->Show();
    Bar = NewControl<TbsSkinToolBar>(Form, "Bar", 0, 0);
    Bar->SetCanScroll(true);
    Bar->SetBounds(0, 0, 200, 30);
    // Buttons of 30 pixels side by side up to x 300.
    for (Integer I = 0; I < 10; ++I)
      NewControl<TbsSkinSpeedButton>(Bar, "B" + std::to_string(I), I * 30, 0)->SetWidth(30);
    Bar->UpdateScroll();
    Pump();
  }
  // A click on the right (or left) scroll button, in the bar's non-client area.
  void ClickScroll(bool Right) {
    const TPoint P = Bar->ClientToScreen({0, 10});
    const Integer X = Right ? P.X + Bar->GetClientWidth() + 5 : P.X - 6;
    ScriptClick(X, P.Y);
    Pump();
  }
  Integer FirstLeft() { return Bar->GetControl(0)->GetLeft(); }
  TForm* Form = nullptr;
  TbsSkinToolBar* Bar = nullptr;
};

TEST_F(TToolBarScrollTest, ChildrenWiderThanTheBarShowTheButtonsAndNarrowTheClient) {
  EXPECT_TRUE(Bar->LeftScrollButton.Visible);
  EXPECT_TRUE(Bar->RightScrollButton.Visible);
  EXPECT_EQ(Bar->GetClientWidth(), 200 - 24);
  EXPECT_EQ(Bar->ContentRight, 299);
  EXPECT_EQ(Bar->VisibleWidth, 176);
}

TEST_F(TToolBarScrollTest, AClickScrollsOneClientWidthButNeverPastTheEnd) {
  ClickScroll(true);
  EXPECT_EQ(Bar->ScrollPos, 124);  // at most ContentRight - VisibleWidth + 1
  EXPECT_EQ(FirstLeft(), -124);
  ClickScroll(true);
  EXPECT_EQ(Bar->ScrollPos, 124);
  EXPECT_EQ(FirstLeft(), -124);
  ClickScroll(false);
  EXPECT_EQ(Bar->ScrollPos, 0);
  EXPECT_EQ(FirstLeft(), 0);
}

TEST_F(TToolBarScrollTest, AFixedOffsetScrollsByItsStep) {
  Bar->SetScrollOffset(40);
  Bar->SetScrollOffset(-5);
  Bar->SetScrollTimerInterval(0);
  EXPECT_EQ(Bar->GetScrollOffset(), 40);
  EXPECT_EQ(Bar->GetScrollTimerInterval(), 50);
  ClickScroll(true);
  EXPECT_EQ(FirstLeft(), -40);
}

TEST_F(TToolBarScrollTest, WideningAScrolledBarUntilTheChildrenFitUndoesTheScroll) {
  ClickScroll(true);
  ASSERT_EQ(FirstLeft(), -124);
  Bar->SetBounds(0, 0, 400, 30);
  EXPECT_EQ(FirstLeft(), 0);
  EXPECT_EQ(Bar->ScrollPos, 0);
  EXPECT_FALSE(Bar->LeftScrollButton.Visible);
  EXPECT_EQ(Bar->GetClientWidth(), 400);
}

TEST_F(TToolBarScrollTest, WithHotScrollRestingOnAButtonScrollsUntilTheMouseLeaves) {
  Bar->SetHotScroll(true);
  Bar->SetScrollOffset(10);
  const TPoint P = Bar->ClientToScreen({0, 10});
  ScriptMoveTo(P.X + Bar->GetClientWidth() + 5, P.Y);
  Pump();
  EXPECT_EQ(FirstLeft(), 0);
  Wait(50, 50);
  EXPECT_EQ(FirstLeft(), -10);
  Wait(50, 50);
  EXPECT_EQ(FirstLeft(), -20);
  ScriptMoveTo(P.X + 300, P.Y + 100);
  Pump();
  Wait(200, 50);
  const Integer Stopped = FirstLeft();
  Wait(200, 50);
  EXPECT_EQ(FirstLeft(), Stopped);
  EXPECT_GE(Stopped, -50);
}

TEST_F(TToolBarScrollTest, TheBarPassesFlatAndCaptionsOnToItsSpeedButtons) {
  Bar->SetFlat(true);
  Bar->SetAutoShowHideCaptions(true);
  Bar->SetShowCaptions(true);
  Bar->SetShowCaptions(false);
  auto* B = dynamic_cast<TbsSkinSpeedButton*>(Bar->GetControl(3));
  EXPECT_TRUE(B->GetFlat());
  EXPECT_TRUE(B->GetTransparent());
  EXPECT_FALSE(B->GetShowCaption());
  auto* Skin = NewSkin(Form);
  Bar->SetSkinData(Skin);
  EXPECT_EQ(B->GetSkinData(), Skin);
}

}  // namespace
