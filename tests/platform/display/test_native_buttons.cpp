// The BUTTON and STATIC controls: clicks, checks and groups, the pushed state under capture,
// keyboard presses, transparent group boxes and statics, and their classic look.
#include <gtest/gtest.h>

#include "platform/user/ControlMessages.h"
#include "tests/platform/display/NativeControlsTestUtil.h"

namespace {

using namespace CommonControlTesting;

using TButtonTest = TCommonControlTest;

LRESULT Check(HWND B) {
  return SendMessage(B, BM_GETCHECK, 0, 0);
}

TEST_F(TButtonTest, ClicksToggleAndGroupAutoRadioButtons) {
  HWND Auto = Create(WC_BUTTON, "Auto", BS_AUTOCHECKBOX, 10, 10, 100, 20, 1);
  HWND Three = Create(WC_BUTTON, "Three", BS_AUTO3STATE, 10, 35, 100, 20, 2);
  HWND Plain = Create(WC_BUTTON, "Plain", BS_CHECKBOX, 10, 60, 100, 20, 3);
  // Two groups of radio buttons; a plain radio button in the first.
  HWND R1 = Create(WC_BUTTON, "R1", BS_AUTORADIOBUTTON | WS_GROUP, 150, 10, 80, 20, 11);
  HWND R2 = Create(WC_BUTTON, "R2", BS_AUTORADIOBUTTON, 150, 35, 80, 20, 12);
  HWND R3 = Create(WC_BUTTON, "R3", BS_RADIOBUTTON, 150, 60, 80, 20, 13);
  HWND R4 = Create(WC_BUTTON, "R4", BS_AUTORADIOBUTTON, 150, 85, 80, 20, 14);
  HWND S1 = Create(WC_BUTTON, "S1", BS_AUTORADIOBUTTON | WS_GROUP, 250, 10, 80, 20, 21);
  HWND S2 = Create(WC_BUTTON, "S2", BS_AUTORADIOBUTTON, 250, 35, 80, 20, 22);
  SendMessage(S1, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(R3, BM_SETCHECK, BST_CHECKED, 0);
  RunUntilIdle();
  TakeNotes();

  struct TStep {
    HWND Button;
    std::vector<LRESULT> Checks;  // Auto, Three, Plain, R1, R2, R3, R4, S1, S2 afterwards
  };
  const std::vector<TStep> Steps{
      {Auto, {1, 0, 0, 0, 0, 1, 0, 1, 0}},
      {Three, {1, 1, 0, 0, 0, 1, 0, 1, 0}},
      {Three, {1, 2, 0, 0, 0, 1, 0, 1, 0}},
      {Plain, {1, 2, 0, 0, 0, 1, 0, 1, 0}},  // BS_CHECKBOX leaves the check to its parent
      {R2, {1, 2, 0, 0, 1, 1, 0, 1, 0}},     // the plain radio button keeps its check
      {R4, {1, 2, 0, 0, 0, 1, 1, 1, 0}},
      {R1, {1, 2, 0, 1, 0, 1, 0, 1, 0}},
      {R1, {1, 2, 0, 1, 0, 1, 0, 1, 0}},  // clicking a checked radio button again
      {Three, {1, 0, 0, 1, 0, 1, 0, 1, 0}},
      {Auto, {0, 0, 0, 1, 0, 1, 0, 1, 0}},
  };
  const HWND All[] = {Auto, Three, Plain, R1, R2, R3, R4, S1, S2};
  std::vector<TNote> Expected;
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    ClickAt(Steps[I].Button, 5, 10);
    std::vector<LRESULT> Got;
    for (HWND B : All) Got.push_back(Check(B));
    EXPECT_EQ(Got, Steps[I].Checks) << "step " << I;
    Expected.push_back(CommandNote(GetDlgCtrlID(Steps[I].Button), BN_CLICKED));
  }
  EXPECT_EQ(TakeNotes(), Expected);
  // The checked radio button of a group is its tab stop.
  EXPECT_TRUE(GetWindowLongPtr(R1, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongPtr(R2, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(TButtonTest, CheckStatesAreClampedToTheKind) {
  HWND Push = Create(WC_BUTTON, "Push", BS_PUSHBUTTON, 10, 10, 80, 24);
  HWND Box = Create(WC_BUTTON, "Box", BS_CHECKBOX, 10, 40, 80, 20);
  HWND Three = Create(WC_BUTTON, "Three", BS_3STATE, 10, 70, 80, 20);
  for (HWND B : {Push, Box, Three}) SendMessage(B, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(Check(Push), BST_UNCHECKED);
  EXPECT_EQ(Check(Box), BST_CHECKED);
  EXPECT_EQ(Check(Three), BST_INDETERMINATE);
  SendMessage(Three, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessage(Three, BM_GETSTATE, 0, 0), BST_INDETERMINATE | BST_PUSHED);
  SendMessage(Three, BM_SETSTATE, FALSE, 0);
  SetFocus(Box);
  EXPECT_EQ(SendMessage(Box, BM_GETSTATE, 0, 0), BST_CHECKED | BST_FOCUS);
  EXPECT_EQ(SendMessage(Push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SendMessage(Push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(Push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(TButtonTest, BmClickPressesAndReleases) {
  HWND Push = Create(WC_BUTTON, "Push", BS_PUSHBUTTON, 10, 10, 80, 24, 1);
  HWND Box = Create(WC_BUTTON, "Box", BS_AUTOCHECKBOX, 10, 40, 80, 20, 2);
  HWND Off = Create(WC_BUTTON, "Off", BS_PUSHBUTTON | WS_DISABLED, 10, 70, 80, 24, 3);
  HWND Group = Create(WC_BUTTON, "Group", BS_GROUPBOX, 100, 10, 150, 100, 4);
  for (HWND B : {Push, Box, Off, Group}) SendMessage(B, BM_CLICK, 0, 0);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{CommandNote(1, BN_CLICKED), CommandNote(2, BN_CLICKED)}));
  EXPECT_EQ(Check(Box), BST_CHECKED);
  EXPECT_EQ(GetFocus(), Box);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SendMessage(Push, BM_GETSTATE, 0, 0), 0);
}

TEST_F(TButtonTest, PushedStateFollowsTheMouseWhileCaptured) {
  HWND B = Create(WC_BUTTON, "Push", BS_PUSHBUTTON | BS_NOTIFY, 20, 20, 80, 24, 7);
  RunUntilIdle();
  TakeNotes();
  auto Pushed = [&] { return (SendMessage(B, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
  Display->MoveTo(40, 30);
  Display->ButtonDown();
  RunUntilIdle();
  EXPECT_TRUE(Pushed());
  EXPECT_EQ(GetCapture(), B);
  EXPECT_EQ(GetFocus(), B);
  Display->MoveTo(200, 200);
  RunUntilIdle();
  EXPECT_FALSE(Pushed());
  Display->MoveTo(30, 25);
  RunUntilIdle();
  EXPECT_TRUE(Pushed());
  Display->MoveTo(5, 5);
  Display->ButtonUp();  // released outside: no click
  RunUntilIdle();
  EXPECT_FALSE(Pushed());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{CommandNote(7, BN_SETFOCUS)}));
  ClickAt(B, 10, 10);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{CommandNote(7, BN_CLICKED)}));
}

TEST_F(TButtonTest, SpaceClicksOnRelease) {
  HWND B = Create(WC_BUTTON, "Box", BS_AUTOCHECKBOX, 20, 20, 80, 20, 5);
  SetFocus(B);
  RunUntilIdle();
  TakeNotes();
  Display->KeyDown(VK_SPACE);
  RunUntilIdle();
  EXPECT_TRUE(SendMessage(B, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(Notes().empty());
  Display->KeyUp(VK_SPACE);
  RunUntilIdle();
  EXPECT_EQ(Check(B), BST_CHECKED);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{CommandNote(5, BN_CLICKED)}));
}

TEST_F(TButtonTest, DoubleClicksNotifyRadioAndNotifyButtons) {
  HWND Radio = Create(WC_BUTTON, "Radio", BS_RADIOBUTTON, 20, 20, 80, 20, 1);
  HWND Push = Create(WC_BUTTON, "Push", BS_PUSHBUTTON, 20, 60, 80, 24, 2);
  RunUntilIdle();
  TakeNotes();
  Display->DoubleClick(30, 30);
  RunUntilIdle();
  Display->DoubleClick(30, 70);
  RunUntilIdle();
  // The radio button reports the second click as a double click; the push button takes it as
  // another press.
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{CommandNote(1, BN_CLICKED), CommandNote(1, BN_DOUBLECLICKED),
                                             CommandNote(2, BN_CLICKED), CommandNote(2, BN_CLICKED)}));
  (void)Radio;
  (void)Push;
}

TEST_F(TButtonTest, GroupBoxesAndPlainStaticsAreTransparentToTheMouse) {
  HWND Group = Create(WC_BUTTON, "Group", BS_GROUPBOX, 10, 10, 200, 150, 1);
  HWND Label = Create(WC_STATIC, "Label", SS_LEFT, 250, 10, 100, 20, 2);
  HWND Notify = Create(WC_STATIC, "Notify", SS_LEFT | SS_NOTIFY, 250, 40, 100, 20, 3);
  RunUntilIdle();
  ParentState().RecordClicks = true;
  TakeNotes();
  EXPECT_EQ(WindowFromPoint(POINT{100, 100}), Parent);
  EXPECT_EQ(WindowFromPoint(POINT{260, 15}), Parent);
  EXPECT_EQ(WindowFromPoint(POINT{260, 45}), Notify);
  Display->Click(100, 100);
  Display->Click(260, 15);
  Display->Click(260, 45);
  RunUntilIdle();
  const std::vector<TNote> Got = TakeNotes();
  ASSERT_EQ(Got.size(), 3u);
  EXPECT_EQ(Got[0].Msg, WM_LBUTTONDOWN);
  EXPECT_EQ(Got[1].Msg, WM_LBUTTONDOWN);
  EXPECT_EQ(Got[2], CommandNote(3, STN_CLICKED));
  EXPECT_NE(GetFocus(), Group);
  EXPECT_EQ(SendMessage(Group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  (void)Label;
}

// ---- The classic look -------------------------------------------------------------------------

constexpr DWORD White = 0xFFFFFF, Black = 0x000000, Face = 0xC0C0C0, Shadow = 0x808080, Light = 0xDFDFDF;

TEST_F(TButtonTest, PushButtonsInTheClassicLook) {
  HWND Plain = Create(WC_BUTTON, "", BS_PUSHBUTTON, 10, 10, 60, 24);
  Create(WC_BUTTON, "", BS_DEFPUSHBUTTON, 80, 10, 60, 24);
  HWND Down = Create(WC_BUTTON, "", BS_PUSHBUTTON, 150, 10, 60, 24);
  SendMessage(Down, BM_SETSTATE, TRUE, 0);
  SetFocus(Plain);
  RunUntilIdle();
  const TScreenshot S = Screenshot();
  // Raised: white and light on the top-left, black and grey on the bottom-right.
  EXPECT_EQ(S.Pixel(10, 10), White);
  EXPECT_EQ(S.Pixel(11, 11), Light);
  EXPECT_EQ(S.Pixel(69, 33), Black);
  EXPECT_EQ(S.Pixel(68, 32), Shadow);
  EXPECT_EQ(S.Pixel(40, 20), Face);
  // The focus rectangle 3 pixels inside: alternate pixels inverted from the face.
  EXPECT_EQ(S.Pixel(13, 13), Face ^ 0xFFFFFF);
  EXPECT_EQ(S.Pixel(14, 13), Face);
  // The default button: a black frame around the raised edge.
  EXPECT_EQ(S.Pixel(80, 10), Black);
  EXPECT_EQ(S.Pixel(81, 11), White);
  EXPECT_EQ(S.Pixel(139, 33), Black);
  EXPECT_EQ(S.Pixel(138, 32), Black);
  // Pushed: sunken.
  EXPECT_EQ(S.Pixel(150, 10), Shadow);
  EXPECT_EQ(S.Pixel(151, 11), Black);
  EXPECT_EQ(S.Pixel(209, 33), White);
}

TEST_F(TButtonTest, CheckBoxesRadioButtonsAndGroupBoxesInTheClassicLook) {
  HWND Box = Create(WC_BUTTON, "", BS_AUTOCHECKBOX, 10, 10, 80, 17);
  HWND Radio = Create(WC_BUTTON, "", BS_AUTORADIOBUTTON, 10, 40, 80, 16);
  HWND Group = Create(WC_BUTTON, "", BS_GROUPBOX, 100, 10, 100, 60);
  SendMessage(Box, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(Radio, BM_SETCHECK, BST_CHECKED, 0);
  RunUntilIdle();
  const TScreenshot S = Screenshot();
  // A 13 x 13 sunken box centred vertically (top 12), white inside, the check mark in black.
  EXPECT_EQ(S.Pixel(10, 12), Shadow);
  EXPECT_EQ(S.Pixel(11, 13), Black);
  EXPECT_EQ(S.Pixel(22, 24), White);
  EXPECT_EQ(S.Pixel(21, 23), Light);
  EXPECT_EQ(S.Pixel(13, 15), White);
  EXPECT_EQ(S.Pixel(16, 18), Black);  // inside the 7 x 7 mark (origin 13, 15): row 3, column 3
  EXPECT_EQ(S.Pixel(9, 18), Face);    // the parent's brush around it
  // A 12 x 12 circle with a dot in the middle.
  EXPECT_EQ(S.Pixel(15, 47), Black);
  EXPECT_EQ(S.Pixel(12, 47), White);
  // The etched group frame from half the font height.
  TEXTMETRICA TM{};
  HDC DC = GetDC(Group);
  SelectObject(DC, Font);
  GetTextMetrics(DC, &TM);
  ReleaseDC(Group, DC);
  const Integer Y = 10 + TM.tmHeight / 2;
  EXPECT_EQ(S.Pixel(150, Y), Shadow);
  EXPECT_EQ(S.Pixel(150, Y + 1), White);
  EXPECT_EQ(S.Pixel(150, Y - 1), Face);
  EXPECT_EQ(S.Pixel(150, 30), Face);
}

TEST_F(TButtonTest, DisabledTextIsEmbossed) {
  HWND B = Create(WC_BUTTON, "MMMM", BS_PUSHBUTTON | WS_DISABLED, 10, 10, 80, 24);
  RunUntilIdle();
  const TScreenshot S = Screenshot(B);
  Integer Grey = 0, Highlight = 0, Dark = 0;
  for (Integer Y = 3; Y < 21; ++Y)
    for (Integer X = 3; X < 77; ++X) {
      const DWORD P = S.Pixel(X, Y);
      Grey += P == Shadow;
      Highlight += P == White;
      Dark += P == Black;
    }
  EXPECT_GT(Grey, 20);
  EXPECT_GT(Highlight, 10);
  EXPECT_EQ(Dark, 0);
}

TEST_F(TButtonTest, StaticsInTheClassicLook) {
  HWND BlackRect = Create(WC_STATIC, "", SS_BLACKRECT, 10, 10, 20, 10);
  HWND GrayFrame = Create(WC_STATIC, "", SS_GRAYFRAME, 40, 10, 20, 10);
  HWND Etched = Create(WC_STATIC, "", SS_ETCHEDHORZ, 70, 10, 40, 2);
  HWND Text = Create(WC_STATIC, "Hello", SS_CENTER, 10, 30, 100, 20);
  HWND Sunken = Create(WC_STATIC, "", SS_LEFT | SS_SUNKEN, 120, 30, 40, 20);
  RunUntilIdle();
  const TScreenshot S = Screenshot();
  EXPECT_EQ(S.Pixel(15, 15), Black);
  EXPECT_EQ(S.Pixel(40, 10), Shadow);
  EXPECT_EQ(S.Pixel(50, 15), Face);
  EXPECT_EQ(S.Pixel(80, 10), Shadow);
  EXPECT_EQ(S.Pixel(80, 11), White);
  EXPECT_EQ(S.Pixel(120, 30), Shadow);
  EXPECT_EQ(S.Pixel(159, 49), White);
  // The centred text is black on the face colour and lies around the middle.
  Integer Left = 1000, Right = -1;
  for (Integer Y = 30; Y < 50; ++Y)
    for (Integer X = 10; X < 110; ++X)
      if (S.Pixel(X, Y) == Black) {
        Left = std::min(Left, X);
        Right = std::max(Right, X);
      }
  ASSERT_GE(Right, Left);
  EXPECT_LE(std::abs((Left + Right) / 2 - 60), 2);
  (void)BlackRect;
  (void)GrayFrame;
  (void)Etched;
  (void)Text;
  (void)Sunken;
}

}  // namespace
