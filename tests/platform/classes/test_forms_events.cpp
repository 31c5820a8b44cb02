// Mouse, key, focus, paint and timer events of a form with children, from scripted input, in
// the platform's order.
#include "FormsTestSupport.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Painting.h"
#include "platform/user/WindowPaint.h"

TEST_F(TFormsTest, ClickOnWindowedChildFiresDownClickUp) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Log.BindMouse(Box);
  Form->Show();
  Pump();
  const TPoint P = At(Box, 20, 15);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Box L 20,15", "Click Box", "MouseUp Box L 20,15"}));
}

TEST_F(TFormsTest, ReleaseOutsideEndsWithoutClick) {
  // The button went down inside: the control holds the mouse and gets the release outside.
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  auto* Spot = NewChild<TTestGraphic>(Form, "Spot", Bounds(150, 10, 40, 40));
  Log.BindMouse(Box);
  Log.BindMouse(Spot);
  Form->Show();
  Pump();
  for (TControl* C : {static_cast<TControl*>(Box), static_cast<TControl*>(Spot)}) {
    const TPoint In = At(C, 5, 5);
    ScriptMoveTo(In.X, In.Y);
    ScriptButton(true);
    ScriptMoveTo(In.X + 200, In.Y + 100);
    ScriptButton(false);
    Pump();
  }
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Box L 5,5", "MouseUp Box L 205,105", "MouseDown Spot L 5,5",
                               "MouseUp Spot L 205,105"}));
}

TEST_F(TFormsTest, WindowlessChildGetsParentsMouseInItsCoordinates) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Spot = NewChild<TTestGraphic>(Form, "Spot", Bounds(40, 30, 60, 40));
  Log.BindMouse(Form);
  Log.BindMouse(Spot);
  Form->Show();
  Pump();
  TPoint P = At(Spot, 7, 9);
  ScriptClick(P.X, P.Y);
  P = At(Form, 5, 5);
  ScriptClick(P.X, P.Y, 1);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Spot L 7,9", "Click Spot", "MouseUp Spot L 7,9",
                               "MouseDown Form R 5,5", "MouseUp Form R 5,5"}));
}

TEST_F(TFormsTest, DoubleClickSequence) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Log.BindMouse(Box);
  Form->Show();
  Pump();
  const TPoint P = At(Box, 3, 4);
  ScriptClick(P.X, P.Y);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Box L 3,4", "Click Box", "MouseUp Box L 3,4", "DblClick Box",
                               "MouseDown Box L 3,4 double", "MouseUp Box L 3,4"}));
}

TEST_F(TFormsTest, MouseEnterAndLeaveFollowTheMouse) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* A = NewChild<TTestGraphic>(Form, "A", Bounds(10, 10, 50, 50));
  auto* B = NewChild<TTestGraphic>(Form, "B", Bounds(100, 10, 50, 50));
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(200, 10, 50, 50));
  Log.BindHover(A);
  Log.BindHover(B);
  Log.BindHover(Box);
  Log.BindHover(Form);
  Form->Show();
  Pump();
  for (TControl* C : {static_cast<TControl*>(A), static_cast<TControl*>(B), static_cast<TControl*>(Box)}) {
    const TPoint P = At(C, 5, 5);
    ScriptMoveTo(P.X, P.Y);
    Pump();
  }
  const TPoint Out = At(Form, 5, 150);
  ScriptMoveTo(Out.X, Out.Y);
  Pump();
  // The form hears of its children's entries too, but fires its own events only for itself.
  EXPECT_EQ(Log.Lines, (TLines{"MouseEnter A", "MouseLeave A", "MouseEnter B", "MouseLeave B",
                               "MouseEnter Box", "MouseLeave Box", "MouseEnter Form"}));
}

