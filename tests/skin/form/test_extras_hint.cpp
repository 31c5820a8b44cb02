// Skinned hints: line breaks, placement at the work area's edge, one active component, the text
// hint's timers on the fake clock, and what the application gets back when the component goes.
#include <memory>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Screen.h"
#include "skin/controls/bsSkinCtrlsPanels.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinHint.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TSkinHintTest : public TSkinTest {
 public:
  void OtherShowHint(std::string&, bool&, THintInfo&) {}

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Application->CreateForm(Main);
    Forms.emplace_back(Main);
    ASSERT_EQ(Application->GetMainForm(), Main);
    Main->SetBounds(100, 100, 300, 200);
    Main->Show();
    Pump();
  }
  // The hint window's bounds after showing Text at screen point P.
  static TRect ShowAt(TbsSkinHint* Hint, TPoint P, const std::string& Text) {
    TbsSkinHintWindow* W = Hint->GetHintWindow();
    W->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), Text);
    return W->GetBoundsRect();
  }

  TForm* Main = nullptr;
};

TEST_F(TSkinHintTest, SeparatorBreaksTheTextIntoTwoLines) {
  auto* Hint = new TbsSkinHint(Main);
  const TRect One = ShowAt(Hint, {200, 200}, "alpha");
  const TRect Two = ShowAt(Hint, {200, 200}, "alpha@beta");
  EXPECT_EQ(Hint->GetHintWindow()->GetText(), "alpha\n\rbeta");
  const Integer Line = One.Height() - 4;
  EXPECT_GT(Line, 0);
  EXPECT_EQ(Two.Height(), 2 * Line + 4);
  // A separator of its own choosing.
  Hint->LineSeparator = "|";
  ShowAt(Hint, {200, 200}, "a|b@c");
  EXPECT_EQ(Hint->GetHintWindow()->GetText(), "a\n\rb@c");
}

TEST_F(TSkinHintTest, StaysInsideTheWorkArea) {
  auto* Hint = new TbsSkinHint(Main);
  TRect Work;
  GetMonitorRect(Main->GetWindowHandle(), true, Work);
  const TRect Inside = ShowAt(Hint, {300, 300}, "a hint text");
  EXPECT_EQ(Inside.Left, 300);
  EXPECT_EQ(Inside.Top, 300);
  const Integer W = Inside.Width(), H = Inside.Height();
  // Passing the right edge: moved left by its own width + 2.
  const TRect Right = ShowAt(Hint, {Work.Right - 5, 300}, "a hint text");
  EXPECT_EQ(Right.Left, Work.Right - 5 - W - 2);
  const TRect Bottom = ShowAt(Hint, {300, Work.Bottom - 3}, "a hint text");
  EXPECT_EQ(Bottom.Top, Work.Bottom - 3 - H - 2);
  EXPECT_EQ(Bottom.Left, 300);
}

TEST_F(TSkinHintTest, ASecondActiveComponentSwitchesTheFirstOff) {
  auto* First = new TbsSkinHint(Main);
  auto* Second = new TbsSkinHint(Main);
  EXPECT_TRUE(First->GetActive());
  Second->SetActive(true);
  EXPECT_FALSE(First->GetActive());
  EXPECT_TRUE(Second->GetActive());
  EXPECT_EQ(FindActiveSkinHint(), Second);
  First->SetActive(true);
  EXPECT_FALSE(Second->GetActive());
  EXPECT_EQ(FindActiveSkinHint(), First);
}

TEST_F(TSkinHintTest, WithoutAnActiveComponentOnTheMainFormNoHintShows) {
  TForm* Other = NewForm("Other", 500, 100);
  Other->Show();
  auto* Hint = new TbsSkinHint(Other);
  // The skinned window class is installed all the same.
  EXPECT_NE(dynamic_cast<TbsSkinHintWindow*>(Application->GetHintWindow()), nullptr);
  EXPECT_EQ(FindActiveSkinHint(), nullptr);
  Hint->GetHintWindow()->ActivateHint(Rect(200, 200, 200, 200), "text");
  EXPECT_FALSE(Hint->GetHintWindow()->GetVisible());
  auto* OnMain = new TbsSkinHint(Main);
  OnMain->SetActive(false);
  Hint->GetHintWindow()->ActivateHint(Rect(200, 200, 200, 200), "text");
  EXPECT_FALSE(Hint->GetHintWindow()->GetVisible());
}

