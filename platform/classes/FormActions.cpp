// A form's part in actions: it finds a target control for an action nobody handled, and
// updates its clients when the application is idle.
#include "platform/classes/ActnList.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"

namespace {
using TActionProbe = bool (TControl::*)(TBasicAction*);

// The visible controls of Container, depth first, until one takes the action.
bool TraverseTargets(TWinControl* Container, TBasicAction* Action, TActionProbe Probe) {
  for (Integer I = 0; I < Container->GetControlCount(); ++I) {
    TControl* Control = Container->GetControl(I);
    if (!Control->GetVisible()) continue;
    if ((Control->*Probe)(Action)) return true;
    if (auto* Win = dynamic_cast<TWinControl*>(Control);
        Win != nullptr && TraverseTargets(Win, Action, Probe))
      return true;
  }
  return false;
}

bool FindActionTarget(TCustomForm* Form, TMessage& Message, TActionProbe Probe) {
  auto* Action = reinterpret_cast<TBasicAction*>(Message.LParam);
  if (Action == nullptr || !Form->GetShowing()) return false;
  TWinControl* Active = Form->GetActiveControl();
  return (Active != nullptr && (Active->*Probe)(Action)) || (Form->*Probe)(Action) ||
         TraverseTargets(Form, Action, Probe);
}

void InitiateClients(TWinControl* Container) {
  for (Integer I = 0; I < Container->GetControlCount(); ++I) {
    TControl* Control = Container->GetControl(I);
    if (!Control->GetVisible()) continue;
    if (Control->GetControlStyle().Contains(csActionClient)) Control->InitiateAction();
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) InitiateClients(Win);
  }
}
}  // namespace

void TCustomForm::CMActionExecute(TMessage& Message) {
  if (FindActionTarget(this, Message, &TControl::ExecuteAction)) Message.Result = 1;
}

void TCustomForm::CMActionUpdate(TMessage& Message) {
  if (FindActionTarget(this, Message, &TControl::UpdateAction)) Message.Result = 1;
}

void TCustomForm::UpdateActions() {
  if (!GetShowing()) return;
  InitiateAction();
  // The menu bar's items show at all times; the items under them update when they open.
  if (FMenu != nullptr)
    for (Integer I = 0; I < FMenu->GetItems()->GetCount(); ++I) {
      TMenuItem* Item = FMenu->GetItems()->GetItem(I);
      if (Item->GetVisible()) Item->InitiateAction();
    }
  InitiateClients(this);
}