TEST_F(TFormsTest, KeysReachTheFocusedControlDownPressUp) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Log.BindKeys(Box);
  Log.BindKeys(Form);
  Form->Show();
  Pump();
  ASSERT_TRUE(Box->Focused());
  ScriptKeyPress('A', "a");
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"KeyDown Box 65", "KeyPress Box a", "KeyUp Box 65"}));

  Log.Lines.clear();
  Form->SetKeyPreview(true);
  ScriptKeyPress('B', "B", {VK_SHIFT});
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"KeyDown Form 16 shift", "KeyDown Box 16 shift", "KeyDown Form 66 shift",
                               "KeyDown Box 66 shift", "KeyPress Form B", "KeyPress Box B", "KeyUp Form 66",
                               "KeyUp Box 66", "KeyUp Form 16", "KeyUp Box 16"}));
}

TEST_F(TFormsTest, CharactersBeyondAsciiReachKeyPressAsUtf8Bytes) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Box->OnKeyPress = TKeyPressEvent(&Log, &TEventLog::KeyPress);
  Form->Show();
  Pump();
  ScriptKeyPress('E', "\xC3\xA9");
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"KeyPress Box \xC3", "KeyPress Box \xA9"}));
}

TEST_F(TFormsTest, KeyPreviewHandlerCanEatTheKey) {
  struct TEater {
    void KeyDown(TObject*, Word& Key, TShiftState) {
      if (Key == VK_F2) Key = 0;
    }
  } Eater;
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Log.BindKeys(Box);
  Form->SetKeyPreview(true);
  Form->OnKeyDown = TKeyEvent(&Eater, &TEater::KeyDown);
  Form->Show();
  Pump();
  ScriptKeyPress(VK_F2);
  ScriptKeyPress(VK_F3);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"KeyUp Box 113", "KeyDown Box 114", "KeyUp Box 114"}));
}

TEST_F(TFormsTest, TabAndArrowsMoveTheFocusInTabOrder) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* A = NewChild<TTestControl>(Form, "A", Bounds(10, 10, 50, 20));
  auto* B = NewChild<TTestControl>(Form, "B", Bounds(10, 40, 50, 20));
  auto* C = NewChild<TTestControl>(Form, "C", Bounds(10, 70, 50, 20));
  C->SetTabOrder(0);
  B->SetTabStop(false);
  for (TWinControl* W :
       {static_cast<TWinControl*>(A), static_cast<TWinControl*>(B), static_cast<TWinControl*>(C)})
    Log.BindFocus(W);
  Form->Show();
  Pump();
  EXPECT_EQ(Form->GetActiveControl(), C);
  ScriptKeyPress(VK_TAB);
  Pump();
  EXPECT_EQ(Form->GetActiveControl(), A);
  ScriptKeyPress(VK_TAB, "", {VK_SHIFT});
  Pump();
  EXPECT_EQ(Form->GetActiveControl(), C);
  // Arrows go to the next control of the same parent, tab stop or not.
  ScriptKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(Form->GetActiveControl(), A);
  ScriptKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(Form->GetActiveControl(), B);
  EXPECT_EQ(Log.Lines, (TLines{"Enter C", "Exit C", "Enter A", "Exit A", "Enter C", "Exit C", "Enter A",
                               "Exit A", "Enter B"}));
}

// A control that acts like a default or cancel button: it answers Enter or Escape through
// CM_DIALOGKEY and clicks.
class TDialogButton : public TCustomControl {
 public:
  TDialogButton(TComponent* AOwner, TEventLog*) : TCustomControl(AOwner) {}
  Word AnswersKey = VK_RETURN;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY && static_cast<Word>(Message.WParam) == AnswersKey) {
      Click();
      Message.Result = 1;
      return;
    }
    TCustomControl::Dispatch(Message);
  }
};