TEST_F(TSkinHintTest, TextHintShowsAfterThePauseAndHidesAfterTheHidePause) {
  auto* Hint = new TbsSkinHint(Main);
  Application->SetHintPause(500);
  Application->SetHintHidePause(2500);
  ScriptMoveTo(300, 250);
  Pump();
  Hint->ShowHintText("caption button");
  Wait(490);
  EXPECT_FALSE(Hint->GetHintWindow()->GetVisible());
  Wait(10);
  ASSERT_TRUE(Hint->GetHintWindow()->GetVisible());
  const TRect B = Hint->GetHintWindow()->GetBoundsRect();
  EXPECT_EQ(B.Left, 300);
  EXPECT_EQ(B.Top, 250 + Hint->GetCursorHeightMargin());
  Wait(2490);
  EXPECT_TRUE(Hint->GetHintWindow()->GetVisible());
  Wait(10);
  EXPECT_FALSE(Hint->GetHintWindow()->GetVisible());
}

TEST_F(TSkinHintTest, HideWithinTheHintPauseShowsNothing) {
  auto* Hint = new TbsSkinHint(Main);
  Application->SetHintPause(500);
  Hint->ShowHintText("frame button");
  Wait(300);
  Hint->HideHint();
  EXPECT_EQ(Hint->GetHintTimer(), nullptr);
  Wait(1000);
  EXPECT_FALSE(Hint->GetHintWindow()->GetVisible());
}

TEST_F(TSkinHintTest, TakesTitleAndImageFromTheSkinnedControl) {
  auto* Hint = new TbsSkinHint(Main);
  auto* Panel = NewControl<TbsSkinPanel>(Main, "Panel", 10, 10);
  Panel->SetHintTitle("Title");
  Panel->SetHintImageIndex(3);
  std::string S = "text";
  bool CanShow = true;
  THintInfo Info;
  Info.HintControl = Panel;
  Hint->HintTitle = "stale";
  Application->OnShowHint(S, CanShow, Info);
  EXPECT_EQ(Hint->HintTitle, "Title");
  EXPECT_EQ(Hint->HintImageIndex, 3);
  // Any other control clears them.
  Info.HintControl = Main;
  Application->OnShowHint(S, CanShow, Info);
  EXPECT_EQ(Hint->HintTitle, "");
  EXPECT_EQ(Hint->HintImageIndex, 0);
  // The titled layout: one title line plus 10 above the text.
  Hint->HintTitle = "Title";
  const TRect Titled = ShowAt(Hint, {200, 200}, "text");
  EXPECT_TRUE(Hint->GetHintWindow()->WithTitle);
  Hint->HintTitle.clear();
  const TRect Plain = ShowAt(Hint, {200, 200}, "text");
  EXPECT_EQ(Titled.Height(), 2 * Plain.Height() - 4 + 10);
}

TEST_F(TSkinHintTest, DestroyingTheLastComponentGivesTheApplicationItsHintsBack) {
  const THintWindowClass OldClass = HintWindowClass;
  Application->OnShowHint = TShowHintEvent(this, &TSkinHintTest::OtherShowHint);
  auto* First = new TbsSkinHint(Main);
  auto* Second = new TbsSkinHint(Main);
  EXPECT_EQ(Application->OnShowHint, TShowHintEvent(Second, &TbsSkinHint::ShowHintHandler));
  delete Second;
  // The other one takes the handler over; the class stays skinned.
  EXPECT_EQ(Application->OnShowHint, TShowHintEvent(First, &TbsSkinHint::ShowHintHandler));
  EXPECT_EQ(HintWindowClass, &CreateHintWindowOf<TbsSkinHintWindow>);
  delete First;
  EXPECT_EQ(HintWindowClass, OldClass);
  EXPECT_EQ(Application->OnShowHint, TShowHintEvent(this, &TSkinHintTest::OtherShowHint));
  EXPECT_EQ(dynamic_cast<TbsSkinHintWindow*>(Application->GetHintWindow()), nullptr);
  // A handler someone else set meanwhile stays.
  auto* Third = new TbsSkinHint(Main);
  Application->OnShowHint = TShowHintEvent();
  delete Third;
  EXPECT_FALSE(static_cast<bool>(Application->OnShowHint));
  EXPECT_EQ(HintWindowClass, OldClass);
}

}  // namespace
