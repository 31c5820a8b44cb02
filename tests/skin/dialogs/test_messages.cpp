// The skinned message box: its layout, default and cancel buttons, and answering it through the
// modal hook by mouse and by keys.
#include <functional>
#include <string>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TMessagesTest : public TSkinTest {
 protected:
  // The box being shown (owned by the application while it is modal).
  static TbsMessageForm* OpenBox() {
    for (Integer I = 0; I < Application->GetComponentCount(); ++I)
      if (auto* F = dynamic_cast<TbsMessageForm*>(Application->GetComponent(I))) return F;
    return nullptr;
  }
  // Runs Act once, the first time the modal loop waits.
  void AnswerWith(std::function<void(TbsMessageForm*)> Act) {
    Step = 0;
    SetModalHook([this, Act] {
      if (Step++ != 0) return;
      TbsMessageForm* Box = OpenBox();
      ASSERT_NE(Box, nullptr);
      Seen = Box;
      SeenCaption = Box->GetCaption();
      Act(Box);
    });
  }
  void ClickButton(TbsMessageForm* Box, const std::string& Name) {
    auto* B = dynamic_cast<TbsSkinButton*>(Box->FindComponent(Name));
    ASSERT_NE(B, nullptr) << Name;
    const TPoint P = At(B, 10, 10);
    ScriptClick(P.X, P.Y);
  }
  Integer Step = 0;
  TbsMessageForm* Seen = nullptr;
  std::string SeenCaption;
};

TEST_F(TMessagesTest, AnsweredByMouse) {
  TbsSkinMessage Message(nullptr);
  AnswerWith([this](TbsMessageForm* Box) { ClickButton(Box, "No"); });
  EXPECT_EQ(Message.MessageDlg("Overwrite the result?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0),
            mrNo);
  EXPECT_EQ(SeenCaption, "Confirm");
  // The box is gone afterwards.
  EXPECT_EQ(OpenBox(), nullptr);
}

TEST_F(TMessagesTest, EnterAndEscape) {
  TbsSkinMessage Message(nullptr);
  AnswerWith([](TbsMessageForm*) { ScriptKeyPress(VK_RETURN); });
  EXPECT_EQ(Message.MessageDlg("Go on?", mtWarning, TMsgDlgButtons{mbOK, mbCancel}, 0), mrOk);
  AnswerWith([](TbsMessageForm*) { ScriptKeyPress(VK_ESCAPE); });
  EXPECT_EQ(Message.MessageDlg("Go on?", mtWarning, TMsgDlgButtons{mbOK, mbCancel}, 0), mrCancel);
  EXPECT_EQ(SeenCaption, "Warning");
}

TEST_F(TMessagesTest, DefaultAndCancelButtons) {
  TbsSkinMessage Message(nullptr);
  struct TCase {
    TMsgDlgButtons Buttons;
    const char* Default;
    const char* Cancel;
  };
  const std::vector<TCase> Cases{
      {{mbOK, mbCancel}, "OK", "Cancel"},
      {{mbYes, mbNo}, "Yes", "No"},
      {{mbRetry, mbIgnore}, "Retry", ""},
      {{mbOK}, "OK", "OK"},
  };
  for (const TCase& C : Cases) {
    TbsMessageForm* Box = Message.CreateSkinMessageForm("Text", mtInformation, C.Buttons, -10001, -10001);
    std::string Default, Cancel;
    for (Integer I = 0; I < Box->GetComponentCount(); ++I)
      if (auto* B = dynamic_cast<TbsSkinButton*>(Box->GetComponent(I))) {
        if (B->GetDefault()) Default = B->GetName();
        if (B->GetCancel()) Cancel = B->GetName();
      }
    EXPECT_EQ(Default, C.Default);
    EXPECT_EQ(Cancel, C.Cancel);
    delete Box;
  }
}

TEST_F(TMessagesTest, Layout) {
  TbsSkinMessage Message(nullptr);
  // A short message with three buttons: the row decides the width.
  TbsMessageForm* Box = Message.CreateSkinMessageForm("Hi", mtInformation,
                                                      TMsgDlgButtons{mbYes, mbNo, mbCancel}, -10001, -10001);
  EXPECT_EQ(Box->GetClientWidth(), 270);
  EXPECT_EQ(Box->Message->GetLeft(), 50);
  EXPECT_EQ(Box->Message->GetTop(), 15);
  EXPECT_EQ(Box->GetClientHeight(), 25 + Box->Message->GetHeight() + 50);
  auto* Yes = dynamic_cast<TbsSkinButton*>(Box->FindComponent("Yes"));
  auto* Cancel = dynamic_cast<TbsSkinButton*>(Box->FindComponent("Cancel"));
  EXPECT_EQ(Yes->GetLeft(), 20);
  EXPECT_EQ(Cancel->GetLeft(), 180);
  EXPECT_EQ(Yes->GetTop(), Box->GetClientHeight() - 35);
  EXPECT_EQ(Yes->GetModalResult(), mrYes);
  delete Box;
  // A long message widens the box to its right edge + 40.
  const std::string Long(60, 'W');
  Box = Message.CreateSkinMessageForm(Long, mtCustom, TMsgDlgButtons{mbOK}, -10001, -10001);
  EXPECT_EQ(Box->GetClientWidth(), 50 + Box->Message->GetWidth() + 40);
  EXPECT_GT(Box->Message->GetWidth(), 300);
  delete Box;
}

TEST_F(TMessagesTest, ShowAgainFlag) {
  TbsSkinMessage Message(nullptr);
  Message.SetShowAgainFlag(true);
  Message.SetShowAgainFlagValue(true);
  AnswerWith([this](TbsMessageForm* Box) {
    EXPECT_FALSE(Box->CheckBox->GetChecked());
    Box->CheckBox->SetChecked(true);
    ClickButton(Box, "OK");
  });
  EXPECT_EQ(Message.MessageDlg("Note", mtInformation, TMsgDlgButtons{mbOK}, 0), mrOk);
  EXPECT_FALSE(Message.GetShowAgainFlagValue());
}

}  // namespace
