// Actions and action lists.
#include "platform/classes/ActnList.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/ImgList.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/Input.h"
#include "platform/user/WindowMessages.h"

// ---- TBasicAction -----------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // The clients keep their links, bound to no action.
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// Clients follow each property through their links; a change does not copy the rest again.
void TBasicAction::Change() {
  if (OnChange) OnChange(this);
}

void TBasicAction::SetOnExecute(TNotifyEvent Value) {
  if (Value == OnExecute) return;
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients)) Link->SetOnExecute(Value);
  OnExecute = Value;
  Change();
}

// ---- TCustomAction ----------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TCustomAction::~TCustomAction() {
  SetActionList(nullptr);
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  // A checked action of a group stays checked: another one of the group unchecks it.
  if (FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
  if (FActionList != nullptr && FActionList->ExecuteAction(this)) return true;
  if (Application != nullptr && Application->ExecuteAction(this)) return true;
  if (TBasicAction::Execute()) return true;
  if (SendActionMessage(CM_ACTIONEXECUTE, this)) return true;
  DisableWithoutHandler();
  return false;
}

bool TCustomAction::Update() {
  if (FActionList != nullptr && FActionList->UpdateAction(this)) return true;
  if (Application != nullptr && Application->UpdateAction(this)) return true;
  if (TBasicAction::Update()) return true;
  if (SendActionMessage(CM_ACTIONUPDATE, this)) return true;
  DisableWithoutHandler();
  return false;
}

void TCustomAction::DisableWithoutHandler() {
  if (FDisableIfNoHandler && FEnabled && !OnExecute) SetEnabled(false);
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList != nullptr) {
    auto& List = FActionList->FActions;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    FActionList->RemoveFreeNotification(this);
  }
  FActionList = Value;
  if (FActionList != nullptr) {
    FActionList->FActions.push_back(this);
    FActionList->FreeNotification(this);
  }
}

Integer TCustomAction::GetIndex() const {
  if (FActionList == nullptr) return -1;
  const auto& List = FActionList->FActions;
  const auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<Integer>(It - List.begin());
}

// Each setter tells the links before taking the value: a link compares the client's value with
// the old one to see whether the client still follows.
#define ACTION_SETTER(Field, Value, LinkSetter)                                                       \
  do {                                                                                                \
    if ((Value) == (Field)) return;                                                                   \
    for (TBasicActionLink * Link : std::vector<TBasicActionLink*>(FClients)) Link->LinkSetter(Value); \
    (Field) = (Value);                                                                                \
    Change();                                                                                         \
  } while (false)

void TCustomAction::SetCaption(const std::string& Value) {
  ACTION_SETTER(FCaption, Value, SetCaption);
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecking || Value == FChecked) return;
  FChecking = true;
  auto Done = ScopeExit([&] { FChecking = false; });
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients)) Link->SetChecked(Value);
  FChecked = Value;
  if (Value && FGroupIndex > 0 && FActionList != nullptr)
    for (TCustomAction* Other : std::vector<TCustomAction*>(FActionList->FActions))
      if (Other != this && Other->FGroupIndex == FGroupIndex) Other->SetChecked(false);
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  ACTION_SETTER(FEnabled, Value, SetEnabled);
}

void TCustomAction::SetHint(const std::string& Value) {
  ACTION_SETTER(FHint, Value, SetHint);
}

void TCustomAction::SetImageIndex(Integer Value) {
  ACTION_SETTER(FImageIndex, Value, SetImageIndex);
}

void TCustomAction::SetShortCut(TShortCut Value) {
  ACTION_SETTER(FShortCut, Value, SetShortCut);
}

void TCustomAction::SetVisible(bool Value) {
  ACTION_SETTER(FVisible, Value, SetVisible);
}

void TCustomAction::SetAutoCheck(bool Value) {
  ACTION_SETTER(FAutoCheck, Value, SetAutoCheck);
}

#undef ACTION_SETTER

void TCustomAction::SetGroupIndex(Integer Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  // A newly grouped checked action leaves only itself checked.
  if (FChecked && FGroupIndex > 0 && FActionList != nullptr)
    for (TCustomAction* Other : std::vector<TCustomAction*>(FActionList->FActions))
      if (Other != this && Other->FGroupIndex == FGroupIndex) Other->SetChecked(false);
  Change();
}

TAction::TAction(TComponent* AOwner) : TCustomAction(AOwner) {
  SetDisableIfNoHandler(true);
}

// ---- TCustomActionList -----------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomActionList::~TCustomActionList() {
  Destroying();
  for (TCustomAction* Action : std::vector<TCustomAction*>(FActions)) Action->SetActionList(nullptr);
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  for (TCustomAction* Action : FActions) Action->Change();
  if (OnChange) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnExecute) OnExecute(Action, Handled);
  return Handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnUpdate) OnUpdate(Action, Handled);
  return Handled;
}

bool TCustomActionList::IsShortCut(TWMKey& Message) {
  const TShortCut Wanted = KeyMessageShortCut(Message);
  if (static_cast<Byte>(Wanted) == 0) return false;
  for (TCustomAction* Action : std::vector<TCustomAction*>(FActions)) {
    if (Action->GetShortCut() != Wanted) continue;
    Action->Update();
    if (!Action->GetEnabled()) return false;
    Action->Execute();
    return true;
  }
  return false;
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  for (TCustomAction* Action : std::vector<TCustomAction*>(FActions))
    if (AComponent == Action) Action->SetActionList(nullptr);
}

// ---- Routing through the forms ----------------------------------------------------------------

bool SendActionMessage(UINT Msg, TBasicAction* Action) {
  if (Application == nullptr) return false;
  return SendMessage(Application->GetHandle(), Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
}
