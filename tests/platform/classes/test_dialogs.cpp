// Message boxes, message dialogs and the font dialog, answered through the modal hook.
#include <functional>

#include "StdCtrlsTestSupport.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"

namespace {

class TDialogsTest : public TFormsTest {
 protected:
  // The modal form the loop runs now.
  static TCustomForm* Modal() { return Screen->GetActiveCustomForm(); }
  template <class T>
  static T* Part(const std::string& Name) {
    return dynamic_cast<T*>(Modal() != nullptr ? Modal()->FindComponent(Name) : nullptr);
  }
  static void ClickOn(TControl* C) {
    const TPoint P = C->ClientToScreen({C->GetWidth() / 2, C->GetHeight() / 2});
    ScriptClick(P.X, P.Y);
  }
  // Runs Steps one per idle of the modal loops (a step may be skipped by returning false: it
  // runs again at the next idle).
  void Answer(std::vector<std::function<bool()>> Steps) {
    FSteps = std::move(Steps);
    FStep = 0;
    SetModalHook([this] {
      if (FStep < FSteps.size() && FSteps[FStep]()) {
        ++FStep;
        Clock.Advance(1000);
      }
    });
  }
  // The captions of the modal form's buttons, left to right.
  static TLines ButtonCaptions() {
    std::vector<TButton*> Buttons;
    for (Integer I = 0; I < Modal()->GetControlCount(); ++I)
      if (auto* B = dynamic_cast<TButton*>(Modal()->GetControl(I))) Buttons.push_back(B);
    std::sort(Buttons.begin(), Buttons.end(),
              [](TButton* A, TButton* B) { return A->GetLeft() < B->GetLeft(); });
    TLines Captions;
    for (TButton* B : Buttons) Captions.push_back(B->GetCaption());
    return Captions;
  }

  std::vector<std::function<bool()>> FSteps;
  std::size_t FStep = 0;
};

}  // namespace

