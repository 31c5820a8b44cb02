// An edit's built-in context menu as a skinned popup menu: captions from the skin's texts, the
// built-in ones without, and the menu freed once its command ran.
#include <string>
#include <vector>

#include "platform/classes/Menus.h"
#include "platform/system/StringList.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinEditMenu.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinEditMenus.h"
#include "skin/form/bsSkinPopupMenus.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TEditMenusTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    InstallSkinnedEditMenus();
    Form = NewForm("Form");
    Edit = NewControl<TbsSkinEdit>(Form, "Edit", 20, 20);
    Form->Show();
    Pump();
  }
  void TearDown() override {
    SetEditMenuShow(nullptr);
    TSkinTest::TearDown();
  }
  TbsSkinPopupMenu* ShownMenu() const {
    for (Integer I = 0; I < Edit->GetComponentCount(); ++I)
      if (auto* M = dynamic_cast<TbsSkinPopupMenu*>(Edit->GetComponent(I))) return M;
    return nullptr;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> C;
    TMenuItem* Items = ShownMenu()->GetItems();
    for (Integer I = 0; I < Items->GetCount(); ++I) C.push_back(Items->GetItem(I)->GetCaption());
    return C;
  }
  TForm* Form = nullptr;
  TbsSkinEdit* Edit = nullptr;
};

TEST_F(TEditMenusTest, BuiltInCaptionsWithoutASkinnedForm) {
  Edit->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(-1));
  ASSERT_NE(ShownMenu(), nullptr);
  EXPECT_EQ(Captions(),
            (std::vector<std::string>{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
  EXPECT_EQ(ShownMenu()->GetComponentForm(), Form);
}

TEST_F(TEditMenusTest, SkinTextsAndTheCommandThenTheMenuGoes) {
  auto* SkinForm = new TbsSkinForm(Form);
  auto* Data = new TbsSkinData(Form);
  auto* Strings = new TbsResourceStrData(Form);
  TStringList Lines;
  Lines.Add("EDIT_SELECTALL=Alles markieren");
  Strings->SetResStrings(&Lines);
  Data->SetResourceStrData(Strings);
  SkinForm->SetSkinData(Data);
  Edit->SetText("abc");
  Edit->SetSelLength(0);
  Edit->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(-1));
  ASSERT_NE(ShownMenu(), nullptr);
  const std::vector<std::string> C = Captions();
  // A key the texts lack keeps its built-in caption.
  EXPECT_EQ(C[7], "Alles markieren");
  EXPECT_EQ(C[3], "Copy");
  TMenuItem* SelectAll = ShownMenu()->GetItems()->GetItem(7);
  EXPECT_TRUE(SelectAll->GetEnabled());
  // As a chosen item does: the open menu closes, then the item's command runs.
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  SelectAll->Click();
  EXPECT_EQ(Edit->GetSelLength(), 3);
  Pump();
  EXPECT_EQ(ShownMenu(), nullptr);
}

}  // namespace
