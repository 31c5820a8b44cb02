// The edits' built-in context menu shown as a skinned popup menu.
#include "skin/form/bsSkinEditMenus.h"

#include "platform/classes/Application.h"
#include "platform/classes/Menus.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrlsEdits.h"
#include "skin/boxctrls/bsSkinEditMenu.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

// One entry's command, run for the edit; the menu hears it is done afterwards.
class TbsEditMenuCommand : public TComponent {
 public:
  TbsEditMenuCommand(TComponent* AOwner, TbsCustomEdit* AEdit, void (*ACommand)(TbsCustomEdit*))
      : TComponent(AOwner), FEdit(AEdit), FCommand(ACommand) {}
  void Run(TObject*) {
    FCommand(FEdit);
    // Posted: the menu that runs this click is freed by the answer.
    if (FEdit->HandleAllocated()) PostMessage(FEdit->GetHandle(), WM_EDITMENUDONE, 0, 0);
  }

 private:
  TbsCustomEdit* FEdit;
  void (*FCommand)(TbsCustomEdit*);
};

// The skin's texts, when the edit's form has a skinned form with a skin that has them.
TbsResourceStrData* EditMenuStrings(TCustomForm* Form) {
  TbsSkinForm* SkinForm = Form != nullptr ? FindSkinForm(Form) : nullptr;
  TbsSkinData* Data = SkinForm != nullptr ? SkinForm->GetSkinData() : nullptr;
  return Data != nullptr ? Data->GetResourceStrData() : nullptr;
}

TComponent* ShowSkinnedEditMenu(TbsCustomEdit* Edit, const std::vector<TbsEditMenuEntry>& Entries,
                                TPoint At) {
  auto* Menu = new TbsSkinPopupMenu(Edit);
  TCustomForm* Form = GetParentForm(Edit);
  // An MDI child's menus take the main form's skin.
  Menu->SetComponentForm(Form != nullptr && Form->GetFormStyle() == fsMDIChild ? Application->GetMainForm()
                                                                               : Form);
  TbsResourceStrData* Strings = EditMenuStrings(Form);
  for (const TbsEditMenuEntry& Entry : Entries) {
    auto* Item = new TMenuItem(Menu);
    if (Entry.Command == nullptr) {
      Item->SetCaption("-");
    } else {
      const std::string Text = Strings != nullptr ? Strings->LookupResString(Entry.Key) : std::string();
      // A skin text without this key keeps the built-in caption rather than an empty item.
      Item->SetCaption(Text.empty() ? Entry.Caption : Text);
      Item->SetEnabled(Entry.Enabled);
      auto* Command = new TbsEditMenuCommand(Menu, Edit, Entry.Command);
      Item->OnClick = TNotifyEvent(Command, &TbsEditMenuCommand::Run);
    }
    Menu->GetItems()->Add(Item);
  }
  Menu->PopupAtPoint(Edit, At.X, At.Y);
  return Menu;
}

}  // namespace

void InstallSkinnedEditMenus() {
  SetEditMenuShow(&ShowSkinnedEditMenu);
}