TEST_F(TDialogsTest, MessageDlgReturnsThePressedButton) {
  TLines Captions;
  std::string Title, Text;
  bool HasIcon = false;
  Answer({[&] {
    Captions = ButtonCaptions();
    Title = Modal()->GetCaption();
    Text = Part<TLabel>("Message")->GetCaption();
    HasIcon = Part<TImage>("Image") != nullptr;
    ClickOn(Part<TButton>("No"));
    return true;
  }});
  EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_EQ(Captions, (TLines{"&Yes", "&No", "Cancel"}));
  EXPECT_EQ(Title, "Confirm");
  EXPECT_EQ(Text, "Save the changes?");
  EXPECT_TRUE(HasIcon);

  // Escape: Cancel; without Cancel, No.
  Answer({[] {
    ScriptKeyPress(VK_ESCAPE);
    return true;
  }});
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel, 0), mrCancel);
  Answer({[] {
    ScriptKeyPress(VK_ESCAPE);
    return true;
  }});
  EXPECT_EQ(MessageDlg("Save?", mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
  // Enter: the default button (OK, else Yes, else Retry).
  Answer({[] {
    ScriptKeyPress(VK_RETURN);
    return true;
  }});
  EXPECT_EQ(MessageDlg("Go on?", mtError, mbAbortRetryIgnore, 0), mrRetry);
  Answer({[] {
    ScriptKeyPress(VK_RETURN);
    return true;
  }});
  EXPECT_EQ(MessageDlg("Go on?", mtInformation, mbYesAllNoAllCancel, 0), mrYes);
}

TEST_F(TDialogsTest, MessageDlgTitlesButtonsAndLayout) {
  struct TCase {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    std::string Title;
    TLines Captions;
  };
  Application->SetTitle("Mosaic");
  for (const TCase& C :
       {TCase{mtWarning, mbOKCancel, "Warning", {"OK", "Cancel"}},
        TCase{mtError, mbAbortIgnore, "Error", {"&Abort", "&Ignore"}},
        TCase{mtInformation, TMsgDlgButtons{mbOK, mbHelp}, "Information", {"OK", "&Help"}},
        TCase{
            mtCustom, mbYesAllNoAllCancel, "Mosaic", {"&Yes", "&No", "Cancel", "N&o to All", "Yes to &All"}},
        TCase{mtConfirmation,
              TMsgDlgButtons{mbAll, mbIgnore, mbRetry},
              "Confirm",
              {"&Retry", "&Ignore", "&All"}}}) {
    std::unique_ptr<TForm> Form(CreateMessageDialog("Text", C.Type, C.Buttons));
    EXPECT_EQ(Form->GetCaption(), C.Title);
    EXPECT_EQ(Form->FindComponent("Image") != nullptr, C.Type != mtCustom);
    std::vector<TButton*> Buttons;
    for (Integer I = 0; I < Form->GetControlCount(); ++I)
      if (auto* B = dynamic_cast<TButton*>(Form->GetControl(I))) Buttons.push_back(B);
    TLines Captions;
    for (TButton* B : Buttons) Captions.push_back(B->GetCaption());
    EXPECT_EQ(Captions, C.Captions) << C.Title;
    // Equal buttons in a row, centred under the text.
    ASSERT_FALSE(Buttons.empty());
    const Integer Left = Buttons.front()->GetLeft();
    const Integer Right = Buttons.back()->GetLeft() + Buttons.back()->GetWidth();
    EXPECT_NEAR(Left, Form->GetClientWidth() - Right, 1);
    for (TButton* B : Buttons) EXPECT_EQ(B->GetTop(), Buttons.front()->GetTop());
    auto* Message = static_cast<TLabel*>(Form->FindComponent("Message"));
    EXPECT_LT(Message->GetTop() + Message->GetHeight(), Buttons.front()->GetTop());
  }
  Application->SetTitle("");

  // A long text wraps within half the screen.
  std::string Long;
  for (Integer I = 0; I < 100; ++I) Long += "words ";
  std::unique_ptr<TForm> Form(CreateMessageDialog(Long, mtCustom, TMsgDlgButtons{mbOK}));
  auto* Message = static_cast<TLabel*>(Form->FindComponent("Message"));
  EXPECT_LE(Message->GetWidth(), Screen->GetWidth() / 2);
  EXPECT_GT(Message->GetHeight(), FontTextHeight(MessageFont()));
}

TEST_F(TDialogsTest, MessageBoxTypesAndReturnValues) {
  struct TCase {
    UINT Type;
    TLines Captions;
    Integer OnEscape;  // 0: Escape does nothing
    Integer OnEnter;
    const char* Click;
    Integer OnClick;
  };
  for (const TCase& C : {
           TCase{MB_OK, {"OK"}, IDOK, IDOK, "OK", IDOK},
           TCase{MB_OKCANCEL, {"OK", "Cancel"}, IDCANCEL, IDOK, "Cancel", IDCANCEL},
           TCase{MB_OKCANCEL | MB_DEFBUTTON2, {"OK", "Cancel"}, IDCANCEL, IDCANCEL, "OK", IDOK},
           TCase{MB_ABORTRETRYIGNORE, {"&Abort", "&Retry", "&Ignore"}, 0, IDABORT, "Ignore", IDIGNORE},
           TCase{MB_ABORTRETRYIGNORE | MB_DEFBUTTON3,
                 {"&Abort", "&Retry", "&Ignore"},
                 0,
                 IDIGNORE,
                 "Retry",
                 IDRETRY},
           TCase{MB_YESNOCANCEL | MB_ICONQUESTION, {"&Yes", "&No", "Cancel"}, IDCANCEL, IDYES, "No", IDNO},
           TCase{MB_YESNO | MB_DEFBUTTON2, {"&Yes", "&No"}, 0, IDNO, "Yes", IDYES},
           TCase{MB_YESNO | MB_DEFBUTTON4, {"&Yes", "&No"}, 0, IDYES, "No", IDNO},  // no fourth: the first
           TCase{MB_RETRYCANCEL | MB_ICONHAND, {"&Retry", "Cancel"}, IDCANCEL, IDRETRY, "Retry", IDRETRY},
       }) {
    TLines Captions;
    // Escape (and, where it does nothing, a click afterwards).
    Answer({[&] {
              Captions = ButtonCaptions();
              ScriptKeyPress(VK_ESCAPE);
              return true;
            },
            [&] {
              ClickOn(Part<TButton>(C.Click));
              return true;
            }});
    EXPECT_EQ(MessageBox(nullptr, "Text", "Caption", C.Type), C.OnEscape != 0 ? C.OnEscape : C.OnClick)
        << C.Type;
    EXPECT_EQ(Captions, C.Captions) << C.Type;
    Answer({[] {
      ScriptKeyPress(VK_RETURN);
      return true;
    }});
    EXPECT_EQ(MessageBox(nullptr, "Text", "Caption", C.Type), C.OnEnter) << C.Type;
    Answer({[&] {
      ClickOn(Part<TButton>(C.Click));
      return true;
    }});
    EXPECT_EQ(MessageBox(nullptr, "Text", "Caption", C.Type), C.OnClick) << C.Type;
  }

  // The close box: refused without a cancelling button, else that button's answer.
  Answer({[] {
            PostMessage(Modal()->GetHandle(), WM_CLOSE, 0, 0);
            return true;
          },
          [] {
            ClickOn(Part<TButton>("No"));
            return true;
          }});
  EXPECT_EQ(MessageBox(nullptr, "Text", "Caption", MB_YESNO), IDNO);
  Answer({[] {
    PostMessage(Modal()->GetHandle(), WM_CLOSE, 0, 0);
    return true;
  }});
  EXPECT_EQ(MessageBox(nullptr, "Text", "Caption", MB_OK), IDOK);
}

TEST_F(TDialogsTest, MessageBoxLooksAndShowMessageTitle) {
  std::string Title;
  bool Icon = false;
  DWORD IconPixel = 0;
  Answer({[&] {
    Title = Modal()->GetCaption();
    auto* Image = Part<TImage>("Image");
    Icon = Image != nullptr;
    if (Image != nullptr) {
      // The stop icon: a red disc.
      const TControlShot P = ShotOf(Image);
      IconPixel = P(16, 4);
    }
    ScriptKeyPress(VK_RETURN);
    return true;
  }});
  EXPECT_EQ(MessageBox(nullptr, "Disk full.", "", MB_OK | MB_ICONSTOP), IDOK);
  EXPECT_EQ(Title, "Error");
  EXPECT_TRUE(Icon);
  EXPECT_EQ(IconPixel, 0xFF0000u);

  Application->SetTitle("Mosaic");
  TLines Captions;
  Answer({[&] {
    Title = Modal()->GetCaption();
    Captions = ButtonCaptions();
    Icon = Part<TImage>("Image") != nullptr;
    ScriptKeyPress(VK_RETURN);
    return true;
  }});
  ShowMessage("Done");
  EXPECT_EQ(Title, "Mosaic");
  EXPECT_EQ(Captions, (TLines{"OK"}));
  EXPECT_FALSE(Icon);

  // The application's exception box is a message box now.
  std::string Text;
  Answer({[&] {
    Title = Modal()->GetCaption();
    Text = Part<TLabel>("Message")->GetCaption();
    Icon = Part<TImage>("Image") != nullptr;
    ScriptKeyPress(VK_RETURN);
    return true;
  }});
  Application->ShowException(Exception("Disk full"));
  EXPECT_EQ(Title, "Mosaic");
  EXPECT_EQ(Text, "Disk full.");
  EXPECT_TRUE(Icon);
  Application->SetTitle("");
}

TEST_F(TDialogsTest, FontDialogReturnsTheChosenFont) {
  TFontDialog Dialog(nullptr);
  Dialog.GetFont()->SetName("Liberation Sans");
  Dialog.GetFont()->SetSize(10);
  ASSERT_GE(Screen->GetFonts()->IndexOf("Liberation Serif"), 0);

  // Pick a family, Bold, 14 and red by mouse; OK.
  auto PickItem = [](const char* ListName, const std::string& Text) {
    auto* List = Part<TListBox>(ListName);
    const Integer I = List->GetItems()->IndexOf(Text);
    List->SetTopIndex(I);
    const TRect R = List->ItemRect(I);
    const TPoint P = List->ClientToScreen({R.Left + 5, (R.Top + R.Bottom) / 2});
    ScriptClick(P.X, P.Y);
  };
  std::string Family, Size, Sample;
  Answer({[&] {
            Family = Part<TEdit>("FaceEdit")->GetText();
            Size = Part<TEdit>("SizeEdit")->GetText();
            PickItem("FaceList", "Liberation Serif");
            return true;
          },
          [&] {
            PickItem("StyleList", "Bold");
            return true;
          },
          [&] {
            PickItem("SizeList", "14");
            return true;
          },
          [&] {
            Part<TComboBox>("ColorCombo")->SetItemIndex(9);  // Red
            Sample = Part<TLabel>("Sample")->GetFont()->GetName();
            ClickOn(Part<TButton>("OkButton"));
            return true;
          }});
  EXPECT_TRUE(Dialog.Execute());
  EXPECT_EQ(Family, "Liberation Sans");
  EXPECT_EQ(Size, "10");
  EXPECT_EQ(Sample, "Liberation Serif");
  EXPECT_EQ(Dialog.GetFont()->GetName(), "Liberation Serif");
  EXPECT_EQ(Dialog.GetFont()->GetSize(), 14);
  EXPECT_EQ(Dialog.GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(Dialog.GetFont()->GetColor(), clRed);

  // A typed size outside the limits is refused with a message; Cancel keeps the font.
  Dialog.SetOptions(TFontDialogOptions{fdEffects, fdLimitSize});
  Dialog.SetMinFontSize(8);
  Dialog.SetMaxFontSize(12);
  std::string Refusal;
  Answer({[&] {
            TEdit* Edit = Part<TEdit>("SizeEdit");
            Edit->SetFocus();
            Edit->SelectAll();
            ScriptKeyPress('2', "2");
            ScriptKeyPress('0', "0");
            return true;
          },
          [&] {
            ClickOn(Part<TButton>("OkButton"));
            return true;
          },
          [&] {
            // The message box over the dialog.
            auto* Message = Part<TLabel>("Message");
            if (Message == nullptr) return false;
            Refusal = Message->GetCaption();
            ScriptKeyPress(VK_RETURN);
            return true;
          },
          [&] {
            if (Part<TButton>("CancelButton") == nullptr) return false;
            ClickOn(Part<TButton>("CancelButton"));
            return true;
          }});
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Refusal, "Size must be between 8 and 12 points.");
  EXPECT_EQ(Dialog.GetFont()->GetSize(), 14);
}
