// The application: its message loop, OnMessage, exceptions, the main form and hints.
#include "FormsTestSupport.h"
#include "platform/classes/HintWindow.h"
#include "platform/classes/UserBridge.h"
#include "platform/user/Windows.h"

namespace {

struct TMessageWatch {
  std::vector<std::string>* Lines;
  bool EatF5 = true;
  void OnMessage(MSG& Msg, bool& Handled) {
    if (Msg.message == WM_KEYDOWN) {
      Lines->push_back("OnMessage " + std::to_string(Msg.wParam));
      Handled = EatF5 && Msg.wParam == VK_F5;
    }
  }
};

struct TExceptionWatch {
  std::vector<std::string> Seen;
  Integer Aborted = 0;
  void OnException(TObject* Sender, const Exception& E) {
    Seen.push_back(NameOf(Sender) + ": " + E.GetMessage());
  }
  void Throws(TObject*) { throw EConvertError("'x' is not a valid integer value"); }
  void Aborts(TObject*) {
    ++Aborted;
    Abort();
  }
};

// A form built in code that refers to itself through the application's reference while it is
// being made, as forms do in their OnCreate.
class TMainTestForm;
TMainTestForm* MainTestForm = nullptr;

class TMainTestForm : public TForm {
 public:
  explicit TMainTestForm(TComponent* AOwner) : TForm(AOwner) {
    BeginFormLoad();
    SetName("MainTestForm");
    OnCreate = TNotifyEvent(this, &TMainTestForm::FormCreate);
    EndFormLoad();
  }
  bool SawItselfInCreate = false;

 private:
  void FormCreate(TObject*) { SawItselfInCreate = MainTestForm == this; }
};

}  // namespace

TEST_F(TFormsTest, OnMessageSeesKeysFirstAndCanHandleThem) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Log.BindKeys(Box);
  Form->SetKeyPreview(true);
  Log.BindKeys(Form);
  TMessageWatch Watch{&Log.Lines};
  Application->OnMessage = TMessageEvent(&Watch, &TMessageWatch::OnMessage);
  Form->Show();
  Pump();
  ScriptKeyPress(VK_F5);
  ScriptKeyPress(VK_F6);
  Pump();
  Application->OnMessage.Clear();
  EXPECT_EQ(Log.Lines, (TLines{"OnMessage 116", "KeyUp Form 116", "KeyUp Box 116", "OnMessage 117",
                               "KeyDown Form 117", "KeyDown Box 117", "KeyUp Form 117", "KeyUp Box 117"}));
}

TEST_F(TFormsTest, ExceptionsInHandlersGoToOnException) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  TExceptionWatch Watch;
  Application->OnException = TExceptionEvent(&Watch, &TExceptionWatch::OnException);
  Box->OnClick = TNotifyEvent(&Watch, &TExceptionWatch::Throws);
  Form->Show();
  Pump();
  TPoint P = At(Box, 5, 5);
  ScriptClick(P.X, P.Y);
  Pump();
  // An aborted operation is silent.
  Box->OnClick = TNotifyEvent(&Watch, &TExceptionWatch::Aborts);
  Clock.Advance(1000);  // not a double click
  ScriptClick(P.X, P.Y);
  Pump();
  Application->OnException.Clear();
  EXPECT_EQ(Watch.Seen, (std::vector<std::string>{"Box: 'x' is not a valid integer value"}));
  EXPECT_EQ(Watch.Aborted, 1);
}

TEST_F(TFormsTest, ShowExceptionUsesTheBoxWithATitleAndAFullStop) {
  static std::vector<std::string> Shown;
  Shown.clear();
  const TExceptionBoxProc Saved = ShowExceptionBox;
  ShowExceptionBox = [](const std::string& Title, const std::string& Text) {
    Shown.push_back(Title + "|" + Text);
  };
  const std::string SavedTitle = Application->GetTitle();
  Application->SetTitle("Mosaic");
  Application->ShowException(Exception("Disk full"));
  Application->ShowException(Exception("Done."));
  Application->SetTitle(SavedTitle);
  ShowExceptionBox = Saved;
  EXPECT_EQ(Shown, (std::vector<std::string>{"Mosaic|Disk full.", "Mosaic|Done."}));
}

TEST_F(TFormsTest, CreateFormMakesTheMainFormAndClosingItEndsRun) {
  ASSERT_EQ(Application->GetMainForm(), nullptr);
  Application->CreateForm(MainTestForm);
  ASSERT_NE(MainTestForm, nullptr);
  EXPECT_TRUE(MainTestForm->SawItselfInCreate);
  EXPECT_EQ(Application->GetMainForm(), MainTestForm);
  EXPECT_EQ(Screen->GetForm(0), MainTestForm);
  EXPECT_TRUE(MainTestForm->HandleAllocated());
  PostMessage(MainTestForm->GetHandle(), WM_CLOSE, 0, 0);
  Application->Run();
  EXPECT_TRUE(Application->GetTerminated());
  delete MainTestForm;
  MainTestForm = nullptr;
  EXPECT_EQ(Application->GetMainForm(), nullptr);
}

TEST_F(TFormsTest, ProcessMessagesHandlesEverythingWaitingAndReturns) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  Form->OnPaint = TNotifyEvent(&Log, &TEventLog::Notify);
  Form->Show();
  Pump();
  Log.Lines.clear();
  Form->Invalidate();
  PostMessage(Form->GetHandle(), WM_NULL, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(Log.Lines, (TLines{"Notify Form"}));
  EXPECT_FALSE(UserLayer::AnyMessagePending());
}

TEST_F(TFormsTest, HintShowsAfterThePauseAndGoesWhenTheMouseLeaves) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Box->SetHint("Saves the mosaic|Saves the mosaic to its file");
  Box->SetShowHint(true);
  Form->Show();
  Pump();
  const TPoint P = At(Box, 20, 20);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  THintWindow* Hint = Application->GetHintWindow();
  const bool ShownEarly =
      Hint != nullptr && Hint->HandleAllocated() && IsWindowVisible(Hint->GetWindowHandle());
  EXPECT_FALSE(ShownEarly);
  Clock.Advance(Application->GetHintPause());
  Pump();
  Hint = Application->GetHintWindow();
  ASSERT_NE(Hint, nullptr);
  ASSERT_TRUE(Hint->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(Hint->GetWindowHandle()));
  EXPECT_EQ(Hint->GetCaption(), "Saves the mosaic");
  EXPECT_GE(Hint->GetTop(), P.Y);  // below the cursor
  // The hint window lets the mouse through and never takes the activation.
  EXPECT_NE(GetWindowLongPtr(Hint->GetWindowHandle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(GetActiveWindow(), Form->GetHandle());
  const TPoint Out = At(Form, 250, 150);
  ScriptMoveTo(Out.X, Out.Y);
  Pump();
  EXPECT_FALSE(IsWindowVisible(Hint->GetWindowHandle()));
}

TEST_F(TFormsTest, HintHidesAfterTheHidePause) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  Box->SetHint("Undo");
  Box->SetShowHint(true);
  Form->Show();
  Pump();
  const TPoint P = At(Box, 20, 20);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  Clock.Advance(Application->GetHintPause());
  Pump();
  THintWindow* Hint = Application->GetHintWindow();
  ASSERT_NE(Hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(Hint->GetWindowHandle()));
  Clock.Advance(Application->GetHintHidePause());
  Pump();
  EXPECT_FALSE(IsWindowVisible(Hint->GetWindowHandle()));
}