TEST_F(TFormsTest, EnterAndEscapeReachDialogButtons) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Edit = NewChild<TTestControl>(Form, "Edit", Bounds(10, 10, 50, 20));
  auto* Ok = NewChild<TDialogButton>(Form, "Ok", Bounds(10, 40, 50, 20));
  auto* Cancel = NewChild<TDialogButton>(Form, "Cancel", Bounds(70, 40, 50, 20));
  Cancel->AnswersKey = VK_ESCAPE;
  Log.BindMouse(Ok);
  Log.BindMouse(Cancel);
  Log.BindKeys(Edit);
  Form->Show();
  Pump();
  ASSERT_TRUE(Edit->Focused());
  ScriptKeyPress(VK_RETURN);
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  // The dialog keys never reach the edit as key downs; their key ups do.
  EXPECT_EQ(Log.Lines, (TLines{"Click Ok", "KeyUp Edit 13", "Click Cancel", "KeyUp Edit 27"}));
}

TEST_F(TFormsTest, PaintsFormThenWindowlessChildrenInZOrderClipped) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  Form->OnPaint = TNotifyEvent(&Log, &TEventLog::Notify);
  auto* Low = NewChild<TTestGraphic>(Form, "Low", Bounds(10, 10, 40, 40), &Log);
  auto* High = NewChild<TTestGraphic>(Form, "High", Bounds(30, 30, 40, 40), &Log);
  Low->Fill = clRed;
  High->Fill = clBlue;
  Form->Show();
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"Notify Form", "Paint Low", "Paint High"}));
  HDC DC = GetDC(Form->GetHandle());
  EXPECT_EQ(GetPixel(DC, 15, 15), 0x0000FFu);            // Low alone
  EXPECT_EQ(GetPixel(DC, 35, 35), 0xFF0000u);            // High over Low
  EXPECT_EQ(GetPixel(DC, 5, 5), ColorToRGB(clBtnFace));  // outside both: each is clipped to itself
  EXPECT_EQ(GetPixel(DC, 75, 75), ColorToRGB(clBtnFace));
  ReleaseDC(Form->GetHandle(), DC);

  Log.Lines.clear();
  Low->BringToFront();
  Pump();
  DC = GetDC(Form->GetHandle());
  EXPECT_EQ(GetPixel(DC, 35, 35), 0x0000FFu);
  ReleaseDC(Form->GetHandle(), DC);
  EXPECT_EQ(Log.Lines.back(), "Paint Low");
}

TEST_F(TFormsTest, DoubleBufferedFormPaintsTheSame) {
  TForm* Form = NewForm("Form");
  Form->SetDoubleBuffered(true);
  auto* Spot = NewChild<TTestGraphic>(Form, "Spot", Bounds(10, 10, 40, 40));
  Spot->Fill = clRed;
  Form->Show();
  Pump();
  HDC DC = GetDC(Form->GetHandle());
  EXPECT_EQ(GetPixel(DC, 20, 20), 0x0000FFu);
  EXPECT_EQ(GetPixel(DC, 60, 60), ColorToRGB(clBtnFace));
  ReleaseDC(Form->GetHandle(), DC);
}

TEST_F(TFormsTest, TimerFiresOnTheFakeClock) {
  TEventLog Log;
  auto* Timer = new TTimer(nullptr);
  Timer->SetName("Timer");
  Timer->SetInterval(100);
  Timer->SetOnTimer(TNotifyEvent(&Log, &TEventLog::Notify));
  Clock.Advance(99);
  Pump();
  EXPECT_TRUE(Log.Lines.empty());
  Clock.Advance(1);
  Pump();
  Pump();
  EXPECT_EQ(Log.Lines.size(), 1u);
  Clock.Advance(250);
  Pump();
  EXPECT_EQ(Log.Lines.size(), 2u);  // a timer that falls behind fires once
  Timer->SetEnabled(false);
  Clock.Advance(1000);
  Pump();
  EXPECT_EQ(Log.Lines.size(), 2u);
  Timer->SetEnabled(true);
  Clock.Advance(100);
  Pump();
  EXPECT_EQ(Log.Lines.size(), 3u);
  delete Timer;
  Clock.Advance(100);
  Pump();
  EXPECT_EQ(Log.Lines.size(), 3u);
}
