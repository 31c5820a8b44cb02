// The push button's keys: Enter and Escape reach the form's default and cancel buttons, a shift
// key keeps Escape from the cancel button, the default button looks hot while another kind of
// control has the focus, and the caption's accelerator clicks.
#include <string>

#include "platform/classes/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TButtonKeysTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Edit = NewControl<TEdit>(Form, "Edit", 10, 10);
    Ok = NewControl<TbsSkinButton>(Form, "Ok", 10, 60);
    Ok->SetCaption("&Ok");
    Ok->SetDefault(true);
    Cancel = NewControl<TbsSkinButton>(Form, "Cancel", 100, 60);
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Other = NewControl<TbsSkinButton>(Form, "Other", 190, 60);
    for (TbsSkinButton* B : {Ok, Cancel, Other}) B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
    Form->Show();
    Edit->SetFocus();
    Pump();
  }
  void SetShift(bool Down) {
    BYTE Keys[256] = {};
    if (Down) Keys[VK_SHIFT] = 0x80;
    SetKeyboardState(Keys);
  }
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TbsSkinButton *Ok = nullptr, *Cancel = nullptr, *Other = nullptr;
  TEventLog Log;
};

TEST_F(TButtonKeysTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Log.Take(), TLines{"Click Ok"});
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Log.Take(), TLines{"Click Cancel"});
}

TEST_F(TButtonKeysTest, EscapeWithAShiftKeyHeldLeavesTheCancelButton) {
  SetShift(true);
  Cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0);
  SetShift(false);
  EXPECT_TRUE(Log.Take().empty());
  EXPECT_EQ(Cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(Log.Take(), TLines{"Click Cancel"});
}

TEST_F(TButtonKeysTest, TheDefaultButtonLooksHotUntilAnotherButtonTakesTheFocus) {
  EXPECT_TRUE(Ok->MouseIn);
  Other->SetFocus();
  Pump();
  EXPECT_FALSE(Ok->MouseIn);
  // Enter now belongs to the focused button.
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Log.Take(), TLines{"Click Other"});
}

TEST_F(TButtonKeysTest, TheCaptionsAcceleratorFocusesAndClicks) {
  EXPECT_EQ(Ok->Perform(CM_DIALOGCHAR, 'O', 0), 1);
  EXPECT_EQ(Log.Take(), TLines{"Click Ok"});
  EXPECT_TRUE(Ok->Focused());
  EXPECT_EQ(Cancel->Perform(CM_DIALOGCHAR, 'O', 0), 0);
  EXPECT_TRUE(Log.Take().empty());
}

}  // namespace
