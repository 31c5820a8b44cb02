// Modal forms and closing.
#include "FormsTestSupport.h"
#include "platform/user/Windows.h"

namespace {

struct TSetsResult {
  TCustomForm* Form = nullptr;
  TModalResult Result = mrOk;
  void Click(TObject*) { Form->SetModalResult(Result); }
};

struct TCloseHandlers {
  bool Allow = true;
  TCloseAction Action = caHide;
  std::vector<std::string> Seen;
  void CloseQuery(TObject*, bool& CanClose) {
    Seen.push_back("CloseQuery");
    CanClose = Allow;
  }
  void Close(TObject*, TCloseAction& A) {
    Seen.push_back("Close " + std::to_string(A));
    A = Action;
  }
  void Destroy(TObject*) { Seen.push_back("Destroy"); }
};

}  // namespace

TEST_F(TFormsTest, ShowModalReturnsTheResultAClickSets) {
  TForm* Main = NewForm("Main", 50, 50);
  Main->Show();
  TForm* Dialog = NewForm("Dialog", 200, 150, 200, 100);
  auto* Ok = NewChild<TTestControl>(Dialog, "Ok", Bounds(20, 20, 80, 30));
  TSetsResult Sets{Dialog, mrYes};
  Ok->OnClick = TNotifyEvent(&Sets, &TSetsResult::Click);
  Pump();

  bool MainDisabled = false;
  Integer Idles = 0;
  SetModalHook([&] {
    // Each time the modal loop runs dry: the first time the test clicks the button.
    if (Idles++ == 0) {
      MainDisabled = !IsWindowEnabled(Main->GetHandle());
      const TPoint P = At(Ok, 10, 10);
      ScriptClick(P.X, P.Y);
    }
  });
  EXPECT_EQ(Dialog->ShowModal(), mrYes);
  EXPECT_TRUE(MainDisabled);
  EXPECT_TRUE(IsWindowEnabled(Main->GetHandle()));
  EXPECT_FALSE(Dialog->GetVisible());
  EXPECT_FALSE(Dialog->GetFormState().Contains(fsModal));
  // The form can be shown modally again (a second click soon after would be a double click).
  Clock.Advance(1000);
  Idles = 0;
  Sets.Result = mrNo;
  EXPECT_EQ(Dialog->ShowModal(), mrNo);
}

TEST_F(TFormsTest, ClosingAModalFormGivesCancelUnlessRefused) {
  TForm* Dialog = NewForm("Dialog");
  TCloseHandlers H;
  Dialog->OnCloseQuery = TCloseQueryEvent(&H, &TCloseHandlers::CloseQuery);
  Integer Step = 0;
  SetModalHook([&] {
    // WM_CLOSE (the caption's close button): refused once, then allowed.
    if (Step == 0 || Step == 1) {
      H.Allow = Step == 1;
      PostMessage(Dialog->GetHandle(), WM_CLOSE, 0, 0);
    }
    ++Step;
  });
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_EQ(H.Seen, (std::vector<std::string>{"CloseQuery", "CloseQuery"}));
}

TEST_F(TFormsTest, ShowModalRefusesVisibleForms) {
  TForm* Form = NewForm("Form");
  Form->Show();
  EXPECT_THROW(Form->ShowModal(), EInvalidOperation);
}

TEST_F(TFormsTest, TerminatingEndsTheModalLoopWithCancel) {
  TForm* Dialog = NewForm("Dialog");
  SetModalHook([] { Application->Terminate(); });
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_TRUE(Application->GetTerminated());
}

TEST_F(TFormsTest, CloseRunsQueryThenActionAndReleaseFreesLater) {
  TForm* Form = NewForm("Form");
  TCloseHandlers H;
  Form->OnCloseQuery = TCloseQueryEvent(&H, &TCloseHandlers::CloseQuery);
  Form->OnClose = TCloseEvent(&H, &TCloseHandlers::Close);
  Form->OnDestroy = TNotifyEvent(&H, &TCloseHandlers::Destroy);
  Form->Show();
  Pump();
  H.Allow = false;
  Form->Close();
  EXPECT_TRUE(Form->GetVisible());
  H.Allow = true;
  Form->Close();
  EXPECT_FALSE(Form->GetVisible());
  EXPECT_EQ(H.Seen, (std::vector<std::string>{"CloseQuery", "CloseQuery", "Close 1"}));

  // caFree: the form goes once the waiting messages are handled, and OnDestroy runs first.
  Form->Show();
  H.Action = caFree;
  const HWND Handle = Form->GetHandle();
  Form->Close();
  ASSERT_FALSE(Forms.empty());
  Forms.back().release();  // the form deletes itself now
  Forms.pop_back();
  EXPECT_TRUE(IsWindow(Handle));
  Pump();
  EXPECT_FALSE(IsWindow(Handle));
  EXPECT_EQ(H.Seen.back(), "Destroy");
  EXPECT_EQ(Screen->GetCustomFormCount(), 0);
}
