// The program's dialogs and the player window follow the skin chosen in the menu: one opened
// after a change of skin frames its form and draws its controls with the window's skin data.
#include <memory>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "app/VideoPlayer.h"
#include "platform/classes/Menus.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinData.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellComboBox.h"
#include "skin/dialogs/bsSkinShellCtrls.h"
#include "skin/dialogs/bsSkinShellListView.h"
#include "skin/form/SkinForm.h"

class TDialogSkinTest : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    // "Bionix", chosen after the start's own skin.
    Form->SkinItems[0]->Click();
    ASSERT_EQ(Form->bsSkinData1->SkinName, "Bionix");
  }
  void TearDown() override {
    TMosaicTest::TearDown();
    WriteSettings("");
  }
};

// What a dialog's form carried while it was open.
struct TOpenDialogLook {
  TbsSkinData* Frame = nullptr;
  TbsSkinData* Menus = nullptr;
  std::vector<TbsSkinData*> Controls;
  bool ButtonsBound = false;
};

TEST_F(TDialogSkinTest, EveryFileDialogFramesAndDrawsItsControlsWithTheWindowsSkin) {
  TbsSkinData* Skin = Form->bsSkinData1;
  const std::vector<std::pair<std::string, TbsCustomFileDialog*>> Dialogs = {
      {"OpenPictureDialog", Form->OpenPictureDialog}, {"SavePictureDialog", Form->SavePictureDialog},
      {"OpenProjectDialog", Form->OpenProjectDialog}, {"SaveProjectDialog", Form->SaveProjectDialog},
      {"OpenScriptDialog", Form->OpenScriptDialog},   {"SaveVideoDialog", Form->SaveVideoDialog},
      {"UpdateSaveDialog", Form->UpdateSaveDialog}};
  for (const auto& [Name, Dialog] : Dialogs) {
    SCOPED_TRACE(Name);
    TOpenDialogLook Look;
    SetModalHook([&Look] {
      auto* F = dynamic_cast<TbsOpenDlgForm*>(Screen->GetActiveForm());
      if (F == nullptr) return;
      Look.Frame = F->BSF->GetSkinData();
      Look.Menus = F->BSF->GetMenusSkinData();
      Look.Controls = {F->OpenButton->GetSkinData(), F->CancelButton->GetSkinData(),
                       F->FileNameEdit->GetSkinData(), F->FileList->GetSkinData(),
                       F->FolderBox->GetSkinData()};
      // Bound parts: the buttons paint the skin's pictures, not the default grey.
      Look.ButtonsBound = F->OpenButton->PartIndex >= 0 && F->CancelButton->PartIndex >= 0;
      F->SetModalResult(mrCancel);
    });
    EXPECT_FALSE(Dialog->Execute());
    SetModalHook(nullptr);
    EXPECT_EQ(Look.Frame, Skin);
    EXPECT_EQ(Look.Menus, Skin);
    EXPECT_EQ(Look.Controls, std::vector<TbsSkinData*>(5, Skin));
    EXPECT_TRUE(Look.ButtonsBound);
  }
}

TEST_F(TDialogSkinTest, TheMessageBoxFramesAndDrawsItsTextAndButtonsWithTheWindowsSkin) {
  TbsSkinData* Skin = Form->bsSkinData1;
  TbsSkinData* Frame = nullptr;
  TbsSkinData* Text = nullptr;
  std::vector<Integer> ButtonParts;
  SetModalHook([&] {
    auto* Box = dynamic_cast<TbsMessageForm*>(Screen->GetActiveForm());
    if (Box == nullptr) return;
    Frame = Box->BSF->GetSkinData();
    Text = Box->Message->GetSkinData();
    for (Integer I = 0; I < Box->GetControlCount(); ++I)
      if (auto* B = dynamic_cast<TbsSkinButton*>(Box->GetControl(I))) {
        EXPECT_EQ(B->GetSkinData(), Skin);
        ButtonParts.push_back(B->PartIndex);
      }
    Box->SetModalResult(mrOk);
  });
  Form->bsSkinMessage1->MessageDlg("Skinned", mtInformation, {mbOK}, 0);
  SetModalHook(nullptr);
  EXPECT_EQ(Frame, Skin);
  EXPECT_EQ(Text, Skin);
  ASSERT_EQ(ButtonParts.size(), 1u);
  EXPECT_GE(ButtonParts[0], 0);
}

TEST_F(TDialogSkinTest, ThePlayerWindowFramesAndDrawsItsControlsWithTheWindowsSkin) {
  TbsSkinData* Skin = Form->bsSkinData1;
  auto Player = std::make_unique<TForm4>(nullptr);
  EXPECT_EQ(Player->bsSkinForm1->GetSkinData(), Skin);
  const std::vector<TbsSkinData*> Controls = {
      Player->GroupBox1->GetSkinData(),     Player->LabelIndex->GetSkinData(),
      Player->LabelLength->GetSkinData(),   Player->ToolBar1->GetSkinData(),
      Player->VidPosBar->GetSkinData(),     Player->Panel2->GetSkinData(),
      Player->Toolbutton[0]->GetSkinData(), Player->Toolbutton[6]->GetSkinData()};
  EXPECT_EQ(Controls, std::vector<TbsSkinData*>(Controls.size(), Skin));
}
